<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>MainMenu</name>
    <message>
        <source>blockin</source>
        <translation>Inbound blocked</translation>
    </message>
    <message>
        <source>blockout</source>
        <translation>Outbound blocked</translation>
    </message>
    <message>
        <source>passedin</source>
        <translation>Inbound passed</translation>
    </message>
    <message>
        <source>passedout</source>
        <translation>Outbound passed</translation>
    </message>
    <message>
        <source>torta</source>
        <translation>Statistics</translation>
    </message>
    <message>
        <source>menulogs</source>
        <translation>Simple log</translation>
    </message>
    <message>
        <source>console</source>
        <translation>Open log in viewer</translation>
    </message>
    <message>
        <source>openinfo</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>menuoptions</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>menushowall</source>
        <translation>Show all windows</translation>
    </message>
    <message>
        <source>menukeep</source>
        <translation>Keep windows in front</translation>
    </message>
    <message>
        <source>menuignore</source>
        <translation>Ignore lists…</translation>
    </message>
    <message>
        <source>menuclean</source>
        <translation>Clear all tables</translation>
    </message>
    <message>
        <source>menulogin</source>
        <translation>Start at login</translation>
    </message>
    <message>
        <source>menuupdates</source>
        <translation>Check for updates…</translation>
    </message>
    <message>
        <source>menuabout</source>
        <translation>About RovexLogsVisualizer</translation>
    </message>
    <message>
        <source>menuquit</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>loginadded</source>
        <translation>RovexLogsVisualizer will start automatically when you log in.</translation>
    </message>
    <message>
        <source>noupd</source>
        <translation>You have the latest version.</translation>
    </message>
    <message>
        <source>wininboundblocked</source>
        <translation>Inbound blocked traffic</translation>
    </message>
    <message>
        <source>winoutboundblocked</source>
        <translation>Outbound blocked traffic</translation>
    </message>
    <message>
        <source>wininboundpassed</source>
        <translation>Inbound passed traffic</translation>
    </message>
    <message>
        <source>winoutboundpassed</source>
        <translation>Outbound passed traffic</translation>
    </message>
    <message>
        <source>winignore</source>
        <translation>Ignore lists</translation>
    </message>
    <message>
        <source>winabout</source>
        <translation>About</translation>
    </message>
    <message>
        <source>wininfo</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>colport</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>coladdress</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>colcount</source>
        <translation>Count</translation>
    </message>
    <message>
        <source>colfirstseen</source>
        <translation>First seen</translation>
    </message>
    <message>
        <source>colcountry</source>
        <translation>Country</translation>
    </message>
    <message>
        <source>btnignore</source>
        <translation>Ignore</translation>
    </message>
    <message>
        <source>btnremove</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>btnunignore</source>
        <translation>Stop ignoring</translation>
    </message>
    <message>
        <source>ignoredports</source>
        <translation>Ignored ports</translation>
    </message>
    <message>
        <source>ignoredaddresses</source>
        <translation>Ignored addresses</translation>
    </message>
</context>
</TS>
