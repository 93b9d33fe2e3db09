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
        <source>menulogfile</source>
        <translation>Log file...</translation>
    </message>
    <message>
        <source>menulayouts</source>
        <translation>Read every pf log layout</translation>
    </message>
    <message>
        <source>menulayoutstip</source>
        <translation>Besides the firewall product's own lines, read the pflog text of any pf firewall and the filterlog of pfSense and OPNsense.</translation>
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
    <message>
        <source>winsimplelog</source>
        <translation>Simple log</translation>
    </message>
    <message>
        <source>colaction</source>
        <translation>Action</translation>
    </message>
    <message>
        <source>coltime</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>colinterface</source>
        <translation>Interface</translation>
    </message>
    <message>
        <source>colsource</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>colsourceport</source>
        <translation>Source port</translation>
    </message>
    <message>
        <source>coldestination</source>
        <translation>Destination</translation>
    </message>
    <message>
        <source>coldestport</source>
        <translation>Destination port</translation>
    </message>
    <message>
        <source>sldetails</source>
        <translation>Details…</translation>
    </message>
    <message>
        <source>slrawline</source>
        <translation>Raw line…</translation>
    </message>
    <message>
        <source>slsourceip</source>
        <translation>Source address…</translation>
    </message>
    <message>
        <source>slsourceport</source>
        <translation>Source port…</translation>
    </message>
    <message>
        <source>sldestip</source>
        <translation>Destination address…</translation>
    </message>
    <message>
        <source>sldestport</source>
        <translation>Destination port…</translation>
    </message>
    <message>
        <source>slfollow</source>
        <translation>Follow newest</translation>
    </message>
    <message>
        <source>slmaxlines</source>
        <translation>Rows kept live:</translation>
    </message>
    <message>
        <source>slclear</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>sllimiter</source>
        <translation>Last lines of the log:</translation>
    </message>
    <message>
        <source>slshow</source>
        <translation>Show</translation>
    </message>
    <message>
        <source>detdate</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>detsource</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>detdestination</source>
        <translation>Destination</translation>
    </message>
    <message>
        <source>btnaddressinfo</source>
        <translation>What is known of this address</translation>
    </message>
    <message>
        <source>popcountry</source>
        <translation>Country</translation>
    </message>
    <message>
        <source>pophostname</source>
        <translation>Host name</translation>
    </message>
    <message>
        <source>popwhois</source>
        <translation>Whois</translation>
    </message>
    <message>
        <source>nomoreinfo</source>
        <translation>No more information about this port</translation>
    </message>
    <message>
        <source>systemport</source>
        <translation>System port (0 to 1023)</translation>
    </message>
    <message>
        <source>registport</source>
        <translation>Registered port (1024 to 49151)</translation>
    </message>
    <message>
        <source>ephemport</source>
        <translation>Dynamic or private port (49152 to 65535)</translation>
    </message>
    <message>
        <source>btninfo</source>
        <translation>Information…</translation>
    </message>
    <message>
        <source>btnpie</source>
        <translation>Pie…</translation>
    </message>
    <message>
        <source>btnblacklist</source>
        <translation>Blacklist</translation>
    </message>
    <message>
        <source>btnaddtogroup</source>
        <translation>Add to group</translation>
    </message>
    <message>
        <source>btngroup</source>
        <translation>Group</translation>
    </message>
    <message>
        <source>btnexport</source>
        <translation>Export…</translation>
    </message>
    <message>
        <source>colname</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>norovex</source>
        <translation>Rovex is not running. Start Rovex to hand addresses over to the firewall.</translation>
    </message>
    <message>
        <source>exportfailed</source>
        <translation>The address list could not be saved:</translation>
    </message>
    <message>
        <source>yesupd</source>
        <translation>A newer version of RovexLogsVisualizer is available. The web site opens when you close this message.</translation>
    </message>
    <message>
        <source>yesupgr</source>
        <translation>A new release of RovexLogsVisualizer is available. The web site opens when you close this message.</translation>
    </message>
    <message>
        <source>connlost</source>
        <translation>The update server could not be reached. Please try again later.</translation>
    </message>
    <message>
        <source>noupdserver</source>
        <translation>No update server is set: start with --version-server URL, set ROVEX_VERSION_SERVER, or save versionServer in the settings.</translation>
    </message>
    <message>
        <source>winstats</source>
        <translation>Statistics</translation>
    </message>
    <message>
        <source>btngetstats</source>
        <translation>Get statistics</translation>
    </message>
    <message>
        <source>ignoreupd</source>
        <translation>Ignore UDP</translation>
    </message>
    <message>
        <source>statsaddresses</source>
        <translation>Most frequent addresses</translation>
    </message>
    <message>
        <source>statsports</source>
        <translation>Most frequent destination ports</translation>
    </message>
    <message>
        <source>statsfiles</source>
        <translation>Files to read (the log, then its archives):</translation>
    </message>
    <message>
        <source>statslength</source>
        <translation>Entries per list:</translation>
    </message>
    <message>
        <source>statsblock</source>
        <translation>Blocked</translation>
    </message>
    <message>
        <source>statspass</source>
        <translation>Passed</translation>
    </message>
    <message>
        <source>statsin</source>
        <translation>Inbound</translation>
    </message>
    <message>
        <source>statsout</source>
        <translation>Outbound</translation>
    </message>
    <message>
        <source>colshare</source>
        <translation>Share</translation>
    </message>
    <message>
        <source>btnclose</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>noinfo</source>
        <translation>No information about this port.</translation>
    </message>
    <message>
        <source>reading</source>
        <translation>Reading</translation>
    </message>
    <message>
        <source>loglines</source>
        <translation>log lines</translation>
    </message>
    <message>
        <source>plwait</source>
        <translation>Please wait…</translation>
    </message>
</context>
</TS>
