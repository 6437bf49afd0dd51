// The express-key page: the tablet picture with every key of its layout, the function of
// the key shown on the value button (or, for a multi-function key, in the pop-up of its
// function sets), and the switches of the hard, soft and multi-function keys.
#pragma once

#include "settings/logic/NVMEkeyMenu.h"
#include "settings/ui/NVSubViewController.h"

#include <vector>

class QCheckBox;
class QComboBox;
class QPushButton;
class NVMouseImageView;

class VControllerEkey : public NVSubViewController {
    Q_OBJECT
public:
    explicit VControllerEkey(QWidget* parent = nullptr);
    ~VControllerEkey() override;

    void updateNVConfigToView() override;
    void handleNotificationNTabletStateChangedInSubView() override;

    void clickCheck();
    void clickBtn();
    void clickBtnMEkey(int item);
    void refreshMEkeyList(int set);
    void showCurEkeyVal();
    NVMouseImageView* imageView() const { return _imgTablet; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void loadPicture();
    void placeControls();
    int currentMEkey() const;
    // Key names follow the keyboard layout: the functions shown are written again.
    void keyLayoutChanged();

    QCheckBox* _chkHEkey;
    QCheckBox* _chkSEkey;
    QCheckBox* _chkMEkey;
    QCheckBox* _chkOptimize;
    QPushButton* _btnEkeyVal;
    QComboBox* _btnMEkey;
    NVMouseImageView* _imgTablet;
    std::vector<NVMEkeyMenuItem> menu_;
    int menuSet_ = 0; // the function set the pop-up lists
    NotificationCenter::Token muxToken_ = 0;
    NotificationCenter::Token appEditToken_ = 0;
    NotificationCenter::Token layoutToken_ = 0;
};
