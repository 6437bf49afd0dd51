<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name></name>
    <message id="str_EKV_switch_muxfunc">
        <source>Next Function Set</source>
        <translation>Next Function Set</translation>
    </message>
    <message id="str_EKV_reset">
        <source>Reset</source>
        <translation>Reset</translation>
    </message>
    <message id="str_EKV_record_keys">
        <source>Click here and press the keys</source>
        <translation>Click here and press the keys</translation>
    </message>
    <message id="str_EKV_path_too_long">
        <source>This application's path is too long to be kept.</source>
        <translation>This application's path is too long to be kept.</translation>
    </message>
</context>
</TS>
