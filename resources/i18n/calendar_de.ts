<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>AboutDialog</name>
    <message>
        <location filename="../../ui/dialogs/AboutDialog.cpp" line="29"/>
        <source>About %1</source>
        <translation>Über %1</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AboutDialog.cpp" line="39"/>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AboutDialog.cpp" line="42"/>
        <source>Calendars, events and tasks on your desktop, in step with your accounts.</source>
        <translation>Kalender, Termine und Aufgaben auf Ihrem Desktop, abgeglichen mit Ihren Konten.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AboutDialog.cpp" line="53"/>
        <source>This program carries these fonts and icons under their own licences:</source>
        <translation>Dieses Programm enthält diese Schriften und Symbole unter ihren eigenen Lizenzen:</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AboutDialog.cpp" line="67"/>
        <source>The fonts IBM Plex Sans and IBM Plex Mono, under the SIL Open Font License 1.1.</source>
        <translation>Die Schriften IBM Plex Sans und IBM Plex Mono, unter der SIL Open Font License 1.1.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AboutDialog.cpp" line="70"/>
        <source>The icon font Material Icons, under the Apache License 2.0.</source>
        <translation>Die Symbolschrift Material Icons, unter der Apache License 2.0.</translation>
    </message>
</context>
<context>
    <name>AccountsCalendarsDialog</name>
    <message>
        <source>The calendar &quot;%1&quot; could not be added (%2).</source>
        <translation>Der Kalender „%1“ konnte nicht hinzugefügt werden (%2).</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="33"/>
        <source>Accounts and Calendars</source>
        <translation>Konten und Kalender</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="40"/>
        <source>New calendar on this device</source>
        <translation>Neuer Kalender auf diesem Gerät</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="42"/>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="144"/>
        <source>Add Calendar</source>
        <translation>Kalender hinzufügen</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="127"/>
        <source>%1 (read-only)</source>
        <translation>%1 (schreibgeschützt)</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="145"/>
        <source>The calendar &quot;%1&quot; could not be added.</source>
        <translation>Der Kalender „%1“ konnte nicht hinzugefügt werden.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="155"/>
        <source>On This Device</source>
        <translation>Auf diesem Gerät</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="65"/>
        <source>Add Google account…</source>
        <translation>Google-Konto hinzufügen…</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="67"/>
        <source>Add Microsoft account…</source>
        <translation>Microsoft-Konto hinzufügen…</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="72"/>
        <source>Share…</source>
        <translation>Teilen…</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="74"/>
        <source>Move to the Cloud</source>
        <translation>In die Cloud verschieben</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="189"/>
        <source>Sign in to your Larkspindle account first.</source>
        <translation>Melden Sie sich zuerst bei Ihrem Larkspindle-Konto an.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="240"/>
        <source>&quot;%1&quot; is now in the cloud.</source>
        <translation>„%1“ ist jetzt in der Cloud.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="250"/>
        <source>Moving to the cloud failed: %1</source>
        <translation>Verschieben in die Cloud fehlgeschlagen: %1</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="255"/>
        <source>Moving &quot;%1&quot; to the cloud…</source>
        <translation>„%1“ wird in die Cloud verschoben…</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="267"/>
        <source>Share Calendar</source>
        <translation>Kalender teilen</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="268"/>
        <source>Sharing: %1</source>
        <translation>Geteilt: %1</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="269"/>
        <source>People you share with see the same events and changes you do. Sharing doesn&apos;t merge calendars; they keep their own calendar list.</source>
        <translation>Personen, mit denen Sie teilen, sehen dieselben Termine und Änderungen wie Sie. Teilen führt keine Kalender zusammen; jede Person behält ihre eigene Kalenderliste.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="271"/>
        <source>Shared with</source>
        <translation>Geteilt mit</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="272"/>
        <source>Add people</source>
        <translation>Personen hinzufügen</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="273"/>
        <source>Not shared with anyone yet.</source>
        <translation>Noch mit niemandem geteilt.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="274"/>
        <source>Add family members or teammates to your Larkspindle group first, then come back here to share calendars with them.</source>
        <translation>Fügen Sie zuerst Familienmitglieder oder Teamkollegen zu Ihrer Larkspindle-Gruppe hinzu und teilen Sie dann hier Kalender mit ihnen.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="276"/>
        <source>Everyone in your group already has access</source>
        <translation>Alle in Ihrer Gruppe haben bereits Zugriff</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="277"/>
        <source>Share</source>
        <translation>Teilen</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="278"/>
        <source>Remove access</source>
        <translation>Zugriff entfernen</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="279"/>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="281"/>
        <source>Couldn&apos;t share calendar</source>
        <translation>Kalender konnte nicht geteilt werden</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="282"/>
        <source>Couldn&apos;t remove person</source>
        <translation>Person konnte nicht entfernt werden</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="283"/>
        <source>Stop sharing?</source>
        <translation>Teilen beenden?</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="284"/>
        <source>%1 will no longer see this calendar&apos;s events on any of their devices. Continue?</source>
        <translation>%1 sieht die Termine dieses Kalenders dann auf keinem Gerät mehr. Fortfahren?</translation>
    </message>
    <message numerus="yes">
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="231"/>
        <source>Moving to the cloud: %L1 of %Ln item(s) sent.</source>
        <translation>
            <numerusform>In die Cloud: %L1 von %Ln Element gesendet.</numerusform>
            <numerusform>In die Cloud: %L1 von %Ln Elementen gesendet.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Application</name>
    <message>
        <source>The quick add &quot;%1&quot; is kept: it is added once Larkspindle Calendar starts, also if you quit now.</source>
        <translation>Die Schnelleingabe „%1“ bleibt erhalten: Sie wird hinzugefügt, sobald Larkspindle Calendar startet, auch wenn Sie jetzt beenden.</translation>
    </message>
    <message>
        <source>it could not be saved to disk</source>
        <translation>sie konnte nicht auf der Festplatte gespeichert werden</translation>
    </message>
    <message>
        <source>Quick Add Not Saved</source>
        <translation>Schnelleingabe nicht gespeichert</translation>
    </message>
    <message>
        <source>The quick add &quot;%1&quot; could not be saved (%2). If Larkspindle Calendar ends now, it is lost.

End without it? Choose No to wait on.</source>
        <translation>Die Schnelleingabe „%1“ konnte nicht gespeichert werden (%2). Wenn Larkspindle Calendar jetzt endet, geht sie verloren.

Ohne sie beenden? Wählen Sie „Nein“, um weiter zu warten.</translation>
    </message>
    <message>
        <location filename="../../app/Application.cpp" line="146"/>
        <source>Database Error</source>
        <translation>Datenbankfehler</translation>
    </message>
    <message>
        <location filename="../../app/Application.cpp" line="153"/>
        <source>Larkspindle Calendar Is Running</source>
        <translation>Larkspindle Calendar läuft bereits</translation>
    </message>
    <message>
        <location filename="../../app/Application.cpp" line="154"/>
        <source>Larkspindle Calendar is already running with this data folder (process %1), perhaps in another session of yours. Close it there, then start it here again.

Data directory: %2</source>
        <translation>Larkspindle Calendar läuft bereits mit diesem Datenordner (Prozess %1), vielleicht in einer anderen Sitzung von Ihnen. Beenden Sie es dort und starten Sie es dann hier erneut.

Datenverzeichnis: %2</translation>
    </message>
    <message>
        <location filename="../../app/Application.cpp" line="1"/>
        <source>Larkspindle Calendar is already running with this data folder, perhaps in another session of yours. Close it there, then start it here again.

Data directory: %1</source>
        <translation>Larkspindle Calendar läuft bereits mit diesem Datenordner, vielleicht in einer anderen Sitzung von Ihnen. Beenden Sie es dort und starten Sie es dann hier erneut.

Datenverzeichnis: %1</translation>
    </message>
    <message>
        <location filename="../../app/Application.cpp" line="1"/>
        <source>Data Folder Cannot Be Locked</source>
        <translation>Datenordner kann nicht gesperrt werden</translation>
    </message>
    <message>
        <location filename="../../app/Application.cpp" line="1"/>
        <source>The lock file %1 is a folder, so no copy of Larkspindle Calendar can take this data folder. Remove that folder, then start Larkspindle Calendar again.</source>
        <translation>Die Sperrdatei %1 ist ein Ordner, daher kann keine Kopie von Larkspindle Calendar diesen Datenordner übernehmen. Entfernen Sie diesen Ordner und starten Sie Larkspindle Calendar dann erneut.</translation>
    </message>
    <message>
        <location filename="../../app/Application.cpp" line="1"/>
        <source>The lock file %1 cannot be read. If Larkspindle Calendar is not running in another session of yours, remove the file, then start it again.</source>
        <translation>Die Sperrdatei %1 kann nicht gelesen werden. Wenn Larkspindle Calendar nicht in einer anderen Sitzung von Ihnen läuft, entfernen Sie die Datei und starten Sie es dann erneut.</translation>
    </message>
    <message>
        <location filename="../../app/Application.cpp" line="1"/>
        <source>Neither the data folder nor its database can be locked (%1), so another copy of Larkspindle Calendar could change the same calendar at the same time.

Data directory: %2

Please check file permissions and try again.</source>
        <translation>Weder der Datenordner noch seine Datenbank können gesperrt werden (%1), daher könnte eine weitere Kopie von Larkspindle Calendar gleichzeitig denselben Kalender ändern.

Datenverzeichnis: %2

Bitte prüfen Sie die Dateiberechtigungen und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>Data Folder Cannot Be Made</source>
        <translation>Datenordner kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>The data folder cannot be made (%1).

Data directory: %2

Please check that no file stands in its path and that you may write there, then start Larkspindle Calendar again.</source>
        <translation>Der Datenordner kann nicht angelegt werden (%1).

Datenverzeichnis: %2

Bitte prüfen Sie, dass keine Datei in seinem Pfad steht und dass Sie dort schreiben dürfen, und starten Sie Larkspindle Calendar dann erneut.</translation>
    </message>
    <message>
        <source>The database cannot be opened for writing (%1), so Larkspindle Calendar cannot start.

Data directory: %2</source>
        <translation>Die Datenbank kann nicht zum Schreiben geöffnet werden (%1), daher kann Larkspindle Calendar nicht starten.

