// The work-area page: the display the tablet maps to, the part of the tablet used, the
// tablet's rotation, and the pen display's calibration. Edits go to g_ui.cfg at once and
// reach the agent only with Apply.
#pragma once

#include "core/input/DisplayList.h"
#include "settings/logic/NVWorkareaGeometry.h"
#include "settings/ui/NVCalibrationWindow.h"
#include "settings/ui/NVSubViewController.h"

#include <QImage>
#include <QPointer>

#include <array>
#include <memory>
#include <vector>

class NVWorkareaView;
class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class VControllerWorkarea : public NVSubViewController {
    Q_OBJECT
public:
    explicit VControllerWorkarea(QWidget* parent = nullptr);
    ~VControllerWorkarea() override;

    void updateNVConfigToView() override;
    void handleNotificationNTabletStateChangedInSubView() override;

    void recomputeWorkareaRect(bool notify);
    void didChangeWorkArea(const NVViewRect& rect);
    void refreshScreens();

    void actionPopBtn(int index);
    void actionRadio(uint32_t tag);
    void actionTextChanged(NVWorkareaEdge edge);
    void actionBtnWhileBoard();
    void actionBtnScreenRatio();
    void actionBtnCalibreation();

    NVWorkareaView* workAreaView() const { return _workAreaView; }
    const std::vector<NVDisplayInfo>& screens() const { return _screens; }
    NVCalibrationWindow* calibrationWindow() const { return calibration_; }

private:
    void loadTabletPicture();
    void turnTabletPicture();
    void refreshScreenSnapshot();
    void refreshTextValue();
    void refreshCalibrationButton();
    QLineEdit* field(NVWorkareaEdge edge) const;

    std::unique_ptr<DisplayList> displays_;
    std::vector<NVDisplayInfo> _screens;
    size_t _screenNum = 0;
    QImage _imageScreen;
    QImage tabletPicture_;
    NVWorkareaRects rects_{};
    uint32_t _tabletRotateAngle = 0;
    uint32_t pictureTurn_ = 0; // counter-clockwise, the sum of the turns given so far
    QPointer<NVCalibrationWindow> calibration_;

    NVWorkareaView* _workAreaView;
    QLabel* _labelSelectScreen;
    QComboBox* _btnSelectSreen;
    QGroupBox* _boxRotate;
    QButtonGroup* _radios;
    std::array<QRadioButton*, 4> radios_{}; // 0, 90, 180, 270
    QLabel* _constumBoardLabel;
    std::array<QLabel*, 4> edgeLabels_{};  // left, top, right, bottom
    std::array<QLineEdit*, 4> edgeFields_{};
    QPushButton* _btnWhileBoard;
    QPushButton* _btnScreenRatio;
    QPushButton* _btnCalibration;
};
