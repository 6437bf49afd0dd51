<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name></name>
    <message id="str_M_Tablet">
        <source>Nuvro Graphics Tablet</source>
        <translation>Nuvro Graphics Tablet</translation>
    </message>
    <message id="Kelta Graphics Tablet">
        <source>Kelta Graphics Tablet</source>
        <translation>Kelta Graphics Tablet</translation>
    </message>
    <message id="str_M_Tablet_OEM">
        <source>Graphics Tablet</source>
        <translation>Graphics Tablet</translation>
    </message>
    <message id="str_M_ekey">
        <source>Express Keys</source>
        <translation>Express Keys</translation>
    </message>
    <message id="str_M_pen">
        <source>Pen</source>
        <translation>Pen</translation>
    </message>
    <message id="str_M_workarea">
        <source>Work Area</source>
        <translation>Work Area</translation>
    </message>
    <message id="str_M_info">
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message id="str_M_ok">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="str_M_apply">
        <source>Apply</source>
        <translation>Apply</translation>
    </message>
    <message id="str_M_cancel">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="str_M_close">
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message id="str_M_default">
        <source>Default</source>
        <translation>Default</translation>
    </message>
    <message id="str_M_import">
        <source>Import</source>
        <translation>Import</translation>
    </message>
    <message id="str_M_export">
        <source>Export</source>
        <translation>Export</translation>
    </message>
    <message id="str_M_import_panel">
        <source>Choose a previously exported XML configuration file</source>
        <translation>Choose a previously exported XML configuration file</translation>
    </message>
    <message id="str_M_export_panel">
        <source>Choose where to export the XML configuration file</source>
        <translation>Choose where to export the XML configuration file</translation>
    </message>
    <message id="str_M_default_OK">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="str_M_default_Cancel">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="str_M_default_prompt">
        <source>Restore the default settings? Your current settings will be replaced.</source>
        <translation>Restore the default settings? Your current settings will be replaced.</translation>
    </message>
    <message id="str_M_import_prompt">
        <source>Import settings from a file? Your current settings will be replaced.</source>
        <translation>Import settings from a file? Your current settings will be replaced.</translation>
    </message>
    <message id="str_M_prompt">
        <source>Notice</source>
        <translation>Notice</translation>
    </message>
    <message id="str_M_error">
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message id="str_M_battery">
        <source>Battery</source>
        <translation>Battery</translation>
    </message>
    <message id="str_M_tablet_picture">
        <source>Tablet</source>
        <translation>Tablet</translation>
    </message>
    <message id="str_M_background">
        <source>Background</source>
        <translation>Background</translation>
    </message>
    <message id="str_M_quit">
        <source>Quit</source>
        <translation>Quit</translation>
    </message>
    <message id="str_M_show">
        <source>Open settings</source>
        <translation>Open settings</translation>
    </message>
    <message id="str_M_HKeySet">
        <source>Set Key Function</source>
        <translation>Set Key Function</translation>
    </message>
    <message id="str_I_dev_opened">
        <source>Tablet connected</source>
        <translation>Tablet connected</translation>
    </message>
    <message id="str_I_dev_closed">
        <source>No tablet connected</source>
        <translation>No tablet connected</translation>
    </message>
    <message id="str_I_company">
        <source>Nuvro Technology</source>
        <translation>Nuvro Technology</translation>
    </message>
    <message id="str_I_copyright">
        <source>Copyright © Nuvro. All rights reserved.</source>
        <translation>Copyright © Nuvro. All rights reserved.</translation>
    </message>
    <message id="str_I_version">
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message id="str_I_web">
        <source>Web site</source>
        <translation>Web site</translation>
    </message>
    <message id="str_I_logo">
        <source>Logo</source>
        <translation>Logo</translation>
    </message>
    <message id="str_I_XML_file_import">
        <source>Choose a previously exported XML configuration file</source>
        <translation>Choose a previously exported XML configuration file</translation>
    </message>
    <message id="str_I_XML_file_export">
        <source>Choose where to export the XML configuration file</source>
        <translation>Choose where to export the XML configuration file</translation>
    </message>
    <message id="str_I_XML_file_invalid">
        <source>The chosen file is not a tablet configuration. Nothing was imported.</source>
        <translation>The chosen file is not a tablet configuration. Nothing was imported.</translation>
    </message>
    <message id="str_W_select_display">
        <source>Display</source>
        <translation>Display</translation>
    </message>
    <message id="str_W_left">
        <source>Left</source>
        <translation>Left</translation>
    </message>
    <message id="str_W_right">
        <source>Right</source>
        <translation>Right</translation>
    </message>
    <message id="str_W_top">
        <source>Top</source>
        <translation>Top</translation>
    </message>
    <message id="str_W_bottom">
        <source>Bottom</source>
        <translation>Bottom</translation>
    </message>
    <message id="str_W_rotate">
        <source>Rotation</source>
        <translation>Rotation</translation>
    </message>
    <message id="str_W_full_area">
        <source>Full Area</source>
        <translation>Full Area</translation>
    </message>
    <message id="str_W_screen_ratio">
        <source>Screen Ratio</source>
        <translation>Screen Ratio</translation>
    </message>
    <message id="str_W_calibrate">
        <source>Calibrate</source>
        <translation>Calibrate</translation>
    </message>
    <message id="str_W_custom_area">
        <source>Custom Area</source>
        <translation>Custom Area</translation>
    </message>
    <message id="str_W_screen">
        <source>Screen</source>
        <translation>Screen</translation>
    </message>
    <message id="str_W_all_screen">
        <source>All Screens</source>
        <translation>All Screens</translation>
    </message>
    <message id="Pressuretest">
        <source>Pressure Test</source>
        <translation>Pressure Test</translation>
    </message>
    <message id="str_P_clear">
        <source>Clear</source>
        <translation>Clear</translation>
    </message>
    <message id="str_P_test_start">
        <source>Start Test</source>
        <translation>Start Test</translation>
    </message>
    <message id="str_P_test_end">
        <source>End Test</source>
        <translation>End Test</translation>
    </message>
    <message id="str_P_set_press_sensive">
        <source>Pressure Sensitivity</source>
        <translation>Pressure Sensitivity</translation>
    </message>
    <message id="str_P_mouse_mode">
        <source>Mouse Mode</source>
        <translation>Mouse Mode</translation>
    </message>
    <message id="str_EK_hbtn">
        <source>Enable hardware keys</source>
        <translation>Enable hardware keys</translation>
    </message>
    <message id="str_EK_sbtn">
        <source>Enable soft keys</source>
        <translation>Enable soft keys</translation>
    </message>
    <message id="str_EK_mbtn">
        <source>Enable multi-function keys</source>
        <translation>Enable multi-function keys</translation>
    </message>
    <message id="str_EK_linear_optimize">
        <source>Improve linearity</source>
        <translation>Improve linearity</translation>
    </message>
    <message id="str_EKV_func_kb">
        <source>Keyboard</source>
        <translation>Keyboard</translation>
    </message>
    <message id="str_EKV_func_mouse">
        <source>Mouse</source>
        <translation>Mouse</translation>
    </message>
    <message id="str_EKV_func_switch">
        <source>Switch</source>
        <translation>Switch</translation>
    </message>
    <message id="str_EKV_func_run_app">
        <source>Run Application</source>
        <translation>Run Application</translation>
    </message>
    <message id="str_EKV_kbchar">
        <source>Single key</source>
        <translation>Single key</translation>
    </message>
    <message id="str_EKV_kbstr">
        <source>Key sequence</source>
        <translation>Key sequence</translation>
    </message>
    <message id="str_EKV_join_str">
        <source>Add</source>
        <translation>Add</translation>
    </message>
    <message id="str_EKV_clear_str">
        <source>Clear</source>
        <translation>Clear</translation>
    </message>
    <message id="str_EKV_string_limit">
        <source>A key sequence holds up to 16 keys.</source>
        <translation>A key sequence holds up to 16 keys.</translation>
    </message>
    <message id="str_EKV_browse">
        <source>Browse…</source>
        <translation>Browse…</translation>
    </message>
    <message id="str_EKV_app_path">
        <source>Application</source>
        <translation>Application</translation>
    </message>
    <message id="str_EKV_mouse_point">
        <source>Click</source>
        <translation>Click</translation>
    </message>
    <message id="str_EKV_mouse_left">
        <source>Left Click</source>
        <translation>Left Click</translation>
    </message>
    <message id="str_EKV_mouse_mid">
        <source>Middle Click</source>
        <translation>Middle Click</translation>
    </message>
    <message id="str_EKV_mouse_right">
        <source>Right Click</source>
        <translation>Right Click</translation>
    </message>
    <message id="str_EKV_mouse_forward">
        <source>Scroll Up</source>
        <translation>Scroll Up</translation>
    </message>
    <message id="str_EKV_mouse_backward">
        <source>Scroll Down</source>
        <translation>Scroll Down</translation>
    </message>
    <message id="str_EKV_switch_screen">
        <source>Switch Screen</source>
        <translation>Switch Screen</translation>
    </message>
    <message id="str_EKV_switch_brush">
        <source>Switch Brush</source>
        <translation>Switch Brush</translation>
    </message>
    <message id="str_SET_FuncName">
        <source>Function name</source>
        <translation>Function name</translation>
    </message>
    <message id="str_SET_AppsListTitle">
        <source>Applications</source>
        <translation>Applications</translation>
    </message>
    <message id="str_Calibrate_label">
        <source>Touch the centre of each cross with the pen tip.</source>
        <translation>Touch the centre of each cross with the pen tip.</translation>
    </message>
    <message id="str_Calibrate_Restore">
        <source>Remove Calibration</source>
        <translation>Remove Calibration</translation>
    </message>
    <message id="str_Calibrate_Cancel">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="settingsTitle">
        <source>Preferences</source>
        <translation>Preferences</translation>
    </message>
    <message id="settingsCommon">
        <source>General</source>
        <translation>General</translation>
    </message>
    <message id="settingsHotkey">
        <source>Hotkeys</source>
        <translation>Hotkeys</translation>
    </message>
    <message id="settingsOpenDriverUI">
        <source>Shortcut that opens the tablet settings from any application:</source>
        <translation>Shortcut that opens the tablet settings from any application:</translation>
    </message>
    <message id="settingsResetHotkey">
        <source>Reset</source>
        <translation>Reset</translation>
    </message>
    <message id="settingsHotkeyRegistered">
        <source>This shortcut is already used by the system or another application.</source>
        <translation>This shortcut is already used by the system or another application.</translation>
    </message>
    <message id="changeNow">
        <source>Change Now</source>
        <translation>Change Now</translation>
    </message>
    <message id="str_SET_update">
        <source>Check for Updates</source>
        <translation>Check for Updates</translation>
    </message>
    <message id="str_SET_updateNow">
        <source>Update Now</source>
        <translation>Update Now</translation>
    </message>
    <message id="str_SET_updateMessage">
        <source>Update Available</source>
        <translation>Update Available</translation>
    </message>
    <message id="str_SET_updateInfoText">
        <source>A new driver version is available. Download and install it now?</source>
        <translation>A new driver version is available. Download and install it now?</translation>
    </message>
    <message id="str_SET_updateInfo">
        <source>Your driver is up to date.</source>
        <translation>Your driver is up to date.</translation>
    </message>
    <message id="str_SET_poorNetWork">
        <source>The network is unavailable. Check your connection and try again.</source>
        <translation>The network is unavailable. Check your connection and try again.</translation>
    </message>
    <message id="str_SET_unknowError">
        <source>An unknown error occurred.</source>
        <translation>An unknown error occurred.</translation>
    </message>
    <message id="str_SET_uninstall">
        <source>Uninstall</source>
        <translation>Uninstall</translation>
    </message>
    <message id="str_SET_uninstallNow">
        <source>Uninstall the tablet driver now?</source>
        <translation>Uninstall the tablet driver now?</translation>
    </message>
    <message id="str_SET_uninstallWarnning">
        <source>The driver programs and all your tablet settings will be removed.</source>
        <translation>The driver programs and all your tablet settings will be removed.</translation>
    </message>
    <message id="str_SET_uninstallFailed">
        <source>The driver could not be removed completely. Authorisation was refused or a removal step failed.</source>
        <translation>The driver could not be removed completely. Authorisation was refused or a removal step failed.</translation>
    </message>
    <message id="str_SET_installNow">
        <source>Install Now</source>
        <translation>Install Now</translation>
    </message>
    <message id="str_SET_installLater">
        <source>Install Later</source>
        <translation>Install Later</translation>
    </message>
    <message id="str_SET_installInfoText">
        <source>The new driver has been downloaded. Install it now?</source>
        <translation>The new driver has been downloaded. Install it now?</translation>
    </message>
</context>
</TS>
