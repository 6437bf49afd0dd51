#include "settings/ui/NVSubViewController.h"

#include "settings/ui/NVUiCenter.h"

NVSubViewController::NVSubViewController(QWidget* parent) : QWidget(parent)
{
    configToken_ = nv_ui_center().observe(nvUiConfigChangeToSubView,
                                          [this](const std::string&, const NVPlistDict&) {
                                              handleNotificationNConfigChangedInSubView();
                                          });
    stateToken_ = nv_ui_center().observe(nvUiTabletStateChangedToSubView,
                                         [this](const std::string&, const NVPlistDict&) {
                                             handleNotificationNTabletStateChangedInSubView();
                                         });
}

NVSubViewController::~NVSubViewController()
{
    nv_ui_center().removeObserver(configToken_);
    nv_ui_center().removeObserver(stateToken_);
}

void NVSubViewController::notifyNVConfigChangedToMainView()
{
    nv_ui_center().post(nvUiConfigChangeToMainView, {});
}

void NVSubViewController::notifyNVConfigChangedToSubView()
{
    nv_ui_center().post(nvUiConfigChangeToSubView, {});
}

void NVSubViewController::notifyTabletStateChangedToSubView()
{
    nv_ui_center().post(nvUiTabletStateChangedToSubView, {});
}
