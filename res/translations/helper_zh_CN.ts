<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name></name>
    <message id="str_HLP_downloading">
        <source>Downloading the driver update</source>
        <translation>正在下载驱动更新</translation>
    </message>
    <message id="str_HLP_downloadProgress">
        <source>%1: %2 %</source>
        <translation>%1：已下载 %2 %</translation>
    </message>
</context>
</TS>
