// The extension for GNOME Shell 45 and later, which import it as a module (GNOME Shell 43 and 44
// load __init__.js instead). It tells the tablet driver which window has the focus: the process
// and class of the focused window on the session bus, as a Changed signal on every change and as
// the answer of Current(). A pid of 0 means no window has the focus.
import Gio from 'gi://Gio';
import GLib from 'gi://GLib';

import {Extension} from 'resource:///org/gnome/shell/extensions/extension.js';

const BUS_NAME = 'nuvroapp.FocusedWindow';
const OBJECT_PATH = '/nuvroapp/FocusedWindow';
const INTERFACE_FILE = 'nuvroapp.FocusedWindow.xml';

function describe(window) {
    if (!window)
        return [0, ''];
    const pid = window.get_pid();
    return [pid > 0 ? pid : 0, window.get_wm_class() || ''];
}

export default class FocusedWindowExtension extends Extension {
    enable() {
        const [, xml] = this.dir.get_child(INTERFACE_FILE).load_contents(null);
        this._object = Gio.DBusExportedObject.wrapJSObject(new TextDecoder().decode(xml),
            {Current: () => describe(global.display.focus_window)});
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
}
