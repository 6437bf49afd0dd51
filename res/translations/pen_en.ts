<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name></name>
    <message id="str_P_pen_picture">
        <source>Pen</source>
        <translation>Pen</translation>
    </message>
    <message id="str_P_press_curve">
        <source>Pressure Curve</source>
        <translation>Pressure Curve</translation>
    </message>
    <message id="str_P_press_bar">
        <source>Pressure</source>
        <translation>Pressure</translation>
    </message>
    <message id="str_P_lower_button">
        <source>Lower Button</source>
        <translation>Lower Button</translation>
    </message>
    <message id="str_P_upper_button">
        <source>Upper Button</source>
        <translation>Upper Button</translation>
    </message>
</context>
</TS>
