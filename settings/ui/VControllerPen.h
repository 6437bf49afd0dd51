// The pen page: the pen with leader lines to the functions of its tip and barrel buttons,
// the pressure sensitivity with its curve (sent to the agent at once), mouse mode, and the
// pressure test.
#pragma once

#include "settings/ui/NVSubViewController.h"

#include <array>

class QCheckBox;
class QLabel;
class QPushButton;
class QSlider;
class PressValueView;
class ViewPen;
class ViewPressCurve;
class ViewPressTest;

class VControllerPen : public NVSubViewController {
    Q_OBJECT
public:
    explicit VControllerPen(QWidget* parent = nullptr);
    ~VControllerPen() override;

    void updateNVConfigToView() override;
    void handleNotificationNTabletStateChangedInSubView() override;

    // i: 0 the tip, 1 the lower barrel button, 2 the upper one.
    void clickBtnEkey(int i);
    void clickSlider();
    void actionMouseMode();
    void clickBtnTest();
    void clickBtnClear();
    ViewPressTest* testView() const { return _viewTest; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void loadPicture();
    void placeButtons();
    // The functions of the tip and barrel buttons on their buttons (key names follow the layout).
    void showButtonFunctions();

    ViewPen* _imgPen;
    std::array<QPushButton*, 3> buttons_{}; // _btnNib, _btnBelow, _btnAbove
    QSlider* _sliderPress;
    QLabel* _labelSetPress;
    ViewPressCurve* _viewPress;
    QCheckBox* _chkMouseMode;
    QLabel* labelPressureTestHint;
    ViewPressTest* _viewTest;
    PressValueView* _pressView;
    QPushButton* _btnTest;
    QPushButton* _btnClear;
    NotificationCenter::Token appEditToken_ = 0;
    NotificationCenter::Token layoutToken_ = 0;
};
