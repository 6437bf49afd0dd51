// Tells the tablet driver (NuvroAgent) which window has the focus: the process and class
// of the focused window on the session bus, as a Changed signal on every change and as
// the answer of Current(). A pid of 0 means no window has the focus.
'use strict';

const { Gio, GLib } = imports.gi;

const BUS_NAME = 'nuvroapp.FocusedWindow';
const OBJECT_PATH = '/nuvroapp/FocusedWindow';
const INTERFACE = `
<node>
  <interface name="nuvroapp.FocusedWindow">
    <method name="Current">
      <arg type="u" name="pid" direction="out"/>
      <arg type="s" name="owner" direction="out"/>
    </method>
    <signal name="Changed">
      <arg type="u" name="pid"/>
      <arg type="s" name="owner"/>
    </signal>
  </interface>
</node>`;

function describe(window) {
    if (!window)
        return [0, ''];
    const pid = window.get_pid();
    return [pid > 0 ? pid : 0, window.get_wm_class() || ''];
}

class FocusedWindow {
    enable() {
        this._object = Gio.DBusExportedObject.wrapJSObject(INTERFACE, this);
        this._object.export(Gio.DBus.session, OBJECT_PATH);
        this._focusId = global.display.connect('notify::focus-window', () => {
            this._object.emit_signal('Changed', new GLib.Variant('(us)', describe(global.display.focus_window)));
        });
        // The name last: the driver asks Current() as soon as it appears.
        this._nameId = Gio.bus_own_name_on_connection(Gio.DBus.session, BUS_NAME,
            Gio.BusNameOwnerFlags.NONE, null, null);
    }

    disable() {
        Gio.bus_unown_name(this._nameId);
        global.display.disconnect(this._focusId);
        this._object.unexport();
        this._object = null;
    }

    Current() {
        return describe(global.display.focus_window);
    }
}

function init() {
    return new FocusedWindow();
}
