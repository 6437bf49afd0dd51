<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name></name>
    <message id="str_AL_add">
        <source>Add Application…</source>
        <translation>添加应用程序…</translation>
    </message>
    <message id="str_AL_edit">
        <source>Edit Settings</source>
        <translation>编辑设置</translation>
    </message>
    <message id="str_AL_reveal">
        <source>Show in Folder</source>
        <translation>在文件夹中显示</translation>
    </message>
    <message id="str_AL_remove">
        <source>Remove</source>
        <translation>移除</translation>
    </message>
    <message id="str_AL_choose_title">
        <source>Choose an Application</source>
        <translation>选择应用程序</translation>
    </message>
    <message id="str_AL_other_program">
        <source>Other Program File…</source>
        <translation>其他程序文件…</translation>
    </message>
    <message id="str_AL_not_found">
        <source>The program of this application could not be found.</source>
        <translation>找不到此应用程序的程序文件。</translation>
    </message>
    <message id="str_AL_appimage">
        <source>This program starts from a temporary folder each time, so its settings cannot follow it. Add the program it runs instead.</source>
        <translation>此程序每次都从临时文件夹启动，其设置无法跟随它。请改为添加它所运行的程序。</translation>
    </message>
    <message id="str_AL_path_too_long">
        <source>The path of this program is too long to be stored.</source>
        <translation>此程序的路径太长，无法保存。</translation>
    </message>
</context>
</TS>
