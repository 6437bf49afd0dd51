// The test process's one QApplication, offscreen.
#pragma once

#include <QApplication>

namespace nvtest {

inline QApplication& ui_app()
{
    static int argc = 1;
    static char name[] = "settings-ui-test";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: widgets' statics outlive the tests.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

} // namespace nvtest
