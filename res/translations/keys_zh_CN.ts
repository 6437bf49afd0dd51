<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name></name>
    <message id="str_EKV_switch_muxfunc">
        <source>Next Function Set</source>
        <translation>下一组功能</translation>
    </message>
    <message id="str_EKV_reset">
        <source>Reset</source>
        <translation>重置</translation>
    </message>
    <message id="str_EKV_record_keys">
        <source>Click here and press the keys</source>
        <translation>点击此处后按下按键</translation>
    </message>
    <message id="str_EKV_path_too_long">
        <source>This application's path is too long to be kept.</source>
        <translation>此应用程序的路径过长,无法保存。</translation>
    </message>
</context>
</TS>
