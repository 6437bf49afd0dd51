// Buttons at the right end of a window's top bar, where the window manager leaves no room
// in the title bar itself: the corner of the window's menu bar.
#pragma once

#include <functional>

class QMainWindow;
class QToolButton;

class TitlebarUtils {
public:
    // The preferences button ("settings.png").
    static QToolButton* addSettingsBtn(QMainWindow* window, std::function<void()> callback);
    // The applications button ("appList.png").
    static QToolButton* addAppSettingsBtn(QMainWindow* window, std::function<void()> callback);
};
