<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name></name>
    <message id="settingsMonitor">
        <source>Monitor</source>
        <translation>Monitor</translation>
    </message>
    <message id="settingsAutoRun">
        <source>Start the tablet driver when I log in</source>
        <translation>Start the tablet driver when I log in</translation>
    </message>
    <message id="settingsNoGlobalShortcuts">
        <source>This desktop offers no global shortcuts to applications, so the hotkey cannot open the tablet settings here. Use the status icon instead.</source>
        <translation>This desktop offers no global shortcuts to applications, so the hotkey cannot open the tablet settings here. Use the status icon instead.</translation>
    </message>
    <message id="monitorDisplay">
        <source>Display:</source>
        <translation>Display:</translation>
    </message>
    <message id="monitorNoDisplay">
        <source>No display</source>
        <translation>No display</translation>
    </message>
    <message id="monitorBrightness">
        <source>Brightness</source>
        <translation>Brightness</translation>
    </message>
    <message id="monitorContrast">
        <source>Contrast</source>
        <translation>Contrast</translation>
    </message>
    <message id="monitorColorTemperature">
        <source>Colour temperature</source>
        <translation>Colour temperature</translation>
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
        <translation>User</translation>
    </message>
    <message id="monitorRed">
        <source>Red</source>
        <translation>Red</translation>
    </message>
    <message id="monitorGreen">
        <source>Green</source>
        <translation>Green</translation>
    </message>
    <message id="monitorBlue">
        <source>Blue</source>
        <translation>Blue</translation>
    </message>
    <message id="monitorReset">
        <source>Restore Factory Settings</source>
        <translation>Restore Factory Settings</translation>
    </message>
    <message id="monitorInfo">
        <source>Monitor Information</source>
        <translation>Monitor Information</translation>
    </message>
    <message id="monitorNoAnswer">
        <source>The display does not answer over DDC/CI. Turn on DDC/CI in its menu, or check that the i2c-dev module is loaded.</source>
        <translation>The display does not answer over DDC/CI. Turn on DDC/CI in its menu, or check that the i2c-dev module is loaded.</translation>
    </message>
</context>
</TS>
