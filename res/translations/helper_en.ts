<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name></name>
    <message id="str_HLP_downloading">
        <source>Downloading the driver update</source>
        <translation>Downloading the driver update</translation>
    </message>
    <message id="str_HLP_downloadProgress">
        <source>%1: %2 %</source>
        <translation>%1: %2 %</translation>
    </message>
</context>
</TS>
