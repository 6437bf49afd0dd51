// Loaded into KWin by NuvroAgent: tells the agent the process and class of every window
// that becomes active, and of the one active when the script starts. KWin 6 names the
// signal windowActivated and the property activeWindow; KWin 5 clientActivated and
// activeClient. A window of null (nothing active) is reported as process 0.
function report(window) {
    callDBus("nuvroapp.NuvroAgent", "/nuvroapp/NuvroAgent/Workspace", "nuvroapp.NuvroAgent.Workspace",
             "windowActivated", window ? window.pid : 0, window ? String(window.resourceClass) : "");
}

if (workspace.windowActivated) {
    workspace.windowActivated.connect(report);
    report(workspace.activeWindow);
} else {
    workspace.clientActivated.connect(report);
    report(workspace.activeClient);
}