Datenverzeichnis: %2</translation>
    </message>
    <message>
        <source>Link in the Data Folder</source>
        <translation>Verknüpfung im Datenordner</translation>
    </message>
    <message>
        <source>%1 is a link. Larkspindle Calendar keeps its own files in its data folder and does not write through links. Put the file itself there or remove the link, then start Larkspindle Calendar again.</source>
        <translation>%1 ist eine Verknüpfung. Larkspindle Calendar legt seine eigenen Dateien im Datenordner ab und schreibt nicht durch Verknüpfungen. Legen Sie die Datei selbst dorthin oder entfernen Sie die Verknüpfung, und starten Sie Larkspindle Calendar dann erneut.</translation>
    </message>
    <message>
        <source>Larkspindle Calendar Is Starting</source>
        <translation>Larkspindle Calendar startet</translation>
    </message>
    <message>
        <source>Larkspindle Calendar is already running or still starting with this data folder. This start hands its command over as soon as it answers.</source>
        <translation>Larkspindle Calendar läuft bereits mit diesem Datenordner oder startet noch. Dieser Start übergibt seinen Befehl, sobald es antwortet.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Waiting for Another Program</source>
        <translation>Warten auf ein anderes Programm</translation>
    </message>
    <message>
        <source>Another program is writing to the calendar. Larkspindle Calendar starts as soon as it is done.</source>
        <translation>Ein anderes Programm schreibt gerade in den Kalender. Larkspindle Calendar startet, sobald es fertig ist.</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Quick-Add Lines Not Saved</source>
        <translation>Schnelleingaben nicht gespeichert</translation>
    </message>
    <message numerus="yes">
        <source>Another program is still writing to the calendar, and %n quick-add line(s) could not be saved to disk. If Larkspindle Calendar ends now, they are lost.

End without them? Choose No to try again.</source>
        <translation>
            <numerusform>Ein anderes Programm schreibt noch in den Kalender, und %n Schnelleingabe konnte nicht auf der Festplatte gespeichert werden. Wenn Larkspindle Calendar jetzt endet, geht sie verloren.

Ohne sie beenden? Wählen Sie „Nein“, um es erneut zu versuchen.</numerusform>
            <numerusform>Ein anderes Programm schreibt noch in den Kalender, und %n Schnelleingaben konnten nicht auf der Festplatte gespeichert werden. Wenn Larkspindle Calendar jetzt endet, gehen sie verloren.

Ohne sie beenden? Wählen Sie „Nein“, um es erneut zu versuchen.</numerusform>
        </translation>
    </message>
    <message>
        <source>Adding Quick-Add Lines</source>
        <translation>Schnelleingaben werden hinzugefügt</translation>
    </message>
    <message numerus="yes">
        <source>Another program is writing to the calendar. Larkspindle Calendar adds %n waiting quick-add line(s) as soon as it is done, then ends.</source>
        <translation>
            <numerusform>Ein anderes Programm schreibt gerade in den Kalender. Larkspindle Calendar fügt %n wartende Schnelleingabe hinzu, sobald es fertig ist, und endet dann.</numerusform>
            <numerusform>Ein anderes Programm schreibt gerade in den Kalender. Larkspindle Calendar fügt %n wartende Schnelleingaben hinzu, sobald es fertig ist, und endet dann.</numerusform>
        </translation>
    </message>
    <message>
        <source>End Now</source>
        <translation>Jetzt beenden</translation>
    </message>
</context>
<context>
    <name>CalDavClient</name>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="177"/>
        <source>The server&apos;s certificate does not match the trusted certificate.</source>
        <translation>Das Zertifikat des Servers stimmt nicht mit dem vertrauenswürdigen Zertifikat überein.</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="179"/>
        <source>The server&apos;s certificate is not trusted.</source>
        <translation>Dem Zertifikat des Servers wird nicht vertraut.</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="183"/>
        <source>The server did not answer in time.</source>
        <translation>Der Server hat nicht rechtzeitig geantwortet.</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="185"/>
        <source>Could not reach the server: %1</source>
        <translation>Der Server ist nicht erreichbar: %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="198"/>
        <source>The server redirected too many times.</source>
        <translation>Der Server hat zu oft umgeleitet.</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="202"/>
        <source>The server redirected to an address that is not a web address.</source>
        <translation>Der Server hat auf eine Adresse umgeleitet, die keine Webadresse ist.</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="226"/>
        <source>The server did not accept the user name or password.</source>
        <translation>Der Server hat den Benutzernamen oder das Passwort nicht akzeptiert.</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="227"/>
        <source>The server answered with HTTP status %1.</source>
        <translation>Der Server hat mit dem HTTP-Status %1 geantwortet.</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="103"/>
        <source>The server address is not valid.</source>
        <translation>Die Serveradresse ist ungültig.</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="101"/>
        <source>The server address must start with https://; without encryption the password would travel in the clear.</source>
        <translation>Die Serveradresse muss mit https:// beginnen; ohne Verschlüsselung würde das Passwort im Klartext übertragen.</translation>
    </message>
</context>
<context>
    <name>CalDavDiscovery</name>
    <message>
        <location filename="../../services/sync/caldav/CalDavDiscovery.cpp" line="161"/>
        <source>The server&apos;s reply could not be read.</source>
        <translation>Die Antwort des Servers konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavDiscovery.cpp" line="127"/>
        <source>The server pointed to another server; the password was not sent there.</source>
        <translation>Der Server verwies auf einen anderen Server; das Passwort wurde nicht dorthin gesendet.</translation>
    </message>
</context>
<context>
    <name>CalendarPickerDialog</name>
    <message>
        <location filename="../../ui/dialogs/CalendarPickerDialog.cpp" line="20"/>
        <source>Choose Calendar</source>
        <translation>Kalender auswählen</translation>
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
        <translation>dddd, d. MMM</translation>
    </message>
    <message>
        <location filename="../../model/DateText.cpp" line="15"/>
        <source>ddd, MMM d</source>
        <comment>date pattern: short weekday, month and day</comment>
        <translation>ddd, d. MMM</translation>
    </message>
    <message>
        <location filename="../../model/DateText.cpp" line="18"/>
        <source>ddd d MMM yyyy</source>
        <comment>date pattern: short weekday, day, month and year</comment>
        <translation>ddd, d. MMM yyyy</translation>
    </message>
    <message>
        <location filename="../../model/DateText.cpp" line="21"/>
        <source>MMM d, yyyy</source>
        <comment>date pattern: month, day and year</comment>
        <translation>d. MMM yyyy</translation>
    </message>
</context>
<context>
    <name>DesktopNotifier</name>
    <message>
        <location filename="../../platform/DesktopNotifier.cpp" line="66"/>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
</context>
<context>
    <name>EventDetailsPopover</name>
    <message>
        <location filename="../../ui/dialogs/EventDetailsPopover.cpp" line="59"/>
        <source>(No title)</source>
        <translation>(Kein Titel)</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventDetailsPopover.cpp" line="25"/>
        <source>%1, all day</source>
        <translation>%1, ganztägig</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventDetailsPopover.cpp" line="26"/>
        <source>%1 – %2, all day</source>
        <translation>%1 – %2, ganztägig</translation>
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
        <translation>Ganztägig</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="34"/>
        <source>New Event</source>
        <translation>Neuer Termin</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="36"/>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="67"/>
        <source>Title:</source>
        <translation>Titel:</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="68"/>
        <source>Starts:</source>
        <translation>Beginn:</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="69"/>
        <source>Ends:</source>
        <translation>Ende:</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="71"/>
        <source>Calendar:</source>
        <translation>Kalender:</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="99"/>
        <source>Give the event a title.</source>
        <translation>Geben Sie dem Termin einen Titel.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="101"/>
        <source>Choose a calendar.</source>
        <translation>Wählen Sie einen Kalender.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="104"/>
        <source>The event ends before it starts.</source>
        <translation>Der Termin endet, bevor er beginnt.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="135"/>
        <source>The event could not be saved.</source>
        <translation>Der Termin konnte nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>Another program is writing to the calendar, so the event is not saved yet. Keep this window open and save again once it is done.</source>
        <translation>Ein anderes Programm schreibt gerade in den Kalender, daher ist der Termin noch nicht gespeichert. Lassen Sie dieses Fenster offen und speichern Sie erneut, sobald es fertig ist.</translation>
    </message>
</context>
<context>
    <name>Google::AuthService</name>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="83"/>
        <source>Google OAuth credentials are not configured in this build. See .env.example.</source>
        <translation>Google-OAuth-Zugangsdaten sind in diesem Build nicht eingerichtet. Siehe .env.example.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="85"/>
        <source>Google OAuth credentials are not configured.</source>
        <translation>Google-OAuth-Zugangsdaten sind nicht eingerichtet.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="87"/>
        <source>Could not bind a local port for the Google sign-in callback: %1</source>
        <translation>Für die Rückmeldung der Google-Anmeldung konnte kein lokaler Port geöffnet werden: %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="89"/>
        <source>Could not launch the system browser for Google sign-in.</source>
        <translation>Der Systembrowser für die Google-Anmeldung konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="91"/>
        <source>Google did not return an authorization code.</source>
        <translation>Google hat keinen Autorisierungscode zurückgegeben.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="93"/>
        <source>Google did not return an access token.</source>
        <translation>Google hat kein Zugriffstoken zurückgegeben.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="95"/>
        <source>Google did not return a refresh token. Try removing the app from your Google Account permissions and signing in again.</source>
        <translation>Google hat kein Aktualisierungstoken zurückgegeben. Entfernen Sie die App aus den Berechtigungen Ihres Google-Kontos und melden Sie sich erneut an.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="98"/>
        <source>Google&apos;s response had no access_token.</source>
        <translation>Die Antwort von Google enthielt kein access_token.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="105"/>
        <source>Google denied the sign-in: %1</source>
        <translation>Google hat die Anmeldung abgelehnt: %1</translation>
    </message>
</context>
<context>
    <name>Google::CalendarClient</name>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="119"/>
        <source>the request timed out</source>
        <translation>die Anfrage hat zu lange gedauert</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="133"/>
        <source>Google could not be reached: %1</source>
        <translation>Google war nicht erreichbar: %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="147"/>
        <source>Google rejected calendarList.list (HTTP %1): %2</source>
        <translation>Google hat calendarList.list abgelehnt (HTTP %1): %2</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="149"/>
        <source>Google rejected events.list (HTTP %1): %2</source>
        <translation>Google hat events.list abgelehnt (HTTP %1): %2</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="151"/>
        <source>Google rejected events.insert: %1</source>
        <translation>Google hat events.insert abgelehnt: %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="153"/>
        <source>Google rejected events.update: %1</source>
        <translation>Google hat events.update abgelehnt: %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="154"/>
        <source>Google rejected events.delete: %1</source>
        <translation>Google hat events.delete abgelehnt: %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="201"/>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="232"/>
        <source>No Google access token available.</source>
        <translation>Kein Google-Zugriffstoken vorhanden.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="189"/>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="340"/>
        <source>Google sent a reply that cannot be read.</source>
        <translation>Google hat eine Antwort geschickt, die nicht gelesen werden kann.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="327"/>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="352"/>
        <source>No Google access token.</source>
        <translation>Kein Google-Zugriffstoken.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="135"/>
        <source>Google asks to wait before the next request.</source>
        <translation>Google bittet, vor der nächsten Anfrage zu warten.</translation>
    </message>
