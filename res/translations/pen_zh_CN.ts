<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name></name>
    <message id="str_P_pen_picture">
        <source>Pen</source>
        <translation>笔</translation>
    </message>
    <message id="str_P_press_curve">
        <source>Pressure Curve</source>
        <translation>压力曲线</translation>
    </message>
    <message id="str_P_press_bar">
        <source>Pressure</source>
        <translation>压力</translation>
    </message>
    <message id="str_P_lower_button">
        <source>Lower Button</source>
        <translation>下按键</translation>
    </message>
    <message id="str_P_upper_button">
        <source>Upper Button</source>
        <translation>上按键</translation>
    </message>
</context>
</TS>
