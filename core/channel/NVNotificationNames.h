// Names and user-info keys of the notifications the three programs exchange.
#pragma once

// Settings application to agent.
inline constexpr const char* nvNotificationToDriverConfigChanged = "nuvro.tablet.uiToDriver.tabletInfoChange";
inline constexpr const char* nvNotificationToDriverStartCalibrate = "nuvro.tablet.uiToDriver.startCalibrate";
inline constexpr const char* nvNotificationToDriverEndCalibrate = "nuvro.tablet.uiToDriver.endCalibrate";
inline constexpr const char* nvNotificationToDriverQueryTabletInfo = "nuvro.tablet.uiToDriver.QueryTabletInfo";
// Agent to settings application.
inline constexpr const char* nvNotificationToUITabletInfo = "nuvro.tablet.driverToUI.tabletInfo";
// Declared for completeness of the protocol; nothing posts or observes it.
inline constexpr const char* nvNotificationToUIConfigChanged = "nuvro.tablet.driverToUI.tabletInfoChange";
inline constexpr const char* nvNotificationToUIPenData = "nuvro.tablet.driverToUI.PenData";
inline constexpr const char* nvNotificationContextMEkeyChanged = "nuvro.tablet.muxIndexChanged";

// The configuration store restored the defaults: the agent announces a change.
inline constexpr const char* nvNotificationResetCurrentAppIndex = "reset_currentAppIndex_kernel";
// A whole NVConfig byte image from the settings application.
inline constexpr const char* nvNotificationCfgSendByUI = "cfg_SendBy_UI";
inline constexpr const char* nvKeyCfgValFromUI = "cfgValFromUI";
// Battery level of wireless models.
inline constexpr const char* nvNotificationQueryBatteryPower = "QueryBatteryPower";
inline constexpr const char* nvNotificationQueryBatteryPowerForUI = "QueryBatteryPowerForUI";
inline constexpr const char* nvKeyCurrentPower = "currentPower";
// An application node was removed from the configuration (in-process).
inline constexpr const char* nvNotificationRemovedApp = "removedApp";

// Tablet information keys.
inline constexpr const char* nvKeyBMonitor = "bMonitor";
inline constexpr const char* nvKeyDevType = "devType";
inline constexpr const char* nvKeyHbtnNum = "hbtnNum";
inline constexpr const char* nvKeyLpi = "lpi";
inline constexpr const char* nvKeyMaxP = "maxP";
inline constexpr const char* nvKeyMaxX = "maxX";
inline constexpr const char* nvKeyMaxY = "maxY";
inline constexpr const char* nvKeyOemType = "oemType";
inline constexpr const char* nvKeyPbtnNum = "pbtnNum";
inline constexpr const char* nvKeyRate = "rate";
inline constexpr const char* nvKeySbtnNum = "sbtnNum";
inline constexpr const char* nvKeySDevVer = "sDevVer";
// Pen sample keys.
inline constexpr const char* nvKeyPenX = "X";
inline constexpr const char* nvKeyPenY = "Y";
inline constexpr const char* nvKeyPenPressure = "Pressure";
// Function-set switch keys.
inline constexpr const char* nvKeyMuxIndex = "muxIndex";
inline constexpr const char* nvKeyScreenToDisplay = "screenToDisplay";
inline constexpr const char* nvKeyNameArray = "nameArray";

// Update helper and settings application; every value is a string.
inline constexpr const char* nvNotificationCurrentVersion = "CurrentVerisonNotification";
inline constexpr const char* nvKeyCurrentVersion = "currentVersion";
inline constexpr const char* nvNotificationConfirmUpdate = "ConfirmUpdateNotification";
inline constexpr const char* nvKeyConfirmMessage = "confirmMessage";
inline constexpr const char* nvNotificationIsNeedUpdate = "IsNeedUpdateNotification";
inline constexpr const char* nvKeyIsNeedUpdate = "isNeedUpdate";
inline constexpr const char* nvNotificationNetworkErrors = "NetworkErrors";
inline constexpr const char* nvKeyNetworkError = "NetworkError";
inline constexpr const char* nvNotificationMoveFileError = "MoveFileErrorHappenedAfterDownload";
inline constexpr const char* nvKeyMoveFileError = "moveFileError";
inline constexpr const char* nvNotificationConfirmUninstall = "ConfirmUninstallNotification";
inline constexpr const char* nvKeyInstallPath = "installPath";

// Posted on the workspace's in-process centre when an application becomes frontmost;
// the application's path is under nvKeyApplicationPath.
inline constexpr const char* nvWorkspaceDidActivateApplication = "nuvro.workspace.didActivateApplication";
inline constexpr const char* nvKeyApplicationPath = "NSApplicationPath";