</context>
<context>
    <name>Google::GoogleSyncProvider</name>
    <message>
        <location filename="../../services/sync/google/GoogleSyncProvider.cpp" line="49"/>
        <source>No saved Google credentials. Sign in again.</source>
        <translation>Keine gespeicherten Google-Zugangsdaten. Bitte erneut anmelden.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/GoogleSyncProvider.cpp" line="62"/>
        <source>Google token refresh failed: %1</source>
        <translation>Erneuern des Google-Tokens fehlgeschlagen: %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/GoogleSyncProvider.cpp" line="153"/>
        <source>Google sent an event without a start; the changes of this calendar were not saved.</source>
        <translation>Google hat einen Termin ohne Beginn geschickt; die Änderungen dieses Kalenders wurden nicht gespeichert.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/GoogleSyncProvider.cpp" line="175"/>
        <source>Google no longer accepts the calendar&apos;s sync token.</source>
        <translation>Google akzeptiert das Synchronisierungstoken des Kalenders nicht mehr.</translation>
    </message>
    <message numerus="yes">
        <location filename="../../services/sync/google/GoogleSyncProvider.cpp" line="317"/>
        <source>%Ln change(s) could not be sent to Google and will be sent again at the next sync: %1</source>
        <translation>
            <numerusform>%Ln Änderung konnte nicht an Google gesendet werden und wird bei der nächsten Synchronisierung erneut gesendet: %1</numerusform>
            <numerusform>%Ln Änderungen konnten nicht an Google gesendet werden und werden bei der nächsten Synchronisierung erneut gesendet: %1</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../services/sync/google/GoogleSyncProvider.cpp" line="325"/>
        <source>&quot;%1&quot; is no longer available at Google; its changes stay on this device.</source>
        <translation>„%1“ ist bei Google nicht mehr verfügbar; seine Änderungen bleiben auf diesem Gerät.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/GoogleSyncProvider.cpp" line="193"/>
        <source>The series of &quot;%1&quot; is not in the Google calendar yet; the changed occurrence is sent at a later sync.</source>
        <translation>Die Serie „%1“ ist noch nicht im Google-Kalender; das geänderte Vorkommen wird bei einer späteren Synchronisierung gesendet.</translation>
    </message>
</context>
<context>
    <name>IcsImport</name>
    <message>
        <location filename="../../core/IcsImport.cpp" line="45"/>
        <source>Import failed: the file %1 could not be read (%2).</source>
        <translation>Import fehlgeschlagen: Die Datei %1 konnte nicht gelesen werden (%2).</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="50"/>
        <source>Import failed: the file %1 does not exist.</source>
        <translation>Import fehlgeschlagen: Die Datei %1 existiert nicht.</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="53"/>
        <source>Import failed: %1 is not a regular file.</source>
        <translation>Import fehlgeschlagen: %1 ist keine normale Datei.</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="54"/>
        <source>Import failed: the file %1 is larger than %2 MB.</source>
        <translation>Import fehlgeschlagen: Die Datei %1 ist größer als %2 MB.</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="104"/>
        <location filename="../../core/IcsImport.cpp" line="248"/>
        <source>Import failed: no events found in %1.</source>
        <translation>Import fehlgeschlagen: In %1 wurden keine Termine gefunden.</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="157"/>
        <source>Import failed: the chosen calendar does not exist.</source>
        <translation>Import fehlgeschlagen: Der gewählte Kalender existiert nicht.</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="162"/>
        <source>Import failed: the calendar &quot;%1&quot; is read-only.</source>
        <translation>Import fehlgeschlagen: Der Kalender „%1“ ist schreibgeschützt.</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="170"/>
        <source>Import failed: the events could not be stored (%1).</source>
        <translation>Import fehlgeschlagen: Die Termine konnten nicht gespeichert werden (%1).</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="193"/>
        <source>Import failed: the events of %1 could not be stored; nothing was imported.</source>
        <translation>Import fehlgeschlagen: Die Termine aus %1 konnten nicht gespeichert werden; es wurde nichts importiert.</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="193"/>
        <source>Import failed: the disk is full, so nothing was imported.</source>
        <translation>Import fehlgeschlagen: Der Datenträger ist voll, daher wurde nichts importiert.</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="193"/>
        <source>The disk is full.</source>
        <translation>Der Datenträger ist voll.</translation>
    </message>
    <message numerus="yes">
        <location filename="../../core/IcsImport.cpp" line="255"/>
        <source>Imported %Ln event(s) from %1.</source>
        <translation>
            <numerusform>%Ln Termin aus %1 importiert.</numerusform>
            <numerusform>%Ln Termine aus %1 importiert.</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="143"/>
        <source>Import cancelled; nothing was imported.</source>
        <translation>Import abgebrochen; es wurde nichts importiert.</translation>
    </message>
    <message numerus="yes">
        <location filename="../../core/IcsImport.cpp" line="242"/>
        <source>%Ln event(s) without an identifier or a start were skipped.</source>
        <translation>
            <numerusform>%Ln Termin ohne Kennung oder Beginn wurde übersprungen.</numerusform>
            <numerusform>%Ln Termine ohne Kennung oder Beginn wurden übersprungen.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location filename="../../core/IcsImport.cpp" line="294"/>
        <source>Over-long text in %Ln event(s) was shortened.</source>
        <translation>
            <numerusform>Zu langer Text in %Ln Termin wurde gekürzt.</numerusform>
            <numerusform>Zu langer Text in %Ln Terminen wurde gekürzt.</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="306"/>
        <source>Import failed, and some of the events it had stored could not be removed again.</source>
        <translation>Import fehlgeschlagen, und einige der bereits gespeicherten Termine konnten nicht wieder entfernt werden.</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="204"/>
        <source>Import failed: an earlier import has not been taken back.</source>
        <translation>Import fehlgeschlagen: Ein früherer Import wurde noch nicht zurückgenommen.</translation>
    </message>
    <message numerus="yes">
        <location filename="../../core/ImportTakeBack.cpp" line="99"/>
        <source>The import of %1 did not finish in the last run; the %Ln event(s) it had stored have been taken back.</source>
        <translation>
            <numerusform>Der Import von %1 wurde im letzten Lauf nicht abgeschlossen; %Ln bereits gespeicherter Termin wurde zurückgenommen.</numerusform>
            <numerusform>Der Import von %1 wurde im letzten Lauf nicht abgeschlossen; %Ln bereits gespeicherte Termine wurden zurückgenommen.</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../core/ImportTakeBack.cpp" line="103"/>
        <source>The import of %1 did not finish in the last run; some of the events it had stored could not be taken back yet, and will be at the next start.</source>
        <translation>Der Import von %1 wurde im letzten Lauf nicht abgeschlossen; einige der bereits gespeicherten Termine konnten noch nicht zurückgenommen werden und werden beim nächsten Start zurückgenommen.</translation>
    </message>
</context>
<context>
    <name>LarkAccount::AccountGroupPage</name>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="40"/>
        <source>Group</source>
        <translation>Gruppe</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="66"/>
        <source>No Group</source>
        <translation>Keine Gruppe</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="67"/>
        <source>You&apos;re not part of a group. The group owner can invite you, or you can join with an invite code.</source>
        <translation>Sie gehören keiner Gruppe an. Der Gruppeninhaber kann Sie einladen, oder Sie treten mit einem Einladungscode bei.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="70"/>
        <source>Join with Invite Code</source>
        <translation>Mit Einladungscode beitreten</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="80"/>
        <source>Members</source>
        <translation>Mitglieder</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="97"/>
        <source>Owner</source>
        <translation>Inhaber</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="104"/>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="116"/>
        <source>Pending Invitations</source>
        <translation>Offene Einladungen</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="123"/>
        <source>Revoke</source>
        <translation>Widerrufen</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="134"/>
        <source>Invite Members</source>
        <translation>Mitglieder einladen</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="135"/>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="201"/>
        <source>Invite by Email</source>
        <translation>Per E-Mail einladen</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="136"/>
        <source>Generate Invite Code</source>
        <translation>Einladungscode erzeugen</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="141"/>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="189"/>
        <source>Leave Group</source>
        <translation>Gruppe verlassen</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="150"/>
        <source>Join Group</source>
        <translation>Gruppe beitreten</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="150"/>
        <source>Enter invite code:</source>
        <translation>Einladungscode eingeben:</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="158"/>
        <source>Invalid or expired invite code.</source>
        <translation>Ungültiger oder abgelaufener Einladungscode.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="161"/>
        <source>Joined group.</source>
        <translation>Der Gruppe beigetreten.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="169"/>
        <source>Remove Member</source>
        <translation>Mitglied entfernen</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="169"/>
        <source>Remove %1 from the group?</source>
        <translation>%1 aus der Gruppe entfernen?</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="173"/>
        <source>%1 removed.</source>
        <translation>%1 wurde entfernt.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="173"/>
        <source>Failed to remove %1.</source>
        <translation>%1 konnte nicht entfernt werden.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="182"/>
        <source>Invitation revoked.</source>
        <translation>Einladung widerrufen.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="182"/>
        <source>Failed to revoke invitation.</source>
        <translation>Die Einladung konnte nicht widerrufen werden.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="190"/>
        <source>Leave this group? You will lose access to shared data.</source>
        <translation>Diese Gruppe verlassen? Sie verlieren den Zugriff auf geteilte Daten.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="194"/>
        <source>Left group.</source>
        <translation>Gruppe verlassen.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="194"/>
        <source>Failed to leave group.</source>
        <translation>Die Gruppe konnte nicht verlassen werden.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="201"/>
        <source>Email address:</source>
        <translation>E-Mail-Adresse:</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="210"/>
        <source>Failed to send invitation.</source>
        <translation>Die Einladung konnte nicht gesendet werden.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="213"/>
        <source>Invitation sent.</source>
        <translation>Einladung gesendet.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="225"/>
        <source>Failed to generate code.</source>
        <translation>Der Code konnte nicht erzeugt werden.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="228"/>
        <source>Invite Code</source>
        <translation>Einladungscode</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="229"/>
        <source>Share this code with the person you want to invite:</source>
        <translation>Geben Sie diesen Code an die Person weiter, die Sie einladen möchten:</translation>
    </message>
</context>
<context>
    <name>LarkAccount::AccountRows</name>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="24"/>
        <source>Unknown</source>
        <translation>Unbekannt</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="27"/>
        <source>Active now</source>
        <translation>Jetzt aktiv</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="29"/>
        <source>%1m ago</source>
        <translation>vor %1 Min.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="31"/>
        <source>%1h ago</source>
        <translation>vor %1 Std.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="33"/>
        <source>%1d ago</source>
        <translation>vor %1 T.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="35"/>
        <source>MMM d, yyyy</source>
        <translation>d. MMM yyyy</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="43"/>
        <source>Unknown Device</source>
        <translation>Unbekanntes Gerät</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="57"/>
        <source>Unknown client</source>
        <translation>Unbekannter Client</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="62"/>
        <source>This session</source>
        <translation>Diese Sitzung</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="75"/>
        <source>%1 of %2 seats used</source>
        <translation>%1 von %2 Plätzen belegt</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="89"/>
        <source>Invite code: %1</source>
        <translation>Einladungscode: %1</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="100"/>
        <source>Password must be at least %1 characters.</source>
        <translation>Das Passwort muss mindestens %1 Zeichen lang sein.</translation>
    </message>
