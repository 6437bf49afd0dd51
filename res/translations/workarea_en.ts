<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name></name>
    <message id="str_Calibrate_again">
        <source>The touches were too far from the crosses to be used. Touch the centre of each cross again.</source>
        <translation>The touches were too far from the crosses to be used. Touch the centre of each cross again.</translation>
    </message>
</context>
</TS>
