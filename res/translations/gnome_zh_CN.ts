<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name></name>
    <message id="str_SET_gnomeExtension">
        <source>Per-application settings need the tablet driver's GNOME Shell extension to see the active application. Enable it; if it was installed during this session, log out and in again first.</source>
        <translation>按应用程序设置需要数位板驱动的 GNOME Shell 扩展来识别当前应用程序。请启用它；如果它是在本次会话中安装的，请先注销并重新登录。</translation>
    </message>
    <message id="str_SET_gnomeExtensionEnable">
        <source>Enable</source>
        <translation>启用</translation>
    </message>
</context>
</TS>