</context>
<context>
    <name>LarkAccount::AccountScreen</name>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="58"/>
        <location filename="../../ui/account/AccountScreen.cpp" line="157"/>
        <source>Profile</source>
        <translation>Profil</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="58"/>
        <source>Group</source>
        <translation>Gruppe</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="58"/>
        <location filename="../../ui/account/AccountScreen.cpp" line="77"/>
        <source>Devices</source>
        <translation>Geräte</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="58"/>
        <location filename="../../ui/account/AccountScreen.cpp" line="78"/>
        <source>Security</source>
        <translation>Sicherheit</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="58"/>
        <location filename="../../ui/account/AccountScreen.cpp" line="210"/>
        <source>Data &amp; Privacy</source>
        <translation>Daten &amp; Datenschutz</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="158"/>
        <source>Personal Information</source>
        <translation>Persönliche Angaben</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="174"/>
        <location filename="../../ui/account/AccountScreen.cpp" line="414"/>
        <source>Edit Display Name</source>
        <translation>Anzeigenamen ändern</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="175"/>
        <source>Sign Out</source>
        <translation>Abmelden</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="186"/>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="186"/>
        <source>Change your account password.</source>
        <translation>Ändern Sie das Passwort Ihres Kontos.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="188"/>
        <location filename="../../ui/account/AccountScreen.cpp" line="435"/>
        <source>Change Password</source>
        <translation>Passwort ändern</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="212"/>
        <source>Danger Zone</source>
        <translation>Gefahrenbereich</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="213"/>
        <source>Permanently delete your account. This cannot be undone after 30 days.</source>
        <translation>Löscht Ihr Konto endgültig. Nach 30 Tagen lässt sich das nicht mehr rückgängig machen.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="214"/>
        <location filename="../../ui/account/AccountScreen.cpp" line="470"/>
        <source>Delete Account</source>
        <translation>Konto löschen</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="223"/>
        <source>You are the group owner. Transfer ownership or remove all members before deleting your account.</source>
        <translation>Sie sind Inhaber der Gruppe. Übertragen Sie die Inhaberschaft oder entfernen Sie alle Mitglieder, bevor Sie Ihr Konto löschen.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="330"/>
        <source>(not set)</source>
        <translation>(nicht festgelegt)</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="339"/>
        <source>Registered Devices</source>
        <translation>Registrierte Geräte</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="340"/>
        <source>Devices that have synced with your account.</source>
        <translation>Geräte, die mit Ihrem Konto synchronisiert haben.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="342"/>
        <source>No devices registered.</source>
        <translation>Keine Geräte registriert.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="361"/>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="375"/>
        <source>Active Sessions</source>
        <translation>Aktive Sitzungen</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="376"/>
        <source>Sessions currently signed in to your account.</source>
        <translation>Sitzungen, die derzeit bei Ihrem Konto angemeldet sind.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="378"/>
        <source>No active sessions.</source>
        <translation>Keine aktiven Sitzungen.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="397"/>
        <source>Current</source>
        <translation>Aktuell</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="402"/>
        <source>Revoke</source>
        <translation>Widerrufen</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="414"/>
        <source>Display name:</source>
        <translation>Anzeigename:</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="424"/>
        <source>Failed to update profile.</source>
        <translation>Das Profil konnte nicht aktualisiert werden.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="429"/>
        <source>Display name updated.</source>
        <translation>Anzeigename aktualisiert.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="436"/>
        <source>Current password:</source>
        <translation>Aktuelles Passwort:</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="440"/>
        <source>New password (min %1 characters):</source>
        <translation>Neues Passwort (mind. %1 Zeichen):</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="449"/>
        <source>Confirm new password:</source>
        <translation>Neues Passwort bestätigen:</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="451"/>
        <source>Passwords do not match.</source>
        <translation>Die Passwörter stimmen nicht überein.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="461"/>
        <source>Password changed.</source>
        <translation>Passwort geändert.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="463"/>
        <source>Failed to change password.</source>
        <translation>Das Passwort konnte nicht geändert werden.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="471"/>
        <source>This will schedule your account for permanent deletion after 30 days.</source>
        <translation>Ihr Konto wird damit zur endgültigen Löschung nach 30 Tagen vorgemerkt.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="472"/>
        <source>Type %1 to confirm:</source>
        <translation>Geben Sie zur Bestätigung %1 ein:</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="482"/>
        <source>Failed to delete account.</source>
        <translation>Das Konto konnte nicht gelöscht werden.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="485"/>
        <source>Account Scheduled for Deletion</source>
        <translation>Konto zur Löschung vorgemerkt</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="486"/>
        <source>Your account will be permanently deleted in 30 days. You can recover it by signing in before then.</source>
        <translation>Ihr Konto wird in 30 Tagen endgültig gelöscht. Wenn Sie sich vorher anmelden, können Sie es wiederherstellen.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="517"/>
        <source>Remove Device</source>
        <translation>Gerät entfernen</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="517"/>
        <source>Remove %1?</source>
        <translation>%1 entfernen?</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="521"/>
        <source>Device removed.</source>
        <translation>Gerät entfernt.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="521"/>
        <source>Failed to remove device.</source>
        <translation>Das Gerät konnte nicht entfernt werden.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="529"/>
        <source>Session revoked.</source>
        <translation>Sitzung widerrufen.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="529"/>
        <source>Failed to revoke session.</source>
        <translation>Die Sitzung konnte nicht widerrufen werden.</translation>
    </message>
</context>
<context>
    <name>LarkAccount::ApiClient</name>
    <message>
        <location filename="../../services/account/ApiClient.cpp" line="266"/>
        <source>The server sent a reply that cannot be read.</source>
        <translation>Der Server hat eine unlesbare Antwort gesendet.</translation>
    </message>
</context>
<context>
    <name>LarkAccount::AuthClient</name>
    <message>
        <location filename="../../services/account/AuthClient.cpp" line="118"/>
        <source>Cloud sign-in is not configured in this build</source>
        <translation>Die Cloud-Anmeldung ist in diesem Build nicht eingerichtet</translation>
    </message>
    <message>
        <location filename="../../services/account/AuthClient.cpp" line="131"/>
        <source>Failed to start local auth server</source>
        <translation>Der lokale Anmeldeserver konnte nicht gestartet werden</translation>
    </message>
    <message>
        <location filename="../../services/account/AuthClient.cpp" line="154"/>
        <source>No tokens received</source>
        <translation>Keine Tokens erhalten</translation>
    </message>
</context>
<context>
    <name>LarkAccount::ShareMembersDialog</name>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="132"/>
        <source>People with access</source>
        <translation>Personen mit Zugriff</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="134"/>
        <source>Add people</source>
        <translation>Personen hinzufügen</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="138"/>
        <source>All group members already have access</source>
        <translation>Alle Gruppenmitglieder haben bereits Zugriff</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="148"/>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="233"/>
        <source>Not shared with anyone yet.</source>
        <translation>Noch mit niemandem geteilt.</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="245"/>
        <source>Remove access</source>
        <translation>Zugriff entfernen</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="260"/>
        <source>Share</source>
        <translation>Teilen</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="291"/>
        <source>Could not share with %1.</source>
        <translation>Teilen mit %1 nicht möglich.</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="307"/>
        <source>Remove access?</source>
        <translation>Zugriff entfernen?</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="308"/>
        <source>%1 will no longer have access. Continue?</source>
        <translation>%1 hat dann keinen Zugriff mehr. Fortfahren?</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="321"/>
        <source>Could not remove %1.</source>
        <translation>%1 konnte nicht entfernt werden.</translation>
    </message>
</context>
<context>
    <name>LarkAccount::TokenStore</name>
    <message>
        <location filename="../../platform/TokenStore.cpp" line="130"/>
        <source>The desktop keyring is locked, so the saved sign-in and passwords cannot be used. Unlock the keyring and try again.</source>
        <translation>Der Schlüsselbund des Desktops ist gesperrt, daher können die gespeicherte Anmeldung und die Passwörter nicht verwendet werden. Entsperren Sie den Schlüsselbund und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <location filename="../../platform/TokenStore.cpp" line="135"/>
        <source>The saved sign-in and passwords are kept in the desktop keyring, which does not answer.</source>
        <translation>Die gespeicherte Anmeldung und die Passwörter liegen im Schlüsselbund des Desktops, der nicht antwortet.</translation>
    </message>
</context>
<context>
    <name>LarkUpdate::DialogParts</name>
    <message>
        <source>Page not opened</source>
        <translation>Seite nicht geöffnet</translation>
    </message>
    <message>
        <source>The page could not be opened: it has no address.</source>
        <translation>Die Seite konnte nicht geöffnet werden: Sie hat keine Adresse.</translation>
    </message>
    <message>
        <source>The page could not be opened in a browser. Its address, to open it yourself:
%1</source>
        <translation>Die Seite konnte in keinem Browser geöffnet werden. Ihre Adresse, um sie selbst zu öffnen:
%1</translation>
    </message>
</context>
<context>
    <name>LarkUpdate::UpdateDialog</name>
    <message>
        <location filename="../../ui/update/UpdateDialog.cpp" line="22"/>
        <source>Update available</source>
        <translation>Update verfügbar</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateDialog.cpp" line="26"/>
        <source>A new version of %1 is available.</source>
        <translation>Eine neue Version von %1 ist verfügbar.</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateDialog.cpp" line="29"/>
        <source>You have version %1. The latest version is %2.</source>
        <translation>Sie haben Version %1. Die neueste Version ist %2.</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateDialog.cpp" line="36"/>
        <source>Loading release notes…</source>
        <translation>Versionshinweise werden geladen…</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateDialog.cpp" line="44"/>
        <source>*Release notes are not available for this version.*</source>
        <translation>*Für diese Version sind keine Versionshinweise verfügbar.*</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateDialog.cpp" line="51"/>
        <source>Download</source>
        <translation>Herunterladen</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateDialog.cpp" line="55"/>
        <source>Later</source>
        <translation>Später</translation>
    </message>
</context>
<context>
    <name>LarkUpdate::WhatsNewDialog</name>
    <message>
        <location filename="../../ui/update/WhatsNewDialog.cpp" line="24"/>
        <source>What&apos;s New in %1 %2</source>
        <translation>Neu in %1 %2</translation>
    </message>
    <message>
        <location filename="../../ui/update/WhatsNewDialog.cpp" line="29"/>
        <source>What&apos;s new in %1 %2</source>
        <translation>Neu in %1 %2</translation>
    </message>
    <message>
        <location filename="../../ui/update/WhatsNewDialog.cpp" line="35"/>
        <source>You are running version %1</source>
        <translation>Sie verwenden Version %1</translation>
    </message>
    <message>
        <location filename="../../ui/update/WhatsNewDialog.cpp" line="44"/>
        <source>Download %1</source>
        <translation>%1 herunterladen</translation>
    </message>
