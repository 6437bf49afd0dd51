<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name></name>
    <message id="str_Calibrate_again">
        <source>The touches were too far from the crosses to be used. Touch the centre of each cross again.</source>
        <translation>触点偏离十字太远，无法使用。请重新点击每个十字的中心。</translation>
    </message>
</context>
</TS>
