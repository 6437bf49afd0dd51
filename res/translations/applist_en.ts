<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name></name>
    <message id="str_AL_add">
        <source>Add Application…</source>
        <translation>Add Application…</translation>
    </message>
    <message id="str_AL_edit">
        <source>Edit Settings</source>
        <translation>Edit Settings</translation>
    </message>
    <message id="str_AL_reveal">
        <source>Show in Folder</source>
        <translation>Show in Folder</translation>
    </message>
    <message id="str_AL_remove">
        <source>Remove</source>
        <translation>Remove</translation>
    </message>
    <message id="str_AL_choose_title">
        <source>Choose an Application</source>
        <translation>Choose an Application</translation>
    </message>
    <message id="str_AL_other_program">
        <source>Other Program File…</source>
        <translation>Other Program File…</translation>
    </message>
    <message id="str_AL_not_found">
        <source>The program of this application could not be found.</source>
        <translation>The program of this application could not be found.</translation>
    </message>
    <message id="str_AL_appimage">
        <source>This program starts from a temporary folder each time, so its settings cannot follow it. Add the program it runs instead.</source>
        <translation>This program starts from a temporary folder each time, so its settings cannot follow it. Add the program it runs instead.</translation>
    </message>
    <message id="str_AL_path_too_long">
        <source>The path of this program is too long to be stored.</source>
        <translation>The path of this program is too long to be stored.</translation>
    </message>
</context>
</TS>