</context>
<context>
    <name>Larkspindle::CalendarUpgradeService</name>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="65"/>
        <source>Calendar&apos;s account is missing</source>
        <translation>Das Konto des Kalenders fehlt</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="67"/>
        <source>Only Larkspindle-native calendars can be upgraded</source>
        <translation>Nur eigene Larkspindle-Kalender können in die Cloud verschoben werden</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="69"/>
        <source>Calendar is already on Larkspindle</source>
        <translation>Der Kalender ist bereits bei Larkspindle</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="71"/>
        <source>This calendar is already being moved</source>
        <translation>Dieser Kalender wird bereits verschoben</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="73"/>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="130"/>
        <source>Not signed in</source>
        <translation>Nicht angemeldet</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="112"/>
        <source>Server registration failed (HTTP %1)</source>
        <translation>Anmeldung des Kalenders beim Server fehlgeschlagen (HTTP %1)</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="175"/>
        <source>Uploading the calendar failed (HTTP %1); it stays on this device</source>
        <translation>Hochladen des Kalenders fehlgeschlagen (HTTP %1); er bleibt auf diesem Gerät</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="182"/>
        <source>The calendar could not be saved as a cloud calendar; it stays on this device</source>
        <translation>Der Kalender konnte nicht als Cloud-Kalender gespeichert werden; er bleibt auf diesem Gerät</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="179"/>
        <source>Uploading the calendar failed: %1; it stays on this device</source>
        <translation>Hochladen des Kalenders fehlgeschlagen: %1; er bleibt auf diesem Gerät</translation>
    </message>
</context>
<context>
    <name>Larkspindle::CloudSyncProvider</name>
    <message>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="132"/>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="197"/>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="294"/>
        <source>Sign in to the cloud account to sync its calendars</source>
        <translation>Melden Sie sich beim Cloud-Konto an, um seine Kalender zu synchronisieren</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="145"/>
        <source>Larkspindle calendar list failed (HTTP %1)</source>
        <translation>Abruf der Larkspindle-Kalenderliste fehlgeschlagen (HTTP %1)</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="214"/>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="257"/>
        <source>Larkspindle pull failed (HTTP %1)</source>
        <translation>Abruf von Larkspindle fehlgeschlagen (HTTP %1)</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="314"/>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="347"/>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="350"/>
        <source>Larkspindle push failed (HTTP %1)</source>
        <translation>Übertragung zu Larkspindle fehlgeschlagen (HTTP %1)</translation>
    </message>
    <message numerus="yes">
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="356"/>
        <source>Larkspindle push: %Ln event(s) failed</source>
        <translation>
            <numerusform>Übertragung zu Larkspindle: %Ln Termin fehlgeschlagen</numerusform>
            <numerusform>Übertragung zu Larkspindle: %Ln Termine fehlgeschlagen</numerusform>
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
        <translation>Anmeldung erforderlich</translation>
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
        <translation>Melden Sie sich beim Cloud-Konto an, um die Einstellungen zu synchronisieren</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/ConfigSyncService.cpp" line="343"/>
        <source>The settings could not be sent (HTTP %1)</source>
        <translation>Die Einstellungen konnten nicht gesendet werden (HTTP %1)</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/ConfigSyncService.cpp" line="397"/>
        <source>The settings could not be fetched (HTTP %1)</source>
        <translation>Die Einstellungen konnten nicht abgerufen werden (HTTP %1)</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/ConfigSyncService.cpp" line="429"/>
        <source>Settings from your other devices could not be saved here</source>
        <translation>Einstellungen von Ihren anderen Geräten konnten hier nicht gespeichert werden</translation>
    </message>
</context>
<context>
    <name>Larkspindle::SharingBackend</name>
    <message>
        <location filename="../../services/sync/cloud/SharingBackend.cpp" line="70"/>
        <source>Not signed in</source>
        <translation>Nicht angemeldet</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/SharingBackend.cpp" line="89"/>
        <source>Sharing failed (HTTP %1)</source>
        <translation>Freigabe fehlgeschlagen (HTTP %1)</translation>
    </message>
</context>
<context>
    <name>Larkspindle::SyncClient</name>
    <message>
        <location filename="../../services/sync/cloud/SyncClient.cpp" line="75"/>
        <source>Calendar&apos;s account is missing</source>
        <translation>Das Konto des Kalenders fehlt</translation>
    </message>
</context>
<context>
    <name>LocalCalendar</name>
    <message>
        <location filename="../../core/LocalCalendar.cpp" line="85"/>
        <source>On This Device</source>
        <translation>Auf diesem Gerät</translation>
    </message>
    <message>
        <location filename="../../core/LocalCalendar.cpp" line="92"/>
        <source>Personal</source>
        <comment>name of the calendar kept on this device</comment>
        <translation>Persönlich</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Could not add &quot;%1&quot;: %2</source>
        <translation>„%1“ konnte nicht hinzugefügt werden: %2</translation>
    </message>
    <message>
        <source>Larkspindle Calendar is still running</source>
        <translation>Larkspindle Calendar läuft weiter</translation>
    </message>
    <message>
        <source>It keeps running in the system tray, so your reminders still come. Click the tray icon to open it, or choose Quit from its menu to end it.</source>
        <translation>Das Programm läuft im Infobereich weiter, damit Ihre Erinnerungen weiterhin kommen. Klicken Sie auf das Symbol im Infobereich, um es zu öffnen, oder wählen Sie in seinem Menü „Beenden“, um es zu beenden.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="56"/>
        <source>Larkspindle Calendar</source>
        <translation>Larkspindle Calendar</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="77"/>
        <source>Sign in again to keep your settings in step.</source>
        <translation>Melden Sie sich erneut an, damit Ihre Einstellungen abgeglichen bleiben.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="79"/>
        <source>Settings sync failed: %1</source>
        <translation>Abgleich der Einstellungen fehlgeschlagen: %1</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="89"/>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="90"/>
        <source>&amp;New Event…</source>
        <translation>&amp;Neuer Termin…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="91"/>
        <source>&amp;Import .ics File…</source>
        <translation>.ics-Datei &amp;importieren…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="93"/>
        <source>&amp;Sync Now</source>
        <translation>Jetzt &amp;synchronisieren</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="95"/>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="97"/>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="98"/>
        <source>&amp;Today</source>
        <translation>&amp;Heute</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="100"/>
        <source>&amp;Tools</source>
        <translation>E&amp;xtras</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="101"/>
        <source>&amp;Accounts and Calendars…</source>
        <translation>&amp;Konten und Kalender…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="102"/>
        <source>&amp;Preferences…</source>
        <translation>&amp;Einstellungen…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="116"/>
        <source>&amp;Developer</source>
        <translation>&amp;Entwickler</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="118"/>
        <source>Load sample data</source>
        <translation>Beispieldaten laden</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="119"/>
        <source>Remove sample data</source>
        <translation>Beispieldaten entfernen</translation>
    </message>
    <message numerus="yes">
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="204"/>
        <source>%1

%n calendar(s)</source>
        <translation>
            <numerusform>%1

%n Kalender</numerusform>
            <numerusform>%1

%n Kalender</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="276"/>
        <source>Event &quot;%1&quot; saved.</source>
        <translation>Termin „%1“ gespeichert.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="291"/>
        <source>Quick add needs a calendar: add one first.</source>
        <translation>Zum schnellen Hinzufügen wird ein Kalender benötigt: Legen Sie zuerst einen an.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="296"/>
        <source>Could not add &quot;%1&quot;.</source>
        <translation>„%1“ konnte nicht hinzugefügt werden.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="298"/>
        <source>Added &quot;%1&quot;.</source>
        <translation>„%1“ hinzugefügt.</translation>
    </message>
    <message>
        <source>Added &quot;%1&quot; as a task without a date.</source>
        <translation>„%1“ als Aufgabe ohne Datum hinzugefügt.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="303"/>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="387"/>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="421"/>
        <source>Import .ics File</source>
        <translation>.ics-Datei importieren</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="304"/>
        <source>Calendar files (*.ics)</source>
        <translation>Kalenderdateien (*.ics)</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="367"/>
        <source>Import failed: there is no calendar that can take events. Add one first.</source>
        <translation>Import fehlgeschlagen: Es gibt keinen Kalender, der Termine aufnehmen kann. Legen Sie zuerst einen an.</translation>
    </message>
    <message numerus="yes">
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="373"/>
        <source>Import %Ln event(s) from %1 into:</source>
        <translation>
            <numerusform>%Ln Termin aus %1 importieren in:</numerusform>
            <numerusform>%Ln Termine aus %1 importieren in:</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="376"/>
        <source>Import cancelled.</source>
        <translation>Import abgebrochen.</translation>
    </message>
    <message numerus="yes">
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="488"/>
        <source>Loaded %n sample row(s).</source>
        <translation>
            <numerusform>%n Beispielzeile geladen.</numerusform>
            <numerusform>%n Beispielzeilen geladen.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="494"/>
        <source>Removed %n sample row(s).</source>
        <translation>
            <numerusform>%n Beispielzeile entfernt.</numerusform>
            <numerusform>%n Beispielzeilen entfernt.</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="322"/>
        <source>Too many requests are waiting for the open dialog; this one was ignored.</source>
        <translation>Zu viele Anfragen warten auf das geöffnete Dialogfenster; diese wurde ignoriert.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="107"/>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="109"/>
        <source>Check for &amp;Updates…</source>
        <translation>Nach &amp;Updates suchen…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="110"/>
        <source>&amp;What&apos;s New</source>
        <translation>&amp;Neuigkeiten</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="111"/>
        <source>Send &amp;Feedback…</source>
        <translation>&amp;Feedback senden…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="113"/>
        <source>&amp;About %1</source>
        <translation>Ü&amp;ber %1</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="528"/>
        <source>This build has no release feed, so it cannot check for updates.</source>
        <translation>Diese Version hat keinen Update-Kanal und kann daher nicht nach Updates suchen.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="535"/>
        <source>This build has no release feed, so it has no release notes to show.</source>
        <translation>Diese Version hat keinen Update-Kanal und kann daher keine Versionshinweise zeigen.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="543"/>
        <source>This build has no feedback page configured.</source>
        <translation>Für diese Version ist keine Feedback-Seite eingerichtet.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="125"/>
        <source>A&amp;ccount</source>
        <translation>&amp;Konto</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="127"/>
        <source>Sign &amp;In…</source>
        <translation>&amp;Anmelden…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="129"/>
        <source>&amp;Account…</source>
        <translation>&amp;Konto…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="130"/>
        <source>Sign &amp;Out</source>
        <translation>Ab&amp;melden</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="137"/>
        <source>Signed in.</source>
        <translation>Angemeldet.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="139"/>
        <source>Sign-in failed: %1</source>
        <translation>Anmeldung fehlgeschlagen: %1</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="164"/>
        <source>Continue the sign-in in your browser.</source>
        <translation>Setzen Sie die Anmeldung in Ihrem Browser fort.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="176"/>
        <source>Larkspindle Account</source>
        <translation>Larkspindle-Konto</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="196"/>
        <source>Signed out.</source>
        <translation>Abgemeldet.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="384"/>
        <source>Importing the events of %1…</source>
        <translation>Die Termine aus %1 werden importiert…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="385"/>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="436"/>
        <source>Taking back the import…</source>
        <translation>Der Import wird zurückgenommen…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/ImportControl.cpp" line="1"/>
        <source>Another program is writing to the calendar database; this goes on as soon as it is done.</source>
        <translation>Ein anderes Programm schreibt gerade in die Kalenderdatenbank; es geht weiter, sobald es fertig ist.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="1"/>
        <source>Will be added once another program is done writing: &quot;%1&quot;</source>
        <translation>Wird hinzugefügt, sobald ein anderes Programm fertig ist: „%1“</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="495"/>
        <source>Taking back the import of %1…</source>
        <translation>Der Import von %1 wird zurückgenommen…</translation>
    </message>
    <message numerus="yes">
        <source>Added %n quick-add line(s) that waited when %1 last ended.</source>
        <translation>
            <numerusform>%n Schnelleingabe hinzugefügt, die beim Beenden von %1 wartete.</numerusform>
            <numerusform>%n Schnelleingaben hinzugefügt, die beim Beenden von %1 warteten.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Another program is writing to the calendar, and %n waiting quick-add line(s) could not be saved to disk: they are lost if Larkspindle Calendar ends before the calendar is free.</source>
        <translation>
            <numerusform>Ein anderes Programm schreibt gerade in den Kalender, und %n wartende Schnelleingabe konnte nicht auf der Festplatte gespeichert werden: Sie geht verloren, wenn Larkspindle Calendar endet, bevor der Kalender frei ist.</numerusform>
            <numerusform>Ein anderes Programm schreibt gerade in den Kalender, und %n wartende Schnelleingaben konnten nicht auf der Festplatte gespeichert werden: Sie gehen verloren, wenn Larkspindle Calendar endet, bevor der Kalender frei ist.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n quick-add line(s) that waited when Larkspindle Calendar last ended were added; their file could not all be read and is kept as %1.</source>
        <translation>
            <numerusform>%n Schnelleingabe, die beim letzten Beenden von Larkspindle Calendar noch wartete, wurde hinzugefügt; ihre Datei war nicht vollständig lesbar und wird als %1 aufbewahrt.</numerusform>
            <numerusform>%n Schnelleingaben, die beim letzten Beenden von Larkspindle Calendar noch warteten, wurden hinzugefügt; ihre Datei war nicht vollständig lesbar und wird als %1 aufbewahrt.</numerusform>
        </translation>
    </message>
    <message>
        <source>The quick-add lines that waited when Larkspindle Calendar last ended could not all be read: their file is kept as %1.</source>
        <translation>Die Schnelleingaben, die beim letzten Beenden von Larkspindle Calendar noch warteten, waren nicht alle lesbar: Ihre Datei wird als %1 aufbewahrt.</translation>
    </message>
