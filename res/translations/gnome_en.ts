<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name></name>
    <message id="str_SET_gnomeExtension">
        <source>Per-application settings need the tablet driver's GNOME Shell extension to see the active application. Enable it; if it was installed during this session, log out and in again first.</source>
        <translation>Per-application settings need the tablet driver's GNOME Shell extension to see the active application. Enable it; if it was installed during this session, log out and in again first.</translation>
    </message>
    <message id="str_SET_gnomeExtensionEnable">
        <source>Enable</source>
        <translation>Enable</translation>
    </message>
</context>
</TS>
