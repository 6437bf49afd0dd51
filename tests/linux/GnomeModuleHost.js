// Hosts the extension's module form (extension.js) as GNOME Shell 45 and later do, for a machine
// whose own shell is older: imports it, constructs it with its metadata and folder, and plays the
// shell's display. The shell's Extension base class is replaced by the little of it the extension
// uses. Commands on stdin, one a line: "enable", "disable", "focus PID CLASS" ("focus 0": none).
// Run: gjs -m GnomeModuleHost.js EXTENSION_FOLDER, with the session bus of the test.
import Gio from 'gi://Gio';
import GLib from 'gi://GLib';
import GObject from 'gi://GObject';
import System from 'system';

const SHELL_BASE = 'resource:///org/gnome/shell/extensions/extension.js';
const BASE_STAND_IN = `export class Extension {
    constructor(metadata) { this.metadata = metadata; }
    get dir() { return this.metadata.dir; }
    get path() { return this.metadata.path; }
}
`;

const Display = GObject.registerClass({
    Properties: {
        'focus-window': GObject.ParamSpec.jsobject('focus-window', '', '', GObject.ParamFlags.READWRITE),
    },
}, class Display extends GObject.Object {
    get focus_window() {
        return this._focus ?? null;
    }

    set focus_window(window) {
        this._focus = window;
        this.notify('focus-window');
    }
});
globalThis.global = {display: new Display()};

function text(file) {
    return new TextDecoder().decode(file.load_contents(null)[1]);
}

const dir = Gio.File.new_for_path(ARGV[0]);
const source = text(dir.get_child('extension.js'));
if (!source.includes(`'${SHELL_BASE}'`)) {
    printerr(`extension.js does not import ${SHELL_BASE}`);
    System.exit(2);
}
// The copy imports the stand-in instead; it still reads its interface text from its own folder.
const copy = Gio.File.new_for_path(GLib.dir_make_tmp('nv-gnome-module-XXXXXX'));
const files = {'extension.js': source.replace(`'${SHELL_BASE}'`, "'./shell-extension.js'"),
    'shell-extension.js': BASE_STAND_IN};
for (const [name, contents] of Object.entries(files))
    GLib.file_set_contents(copy.get_child(name).get_path(), contents);
let module;
try {
    module = await import(copy.get_child('extension.js').get_uri());
} finally {
    for (const name of Object.keys(files))
        copy.get_child(name).delete(null);
    copy.delete(null);
}

const metadata = JSON.parse(text(dir.get_child('metadata.json')));
const extension = new module.default({...metadata, dir, path: dir.get_path()});
let enabled = false;

const loop = new GLib.MainLoop(null, false);
const input = new Gio.DataInputStream({base_stream: new Gio.UnixInputStream({fd: 0, close_fd: false})});
function readCommand() {
    input.read_line_async(GLib.PRIORITY_DEFAULT, null, (stream, result) => {
        const [line] = stream.read_line_finish_utf8(result);
        if (line === null) {
            if (enabled)
                extension.disable();
            loop.quit();
            return;
        }
        const [command, pid, owner] = line.split(' ');
        if (command === 'enable' || command === 'disable') {
            extension[command]();
            enabled = command === 'enable';
        } else if (command === 'focus') {
            global.display.focus_window = Number(pid) === 0 ? null
                : {get_pid: () => Number(pid), get_wm_class: () => owner ?? null};
        }
        readCommand();
    });
}
readCommand();
loop.run();