</context>
<context>
    <name>Microsoft::AuthService</name>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="97"/>
        <source>Microsoft OAuth credentials are not configured in this build. See .env.example.</source>
        <translation>Microsoft-OAuth-Zugangsdaten sind in diesem Build nicht eingerichtet. Siehe .env.example.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="100"/>
        <source>Microsoft OAuth credentials are not configured.</source>
        <translation>Microsoft-OAuth-Zugangsdaten sind nicht eingerichtet.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="102"/>
        <source>Could not bind a local port for the Microsoft sign-in callback: %1</source>
        <translation>Für die Rückmeldung der Microsoft-Anmeldung konnte kein lokaler Port geöffnet werden: %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="104"/>
        <source>Could not launch the system browser for Microsoft sign-in.</source>
        <translation>Der Systembrowser für die Microsoft-Anmeldung konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="106"/>
        <source>Microsoft did not return an authorization code.</source>
        <translation>Microsoft hat keinen Autorisierungscode zurückgegeben.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="108"/>
        <source>Microsoft did not return an access token.</source>
        <translation>Microsoft hat kein Zugriffstoken zurückgegeben.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="110"/>
        <source>Microsoft did not return a refresh token. Verify offline_access is in the scopes configured for this app.</source>
        <translation>Microsoft hat kein Aktualisierungstoken zurückgegeben. Prüfen Sie, ob offline_access zu den für diese App eingerichteten Berechtigungsbereichen gehört.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="113"/>
        <source>Microsoft&apos;s response had no access_token.</source>
        <translation>Die Antwort von Microsoft enthielt kein access_token.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="120"/>
        <source>Microsoft denied the sign-in: %1</source>
        <translation>Microsoft hat die Anmeldung abgelehnt: %1</translation>
    </message>
</context>
<context>
    <name>Microsoft::CalendarClient</name>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="136"/>
        <source>No Microsoft access token available.</source>
        <translation>Kein Microsoft-Zugriffstoken vorhanden.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="194"/>
        <source>Microsoft Graph did not answer in time.</source>
        <translation>Microsoft Graph hat nicht rechtzeitig geantwortet.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="195"/>
        <source>Microsoft Graph could not be reached.</source>
        <translation>Microsoft Graph ist nicht erreichbar.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="210"/>
        <location filename="../../services/sync/microsoft/MicrosoftSyncProvider.cpp" line="472"/>
        <source>Microsoft Graph sent a reply that cannot be read.</source>
        <translation>Microsoft Graph hat eine unlesbare Antwort gesendet.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="225"/>
        <source>Microsoft Graph did not accept the sign-in. Sign in again.</source>
        <translation>Microsoft Graph hat die Anmeldung nicht akzeptiert. Melden Sie sich erneut an.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="228"/>
        <source>Microsoft Graph does not allow this change (HTTP 403): %1</source>
        <translation>Microsoft Graph lässt diese Änderung nicht zu (HTTP 403): %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="232"/>
        <source>The event was changed in the Microsoft calendar since it was last synced; it was not overwritten.</source>
        <translation>Der Termin wurde seit der letzten Synchronisierung im Microsoft-Kalender geändert; er wurde nicht überschrieben.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="236"/>
        <source>Microsoft Graph asks to wait before the next request.</source>
        <translation>Microsoft Graph bittet, vor der nächsten Anfrage zu warten.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="239"/>
        <source>Microsoft Graph refused the request (HTTP %1): %2</source>
        <translation>Microsoft Graph hat die Anfrage abgelehnt (HTTP %1): %2</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="280"/>
        <source>Microsoft Graph sent a link to another server; it was not followed.</source>
        <translation>Microsoft Graph hat einen Link zu einem anderen Server gesendet; er wurde nicht aufgerufen.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/RecurrenceMapping.cpp" line="252"/>
        <source>Microsoft calendars cannot keep the repeat rule &quot;%1&quot;.</source>
        <translation>Microsoft-Kalender können die Wiederholungsregel „%1“ nicht speichern.</translation>
    </message>
</context>
<context>
    <name>Microsoft::MicrosoftSyncProvider</name>
    <message>
        <location filename="../../services/sync/microsoft/MicrosoftSyncProvider.cpp" line="94"/>
        <source>No saved Microsoft credentials. Sign in again.</source>
        <translation>Keine gespeicherten Microsoft-Zugangsdaten. Melden Sie sich erneut an.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/MicrosoftSyncProvider.cpp" line="77"/>
        <source>Microsoft token refresh failed: %1</source>
        <translation>Erneuern des Microsoft-Tokens fehlgeschlagen: %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/MicrosoftSyncProvider.cpp" line="204"/>
        <source>Microsoft Graph sent a page of changes that leads nowhere.</source>
        <translation>Microsoft Graph hat eine Seite mit Änderungen ohne Fortsetzung gesendet.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/MicrosoftSyncProvider.cpp" line="543"/>
        <source>The series of &quot;%1&quot; is not in the Microsoft calendar yet; the changed occurrence is sent at a later sync.</source>
        <translation>Die Serie „%1“ ist noch nicht im Microsoft-Kalender; das geänderte Vorkommen wird bei einer späteren Synchronisierung gesendet.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/MicrosoftSyncProvider.cpp" line="565"/>
        <source>The occurrence of &quot;%1&quot; changed here is no longer in its series at Microsoft.</source>
        <translation>Das hier geänderte Vorkommen von „%1“ gehört bei Microsoft nicht mehr zu seiner Serie.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/MicrosoftSyncProvider.cpp" line="526"/>
        <source>&quot;%1&quot; is no longer available at Microsoft; its changes stay on this device.</source>
        <translation>„%1“ ist bei Microsoft nicht mehr verfügbar; seine Änderungen bleiben auf diesem Gerät.</translation>
    </message>
</context>
<context>
    <name>MissedRemindersDialog</name>
    <message>
        <location filename="../../ui/dialogs/MissedRemindersDialog.cpp" line="18"/>
        <source>Missed Reminders</source>
        <translation>Verpasste Erinnerungen</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/MissedRemindersDialog.cpp" line="22"/>
        <source>These reminders came while they could not be shown. Double-click one to open its event, or the day its task is due.</source>
        <translation>Diese Erinnerungen kamen, während sie nicht angezeigt werden konnten. Doppelklicken Sie auf eine, um ihren Termin zu öffnen oder den Tag, an dem ihre Aufgabe fällig ist.</translation>
    </message>
</context>
<context>
    <name>Net</name>
    <message>
        <location filename="../../services/net/RequestPolicy.cpp" line="44"/>
        <source>The server&apos;s reply is too large</source>
        <translation>Die Antwort des Servers ist zu groß</translation>
    </message>
    <message>
        <location filename="../../services/net/RequestPolicy.cpp" line="97"/>
        <source>The server did not finish its reply in time.</source>
        <translation>Der Server hat seine Antwort nicht rechtzeitig abgeschlossen.</translation>
    </message>
    <message>
        <location filename="../../services/net/RequestPolicy.cpp" line="133"/>
        <source>The server redirected to another address; the request was not sent there.</source>
        <translation>Der Server hat an eine andere Adresse umgeleitet; die Anfrage wurde nicht dorthin gesendet.</translation>
    </message>
    <message>
        <location filename="../../services/net/RequestPolicy.cpp" line="181"/>
        <source>%1 The next try will be at %2.</source>
        <translation>%1 Der nächste Versuch erfolgt am %2.</translation>
    </message>
    <message>
        <location filename="../../services/net/RequestPolicy.cpp" line="164"/>
        <source>The server stopped answering.</source>
        <translation>Der Server hat aufgehört zu antworten.</translation>
    </message>
    <message>
        <location filename="../../services/net/RequestPolicy.cpp" line="170"/>
        <source>The reply was cut short.</source>
        <translation>Die Antwort wurde vorzeitig abgebrochen.</translation>
    </message>
    <message>
        <location filename="../../services/net/RequestPolicy.cpp" line="183"/>
        <source>no answer from the server</source>
        <translation>keine Antwort vom Server</translation>
    </message>
</context>
<context>
    <name>NotificationService</name>
    <message>
        <location filename="../../ui/tray/NotificationService.cpp" line="325"/>
        <source>Test reminder</source>
        <translation>Testerinnerung</translation>
    </message>
    <message>
        <location filename="../../ui/tray/NotificationService.cpp" line="326"/>
        <source>If you can see this, your desktop notifications are wired up correctly. Real reminders look just like this one.</source>
        <translation>Wenn Sie dies sehen, sind Ihre Desktop-Benachrichtigungen richtig eingerichtet. Echte Erinnerungen sehen genauso aus.</translation>
    </message>
