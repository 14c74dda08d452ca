<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>AboutDialog</name>
    <message>
        <location filename="../../ui/dialogs/AboutDialog.cpp" line="29"/>
        <source>About %1</source>
        <translation>About %1</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AboutDialog.cpp" line="39"/>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AboutDialog.cpp" line="42"/>
        <source>Calendars, events and tasks on your desktop, in step with your accounts.</source>
        <translation>Calendars, events and tasks on your desktop, in step with your accounts.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AboutDialog.cpp" line="53"/>
        <source>This program carries these fonts and icons under their own licences:</source>
        <translation>This program carries these fonts and icons under their own licences:</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AboutDialog.cpp" line="67"/>
        <source>The fonts IBM Plex Sans and IBM Plex Mono, under the SIL Open Font License 1.1.</source>
        <translation>The fonts IBM Plex Sans and IBM Plex Mono, under the SIL Open Font License 1.1.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AboutDialog.cpp" line="70"/>
        <source>The icon font Material Icons, under the Apache License 2.0.</source>
        <translation>The icon font Material Icons, under the Apache License 2.0.</translation>
    </message>
</context>
<context>
    <name>AccountsCalendarsDialog</name>
    <message>
        <source>The calendar &quot;%1&quot; could not be added (%2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="33"/>
        <source>Accounts and Calendars</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="40"/>
        <source>New calendar on this device</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="42"/>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="144"/>
        <source>Add Calendar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="127"/>
        <source>%1 (read-only)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="145"/>
        <source>The calendar &quot;%1&quot; could not be added.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="155"/>
        <source>On This Device</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="65"/>
        <source>Add Google account…</source>
        <translation>Add Google account…</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="67"/>
        <source>Add Microsoft account…</source>
        <translation>Add Microsoft account…</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="72"/>
        <source>Share…</source>
        <translation>Share…</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="74"/>
        <source>Move to the Cloud</source>
        <translation>Move to the Cloud</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="189"/>
        <source>Sign in to your Larkspindle account first.</source>
        <translation>Sign in to your Larkspindle account first.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="240"/>
        <source>&quot;%1&quot; is now in the cloud.</source>
        <translation>&quot;%1&quot; is now in the cloud.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="250"/>
        <source>Moving to the cloud failed: %1</source>
        <translation>Moving to the cloud failed: %1</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="255"/>
        <source>Moving &quot;%1&quot; to the cloud…</source>
        <translation>Moving &quot;%1&quot; to the cloud…</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="267"/>
        <source>Share Calendar</source>
        <translation>Share Calendar</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="268"/>
        <source>Sharing: %1</source>
        <translation>Sharing: %1</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="269"/>
        <source>People you share with see the same events and changes you do. Sharing doesn&apos;t merge calendars; they keep their own calendar list.</source>
        <translation>People you share with see the same events and changes you do. Sharing doesn&apos;t merge calendars; they keep their own calendar list.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="271"/>
        <source>Shared with</source>
        <translation>Shared with</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="272"/>
        <source>Add people</source>
        <translation>Add people</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="273"/>
        <source>Not shared with anyone yet.</source>
        <translation>Not shared with anyone yet.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="274"/>
        <source>Add family members or teammates to your Larkspindle group first, then come back here to share calendars with them.</source>
        <translation>Add family members or teammates to your Larkspindle group first, then come back here to share calendars with them.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="276"/>
        <source>Everyone in your group already has access</source>
        <translation>Everyone in your group already has access</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="277"/>
        <source>Share</source>
        <translation>Share</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="278"/>
        <source>Remove access</source>
        <translation>Remove access</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="279"/>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="281"/>
        <source>Couldn&apos;t share calendar</source>
        <translation>Couldn&apos;t share calendar</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="282"/>
        <source>Couldn&apos;t remove person</source>
        <translation>Couldn&apos;t remove person</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="283"/>
        <source>Stop sharing?</source>
        <translation>Stop sharing?</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="284"/>
        <source>%1 will no longer see this calendar&apos;s events on any of their devices. Continue?</source>
        <translation>%1 will no longer see this calendar&apos;s events on any of their devices. Continue?</translation>
    </message>
    <message numerus="yes">
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="231"/>
        <source>Moving to the cloud: %L1 of %Ln item(s) sent.</source>
        <translation>
            <numerusform>Moving to the cloud: %L1 of %Ln item sent.</numerusform>
            <numerusform>Moving to the cloud: %L1 of %Ln items sent.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Application</name>
    <message>
        <source>The quick add &quot;%1&quot; is kept: it is added once Larkspindle Calendar starts, also if you quit now.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it could not be saved to disk</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quick Add Not Saved</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The quick add &quot;%1&quot; could not be saved (%2). If Larkspindle Calendar ends now, it is lost.

End without it? Choose No to wait on.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/Application.cpp" line="146"/>
        <source>Database Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../app/Application.cpp" line="153"/>
        <source>Larkspindle Calendar Is Running</source>
        <translation>Larkspindle Calendar Is Running</translation>
    </message>
    <message>
        <location filename="../../app/Application.cpp" line="154"/>
        <source>Larkspindle Calendar is already running with this data folder (process %1), perhaps in another session of yours. Close it there, then start it here again.

Data directory: %2</source>
        <translation>Larkspindle Calendar is already running with this data folder (process %1), perhaps in another session of yours. Close it there, then start it here again.

Data directory: %2</translation>
    </message>
    <message>
        <location filename="../../app/Application.cpp" line="1"/>
        <source>Larkspindle Calendar is already running with this data folder, perhaps in another session of yours. Close it there, then start it here again.

Data directory: %1</source>
        <translation>Larkspindle Calendar is already running with this data folder, perhaps in another session of yours. Close it there, then start it here again.

Data directory: %1</translation>
    </message>
    <message>
        <location filename="../../app/Application.cpp" line="1"/>
        <source>Data Folder Cannot Be Locked</source>
        <translation>Data Folder Cannot Be Locked</translation>
    </message>
    <message>
        <location filename="../../app/Application.cpp" line="1"/>
        <source>The lock file %1 is a folder, so no copy of Larkspindle Calendar can take this data folder. Remove that folder, then start Larkspindle Calendar again.</source>
        <translation>The lock file %1 is a folder, so no copy of Larkspindle Calendar can take this data folder. Remove that folder, then start Larkspindle Calendar again.</translation>
    </message>
    <message>
        <location filename="../../app/Application.cpp" line="1"/>
        <source>The lock file %1 cannot be read. If Larkspindle Calendar is not running in another session of yours, remove the file, then start it again.</source>
        <translation>The lock file %1 cannot be read. If Larkspindle Calendar is not running in another session of yours, remove the file, then start it again.</translation>
    </message>
    <message>
        <location filename="../../app/Application.cpp" line="1"/>
        <source>Neither the data folder nor its database can be locked (%1), so another copy of Larkspindle Calendar could change the same calendar at the same time.

Data directory: %2

Please check file permissions and try again.</source>
        <translation>Neither the data folder nor its database can be locked (%1), so another copy of Larkspindle Calendar could change the same calendar at the same time.

Data directory: %2

Please check file permissions and try again.</translation>
    </message>
    <message>
        <source>Data Folder Cannot Be Made</source>
        <translation>Data Folder Cannot Be Made</translation>
    </message>
    <message>
        <source>The data folder cannot be made (%1).

Data directory: %2

Please check that no file stands in its path and that you may write there, then start Larkspindle Calendar again.</source>
        <translation>The data folder cannot be made (%1).

Data directory: %2

Please check that no file stands in its path and that you may write there, then start Larkspindle Calendar again.</translation>
    </message>
    <message>
        <source>The database cannot be opened for writing (%1), so Larkspindle Calendar cannot start.

Data directory: %2</source>
        <translation>The database cannot be opened for writing (%1), so Larkspindle Calendar cannot start.

Data directory: %2</translation>
    </message>
    <message>
        <source>Link in the Data Folder</source>
        <translation>Link in the Data Folder</translation>
    </message>
    <message>
        <source>%1 is a link. Larkspindle Calendar keeps its own files in its data folder and does not write through links. Put the file itself there or remove the link, then start Larkspindle Calendar again.</source>
        <translation>%1 is a link. Larkspindle Calendar keeps its own files in its data folder and does not write through links. Put the file itself there or remove the link, then start Larkspindle Calendar again.</translation>
    </message>
    <message>
        <source>Larkspindle Calendar Is Starting</source>
        <translation>Larkspindle Calendar Is Starting</translation>
    </message>
    <message>
        <source>Larkspindle Calendar is already running or still starting with this data folder. This start hands its command over as soon as it answers.</source>
        <translation>Larkspindle Calendar is already running or still starting with this data folder. This start hands its command over as soon as it answers.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Waiting for Another Program</source>
        <translation>Waiting for Another Program</translation>
    </message>
    <message>
        <source>Another program is writing to the calendar. Larkspindle Calendar starts as soon as it is done.</source>
        <translation>Another program is writing to the calendar. Larkspindle Calendar starts as soon as it is done.</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>Quick-Add Lines Not Saved</source>
        <translation>Quick-Add Lines Not Saved</translation>
    </message>
    <message numerus="yes">
        <source>Another program is still writing to the calendar, and %n quick-add line(s) could not be saved to disk. If Larkspindle Calendar ends now, they are lost.

End without them? Choose No to try again.</source>
        <translation>
            <numerusform>Another program is still writing to the calendar, and %n quick-add line could not be saved to disk. If Larkspindle Calendar ends now, it is lost.

End without it? Choose No to try again.</numerusform>
            <numerusform>Another program is still writing to the calendar, and %n quick-add lines could not be saved to disk. If Larkspindle Calendar ends now, they are lost.

End without them? Choose No to try again.</numerusform>
        </translation>
    </message>
    <message>
        <source>Adding Quick-Add Lines</source>
        <translation>Adding Quick-Add Lines</translation>
    </message>
    <message numerus="yes">
        <source>Another program is writing to the calendar. Larkspindle Calendar adds %n waiting quick-add line(s) as soon as it is done, then ends.</source>
        <translation>
            <numerusform>Another program is writing to the calendar. Larkspindle Calendar adds %n waiting quick-add line as soon as it is done, then ends.</numerusform>
            <numerusform>Another program is writing to the calendar. Larkspindle Calendar adds %n waiting quick-add lines as soon as it is done, then ends.</numerusform>
        </translation>
    </message>
    <message>
        <source>End Now</source>
        <translation>End Now</translation>
    </message>
</context>
<context>
    <name>CalDavClient</name>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="177"/>
        <source>The server&apos;s certificate does not match the trusted certificate.</source>
        <translation>The server&apos;s certificate does not match the trusted certificate.</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="179"/>
        <source>The server&apos;s certificate is not trusted.</source>
        <translation>The server&apos;s certificate is not trusted.</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="183"/>
        <source>The server did not answer in time.</source>
        <translation>The server did not answer in time.</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="185"/>
        <source>Could not reach the server: %1</source>
        <translation>Could not reach the server: %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="198"/>
        <source>The server redirected too many times.</source>
        <translation>The server redirected too many times.</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="202"/>
        <source>The server redirected to an address that is not a web address.</source>
        <translation>The server redirected to an address that is not a web address.</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="226"/>
        <source>The server did not accept the user name or password.</source>
        <translation>The server did not accept the user name or password.</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="227"/>
        <source>The server answered with HTTP status %1.</source>
        <translation>The server answered with HTTP status %1.</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="103"/>
        <source>The server address is not valid.</source>
        <translation>The server address is not valid.</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="101"/>
        <source>The server address must start with https://; without encryption the password would travel in the clear.</source>
        <translation>The server address must start with https://; without encryption the password would travel in the clear.</translation>
    </message>
</context>
<context>
    <name>CalDavDiscovery</name>
    <message>
        <location filename="../../services/sync/caldav/CalDavDiscovery.cpp" line="161"/>
        <source>The server&apos;s reply could not be read.</source>
        <translation>The server&apos;s reply could not be read.</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavDiscovery.cpp" line="127"/>
        <source>The server pointed to another server; the password was not sent there.</source>
        <translation>The server pointed to another server; the password was not sent there.</translation>
    </message>
</context>
<context>
    <name>CalendarPickerDialog</name>
    <message>
        <location filename="../../ui/dialogs/CalendarPickerDialog.cpp" line="20"/>
        <source>Choose Calendar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/CalendarPickerDialog.cpp" line="63"/>
        <source>%1 (%2)</source>
        <comment>calendar name and its account&apos;s name</comment>
        <translation>%1 (%2)</translation>
    </message>
</context>
<context>
    <name>DateText</name>
    <message>
        <location filename="../../model/DateText.cpp" line="12"/>
        <source>dddd, MMM d</source>
        <comment>date pattern: weekday, month and day</comment>
        <translation>dddd, MMM d</translation>
    </message>
    <message>
        <location filename="../../model/DateText.cpp" line="15"/>
        <source>ddd, MMM d</source>
        <comment>date pattern: short weekday, month and day</comment>
        <translation>ddd, MMM d</translation>
    </message>
    <message>
        <location filename="../../model/DateText.cpp" line="18"/>
        <source>ddd d MMM yyyy</source>
        <comment>date pattern: short weekday, day, month and year</comment>
        <translation>ddd d MMM yyyy</translation>
    </message>
    <message>
        <location filename="../../model/DateText.cpp" line="21"/>
        <source>MMM d, yyyy</source>
        <comment>date pattern: month, day and year</comment>
        <translation>MMM d, yyyy</translation>
    </message>
</context>
<context>
    <name>DesktopNotifier</name>
    <message>
        <location filename="../../platform/DesktopNotifier.cpp" line="66"/>
        <source>Open</source>
        <translation>Open</translation>
    </message>
</context>
<context>
    <name>EventDetailsPopover</name>
    <message>
        <location filename="../../ui/dialogs/EventDetailsPopover.cpp" line="59"/>
        <source>(No title)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventDetailsPopover.cpp" line="25"/>
        <source>%1, all day</source>
        <translation>%1, all day</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventDetailsPopover.cpp" line="26"/>
        <source>%1 – %2, all day</source>
        <translation>%1 – %2, all day</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventDetailsPopover.cpp" line="29"/>
        <source>%1, %2 – %3</source>
        <translation>%1, %2 – %3</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventDetailsPopover.cpp" line="31"/>
        <source>%1 %2 – %3 %4</source>
        <translation>%1 %2 – %3 %4</translation>
    </message>
</context>
<context>
    <name>EventFormDialog</name>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="29"/>
        <source>All day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="34"/>
        <source>New Event</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="36"/>
        <source>Title</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="67"/>
        <source>Title:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="68"/>
        <source>Starts:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="69"/>
        <source>Ends:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="71"/>
        <source>Calendar:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="99"/>
        <source>Give the event a title.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="101"/>
        <source>Choose a calendar.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="104"/>
        <source>The event ends before it starts.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="135"/>
        <source>The event could not be saved.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Another program is writing to the calendar, so the event is not saved yet. Keep this window open and save again once it is done.</source>
        <translation>Another program is writing to the calendar, so the event is not saved yet. Keep this window open and save again once it is done.</translation>
    </message>
</context>
<context>
    <name>Google::AuthService</name>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="83"/>
        <source>Google OAuth credentials are not configured in this build. See .env.example.</source>
        <translation>Google OAuth credentials are not configured in this build. See .env.example.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="85"/>
        <source>Google OAuth credentials are not configured.</source>
        <translation>Google OAuth credentials are not configured.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="87"/>
        <source>Could not bind a local port for the Google sign-in callback: %1</source>
        <translation>Could not bind a local port for the Google sign-in callback: %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="89"/>
        <source>Could not launch the system browser for Google sign-in.</source>
        <translation>Could not launch the system browser for Google sign-in.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="91"/>
        <source>Google did not return an authorization code.</source>
        <translation>Google did not return an authorization code.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="93"/>
        <source>Google did not return an access token.</source>
        <translation>Google did not return an access token.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="95"/>
        <source>Google did not return a refresh token. Try removing the app from your Google Account permissions and signing in again.</source>
        <translation>Google did not return a refresh token. Try removing the app from your Google Account permissions and signing in again.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="98"/>
        <source>Google&apos;s response had no access_token.</source>
        <translation>Google&apos;s response had no access_token.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="105"/>
        <source>Google denied the sign-in: %1</source>
        <translation>Google denied the sign-in: %1</translation>
    </message>
</context>
<context>
    <name>Google::CalendarClient</name>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="119"/>
        <source>the request timed out</source>
        <translation>the request timed out</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="133"/>
        <source>Google could not be reached: %1</source>
        <translation>Google could not be reached: %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="147"/>
        <source>Google rejected calendarList.list (HTTP %1): %2</source>
        <translation>Google rejected calendarList.list (HTTP %1): %2</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="149"/>
        <source>Google rejected events.list (HTTP %1): %2</source>
        <translation>Google rejected events.list (HTTP %1): %2</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="151"/>
        <source>Google rejected events.insert: %1</source>
        <translation>Google rejected events.insert: %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="153"/>
        <source>Google rejected events.update: %1</source>
        <translation>Google rejected events.update: %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="154"/>
        <source>Google rejected events.delete: %1</source>
        <translation>Google rejected events.delete: %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="201"/>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="232"/>
        <source>No Google access token available.</source>
        <translation>No Google access token available.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="189"/>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="340"/>
        <source>Google sent a reply that cannot be read.</source>
        <translation>Google sent a reply that cannot be read.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="327"/>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="352"/>
        <source>No Google access token.</source>
        <translation>No Google access token.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="135"/>
        <source>Google asks to wait before the next request.</source>
        <translation>Google asks to wait before the next request.</translation>
    </message>
</context>
<context>
    <name>Google::GoogleSyncProvider</name>
    <message>
        <location filename="../../services/sync/google/GoogleSyncProvider.cpp" line="49"/>
        <source>No saved Google credentials. Sign in again.</source>
        <translation>No saved Google credentials. Sign in again.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/GoogleSyncProvider.cpp" line="62"/>
        <source>Google token refresh failed: %1</source>
        <translation>Google token refresh failed: %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/GoogleSyncProvider.cpp" line="153"/>
        <source>Google sent an event without a start; the changes of this calendar were not saved.</source>
        <translation>Google sent an event without a start; the changes of this calendar were not saved.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/GoogleSyncProvider.cpp" line="175"/>
        <source>Google no longer accepts the calendar&apos;s sync token.</source>
        <translation>Google no longer accepts the calendar&apos;s sync token.</translation>
    </message>
    <message numerus="yes">
        <location filename="../../services/sync/google/GoogleSyncProvider.cpp" line="317"/>
        <source>%Ln change(s) could not be sent to Google and will be sent again at the next sync: %1</source>
        <translation>
            <numerusform>%Ln change could not be sent to Google and will be sent again at the next sync: %1</numerusform>
            <numerusform>%Ln changes could not be sent to Google and will be sent again at the next sync: %1</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../services/sync/google/GoogleSyncProvider.cpp" line="325"/>
        <source>&quot;%1&quot; is no longer available at Google; its changes stay on this device.</source>
        <translation>&quot;%1&quot; is no longer available at Google; its changes stay on this device.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/GoogleSyncProvider.cpp" line="193"/>
        <source>The series of &quot;%1&quot; is not in the Google calendar yet; the changed occurrence is sent at a later sync.</source>
        <translation>The series of &quot;%1&quot; is not in the Google calendar yet; the changed occurrence is sent at a later sync.</translation>
    </message>
</context>
<context>
    <name>IcsImport</name>
    <message>
        <location filename="../../core/IcsImport.cpp" line="45"/>
        <source>Import failed: the file %1 could not be read (%2).</source>
        <translation>Import failed: the file %1 could not be read (%2).</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="50"/>
        <source>Import failed: the file %1 does not exist.</source>
        <translation>Import failed: the file %1 does not exist.</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="53"/>
        <source>Import failed: %1 is not a regular file.</source>
        <translation>Import failed: %1 is not a regular file.</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="54"/>
        <source>Import failed: the file %1 is larger than %2 MB.</source>
        <translation>Import failed: the file %1 is larger than %2 MB.</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="104"/>
        <location filename="../../core/IcsImport.cpp" line="248"/>
        <source>Import failed: no events found in %1.</source>
        <translation>Import failed: no events found in %1.</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="157"/>
        <source>Import failed: the chosen calendar does not exist.</source>
        <translation>Import failed: the chosen calendar does not exist.</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="162"/>
        <source>Import failed: the calendar &quot;%1&quot; is read-only.</source>
        <translation>Import failed: the calendar &quot;%1&quot; is read-only.</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="170"/>
        <source>Import failed: the events could not be stored (%1).</source>
        <translation>Import failed: the events could not be stored (%1).</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="193"/>
        <source>Import failed: the events of %1 could not be stored; nothing was imported.</source>
        <translation>Import failed: the events of %1 could not be stored; nothing was imported.</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="193"/>
        <source>Import failed: the disk is full, so nothing was imported.</source>
        <translation>Import failed: the disk is full, so nothing was imported.</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="193"/>
        <source>The disk is full.</source>
        <translation>The disk is full.</translation>
    </message>
    <message numerus="yes">
        <location filename="../../core/IcsImport.cpp" line="255"/>
        <source>Imported %Ln event(s) from %1.</source>
        <translation>
            <numerusform>Imported %Ln event from %1.</numerusform>
            <numerusform>Imported %Ln events from %1.</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="143"/>
        <source>Import cancelled; nothing was imported.</source>
        <translation>Import cancelled; nothing was imported.</translation>
    </message>
    <message numerus="yes">
        <location filename="../../core/IcsImport.cpp" line="242"/>
        <source>%Ln event(s) without an identifier or a start were skipped.</source>
        <translation>
            <numerusform>%Ln event without an identifier or a start was skipped.</numerusform>
            <numerusform>%Ln events without an identifier or a start were skipped.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location filename="../../core/IcsImport.cpp" line="294"/>
        <source>Over-long text in %Ln event(s) was shortened.</source>
        <translation>
            <numerusform>Over-long text in %Ln event was shortened.</numerusform>
            <numerusform>Over-long text in %Ln events was shortened.</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="306"/>
        <source>Import failed, and some of the events it had stored could not be removed again.</source>
        <translation>Import failed, and some of the events it had stored could not be removed again.</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="204"/>
        <source>Import failed: an earlier import has not been taken back.</source>
        <translation>Import failed: an earlier import has not been taken back.</translation>
    </message>
    <message numerus="yes">
        <location filename="../../core/ImportTakeBack.cpp" line="99"/>
        <source>The import of %1 did not finish in the last run; the %Ln event(s) it had stored have been taken back.</source>
        <translation>
            <numerusform>The import of %1 did not finish in the last run; the %Ln event it had stored has been taken back.</numerusform>
            <numerusform>The import of %1 did not finish in the last run; the %Ln events it had stored have been taken back.</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../core/ImportTakeBack.cpp" line="103"/>
        <source>The import of %1 did not finish in the last run; some of the events it had stored could not be taken back yet, and will be at the next start.</source>
        <translation>The import of %1 did not finish in the last run; some of the events it had stored could not be taken back yet, and will be at the next start.</translation>
    </message>
</context>
<context>
    <name>LarkAccount::AccountGroupPage</name>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="40"/>
        <source>Group</source>
        <translation>Group</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="66"/>
        <source>No Group</source>
        <translation>No Group</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="67"/>
        <source>You&apos;re not part of a group. The group owner can invite you, or you can join with an invite code.</source>
        <translation>You&apos;re not part of a group. The group owner can invite you, or you can join with an invite code.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="70"/>
        <source>Join with Invite Code</source>
        <translation>Join with Invite Code</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="80"/>
        <source>Members</source>
        <translation>Members</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="97"/>
        <source>Owner</source>
        <translation>Owner</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="104"/>
        <source>Remove</source>
        <translation>Remove</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="116"/>
        <source>Pending Invitations</source>
        <translation>Pending Invitations</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="123"/>
        <source>Revoke</source>
        <translation>Revoke</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="134"/>
        <source>Invite Members</source>
        <translation>Invite Members</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="135"/>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="201"/>
        <source>Invite by Email</source>
        <translation>Invite by Email</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="136"/>
        <source>Generate Invite Code</source>
        <translation>Generate Invite Code</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="141"/>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="189"/>
        <source>Leave Group</source>
        <translation>Leave Group</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="150"/>
        <source>Join Group</source>
        <translation>Join Group</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="150"/>
        <source>Enter invite code:</source>
        <translation>Enter invite code:</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="158"/>
        <source>Invalid or expired invite code.</source>
        <translation>Invalid or expired invite code.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="161"/>
        <source>Joined group.</source>
        <translation>Joined group.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="169"/>
        <source>Remove Member</source>
        <translation>Remove Member</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="169"/>
        <source>Remove %1 from the group?</source>
        <translation>Remove %1 from the group?</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="173"/>
        <source>%1 removed.</source>
        <translation>%1 removed.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="173"/>
        <source>Failed to remove %1.</source>
        <translation>Failed to remove %1.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="182"/>
        <source>Invitation revoked.</source>
        <translation>Invitation revoked.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="182"/>
        <source>Failed to revoke invitation.</source>
        <translation>Failed to revoke invitation.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="190"/>
        <source>Leave this group? You will lose access to shared data.</source>
        <translation>Leave this group? You will lose access to shared data.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="194"/>
        <source>Left group.</source>
        <translation>Left group.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="194"/>
        <source>Failed to leave group.</source>
        <translation>Failed to leave group.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="201"/>
        <source>Email address:</source>
        <translation>Email address:</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="210"/>
        <source>Failed to send invitation.</source>
        <translation>Failed to send invitation.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="213"/>
        <source>Invitation sent.</source>
        <translation>Invitation sent.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="225"/>
        <source>Failed to generate code.</source>
        <translation>Failed to generate code.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="228"/>
        <source>Invite Code</source>
        <translation>Invite Code</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="229"/>
        <source>Share this code with the person you want to invite:</source>
        <translation>Share this code with the person you want to invite:</translation>
    </message>
</context>
<context>
    <name>LarkAccount::AccountRows</name>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="24"/>
        <source>Unknown</source>
        <translation>Unknown</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="27"/>
        <source>Active now</source>
        <translation>Active now</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="29"/>
        <source>%1m ago</source>
        <translation>%1m ago</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="31"/>
        <source>%1h ago</source>
        <translation>%1h ago</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="33"/>
        <source>%1d ago</source>
        <translation>%1d ago</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="35"/>
        <source>MMM d, yyyy</source>
        <translation>MMM d, yyyy</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="43"/>
        <source>Unknown Device</source>
        <translation>Unknown Device</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="57"/>
        <source>Unknown client</source>
        <translation>Unknown client</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="62"/>
        <source>This session</source>
        <translation>This session</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="75"/>
        <source>%1 of %2 seats used</source>
        <translation>%1 of %2 seats used</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="89"/>
        <source>Invite code: %1</source>
        <translation>Invite code: %1</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="100"/>
        <source>Password must be at least %1 characters.</source>
        <translation>Password must be at least %1 characters.</translation>
    </message>
</context>
<context>
    <name>LarkAccount::AccountScreen</name>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="58"/>
        <location filename="../../ui/account/AccountScreen.cpp" line="157"/>
        <source>Profile</source>
        <translation>Profile</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="58"/>
        <source>Group</source>
        <translation>Group</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="58"/>
        <location filename="../../ui/account/AccountScreen.cpp" line="77"/>
        <source>Devices</source>
        <translation>Devices</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="58"/>
        <location filename="../../ui/account/AccountScreen.cpp" line="78"/>
        <source>Security</source>
        <translation>Security</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="58"/>
        <location filename="../../ui/account/AccountScreen.cpp" line="210"/>
        <source>Data &amp; Privacy</source>
        <translation>Data &amp; Privacy</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="158"/>
        <source>Personal Information</source>
        <translation>Personal Information</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="174"/>
        <location filename="../../ui/account/AccountScreen.cpp" line="414"/>
        <source>Edit Display Name</source>
        <translation>Edit Display Name</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="175"/>
        <source>Sign Out</source>
        <translation>Sign Out</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="186"/>
        <source>Password</source>
        <translation>Password</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="186"/>
        <source>Change your account password.</source>
        <translation>Change your account password.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="188"/>
        <location filename="../../ui/account/AccountScreen.cpp" line="435"/>
        <source>Change Password</source>
        <translation>Change Password</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="212"/>
        <source>Danger Zone</source>
        <translation>Danger Zone</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="213"/>
        <source>Permanently delete your account. This cannot be undone after 30 days.</source>
        <translation>Permanently delete your account. This cannot be undone after 30 days.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="214"/>
        <location filename="../../ui/account/AccountScreen.cpp" line="470"/>
        <source>Delete Account</source>
        <translation>Delete Account</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="223"/>
        <source>You are the group owner. Transfer ownership or remove all members before deleting your account.</source>
        <translation>You are the group owner. Transfer ownership or remove all members before deleting your account.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="330"/>
        <source>(not set)</source>
        <translation>(not set)</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="339"/>
        <source>Registered Devices</source>
        <translation>Registered Devices</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="340"/>
        <source>Devices that have synced with your account.</source>
        <translation>Devices that have synced with your account.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="342"/>
        <source>No devices registered.</source>
        <translation>No devices registered.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="361"/>
        <source>Remove</source>
        <translation>Remove</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="375"/>
        <source>Active Sessions</source>
        <translation>Active Sessions</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="376"/>
        <source>Sessions currently signed in to your account.</source>
        <translation>Sessions currently signed in to your account.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="378"/>
        <source>No active sessions.</source>
        <translation>No active sessions.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="397"/>
        <source>Current</source>
        <translation>Current</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="402"/>
        <source>Revoke</source>
        <translation>Revoke</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="414"/>
        <source>Display name:</source>
        <translation>Display name:</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="424"/>
        <source>Failed to update profile.</source>
        <translation>Failed to update profile.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="429"/>
        <source>Display name updated.</source>
        <translation>Display name updated.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="436"/>
        <source>Current password:</source>
        <translation>Current password:</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="440"/>
        <source>New password (min %1 characters):</source>
        <translation>New password (min %1 characters):</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="449"/>
        <source>Confirm new password:</source>
        <translation>Confirm new password:</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="451"/>
        <source>Passwords do not match.</source>
        <translation>Passwords do not match.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="461"/>
        <source>Password changed.</source>
        <translation>Password changed.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="463"/>
        <source>Failed to change password.</source>
        <translation>Failed to change password.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="471"/>
        <source>This will schedule your account for permanent deletion after 30 days.</source>
        <translation>This will schedule your account for permanent deletion after 30 days.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="472"/>
        <source>Type %1 to confirm:</source>
        <translation>Type %1 to confirm:</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="482"/>
        <source>Failed to delete account.</source>
        <translation>Failed to delete account.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="485"/>
        <source>Account Scheduled for Deletion</source>
        <translation>Account Scheduled for Deletion</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="486"/>
        <source>Your account will be permanently deleted in 30 days. You can recover it by signing in before then.</source>
        <translation>Your account will be permanently deleted in 30 days. You can recover it by signing in before then.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="517"/>
        <source>Remove Device</source>
        <translation>Remove Device</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="517"/>
        <source>Remove %1?</source>
        <translation>Remove %1?</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="521"/>
        <source>Device removed.</source>
        <translation>Device removed.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="521"/>
        <source>Failed to remove device.</source>
        <translation>Failed to remove device.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="529"/>
        <source>Session revoked.</source>
        <translation>Session revoked.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="529"/>
        <source>Failed to revoke session.</source>
        <translation>Failed to revoke session.</translation>
    </message>
</context>
<context>
    <name>LarkAccount::ApiClient</name>
    <message>
        <location filename="../../services/account/ApiClient.cpp" line="266"/>
        <source>The server sent a reply that cannot be read.</source>
        <translation>The server sent a reply that cannot be read.</translation>
    </message>
</context>
<context>
    <name>LarkAccount::AuthClient</name>
    <message>
        <location filename="../../services/account/AuthClient.cpp" line="118"/>
        <source>Cloud sign-in is not configured in this build</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../services/account/AuthClient.cpp" line="131"/>
        <source>Failed to start local auth server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../services/account/AuthClient.cpp" line="154"/>
        <source>No tokens received</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LarkAccount::ShareMembersDialog</name>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="132"/>
        <source>People with access</source>
        <translation>People with access</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="134"/>
        <source>Add people</source>
        <translation>Add people</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="138"/>
        <source>All group members already have access</source>
        <translation>All group members already have access</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="148"/>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="233"/>
        <source>Not shared with anyone yet.</source>
        <translation>Not shared with anyone yet.</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="245"/>
        <source>Remove access</source>
        <translation>Remove access</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="260"/>
        <source>Share</source>
        <translation>Share</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="291"/>
        <source>Could not share with %1.</source>
        <translation>Could not share with %1.</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="307"/>
        <source>Remove access?</source>
        <translation>Remove access?</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="308"/>
        <source>%1 will no longer have access. Continue?</source>
        <translation>%1 will no longer have access. Continue?</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="321"/>
        <source>Could not remove %1.</source>
        <translation>Could not remove %1.</translation>
    </message>
</context>
<context>
    <name>LarkAccount::TokenStore</name>
    <message>
        <location filename="../../platform/TokenStore.cpp" line="130"/>
        <source>The desktop keyring is locked, so the saved sign-in and passwords cannot be used. Unlock the keyring and try again.</source>
        <translation>The desktop keyring is locked, so the saved sign-in and passwords cannot be used. Unlock the keyring and try again.</translation>
    </message>
    <message>
        <location filename="../../platform/TokenStore.cpp" line="135"/>
        <source>The saved sign-in and passwords are kept in the desktop keyring, which does not answer.</source>
        <translation>The saved sign-in and passwords are kept in the desktop keyring, which does not answer.</translation>
    </message>
</context>
<context>
    <name>LarkUpdate::DialogParts</name>
    <message>
        <source>Page not opened</source>
        <translation>Page not opened</translation>
    </message>
    <message>
        <source>The page could not be opened: it has no address.</source>
        <translation>The page could not be opened: it has no address.</translation>
    </message>
    <message>
        <source>The page could not be opened in a browser. Its address, to open it yourself:
%1</source>
        <translation>The page could not be opened in a browser. Its address, to open it yourself:
%1</translation>
    </message>
</context>
<context>
    <name>LarkUpdate::UpdateDialog</name>
    <message>
        <location filename="../../ui/update/UpdateDialog.cpp" line="22"/>
        <source>Update available</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateDialog.cpp" line="26"/>
        <source>A new version of %1 is available.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateDialog.cpp" line="29"/>
        <source>You have version %1. The latest version is %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateDialog.cpp" line="36"/>
        <source>Loading release notes…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateDialog.cpp" line="44"/>
        <source>*Release notes are not available for this version.*</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateDialog.cpp" line="51"/>
        <source>Download</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateDialog.cpp" line="55"/>
        <source>Later</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LarkUpdate::WhatsNewDialog</name>
    <message>
        <location filename="../../ui/update/WhatsNewDialog.cpp" line="24"/>
        <source>What&apos;s New in %1 %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/update/WhatsNewDialog.cpp" line="29"/>
        <source>What&apos;s new in %1 %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/update/WhatsNewDialog.cpp" line="35"/>
        <source>You are running version %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/update/WhatsNewDialog.cpp" line="44"/>
        <source>Download %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Larkspindle::CalendarUpgradeService</name>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="65"/>
        <source>Calendar&apos;s account is missing</source>
        <translation>Calendar&apos;s account is missing</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="67"/>
        <source>Only Larkspindle-native calendars can be upgraded</source>
        <translation>Only Larkspindle-native calendars can be upgraded</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="69"/>
        <source>Calendar is already on Larkspindle</source>
        <translation>Calendar is already on Larkspindle</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="71"/>
        <source>This calendar is already being moved</source>
        <translation>This calendar is already being moved</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="73"/>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="130"/>
        <source>Not signed in</source>
        <translation>Not signed in</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="112"/>
        <source>Server registration failed (HTTP %1)</source>
        <translation>Server registration failed (HTTP %1)</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="175"/>
        <source>Uploading the calendar failed (HTTP %1); it stays on this device</source>
        <translation>Uploading the calendar failed (HTTP %1); it stays on this device</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="182"/>
        <source>The calendar could not be saved as a cloud calendar; it stays on this device</source>
        <translation>The calendar could not be saved as a cloud calendar; it stays on this device</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="179"/>
        <source>Uploading the calendar failed: %1; it stays on this device</source>
        <translation>Uploading the calendar failed: %1; it stays on this device</translation>
    </message>
</context>
<context>
    <name>Larkspindle::CloudSyncProvider</name>
    <message>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="132"/>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="197"/>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="294"/>
        <source>Sign in to the cloud account to sync its calendars</source>
        <translation>Sign in to the cloud account to sync its calendars</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="145"/>
        <source>Larkspindle calendar list failed (HTTP %1)</source>
        <translation>Larkspindle calendar list failed (HTTP %1)</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="214"/>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="257"/>
        <source>Larkspindle pull failed (HTTP %1)</source>
        <translation>Larkspindle pull failed (HTTP %1)</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="314"/>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="347"/>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="350"/>
        <source>Larkspindle push failed (HTTP %1)</source>
        <translation>Larkspindle push failed (HTTP %1)</translation>
    </message>
    <message numerus="yes">
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="356"/>
        <source>Larkspindle push: %Ln event(s) failed</source>
        <translation>
            <numerusform>Larkspindle push: %Ln event(s) failed</numerusform>
            <numerusform>Larkspindle push: %Ln event(s) failed</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Larkspindle::ConfigDiscovery</name>
    <message>
        <location filename="../../services/sync/cloud/ConfigDiscovery.cpp" line="244"/>
        <location filename="../../services/sync/cloud/ConfigDiscovery.cpp" line="269"/>
        <location filename="../../services/sync/cloud/ConfigDiscovery.cpp" line="294"/>
        <source>Sign in required</source>
        <translation>Sign in required</translation>
    </message>
</context>
<context>
    <name>Larkspindle::ConfigSyncService</name>
    <message>
        <location filename="../../services/sync/cloud/ConfigSyncService.cpp" line="305"/>
        <location filename="../../services/sync/cloud/ConfigSyncService.cpp" line="341"/>
        <location filename="../../services/sync/cloud/ConfigSyncService.cpp" line="371"/>
        <location filename="../../services/sync/cloud/ConfigSyncService.cpp" line="395"/>
        <source>Sign in to the cloud account to sync the settings</source>
        <translation>Sign in to the cloud account to sync the settings</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/ConfigSyncService.cpp" line="343"/>
        <source>The settings could not be sent (HTTP %1)</source>
        <translation>The settings could not be sent (HTTP %1)</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/ConfigSyncService.cpp" line="397"/>
        <source>The settings could not be fetched (HTTP %1)</source>
        <translation>The settings could not be fetched (HTTP %1)</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/ConfigSyncService.cpp" line="429"/>
        <source>Settings from your other devices could not be saved here</source>
        <translation>Settings from your other devices could not be saved here</translation>
    </message>
</context>
<context>
    <name>Larkspindle::SharingBackend</name>
    <message>
        <location filename="../../services/sync/cloud/SharingBackend.cpp" line="70"/>
        <source>Not signed in</source>
        <translation>Not signed in</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/SharingBackend.cpp" line="89"/>
        <source>Sharing failed (HTTP %1)</source>
        <translation>Sharing failed (HTTP %1)</translation>
    </message>
</context>
<context>
    <name>Larkspindle::SyncClient</name>
    <message>
        <location filename="../../services/sync/cloud/SyncClient.cpp" line="75"/>
        <source>Calendar&apos;s account is missing</source>
        <translation>Calendar&apos;s account is missing</translation>
    </message>
</context>
<context>
    <name>LocalCalendar</name>
    <message>
        <location filename="../../core/LocalCalendar.cpp" line="85"/>
        <source>On This Device</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../core/LocalCalendar.cpp" line="92"/>
        <source>Personal</source>
        <comment>name of the calendar kept on this device</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Could not add &quot;%1&quot;: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Larkspindle Calendar is still running</source>
        <translation>Larkspindle Calendar is still running</translation>
    </message>
    <message>
        <source>It keeps running in the system tray, so your reminders still come. Click the tray icon to open it, or choose Quit from its menu to end it.</source>
        <translation>It keeps running in the system tray, so your reminders still come. Click the tray icon to open it, or choose Quit from its menu to end it.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="56"/>
        <source>Larkspindle Calendar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="77"/>
        <source>Sign in again to keep your settings in step.</source>
        <translation>Sign in again to keep your settings in step.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="79"/>
        <source>Settings sync failed: %1</source>
        <translation>Settings sync failed: %1</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="89"/>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="90"/>
        <source>&amp;New Event…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="91"/>
        <source>&amp;Import .ics File…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="93"/>
        <source>&amp;Sync Now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="95"/>
        <source>&amp;Quit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="97"/>
        <source>&amp;View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="98"/>
        <source>&amp;Today</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="100"/>
        <source>&amp;Tools</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="101"/>
        <source>&amp;Accounts and Calendars…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="102"/>
        <source>&amp;Preferences…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="116"/>
        <source>&amp;Developer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="118"/>
        <source>Load sample data</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="119"/>
        <source>Remove sample data</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="204"/>
        <source>%1

%n calendar(s)</source>
        <translation>
            <numerusform>%1

%n calendar</numerusform>
            <numerusform>%1

%n calendars</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="276"/>
        <source>Event &quot;%1&quot; saved.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="291"/>
        <source>Quick add needs a calendar: add one first.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="296"/>
        <source>Could not add &quot;%1&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="298"/>
        <source>Added &quot;%1&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Added &quot;%1&quot; as a task without a date.</source>
        <translation>Added &quot;%1&quot; as a task without a date.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="303"/>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="387"/>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="421"/>
        <source>Import .ics File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="304"/>
        <source>Calendar files (*.ics)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="367"/>
        <source>Import failed: there is no calendar that can take events. Add one first.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="373"/>
        <source>Import %Ln event(s) from %1 into:</source>
        <translation>
            <numerusform>Import %Ln event from %1 into:</numerusform>
            <numerusform>Import %Ln events from %1 into:</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="376"/>
        <source>Import cancelled.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="488"/>
        <source>Loaded %n sample row(s).</source>
        <translation>
            <numerusform>Loaded %n sample row.</numerusform>
            <numerusform>Loaded %n sample rows.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="494"/>
        <source>Removed %n sample row(s).</source>
        <translation>
            <numerusform>Removed %n sample row.</numerusform>
            <numerusform>Removed %n sample rows.</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="322"/>
        <source>Too many requests are waiting for the open dialog; this one was ignored.</source>
        <translation>Too many requests are waiting for the open dialog; this one was ignored.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="107"/>
        <source>&amp;Help</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="109"/>
        <source>Check for &amp;Updates…</source>
        <translation>Check for &amp;Updates…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="110"/>
        <source>&amp;What&apos;s New</source>
        <translation>&amp;What&apos;s New</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="111"/>
        <source>Send &amp;Feedback…</source>
        <translation>Send &amp;Feedback…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="113"/>
        <source>&amp;About %1</source>
        <translation>&amp;About %1</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="528"/>
        <source>This build has no release feed, so it cannot check for updates.</source>
        <translation>This build has no release feed, so it cannot check for updates.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="535"/>
        <source>This build has no release feed, so it has no release notes to show.</source>
        <translation>This build has no release feed, so it has no release notes to show.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="543"/>
        <source>This build has no feedback page configured.</source>
        <translation>This build has no feedback page configured.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="125"/>
        <source>A&amp;ccount</source>
        <translation>A&amp;ccount</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="127"/>
        <source>Sign &amp;In…</source>
        <translation>Sign &amp;In…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="129"/>
        <source>&amp;Account…</source>
        <translation>&amp;Account…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="130"/>
        <source>Sign &amp;Out</source>
        <translation>Sign &amp;Out</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="137"/>
        <source>Signed in.</source>
        <translation>Signed in.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="139"/>
        <source>Sign-in failed: %1</source>
        <translation>Sign-in failed: %1</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="164"/>
        <source>Continue the sign-in in your browser.</source>
        <translation>Continue the sign-in in your browser.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="176"/>
        <source>Larkspindle Account</source>
        <translation>Larkspindle Account</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="196"/>
        <source>Signed out.</source>
        <translation>Signed out.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="384"/>
        <source>Importing the events of %1…</source>
        <translation>Importing the events of %1…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="385"/>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="436"/>
        <source>Taking back the import…</source>
        <translation>Taking back the import…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/ImportControl.cpp" line="1"/>
        <source>Another program is writing to the calendar database; this goes on as soon as it is done.</source>
        <translation>Another program is writing to the calendar database; this goes on as soon as it is done.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="1"/>
        <source>Will be added once another program is done writing: &quot;%1&quot;</source>
        <translation>Will be added once another program is done writing: &quot;%1&quot;</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="495"/>
        <source>Taking back the import of %1…</source>
        <translation>Taking back the import of %1…</translation>
    </message>
    <message numerus="yes">
        <source>Added %n quick-add line(s) that waited when %1 last ended.</source>
        <translation>
            <numerusform>Added %n quick-add line that waited when %1 last ended.</numerusform>
            <numerusform>Added %n quick-add lines that waited when %1 last ended.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Another program is writing to the calendar, and %n waiting quick-add line(s) could not be saved to disk: they are lost if Larkspindle Calendar ends before the calendar is free.</source>
        <translation>
            <numerusform>Another program is writing to the calendar, and %n waiting quick-add line could not be saved to disk: it is lost if Larkspindle Calendar ends before the calendar is free.</numerusform>
            <numerusform>Another program is writing to the calendar, and %n waiting quick-add lines could not be saved to disk: they are lost if Larkspindle Calendar ends before the calendar is free.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n quick-add line(s) that waited when Larkspindle Calendar last ended were added; their file could not all be read and is kept as %1.</source>
        <translation>
            <numerusform>%n quick-add line that waited when Larkspindle Calendar last ended was added; its file could not all be read and is kept as %1.</numerusform>
            <numerusform>%n quick-add lines that waited when Larkspindle Calendar last ended were added; their file could not all be read and is kept as %1.</numerusform>
        </translation>
    </message>
    <message>
        <source>The quick-add lines that waited when Larkspindle Calendar last ended could not all be read: their file is kept as %1.</source>
        <translation>The quick-add lines that waited when Larkspindle Calendar last ended could not all be read: their file is kept as %1.</translation>
    </message>
</context>
<context>
    <name>Microsoft::AuthService</name>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="97"/>
        <source>Microsoft OAuth credentials are not configured in this build. See .env.example.</source>
        <translation>Microsoft OAuth credentials are not configured in this build. See .env.example.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="100"/>
        <source>Microsoft OAuth credentials are not configured.</source>
        <translation>Microsoft OAuth credentials are not configured.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="102"/>
        <source>Could not bind a local port for the Microsoft sign-in callback: %1</source>
        <translation>Could not bind a local port for the Microsoft sign-in callback: %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="104"/>
        <source>Could not launch the system browser for Microsoft sign-in.</source>
        <translation>Could not launch the system browser for Microsoft sign-in.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="106"/>
        <source>Microsoft did not return an authorization code.</source>
        <translation>Microsoft did not return an authorization code.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="108"/>
        <source>Microsoft did not return an access token.</source>
        <translation>Microsoft did not return an access token.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="110"/>
        <source>Microsoft did not return a refresh token. Verify offline_access is in the scopes configured for this app.</source>
        <translation>Microsoft did not return a refresh token. Verify offline_access is in the scopes configured for this app.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="113"/>
        <source>Microsoft&apos;s response had no access_token.</source>
        <translation>Microsoft&apos;s response had no access_token.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="120"/>
        <source>Microsoft denied the sign-in: %1</source>
        <translation>Microsoft denied the sign-in: %1</translation>
    </message>
</context>
<context>
    <name>Microsoft::CalendarClient</name>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="136"/>
        <source>No Microsoft access token available.</source>
        <translation>No Microsoft access token available.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="194"/>
        <source>Microsoft Graph did not answer in time.</source>
        <translation>Microsoft Graph did not answer in time.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="195"/>
        <source>Microsoft Graph could not be reached.</source>
        <translation>Microsoft Graph could not be reached.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="210"/>
        <location filename="../../services/sync/microsoft/MicrosoftSyncProvider.cpp" line="472"/>
        <source>Microsoft Graph sent a reply that cannot be read.</source>
        <translation>Microsoft Graph sent a reply that cannot be read.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="225"/>
        <source>Microsoft Graph did not accept the sign-in. Sign in again.</source>
        <translation>Microsoft Graph did not accept the sign-in. Sign in again.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="228"/>
        <source>Microsoft Graph does not allow this change (HTTP 403): %1</source>
        <translation>Microsoft Graph does not allow this change (HTTP 403): %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="232"/>
        <source>The event was changed in the Microsoft calendar since it was last synced; it was not overwritten.</source>
        <translation>The event was changed in the Microsoft calendar since it was last synced; it was not overwritten.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="236"/>
        <source>Microsoft Graph asks to wait before the next request.</source>
        <translation>Microsoft Graph asks to wait before the next request.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="239"/>
        <source>Microsoft Graph refused the request (HTTP %1): %2</source>
        <translation>Microsoft Graph refused the request (HTTP %1): %2</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="280"/>
        <source>Microsoft Graph sent a link to another server; it was not followed.</source>
        <translation>Microsoft Graph sent a link to another server; it was not followed.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/RecurrenceMapping.cpp" line="252"/>
        <source>Microsoft calendars cannot keep the repeat rule &quot;%1&quot;.</source>
        <translation>Microsoft calendars cannot keep the repeat rule &quot;%1&quot;.</translation>
    </message>
</context>
<context>
    <name>Microsoft::MicrosoftSyncProvider</name>
    <message>
        <location filename="../../services/sync/microsoft/MicrosoftSyncProvider.cpp" line="94"/>
        <source>No saved Microsoft credentials. Sign in again.</source>
        <translation>No saved Microsoft credentials. Sign in again.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/MicrosoftSyncProvider.cpp" line="77"/>
        <source>Microsoft token refresh failed: %1</source>
        <translation>Microsoft token refresh failed: %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/MicrosoftSyncProvider.cpp" line="204"/>
        <source>Microsoft Graph sent a page of changes that leads nowhere.</source>
        <translation>Microsoft Graph sent a page of changes that leads nowhere.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/MicrosoftSyncProvider.cpp" line="543"/>
        <source>The series of &quot;%1&quot; is not in the Microsoft calendar yet; the changed occurrence is sent at a later sync.</source>
        <translation>The series of &quot;%1&quot; is not in the Microsoft calendar yet; the changed occurrence is sent at a later sync.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/MicrosoftSyncProvider.cpp" line="565"/>
        <source>The occurrence of &quot;%1&quot; changed here is no longer in its series at Microsoft.</source>
        <translation>The occurrence of &quot;%1&quot; changed here is no longer in its series at Microsoft.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/MicrosoftSyncProvider.cpp" line="526"/>
        <source>&quot;%1&quot; is no longer available at Microsoft; its changes stay on this device.</source>
        <translation>&quot;%1&quot; is no longer available at Microsoft; its changes stay on this device.</translation>
    </message>
</context>
<context>
    <name>MissedRemindersDialog</name>
    <message>
        <location filename="../../ui/dialogs/MissedRemindersDialog.cpp" line="18"/>
        <source>Missed Reminders</source>
        <translation>Missed Reminders</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/MissedRemindersDialog.cpp" line="22"/>
        <source>These reminders came while they could not be shown. Double-click one to open its event, or the day its task is due.</source>
        <translation>These reminders came while they could not be shown. Double-click one to open its event, or the day its task is due.</translation>
    </message>
</context>
<context>
    <name>Net</name>
    <message>
        <location filename="../../services/net/RequestPolicy.cpp" line="44"/>
        <source>The server&apos;s reply is too large</source>
        <translation>The server&apos;s reply is too large</translation>
    </message>
    <message>
        <location filename="../../services/net/RequestPolicy.cpp" line="97"/>
        <source>The server did not finish its reply in time.</source>
        <translation>The server did not finish its reply in time.</translation>
    </message>
    <message>
        <location filename="../../services/net/RequestPolicy.cpp" line="133"/>
        <source>The server redirected to another address; the request was not sent there.</source>
        <translation>The server redirected to another address; the request was not sent there.</translation>
    </message>
    <message>
        <location filename="../../services/net/RequestPolicy.cpp" line="181"/>
        <source>%1 The next try will be at %2.</source>
        <translation>%1 The next try will be at %2.</translation>
    </message>
    <message>
        <location filename="../../services/net/RequestPolicy.cpp" line="164"/>
        <source>The server stopped answering.</source>
        <translation>The server stopped answering.</translation>
    </message>
    <message>
        <location filename="../../services/net/RequestPolicy.cpp" line="170"/>
        <source>The reply was cut short.</source>
        <translation>The reply was cut short.</translation>
    </message>
    <message>
        <location filename="../../services/net/RequestPolicy.cpp" line="183"/>
        <source>no answer from the server</source>
        <translation>no answer from the server</translation>
    </message>
</context>
<context>
    <name>NotificationService</name>
    <message>
        <location filename="../../ui/tray/NotificationService.cpp" line="325"/>
        <source>Test reminder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/tray/NotificationService.cpp" line="326"/>
        <source>If you can see this, your desktop notifications are wired up correctly. Real reminders look just like this one.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OAuth::LoopbackAuthService</name>
    <message>
        <location filename="../../services/oauth/LoopbackAuthService.cpp" line="202"/>
        <source>Sign-in cancelled.</source>
        <translation>Sign-in cancelled.</translation>
    </message>
    <message>
        <location filename="../../services/oauth/LoopbackAuthService.cpp" line="279"/>
        <source>Token exchange failed (HTTP %1): %2</source>
        <translation>Token exchange failed (HTTP %1): %2</translation>
    </message>
    <message>
        <location filename="../../services/oauth/LoopbackAuthService.cpp" line="316"/>
        <source>Token refresh failed (HTTP %1): %2</source>
        <translation>Token refresh failed (HTTP %1): %2</translation>
    </message>
</context>
<context>
    <name>PreferencesDialog</name>
    <message>
        <source>The preferences could not be saved (%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="34"/>
        <source>Close to the system tray</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="35"/>
        <source>Start minimised</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="36"/>
        <source>Launch at login</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Another program is writing to the calendar, so the preferences were not saved. Press OK again once it is done.</source>
        <translation>Another program is writing to the calendar, so the preferences were not saved. Press OK again once it is done.</translation>
    </message>
    <message>
        <source>The preferences could not be saved.</source>
        <translation>The preferences could not be saved.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="39"/>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="105"/>
        <source>Preferences</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="42"/>
        <source>System</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="43"/>
        <source>Light</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="44"/>
        <source>Dark</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="47"/>
        <source>Default</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="50"/>
        <source>Choose…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="67"/>
        <source>12-hour (1:30 PM)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="68"/>
        <source>24-hour (13:30)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="71"/>
        <source>As the system&apos;s region</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="92"/>
        <source>Theme:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="93"/>
        <source>Accent colour:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="94"/>
        <source>Font size:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="95"/>
        <source>Time format:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="96"/>
        <source>First day of week:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="106"/>
        <source>The launch-at-login entry could not be changed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="80"/>
        <source>Configure location and units…</source>
        <translation>Configure location and units…</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="97"/>
        <source>Weather:</source>
        <translation>Weather:</translation>
    </message>
</context>
<context>
    <name>ProviderSignIn</name>
    <message>
        <location filename="../../ui/dialogs/ProviderSignIn.cpp" line="25"/>
        <source>Google sign-in</source>
        <translation>Google sign-in</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/ProviderSignIn.cpp" line="26"/>
        <source>Microsoft sign-in</source>
        <translation>Microsoft sign-in</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/ProviderSignIn.cpp" line="36"/>
        <source>Finish signing in in your browser. This window closes by itself when you are done.</source>
        <translation>Finish signing in in your browser. This window closes by itself when you are done.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/ProviderSignIn.cpp" line="86"/>
        <source>The account could not be saved.</source>
        <translation>The account could not be saved.</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <location filename="../../model/DateText.cpp" line="41"/>
        <source>Today at %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../core/ReminderRound.cpp" line="86"/>
        <source>Starting now (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../core/ReminderRound.cpp" line="90"/>
        <source>In %1h (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>In %1h %2min (%3)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Started at %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../core/ReminderRound.cpp" line="92"/>
        <source>Tomorrow at %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../core/ReminderRound.cpp" line="101"/>
        <source>Due soon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../core/ReminderRound.cpp" line="101"/>
        <source>Due today</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../core/ReminderRound.cpp" line="102"/>
        <source>Due soon (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../core/ReminderRound.cpp" line="103"/>
        <source>Due now (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../core/ReminderRound.cpp" line="108"/>
        <source>Reminder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="74"/>
        <source>Larkspindle Calendar — Last sync failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="75"/>
        <source>Larkspindle Calendar — Sync failed: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="78"/>
        <source>Larkspindle Calendar — No upcoming events</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="80"/>
        <source>Untitled</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="88"/>
        <source>today</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="90"/>
        <source>tomorrow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="91"/>
        <source>Larkspindle Calendar — Next: %1 (%2, all day)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="96"/>
        <source>at %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="98"/>
        <source>tomorrow at %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="100"/>
        <source>%1 %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="101"/>
        <source>Larkspindle Calendar — Next: %1 %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="29"/>
        <source>Repeats daily</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="30"/>
        <source>Every %1 days</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="32"/>
        <source>Repeats weekly</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="33"/>
        <source>Every %1 weeks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="35"/>
        <source>Repeats monthly</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="36"/>
        <source>Every %1 months</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="38"/>
        <source>Repeats yearly</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="39"/>
        <source>Every %1 years</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="40"/>
        <source>Repeats</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="100"/>
        <source>on the %1 %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="105"/>
        <source>on the %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <location filename="../../model/RruleFormat.cpp" line="111"/>
        <source>%n time(s)</source>
        <translation>
            <numerusform>%n time</numerusform>
            <numerusform>%n times</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="119"/>
        <source>until %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="127"/>
        <source>At time of event</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="129"/>
        <source>%1 min before</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="143"/>
        <source>Mon</source>
        <comment>RruleFormat</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="145"/>
        <source>Tue</source>
        <comment>RruleFormat</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="147"/>
        <source>Wed</source>
        <comment>RruleFormat</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="149"/>
        <source>Thu</source>
        <comment>RruleFormat</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="151"/>
        <source>Fri</source>
        <comment>RruleFormat</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="153"/>
        <source>Sat</source>
        <comment>RruleFormat</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="155"/>
        <source>Sun</source>
        <comment>RruleFormat</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="164"/>
        <location filename="../../model/RruleFormat.cpp" line="173"/>
        <source>%1th</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="167"/>
        <source>%1st</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="169"/>
        <source>%1nd</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="171"/>
        <source>%1rd</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="181"/>
        <source>second-to-last</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="183"/>
        <source>last</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="185"/>
        <source>first</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="187"/>
        <source>second</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="189"/>
        <source>third</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="191"/>
        <source>fourth</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="193"/>
        <source>fifth</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="200"/>
        <source>%1th-from-last</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateFlows.cpp" line="52"/>
        <source>No release notes available for %1 %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateFlows.cpp" line="93"/>
        <source>Checking for updates…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateFlows.cpp" line="106"/>
        <source>%1 is up to date (version %2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateFlows.cpp" line="110"/>
        <source>Update check failed: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateFlows.cpp" line="121"/>
        <source>Loading release notes…</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <location filename="../../model/RruleFormat.cpp" line="131"/>
        <source>%n hour(s) before</source>
        <translation>
            <numerusform>%n hour before</numerusform>
            <numerusform>%n hours before</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location filename="../../model/RruleFormat.cpp" line="132"/>
        <source>%n day(s) before</source>
        <translation>
            <numerusform>%n day before</numerusform>
            <numerusform>%n days before</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location filename="../../core/ReminderRound.cpp" line="88"/>
        <source>In %n minute(s) (%1)</source>
        <translation>
            <numerusform>In %n minute (%1)</numerusform>
            <numerusform>In %n minutes (%1)</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Sync::CalendarSyncClient</name>
    <message>
        <location filename="../../core/sync/CalendarSyncClient.cpp" line="27"/>
        <source>Parent account missing</source>
        <translation>Parent account missing</translation>
    </message>
    <message>
        <location filename="../../core/sync/CalendarSyncClient.cpp" line="33"/>
        <source>Sync is not available for this calendar&apos;s account.</source>
        <translation>Sync is not available for this calendar&apos;s account.</translation>
    </message>
</context>
<context>
    <name>Sync::PageChain</name>
    <message numerus="yes">
        <source>%1 sent a listing that never ends (a page came again, or more than %Ln page(s)); it was stopped.</source>
        <translation>
            <numerusform>%1 sent a listing that never ends (a page came again, or more than %Ln page); it was stopped.</numerusform>
            <numerusform>%1 sent a listing that never ends (a page came again, or more than %Ln pages); it was stopped.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Sync::SyncCoordinator</name>
    <message>
        <location filename="../../core/sync/SyncCoordinator.cpp" line="105"/>
        <source>Sync finished.</source>
        <translation>Sync finished.</translation>
    </message>
    <message>
        <location filename="../../core/sync/SyncCoordinator.cpp" line="113"/>
        <location filename="../../core/sync/SyncCoordinator.cpp" line="127"/>
        <source>Sync failed: %1</source>
        <translation>Sync failed: %1</translation>
    </message>
    <message numerus="yes">
        <location filename="../../core/sync/SyncCoordinator.cpp" line="104"/>
        <location filename="../../core/sync/SyncCoordinator.cpp" line="125"/>
        <source>Synced %Ln event(s)</source>
        <translation>
            <numerusform>Synced %Ln event</numerusform>
            <numerusform>Synced %Ln events</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../core/sync/SyncCoordinator.cpp" line="140"/>
        <source>The server did not answer for too long; the sync stopped and is tried again later.</source>
        <translation>The server did not answer for too long; the sync stopped and is tried again later.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was not synced: an import into it is not over yet. It is synced once the import has ended.</source>
        <translation>&quot;%1&quot; was not synced: an import into it is not over yet. It is synced once the import has ended.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was not synced: another sync of it was under way. It is synced once that one has ended.</source>
        <translation>&quot;%1&quot; was not synced: another sync of it was under way. It is synced once that one has ended.</translation>
    </message>
    <message>
        <source>%1 waits until %2, as its server asked; it is synced then.</source>
        <translation>%1 waits until %2, as its server asked; it is synced then.</translation>
    </message>
</context>
<context>
    <name>Sync::SyncEngine</name>
    <message>
        <location filename="../../core/sync/SyncEngine.cpp" line="143"/>
        <source>The calendar &quot;%1&quot; could not be added on this device.</source>
        <translation>The calendar &quot;%1&quot; could not be added on this device.</translation>
    </message>
    <message numerus="yes">
        <source>The changes of &quot;%1&quot; never end (a page came again, or more than %Ln page(s)); the sync stopped.</source>
        <translation>
            <numerusform>The changes of &quot;%1&quot; never end (a page came again, or more than %Ln page); the sync stopped.</numerusform>
            <numerusform>The changes of &quot;%1&quot; never end (a page came again, or more than %Ln pages); the sync stopped.</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../core/sync/SyncEngine.cpp" line="244"/>
        <source>Changes to &quot;%1&quot; could not be saved on this device; they are fetched again at the next sync.</source>
        <translation>Changes to &quot;%1&quot; could not be saved on this device; they are fetched again at the next sync.</translation>
    </message>
</context>
<context>
    <name>Sync::SyncProvider</name>
    <message>
        <location filename="../../core/sync/SyncEngine.cpp" line="615"/>
        <source>This source keeps no tasks.</source>
        <translation>This source keeps no tasks.</translation>
    </message>
</context>
<context>
    <name>SyncNowReport</name>
    <message>
        <location filename="../../core/sync/SyncNowReport.cpp" line="23"/>
        <source>CalDAV</source>
        <comment>account type</comment>
        <translation>CalDAV</translation>
    </message>
    <message>
        <location filename="../../core/sync/SyncNowReport.cpp" line="25"/>
        <source>iCloud</source>
        <comment>account type</comment>
        <translation>iCloud</translation>
    </message>
    <message>
        <location filename="../../core/sync/SyncNowReport.cpp" line="27"/>
        <source>Zoho</source>
        <comment>account type</comment>
        <translation>Zoho</translation>
    </message>
    <message>
        <location filename="../../core/sync/SyncNowReport.cpp" line="29"/>
        <source>Google Calendar</source>
        <comment>account type</comment>
        <translation>Google Calendar</translation>
    </message>
    <message>
        <location filename="../../core/sync/SyncNowReport.cpp" line="31"/>
        <source>Microsoft Outlook</source>
        <comment>account type</comment>
        <translation>Microsoft Outlook</translation>
    </message>
    <message>
        <location filename="../../core/sync/SyncNowReport.cpp" line="33"/>
        <source>Calendar subscriptions</source>
        <comment>account type</comment>
        <translation>Calendar subscriptions</translation>
    </message>
    <message>
        <location filename="../../core/sync/SyncNowReport.cpp" line="36"/>
        <source>Larkspindle Cloud</source>
        <comment>account type</comment>
        <translation>Larkspindle Cloud</translation>
    </message>
    <message numerus="yes">
        <location filename="../../core/sync/SyncNowReport.cpp" line="49"/>
        <source>Syncing %n account(s)…</source>
        <translation>
            <numerusform>Syncing %n account…</numerusform>
            <numerusform>Syncing %n accounts…</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../core/sync/SyncNowReport.cpp" line="52"/>
        <source>No account to sync.</source>
        <translation>No account to sync.</translation>
    </message>
    <message>
        <location filename="../../core/sync/SyncNowReport.cpp" line="54"/>
        <source>Sync is not available yet for %1.</source>
        <translation>Sync is not available yet for %1.</translation>
    </message>
</context>
<context>
    <name>TimeFormat</name>
    <message>
        <location filename="../../model/TimeOfDay.cpp" line="14"/>
        <source>h:mm AP</source>
        <comment>12-hour time pattern</comment>
        <translation>h:mm AP</translation>
    </message>
</context>
<context>
    <name>TrayManager</name>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="134"/>
        <source>&amp;Show Calendar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="139"/>
        <source>Sync &amp;Now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="142"/>
        <source>&amp;Quit</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Weather::GeocodingClient</name>
    <message>
        <location filename="../../services/weather/GeocodingClient.cpp" line="52"/>
        <source>Geocoding returned HTTP %1</source>
        <translation>Geocoding returned HTTP %1</translation>
    </message>
</context>
<context>
    <name>Weather::Service</name>
    <message>
        <location filename="../../services/weather/WeatherService.cpp" line="102"/>
        <source>Open-Meteo returned HTTP %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WeatherSettingsDialog</name>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="33"/>
        <source>Weather</source>
        <translation>Weather</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="37"/>
        <source>Show weather alongside your calendar. Forecast comes from Open-Meteo (free, no signup). Search for a city below to set the location.</source>
        <translation>Show weather alongside your calendar. Forecast comes from Open-Meteo (free, no signup). Search for a city below to set the location.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="44"/>
        <source>Enable weather</source>
        <translation>Enable weather</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="50"/>
        <source>City name or postal code</source>
        <translation>City name or postal code</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="51"/>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="143"/>
        <source>Search</source>
        <translation>Search</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="70"/>
        <source>No location set.</source>
        <translation>No location set.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="71"/>
        <source>Current location: %1</source>
        <translation>Current location: %1</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="75"/>
        <source>Celsius (°C)</source>
        <translation>Celsius (°C)</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="76"/>
        <source>Fahrenheit (°F)</source>
        <translation>Fahrenheit (°F)</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="83"/>
        <source>&amp;City:</source>
        <translation>&amp;City:</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="88"/>
        <source>&amp;Units:</source>
        <translation>&amp;Units:</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="93"/>
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="126"/>
        <source>Searching…</source>
        <translation>Searching…</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="168"/>
        <source>No matches found.</source>
        <translation>No matches found.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="183"/>
        <source>Search failed: %1</source>
        <translation>Search failed: %1</translation>
    </message>
    <message>
        <source>Another program is writing to the calendar, so the weather settings were not saved. Press Save again once it is done.</source>
        <translation>Another program is writing to the calendar, so the weather settings were not saved. Press Save again once it is done.</translation>
    </message>
    <message>
        <source>The weather settings could not be saved.</source>
        <translation>The weather settings could not be saved.</translation>
    </message>
</context>
<context>
    <name>WinTrayPopover</name>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="49"/>
        <source>now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="51"/>
        <source>in %1 min</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="55"/>
        <source>in %1h %2m</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="56"/>
        <source>in %1h</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="75"/>
        <source>Today, all day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="76"/>
        <source>Tomorrow, all day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="77"/>
        <source>%1 at %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="78"/>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="392"/>
        <source>Today</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="78"/>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="397"/>
        <source>Tomorrow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="91"/>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="438"/>
        <source>All-day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="145"/>
        <source>Open Calendar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="146"/>
        <source>Sync Now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="183"/>
        <source>Add event — e.g. &quot;lunch Thursday 1pm&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="196"/>
        <source>Preferences</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="209"/>
        <source>Group</source>
        <translation type="unfinished">Group</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="349"/>
        <source>No calendars yet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="368"/>
        <source>No upcoming events</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="369"/>
        <source>Nothing scheduled in the next 24 hours.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="374"/>
        <source>Untitled</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="396"/>
        <source>  No more events today</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="401"/>
        <source>  Nothing scheduled</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="462"/>
        <source>(Unnamed)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="517"/>
        <source>Couldn&apos;t save event</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Task without a date</source>
        <translation>Task without a date</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="466"/>
        <source>All Calendars</source>
        <translation>All Calendars</translation>
    </message>
</context>
<context>
    <name>Store</name>
    <message>
        <source>the disk that holds the calendar is full</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
