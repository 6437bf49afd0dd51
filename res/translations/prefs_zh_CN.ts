<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name></name>
    <message id="settingsMonitor">
        <source>Monitor</source>
        <translation>显示器</translation>
    </message>
    <message id="settingsAutoRun">
        <source>Start the tablet driver when I log in</source>
        <translation>登录时启动数位板驱动</translation>
    </message>
    <message id="settingsNoGlobalShortcuts">
        <source>This desktop offers no global shortcuts to applications, so the hotkey cannot open the tablet settings here. Use the status icon instead.</source>
        <translation>此桌面不向应用程序提供全局快捷键，因此这里无法用快捷键打开数位板设置。请改用状态栏图标。</translation>
    </message>
    <message id="monitorDisplay">
        <source>Display:</source>
        <translation>显示器：</translation>
    </message>
    <message id="monitorNoDisplay">
        <source>No display</source>
        <translation>无显示器</translation>
    </message>
    <message id="monitorBrightness">
        <source>Brightness</source>
        <translation>亮度</translation>
    </message>
    <message id="monitorContrast">
        <source>Contrast</source>
        <translation>对比度</translation>
    </message>
    <message id="monitorColorTemperature">
        <source>Colour temperature</source>
        <translation>色温</translation>
    </message>
    <message id="monitor6500K">
        <source>6500 K</source>
        <translation>6500 K</translation>
    </message>
    <message id="monitor9300K">
        <source>9300 K</source>
        <translation>9300 K</translation>
    </message>
    <message id="monitorUser">
        <source>User</source>
        <translation>用户</translation>
    </message>
    <message id="monitorRed">
        <source>Red</source>
        <translation>红</translation>
    </message>
    <message id="monitorGreen">
        <source>Green</source>
        <translation>绿</translation>
    </message>
    <message id="monitorBlue">
        <source>Blue</source>
        <translation>蓝</translation>
    </message>
    <message id="monitorReset">
        <source>Restore Factory Settings</source>
        <translation>恢复出厂设置</translation>
    </message>
    <message id="monitorInfo">
        <source>Monitor Information</source>
        <translation>显示器信息</translation>
    </message>
    <message id="monitorNoAnswer">
        <source>The display does not answer over DDC/CI. Turn on DDC/CI in its menu, or check that the i2c-dev module is loaded.</source>
        <translation>显示器没有通过 DDC/CI 应答。请在显示器菜单中打开 DDC/CI，或检查 i2c-dev 模块是否已加载。</translation>
    </message>
</context>
</TS>