</context>
<context>
    <name>OAuth::LoopbackAuthService</name>
    <message>
        <location filename="../../services/oauth/LoopbackAuthService.cpp" line="202"/>
        <source>Sign-in cancelled.</source>
        <translation>Anmeldung abgebrochen.</translation>
    </message>
    <message>
        <location filename="../../services/oauth/LoopbackAuthService.cpp" line="279"/>
        <source>Token exchange failed (HTTP %1): %2</source>
        <translation>Tokenaustausch fehlgeschlagen (HTTP %1): %2</translation>
    </message>
    <message>
        <location filename="../../services/oauth/LoopbackAuthService.cpp" line="316"/>
        <source>Token refresh failed (HTTP %1): %2</source>
        <translation>Tokenaktualisierung fehlgeschlagen (HTTP %1): %2</translation>
    </message>
</context>
<context>
    <name>PreferencesDialog</name>
    <message>
        <source>The preferences could not be saved (%1).</source>
        <translation>Die Einstellungen konnten nicht gespeichert werden (%1).</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="34"/>
        <source>Close to the system tray</source>
        <translation>Beim Schließen in den Infobereich minimieren</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="35"/>
        <source>Start minimised</source>
        <translation>Minimiert starten</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="36"/>
        <source>Launch at login</source>
        <translation>Bei der Anmeldung starten</translation>
    </message>
    <message>
        <source>Another program is writing to the calendar, so the preferences were not saved. Press OK again once it is done.</source>
        <translation>Ein anderes Programm schreibt gerade in den Kalender, daher wurden die Einstellungen nicht gespeichert. Klicken Sie erneut auf OK, sobald es fertig ist.</translation>
    </message>
    <message>
        <source>The preferences could not be saved.</source>
        <translation>Die Einstellungen konnten nicht gespeichert werden.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="39"/>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="105"/>
        <source>Preferences</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="42"/>
        <source>System</source>
        <translation>System</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="43"/>
        <source>Light</source>
        <translation>Hell</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="44"/>
        <source>Dark</source>
        <translation>Dunkel</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="47"/>
        <source>Default</source>
        <translation>Standard</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="50"/>
        <source>Choose…</source>
        <translation>Auswählen…</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="67"/>
        <source>12-hour (1:30 PM)</source>
        <translation>12 Stunden (1:30 PM)</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="68"/>
        <source>24-hour (13:30)</source>
        <translation>24 Stunden (13:30)</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="71"/>
        <source>As the system&apos;s region</source>
        <translation>Wie in der Systemregion</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="92"/>
        <source>Theme:</source>
        <translation>Design:</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="93"/>
        <source>Accent colour:</source>
        <translation>Akzentfarbe:</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="94"/>
        <source>Font size:</source>
        <translation>Schriftgröße:</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="95"/>
        <source>Time format:</source>
        <translation>Zeitformat:</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="96"/>
        <source>First day of week:</source>
        <translation>Erster Wochentag:</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="106"/>
        <source>The launch-at-login entry could not be changed.</source>
        <translation>Der Autostart-Eintrag konnte nicht geändert werden.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="80"/>
        <source>Configure location and units…</source>
        <translation>Ort und Einheiten festlegen…</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="97"/>
        <source>Weather:</source>
        <translation>Wetter:</translation>
    </message>
</context>
<context>
    <name>ProviderSignIn</name>
    <message>
        <location filename="../../ui/dialogs/ProviderSignIn.cpp" line="25"/>
        <source>Google sign-in</source>
        <translation>Google-Anmeldung</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/ProviderSignIn.cpp" line="26"/>
        <source>Microsoft sign-in</source>
        <translation>Microsoft-Anmeldung</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/ProviderSignIn.cpp" line="36"/>
        <source>Finish signing in in your browser. This window closes by itself when you are done.</source>
        <translation>Schließen Sie die Anmeldung in Ihrem Browser ab. Dieses Fenster schließt sich danach von selbst.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/ProviderSignIn.cpp" line="86"/>
        <source>The account could not be saved.</source>
        <translation>Das Konto konnte nicht gespeichert werden.</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <location filename="../../model/DateText.cpp" line="41"/>
        <source>Today at %1</source>
        <translation>Heute um %1</translation>
    </message>
    <message>
        <location filename="../../core/ReminderRound.cpp" line="86"/>
        <source>Starting now (%1)</source>
        <translation>Beginnt jetzt (%1)</translation>
    </message>
    <message>
        <location filename="../../core/ReminderRound.cpp" line="90"/>
        <source>In %1h (%2)</source>
        <translation>In %1 Std. (%2)</translation>
    </message>
    <message>
        <source>In %1h %2min (%3)</source>
        <translation>In %1 Std. %2 Min. (%3)</translation>
    </message>
    <message>
        <source>Started at %1</source>
        <translation>Hat um %1 begonnen</translation>
    </message>
    <message>
        <location filename="../../core/ReminderRound.cpp" line="92"/>
        <source>Tomorrow at %1</source>
        <translation>Morgen um %1</translation>
    </message>
    <message>
        <location filename="../../core/ReminderRound.cpp" line="101"/>
        <source>Due soon</source>
        <translation>Bald fällig</translation>
    </message>
    <message>
        <location filename="../../core/ReminderRound.cpp" line="101"/>
        <source>Due today</source>
        <translation>Heute fällig</translation>
    </message>
    <message>
        <location filename="../../core/ReminderRound.cpp" line="102"/>
        <source>Due soon (%1)</source>
        <translation>Bald fällig (%1)</translation>
    </message>
    <message>
        <location filename="../../core/ReminderRound.cpp" line="103"/>
        <source>Due now (%1)</source>
        <translation>Jetzt fällig (%1)</translation>
    </message>
    <message>
        <location filename="../../core/ReminderRound.cpp" line="108"/>
        <source>Reminder</source>
        <translation>Erinnerung</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="74"/>
        <source>Larkspindle Calendar — Last sync failed</source>
        <translation>Larkspindle Calendar — Letzte Synchronisierung fehlgeschlagen</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="75"/>
        <source>Larkspindle Calendar — Sync failed: %1</source>
        <translation>Larkspindle Calendar — Synchronisierung fehlgeschlagen: %1</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="78"/>
        <source>Larkspindle Calendar — No upcoming events</source>
        <translation>Larkspindle Calendar — Keine anstehenden Termine</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="80"/>
        <source>Untitled</source>
        <translation>Ohne Titel</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="88"/>
        <source>today</source>
        <translation>heute</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="90"/>
        <source>tomorrow</source>
        <translation>morgen</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="91"/>
        <source>Larkspindle Calendar — Next: %1 (%2, all day)</source>
        <translation>Larkspindle Calendar — Als Nächstes: %1 (%2, ganztägig)</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="96"/>
        <source>at %1</source>
        <translation>um %1</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="98"/>
        <source>tomorrow at %1</source>
        <translation>morgen um %1</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="100"/>
        <source>%1 %2</source>
        <translation>%1 %2</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="101"/>
        <source>Larkspindle Calendar — Next: %1 %2</source>
        <translation>Larkspindle Calendar — Als Nächstes: %1 %2</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="29"/>
        <source>Repeats daily</source>
        <translation>Täglich</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="30"/>
        <source>Every %1 days</source>
        <translation>Alle %1 Tage</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="32"/>
        <source>Repeats weekly</source>
        <translation>Wöchentlich</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="33"/>
        <source>Every %1 weeks</source>
        <translation>Alle %1 Wochen</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="35"/>
        <source>Repeats monthly</source>
        <translation>Monatlich</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="36"/>
        <source>Every %1 months</source>
        <translation>Alle %1 Monate</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="38"/>
        <source>Repeats yearly</source>
        <translation>Jährlich</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="39"/>
        <source>Every %1 years</source>
        <translation>Alle %1 Jahre</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="40"/>
        <source>Repeats</source>
        <translation>Wiederholt sich</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="100"/>
        <source>on the %1 %2</source>
        <translation>am %1 %2</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="105"/>
        <source>on the %1</source>
        <translation>am %1</translation>
    </message>
    <message numerus="yes">
        <location filename="../../model/RruleFormat.cpp" line="111"/>
        <source>%n time(s)</source>
        <translation>
            <numerusform>%n-mal</numerusform>
            <numerusform>%n-mal</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="119"/>
        <source>until %1</source>
        <translation>bis %1</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="127"/>
        <source>At time of event</source>
        <translation>Zum Zeitpunkt des Termins</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="129"/>
        <source>%1 min before</source>
        <translation>%1 Min. vorher</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="143"/>
        <source>Mon</source>
        <comment>RruleFormat</comment>
        <translation>Mo</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="145"/>
        <source>Tue</source>
        <comment>RruleFormat</comment>
        <translation>Di</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="147"/>
        <source>Wed</source>
        <comment>RruleFormat</comment>
        <translation>Mi</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="149"/>
        <source>Thu</source>
        <comment>RruleFormat</comment>
        <translation>Do</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="151"/>
        <source>Fri</source>
        <comment>RruleFormat</comment>
        <translation>Fr</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="153"/>
        <source>Sat</source>
        <comment>RruleFormat</comment>
        <translation>Sa</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="155"/>
        <source>Sun</source>
        <comment>RruleFormat</comment>
        <translation>So</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="164"/>
        <location filename="../../model/RruleFormat.cpp" line="173"/>
        <source>%1th</source>
        <translation>%1.</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="167"/>
        <source>%1st</source>
        <translation>%1.</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="169"/>
        <source>%1nd</source>
        <translation>%1.</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="171"/>
        <source>%1rd</source>
        <translation>%1.</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="181"/>
        <source>second-to-last</source>
        <translation>vorletzten</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="183"/>
        <source>last</source>
        <translation>letzten</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="185"/>
        <source>first</source>
        <translation>ersten</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="187"/>
        <source>second</source>
        <translation>zweiten</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="189"/>
        <source>third</source>
        <translation>dritten</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="191"/>
        <source>fourth</source>
        <translation>vierten</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="193"/>
        <source>fifth</source>
        <translation>fünften</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="200"/>
        <source>%1th-from-last</source>
        <translation>%1.-letzten</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateFlows.cpp" line="52"/>
        <source>No release notes available for %1 %2</source>
        <translation>Keine Versionshinweise für %1 %2 verfügbar</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateFlows.cpp" line="93"/>
        <source>Checking for updates…</source>
        <translation>Suche nach Updates…</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateFlows.cpp" line="106"/>
        <source>%1 is up to date (version %2)</source>
        <translation>%1 ist auf dem neuesten Stand (Version %2)</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateFlows.cpp" line="110"/>
        <source>Update check failed: %1</source>
        <translation>Suche nach Updates fehlgeschlagen: %1</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateFlows.cpp" line="121"/>
        <source>Loading release notes…</source>
        <translation>Versionshinweise werden geladen…</translation>
    </message>
    <message numerus="yes">
        <location filename="../../model/RruleFormat.cpp" line="131"/>
        <source>%n hour(s) before</source>
        <translation>
            <numerusform>%n Stunde vorher</numerusform>
            <numerusform>%n Stunden vorher</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location filename="../../model/RruleFormat.cpp" line="132"/>
        <source>%n day(s) before</source>
        <translation>
            <numerusform>%n Tag vorher</numerusform>
            <numerusform>%n Tage vorher</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location filename="../../core/ReminderRound.cpp" line="88"/>
        <source>In %n minute(s) (%1)</source>
        <translation>
            <numerusform>In %n Minute (%1)</numerusform>
            <numerusform>In %n Minuten (%1)</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Sync::CalendarSyncClient</name>
    <message>
        <location filename="../../core/sync/CalendarSyncClient.cpp" line="27"/>
        <source>Parent account missing</source>
        <translation>Übergeordnetes Konto fehlt</translation>
    </message>
    <message>
        <location filename="../../core/sync/CalendarSyncClient.cpp" line="33"/>
        <source>Sync is not available for this calendar&apos;s account.</source>
        <translation>Für das Konto dieses Kalenders ist keine Synchronisierung verfügbar.</translation>
    </message>
