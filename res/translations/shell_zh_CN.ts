<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name></name>
    <message id="str_M_Tablet">
        <source>Nuvro Graphics Tablet</source>
        <translation>Nuvro 数位板</translation>
    </message>
    <message id="Kelta Graphics Tablet">
        <source>Kelta Graphics Tablet</source>
        <translation>Kelta 数位板</translation>
    </message>
    <message id="str_M_Tablet_OEM">
        <source>Graphics Tablet</source>
        <translation>数位板</translation>
    </message>
    <message id="str_M_ekey">
        <source>Express Keys</source>
        <translation>快捷键</translation>
    </message>
    <message id="str_M_pen">
        <source>Pen</source>
        <translation>笔</translation>
    </message>
    <message id="str_M_workarea">
        <source>Work Area</source>
        <translation>工作区域</translation>
    </message>
    <message id="str_M_info">
        <source>Info</source>
        <translation>信息</translation>
    </message>
    <message id="str_M_ok">
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message id="str_M_apply">
        <source>Apply</source>
        <translation>应用</translation>
    </message>
    <message id="str_M_cancel">
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message id="str_M_close">
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message id="str_M_default">
        <source>Default</source>
        <translation>默认设置</translation>
    </message>
    <message id="str_M_import">
        <source>Import</source>
        <translation>导入</translation>
    </message>
    <message id="str_M_export">
        <source>Export</source>
        <translation>导出</translation>
    </message>
    <message id="str_M_import_panel">
        <source>Choose a previously exported XML configuration file</source>
        <translation>选择一个以前导出的xml配置文件</translation>
    </message>
    <message id="str_M_export_panel">
        <source>Choose where to export the XML configuration file</source>
        <translation>选择一个路径导出xml配置文件</translation>
    </message>
    <message id="str_M_default_OK">
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message id="str_M_default_Cancel">
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message id="str_M_default_prompt">
        <source>Restore the default settings? Your current settings will be replaced.</source>
        <translation>确定恢复默认设置吗？当前的设置将被替换。</translation>
    </message>
    <message id="str_M_import_prompt">
        <source>Import settings from a file? Your current settings will be replaced.</source>
        <translation>确定从文件导入设置吗？当前的设置将被替换。</translation>
    </message>
    <message id="str_M_prompt">
        <source>Notice</source>
        <translation>提示</translation>
    </message>
    <message id="str_M_error">
        <source>Error</source>
        <translation>错误</translation>
    </message>
    <message id="str_M_battery">
        <source>Battery</source>
        <translation>电量</translation>
    </message>
    <message id="str_M_tablet_picture">
        <source>Tablet</source>
        <translation>数位板</translation>
    </message>
    <message id="str_M_background">
        <source>Background</source>
        <translation>背景</translation>
    </message>
    <message id="str_M_quit">
        <source>Quit</source>
        <translation>退出</translation>
    </message>
    <message id="str_M_show">
        <source>Open settings</source>
        <translation>打开设置</translation>
    </message>
    <message id="str_M_HKeySet">
        <source>Set Key Function</source>
        <translation>设置按键功能</translation>
    </message>
    <message id="str_I_dev_opened">
        <source>Tablet connected</source>
        <translation>数位板已连接</translation>
    </message>
    <message id="str_I_dev_closed">
        <source>No tablet connected</source>
        <translation>数位板未连接</translation>
    </message>
    <message id="str_I_company">
        <source>Nuvro Technology</source>
        <translation>Nuvro 科技</translation>
    </message>
    <message id="str_I_copyright">
        <source>Copyright © Nuvro. All rights reserved.</source>
        <translation>版权所有 © Nuvro。保留所有权利。</translation>
    </message>
    <message id="str_I_version">
        <source>Version</source>
        <translation>版本</translation>
    </message>
    <message id="str_I_web">
        <source>Web site</source>
        <translation>网站</translation>
    </message>
    <message id="str_I_logo">
        <source>Logo</source>
        <translation>标志</translation>
    </message>
    <message id="str_I_XML_file_import">
        <source>Choose a previously exported XML configuration file</source>
        <translation>选择一个以前导出的xml配置文件</translation>
    </message>
    <message id="str_I_XML_file_export">
        <source>Choose where to export the XML configuration file</source>
        <translation>选择一个路径导出xml配置文件</translation>
    </message>
    <message id="str_I_XML_file_invalid">
        <source>The chosen file is not a tablet configuration. Nothing was imported.</source>
        <translation>所选文件不是数位板配置文件，未导入任何内容。</translation>
    </message>
    <message id="str_W_select_display">
        <source>Display</source>
        <translation>选择显示器</translation>
    </message>
    <message id="str_W_left">
        <source>Left</source>
        <translation>左</translation>
    </message>
    <message id="str_W_right">
        <source>Right</source>
        <translation>右</translation>
    </message>
    <message id="str_W_top">
        <source>Top</source>
        <translation>上</translation>
    </message>
    <message id="str_W_bottom">
        <source>Bottom</source>
        <translation>下</translation>
    </message>
    <message id="str_W_rotate">
        <source>Rotation</source>
        <translation>旋转</translation>
    </message>
    <message id="str_W_full_area">
        <source>Full Area</source>
        <translation>全部区域</translation>
    </message>
    <message id="str_W_screen_ratio">
        <source>Screen Ratio</source>
        <translation>屏幕比例</translation>
    </message>
    <message id="str_W_calibrate">
        <source>Calibrate</source>
        <translation>校准</translation>
    </message>
    <message id="str_W_custom_area">
        <source>Custom Area</source>
        <translation>自定义区域</translation>
    </message>
    <message id="str_W_screen">
        <source>Screen</source>
        <translation>屏幕</translation>
    </message>
    <message id="str_W_all_screen">
        <source>All Screens</source>
        <translation>所有屏幕</translation>
    </message>
    <message id="Pressuretest">
        <source>Pressure Test</source>
        <translation>压力测试</translation>
    </message>
    <message id="str_P_clear">
        <source>Clear</source>
        <translation>清除</translation>
    </message>
    <message id="str_P_test_start">
        <source>Start Test</source>
        <translation>开始测试</translation>
    </message>
    <message id="str_P_test_end">
        <source>End Test</source>
        <translation>结束测试</translation>
    </message>
    <message id="str_P_set_press_sensive">
        <source>Pressure Sensitivity</source>
        <translation>压感灵敏度</translation>
    </message>
    <message id="str_P_mouse_mode">
        <source>Mouse Mode</source>
        <translation>鼠标模式</translation>
    </message>
    <message id="str_EK_hbtn">
        <source>Enable hardware keys</source>
        <translation>启用硬件按键</translation>
    </message>
    <message id="str_EK_sbtn">
        <source>Enable soft keys</source>
        <translation>启用软按键</translation>
    </message>
    <message id="str_EK_mbtn">
        <source>Enable multi-function keys</source>
        <translation>启用多功能键</translation>
    </message>
    <message id="str_EK_linear_optimize">
        <source>Improve linearity</source>
        <translation>线性优化</translation>
    </message>
    <message id="str_EKV_func_kb">
        <source>Keyboard</source>
        <translation>键盘</translation>
    </message>
    <message id="str_EKV_func_mouse">
        <source>Mouse</source>
        <translation>鼠标</translation>
    </message>
    <message id="str_EKV_func_switch">
        <source>Switch</source>
        <translation>切换</translation>
    </message>
    <message id="str_EKV_func_run_app">
        <source>Run Application</source>
        <translation>运行程序</translation>
    </message>
    <message id="str_EKV_kbchar">
        <source>Single key</source>
        <translation>单个按键</translation>
    </message>
    <message id="str_EKV_kbstr">
        <source>Key sequence</source>
        <translation>按键序列</translation>
    </message>
    <message id="str_EKV_join_str">
        <source>Add</source>
        <translation>添加</translation>
    </message>
    <message id="str_EKV_clear_str">
        <source>Clear</source>
        <translation>清除</translation>
    </message>
    <message id="str_EKV_string_limit">
        <source>A key sequence holds up to 16 keys.</source>
        <translation>按键序列最多包含 16 个按键。</translation>
    </message>
    <message id="str_EKV_browse">
        <source>Browse…</source>
        <translation>浏览…</translation>
    </message>
    <message id="str_EKV_app_path">
        <source>Application</source>
        <translation>应用程序</translation>
    </message>
    <message id="str_EKV_mouse_point">
        <source>Click</source>
        <translation>单击</translation>
    </message>
    <message id="str_EKV_mouse_left">
        <source>Left Click</source>
        <translation>左键</translation>
    </message>
    <message id="str_EKV_mouse_mid">
        <source>Middle Click</source>
        <translation>中键</translation>
    </message>
    <message id="str_EKV_mouse_right">
        <source>Right Click</source>
        <translation>右键</translation>
    </message>
    <message id="str_EKV_mouse_forward">
        <source>Scroll Up</source>
        <translation>滚轮向上</translation>
    </message>
    <message id="str_EKV_mouse_backward">
        <source>Scroll Down</source>
        <translation>滚轮向下</translation>
    </message>
    <message id="str_EKV_switch_screen">
        <source>Switch Screen</source>
        <translation>切换屏幕</translation>
    </message>
    <message id="str_EKV_switch_brush">
        <source>Switch Brush</source>
        <translation>切换笔刷</translation>
    </message>
    <message id="str_SET_FuncName">
        <source>Function name</source>
        <translation>功能名称</translation>
    </message>
    <message id="str_SET_AppsListTitle">
        <source>Applications</source>
        <translation>应用程序列表</translation>
    </message>
    <message id="str_Calibrate_label">
        <source>Touch the centre of each cross with the pen tip.</source>
        <translation>请用笔尖依次点击每个十字的中心。</translation>
    </message>
    <message id="str_Calibrate_Restore">
        <source>Remove Calibration</source>
        <translation>清除校准</translation>
    </message>
    <message id="str_Calibrate_Cancel">
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message id="settingsTitle">
        <source>Preferences</source>
        <translation>偏好设置</translation>
    </message>
    <message id="settingsCommon">
        <source>General</source>
        <translation>通用</translation>
    </message>
    <message id="settingsHotkey">
        <source>Hotkeys</source>
        <translation>热键</translation>
    </message>
    <message id="settingsOpenDriverUI">
        <source>Shortcut that opens the tablet settings from any application:</source>
        <translation>在任意程序中打开数位板设置的快捷键：</translation>
    </message>
    <message id="settingsResetHotkey">
        <source>Reset</source>
        <translation>重置</translation>
    </message>
    <message id="settingsHotkeyRegistered">
        <source>This shortcut is already used by the system or another application.</source>
        <translation>该快捷键已被系统或其他程序占用。</translation>
    </message>
    <message id="changeNow">
        <source>Change Now</source>
        <translation>立即修改</translation>
    </message>
    <message id="str_SET_update">
        <source>Check for Updates</source>
        <translation>检查更新</translation>
    </message>
    <message id="str_SET_updateNow">
        <source>Update Now</source>
        <translation>立即更新</translation>
    </message>
    <message id="str_SET_updateMessage">
        <source>Update Available</source>
        <translation>发现新版本</translation>
    </message>
    <message id="str_SET_updateInfoText">
        <source>A new driver version is available. Download and install it now?</source>
        <translation>发现新版本驱动，是否立即下载并安装？</translation>
    </message>
    <message id="str_SET_updateInfo">
        <source>Your driver is up to date.</source>
        <translation>当前驱动已是最新版本。</translation>
    </message>
    <message id="str_SET_poorNetWork">
        <source>The network is unavailable. Check your connection and try again.</source>
        <translation>网络无法连接，请检查网络后重试。</translation>
    </message>
    <message id="str_SET_unknowError">
        <source>An unknown error occurred.</source>
        <translation>发生未知错误。</translation>
    </message>
    <message id="str_SET_uninstall">
        <source>Uninstall</source>
        <translation>卸载</translation>
    </message>
    <message id="str_SET_uninstallNow">
        <source>Uninstall the tablet driver now?</source>
        <translation>确定立即卸载数位板驱动吗？</translation>
    </message>
    <message id="str_SET_uninstallWarnning">
        <source>The driver programs and all your tablet settings will be removed.</source>
        <translation>将删除驱动程序及您的全部数位板设置。</translation>
    </message>
    <message id="str_SET_uninstallFailed">
        <source>The driver could not be removed completely. Authorisation was refused or a removal step failed.</source>
        <translation>驱动未能完全卸载：授权被拒绝，或某个删除步骤失败。</translation>
    </message>
    <message id="str_SET_installNow">
        <source>Install Now</source>
        <translation>立即安装</translation>
    </message>
    <message id="str_SET_installLater">
        <source>Install Later</source>
        <translation>稍后安装</translation>
    </message>
    <message id="str_SET_installInfoText">
        <source>The new driver has been downloaded. Install it now?</source>
        <translation>新版驱动已下载完成，是否立即安装？</translation>
    </message>
</context>
</TS>