</context>
<context>
    <name>Sync::PageChain</name>
    <message numerus="yes">
        <source>%1 sent a listing that never ends (a page came again, or more than %Ln page(s)); it was stopped.</source>
        <translation>
            <numerusform>%1 hat eine Auflistung ohne Ende gesendet (eine Seite kam erneut oder mehr als %Ln Seite); sie wurde angehalten.</numerusform>
            <numerusform>%1 hat eine Auflistung ohne Ende gesendet (eine Seite kam erneut oder mehr als %Ln Seiten); sie wurde angehalten.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Sync::SyncCoordinator</name>
    <message>
        <location filename="../../core/sync/SyncCoordinator.cpp" line="105"/>
        <source>Sync finished.</source>
        <translation>Synchronisierung abgeschlossen.</translation>
    </message>
    <message>
        <location filename="../../core/sync/SyncCoordinator.cpp" line="113"/>
        <location filename="../../core/sync/SyncCoordinator.cpp" line="127"/>
        <source>Sync failed: %1</source>
        <translation>Synchronisierung fehlgeschlagen: %1</translation>
    </message>
    <message numerus="yes">
        <location filename="../../core/sync/SyncCoordinator.cpp" line="104"/>
        <location filename="../../core/sync/SyncCoordinator.cpp" line="125"/>
        <source>Synced %Ln event(s)</source>
        <translation>
            <numerusform>%Ln Termin synchronisiert</numerusform>
            <numerusform>%Ln Termine synchronisiert</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../core/sync/SyncCoordinator.cpp" line="140"/>
        <source>The server did not answer for too long; the sync stopped and is tried again later.</source>
        <translation>Der Server hat zu lange nicht geantwortet; die Synchronisierung wurde beendet und später erneut versucht.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was not synced: an import into it is not over yet. It is synced once the import has ended.</source>
        <translation>„%1“ wurde nicht synchronisiert: Ein Import in diesen Kalender ist noch nicht abgeschlossen. Er wird synchronisiert, sobald der Import beendet ist.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was not synced: another sync of it was under way. It is synced once that one has ended.</source>
        <translation>„%1“ wurde nicht synchronisiert: Eine andere Synchronisierung dieses Kalenders lief bereits. Er wird synchronisiert, sobald diese beendet ist.</translation>
    </message>
    <message>
        <source>%1 waits until %2, as its server asked; it is synced then.</source>
        <translation>%1 wartet bis %2, wie sein Server es verlangt hat; dann wird synchronisiert.</translation>
    </message>
</context>
<context>
    <name>Sync::SyncEngine</name>
    <message>
        <location filename="../../core/sync/SyncEngine.cpp" line="143"/>
        <source>The calendar &quot;%1&quot; could not be added on this device.</source>
        <translation>Der Kalender „%1“ konnte auf diesem Gerät nicht hinzugefügt werden.</translation>
    </message>
    <message numerus="yes">
        <source>The changes of &quot;%1&quot; never end (a page came again, or more than %Ln page(s)); the sync stopped.</source>
        <translation>
            <numerusform>Die Änderungen von „%1“ enden nie (eine Seite kam erneut oder mehr als %Ln Seite); die Synchronisierung wurde angehalten.</numerusform>
            <numerusform>Die Änderungen von „%1“ enden nie (eine Seite kam erneut oder mehr als %Ln Seiten); die Synchronisierung wurde angehalten.</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../core/sync/SyncEngine.cpp" line="244"/>
        <source>Changes to &quot;%1&quot; could not be saved on this device; they are fetched again at the next sync.</source>
        <translation>Änderungen an „%1“ konnten auf diesem Gerät nicht gespeichert werden; sie werden bei der nächsten Synchronisierung erneut abgerufen.</translation>
    </message>
</context>
<context>
    <name>Sync::SyncProvider</name>
    <message>
        <location filename="../../core/sync/SyncEngine.cpp" line="615"/>
        <source>This source keeps no tasks.</source>
        <translation>Diese Quelle führt keine Aufgaben.</translation>
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
        <translation>Google Kalender</translation>
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
        <translation>Kalender-Abonnements</translation>
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
            <numerusform>%n Konto wird synchronisiert…</numerusform>
            <numerusform>%n Konten werden synchronisiert…</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../core/sync/SyncNowReport.cpp" line="52"/>
        <source>No account to sync.</source>
        <translation>Kein Konto zum Synchronisieren.</translation>
    </message>
    <message>
        <location filename="../../core/sync/SyncNowReport.cpp" line="54"/>
        <source>Sync is not available yet for %1.</source>
        <translation>Die Synchronisierung ist für %1 noch nicht verfügbar.</translation>
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
        <translation>Kalender &amp;anzeigen</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="139"/>
        <source>Sync &amp;Now</source>
        <translation>Jetzt &amp;synchronisieren</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="142"/>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
</context>
<context>
    <name>Weather::GeocodingClient</name>
    <message>
        <location filename="../../services/weather/GeocodingClient.cpp" line="52"/>
        <source>Geocoding returned HTTP %1</source>
        <translation>Die Ortssuche meldete HTTP %1</translation>
    </message>
</context>
<context>
    <name>Weather::Service</name>
    <message>
        <location filename="../../services/weather/WeatherService.cpp" line="102"/>
        <source>Open-Meteo returned HTTP %1</source>
        <translation>Open-Meteo hat HTTP %1 zurückgegeben</translation>
    </message>
</context>
<context>
    <name>WeatherSettingsDialog</name>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="33"/>
        <source>Weather</source>
        <translation>Wetter</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="37"/>
        <source>Show weather alongside your calendar. Forecast comes from Open-Meteo (free, no signup). Search for a city below to set the location.</source>
        <translation>Zeigt das Wetter neben Ihrem Kalender. Die Vorhersage kommt von Open-Meteo (kostenlos, ohne Anmeldung). Suchen Sie unten nach einer Stadt, um den Ort festzulegen.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="44"/>
        <source>Enable weather</source>
        <translation>Wetter anzeigen</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="50"/>
        <source>City name or postal code</source>
        <translation>Stadtname oder Postleitzahl</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="51"/>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="143"/>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="70"/>
        <source>No location set.</source>
        <translation>Kein Ort festgelegt.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="71"/>
        <source>Current location: %1</source>
        <translation>Aktueller Ort: %1</translation>
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
        <translation>&amp;Stadt:</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="88"/>
        <source>&amp;Units:</source>
        <translation>&amp;Einheiten:</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="93"/>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="126"/>
        <source>Searching…</source>
        <translation>Suche läuft…</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="168"/>
        <source>No matches found.</source>
        <translation>Keine Treffer gefunden.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="183"/>
        <source>Search failed: %1</source>
        <translation>Suche fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>Another program is writing to the calendar, so the weather settings were not saved. Press Save again once it is done.</source>
        <translation>Ein anderes Programm schreibt gerade in den Kalender, daher wurden die Wettereinstellungen nicht gespeichert. Klicken Sie erneut auf Speichern, sobald es fertig ist.</translation>
    </message>
    <message>
        <source>The weather settings could not be saved.</source>
        <translation>Die Wettereinstellungen konnten nicht gespeichert werden.</translation>
    </message>
</context>
<context>
    <name>WinTrayPopover</name>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="49"/>
        <source>now</source>
        <translation>jetzt</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="51"/>
        <source>in %1 min</source>
        <translation>in %1 Min.</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="55"/>
        <source>in %1h %2m</source>
        <translation>in %1 Std. %2 Min.</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="56"/>
        <source>in %1h</source>
        <translation>in %1 Std.</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="75"/>
        <source>Today, all day</source>
        <translation>Heute, ganztägig</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="76"/>
        <source>Tomorrow, all day</source>
        <translation>Morgen, ganztägig</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="77"/>
        <source>%1 at %2</source>
        <translation>%1 um %2</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="78"/>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="392"/>
        <source>Today</source>
        <translation>Heute</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="78"/>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="397"/>
        <source>Tomorrow</source>
        <translation>Morgen</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="91"/>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="438"/>
        <source>All-day</source>
        <translation>Ganztägig</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="145"/>
        <source>Open Calendar</source>
        <translation>Kalender öffnen</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="146"/>
        <source>Sync Now</source>
        <translation>Jetzt synchronisieren</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="183"/>
        <source>Add event — e.g. &quot;lunch Thursday 1pm&quot;</source>
        <translation>Termin hinzufügen – z. B. &quot;lunch Thursday 1pm&quot;</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="196"/>
        <source>Preferences</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="209"/>
        <source>Group</source>
        <translation>Gruppe</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="349"/>
        <source>No calendars yet</source>
        <translation>Noch keine Kalender</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="368"/>
        <source>No upcoming events</source>
        <translation>Keine anstehenden Termine</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="369"/>
        <source>Nothing scheduled in the next 24 hours.</source>
        <translation>In den nächsten 24 Stunden ist nichts geplant.</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="374"/>
        <source>Untitled</source>
        <translation>Ohne Titel</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="396"/>
        <source>  No more events today</source>
        <translation>  Heute keine weiteren Termine</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="401"/>
        <source>  Nothing scheduled</source>
        <translation>  Nichts geplant</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="462"/>
        <source>(Unnamed)</source>
        <translation>(Ohne Namen)</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="517"/>
        <source>Couldn&apos;t save event</source>
        <translation>Termin konnte nicht gespeichert werden</translation>
    </message>
    <message>
        <source>Task without a date</source>
        <translation>Aufgabe ohne Datum</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="466"/>
        <source>All Calendars</source>
        <translation>Alle Kalender</translation>
    </message>
</context>
<context>
    <name>Store</name>
    <message>
        <source>the disk that holds the calendar is full</source>
        <translation>der Datenträger mit dem Kalender ist voll</translation>
    </message>
</context>
</TS>
