<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr" sourcelanguage="en">
<context>
    <name>AboutDialog</name>
    <message>
        <location filename="../../ui/dialogs/AboutDialog.cpp" line="29"/>
        <source>About %1</source>
        <translation>À propos de %1</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AboutDialog.cpp" line="39"/>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AboutDialog.cpp" line="42"/>
        <source>Calendars, events and tasks on your desktop, in step with your accounts.</source>
        <translation>Vos agendas, événements et tâches sur votre bureau, synchronisés avec vos comptes.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AboutDialog.cpp" line="53"/>
        <source>This program carries these fonts and icons under their own licences:</source>
        <translation>Ce programme contient ces polices et icônes sous leurs propres licences :</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AboutDialog.cpp" line="67"/>
        <source>The fonts IBM Plex Sans and IBM Plex Mono, under the SIL Open Font License 1.1.</source>
        <translation>Les polices IBM Plex Sans et IBM Plex Mono, sous la SIL Open Font License 1.1.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AboutDialog.cpp" line="70"/>
        <source>The icon font Material Icons, under the Apache License 2.0.</source>
        <translation>La police d’icônes Material Icons, sous l’Apache License 2.0.</translation>
    </message>
</context>
<context>
    <name>AccountsCalendarsDialog</name>
    <message>
        <source>The calendar &quot;%1&quot; could not be added (%2).</source>
        <translation>L’agenda « %1 » n’a pas pu être ajouté (%2).</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="33"/>
        <source>Accounts and Calendars</source>
        <translation>Comptes et calendriers</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="40"/>
        <source>New calendar on this device</source>
        <translation>Nouveau calendrier sur cet appareil</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="42"/>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="144"/>
        <source>Add Calendar</source>
        <translation>Ajouter un calendrier</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="127"/>
        <source>%1 (read-only)</source>
        <translation>%1 (lecture seule)</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="145"/>
        <source>The calendar &quot;%1&quot; could not be added.</source>
        <translation>Impossible d’ajouter le calendrier « %1 ».</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="155"/>
        <source>On This Device</source>
        <translation>Sur cet appareil</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="65"/>
        <source>Add Google account…</source>
        <translation>Ajouter un compte Google…</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="67"/>
        <source>Add Microsoft account…</source>
        <translation>Ajouter un compte Microsoft…</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="72"/>
        <source>Share…</source>
        <translation>Partager…</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="74"/>
        <source>Move to the Cloud</source>
        <translation>Déplacer vers le cloud</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="189"/>
        <source>Sign in to your Larkspindle account first.</source>
        <translation>Connectez-vous d’abord à votre compte Larkspindle.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="240"/>
        <source>&quot;%1&quot; is now in the cloud.</source>
        <translation>« %1 » est maintenant dans le cloud.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="250"/>
        <source>Moving to the cloud failed: %1</source>
        <translation>Échec du déplacement vers le cloud : %1</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="255"/>
        <source>Moving &quot;%1&quot; to the cloud…</source>
        <translation>Déplacement de « %1 » vers le cloud…</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="267"/>
        <source>Share Calendar</source>
        <translation>Partager le calendrier</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="268"/>
        <source>Sharing: %1</source>
        <translation>Partage : %1</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="269"/>
        <source>People you share with see the same events and changes you do. Sharing doesn&apos;t merge calendars; they keep their own calendar list.</source>
        <translation>Les personnes avec qui vous partagez voient les mêmes événements et modifications que vous. Le partage ne fusionne pas les calendriers ; chacun garde sa propre liste de calendriers.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="271"/>
        <source>Shared with</source>
        <translation>Partagé avec</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="272"/>
        <source>Add people</source>
        <translation>Ajouter des personnes</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="273"/>
        <source>Not shared with anyone yet.</source>
        <translation>Partagé avec personne pour l’instant.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="274"/>
        <source>Add family members or teammates to your Larkspindle group first, then come back here to share calendars with them.</source>
        <translation>Ajoutez d’abord des membres de votre famille ou de votre équipe à votre groupe Larkspindle, puis revenez ici pour partager des calendriers avec eux.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="276"/>
        <source>Everyone in your group already has access</source>
        <translation>Tous les membres de votre groupe ont déjà accès</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="277"/>
        <source>Share</source>
        <translation>Partager</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="278"/>
        <source>Remove access</source>
        <translation>Retirer l’accès</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="279"/>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="281"/>
        <source>Couldn&apos;t share calendar</source>
        <translation>Impossible de partager le calendrier</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="282"/>
        <source>Couldn&apos;t remove person</source>
        <translation>Impossible de retirer la personne</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="283"/>
        <source>Stop sharing?</source>
        <translation>Arrêter le partage ?</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="284"/>
        <source>%1 will no longer see this calendar&apos;s events on any of their devices. Continue?</source>
        <translation>%1 ne verra plus les événements de ce calendrier sur aucun de ses appareils. Continuer ?</translation>
    </message>
    <message numerus="yes">
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="231"/>
        <source>Moving to the cloud: %L1 of %Ln item(s) sent.</source>
        <translation>
            <numerusform>Déplacement vers le cloud : %L1 sur %Ln élément envoyé.</numerusform>
            <numerusform>Déplacement vers le cloud : %L1 sur %Ln éléments envoyés.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Application</name>
    <message>
        <source>The quick add &quot;%1&quot; is kept: it is added once Larkspindle Calendar starts, also if you quit now.</source>
        <translation>L’ajout rapide « %1 » est conservé : il sera ajouté dès que Larkspindle Calendar démarre, même si vous quittez maintenant.</translation>
    </message>
    <message>
        <source>it could not be saved to disk</source>
        <translation>il n’a pas pu être enregistré sur le disque</translation>
    </message>
    <message>
        <source>Quick Add Not Saved</source>
        <translation>Ajout rapide non enregistré</translation>
    </message>
    <message>
        <source>The quick add &quot;%1&quot; could not be saved (%2). If Larkspindle Calendar ends now, it is lost.

End without it? Choose No to wait on.</source>
        <translation>L’ajout rapide « %1 » n’a pas pu être enregistré (%2). Si Larkspindle Calendar se termine maintenant, il est perdu.

Terminer sans lui ? Choisissez Non pour continuer d’attendre.</translation>
    </message>
    <message>
        <location filename="../../app/Application.cpp" line="146"/>
        <source>Database Error</source>
        <translation>Erreur de base de données</translation>
    </message>
    <message>
        <location filename="../../app/Application.cpp" line="153"/>
        <source>Larkspindle Calendar Is Running</source>
        <translation>Larkspindle Calendar est déjà ouvert</translation>
    </message>
    <message>
        <location filename="../../app/Application.cpp" line="154"/>
        <source>Larkspindle Calendar is already running with this data folder (process %1), perhaps in another session of yours. Close it there, then start it here again.

Data directory: %2</source>
        <translation>Larkspindle Calendar est déjà ouvert avec ce dossier de données (processus %1), peut-être dans une autre de vos sessions. Fermez-le là-bas, puis relancez-le ici.

Dossier de données : %2</translation>
    </message>
    <message>
        <location filename="../../app/Application.cpp" line="1"/>
        <source>Larkspindle Calendar is already running with this data folder, perhaps in another session of yours. Close it there, then start it here again.

Data directory: %1</source>
        <translation>Larkspindle Calendar est déjà en cours d’exécution avec ce dossier de données, peut-être dans une autre de vos sessions. Fermez-le là-bas, puis relancez-le ici.

Dossier de données : %1</translation>
    </message>
    <message>
        <location filename="../../app/Application.cpp" line="1"/>
        <source>Data Folder Cannot Be Locked</source>
        <translation>Impossible de verrouiller le dossier de données</translation>
    </message>
    <message>
        <location filename="../../app/Application.cpp" line="1"/>
        <source>The lock file %1 is a folder, so no copy of Larkspindle Calendar can take this data folder. Remove that folder, then start Larkspindle Calendar again.</source>
        <translation>Le fichier de verrou %1 est un dossier : aucune copie de Larkspindle Calendar ne peut donc prendre ce dossier de données. Supprimez ce dossier, puis relancez Larkspindle Calendar.</translation>
    </message>
    <message>
        <location filename="../../app/Application.cpp" line="1"/>
        <source>The lock file %1 cannot be read. If Larkspindle Calendar is not running in another session of yours, remove the file, then start it again.</source>
        <translation>Le fichier de verrou %1 est illisible. Si Larkspindle Calendar ne s’exécute pas dans une autre de vos sessions, supprimez ce fichier, puis relancez-le.</translation>
    </message>
    <message>
        <location filename="../../app/Application.cpp" line="1"/>
        <source>Neither the data folder nor its database can be locked (%1), so another copy of Larkspindle Calendar could change the same calendar at the same time.

Data directory: %2

Please check file permissions and try again.</source>
        <translation>Ni le dossier de données ni sa base de données ne peuvent être verrouillés (%1) : une autre copie de Larkspindle Calendar pourrait donc modifier le même calendrier en même temps.

Dossier de données : %2

Vérifiez les autorisations des fichiers et réessayez.</translation>
    </message>
    <message>
        <source>Data Folder Cannot Be Made</source>
        <translation>Impossible de créer le dossier de données</translation>
    </message>
    <message>
        <source>The data folder cannot be made (%1).

Data directory: %2

Please check that no file stands in its path and that you may write there, then start Larkspindle Calendar again.</source>
        <translation>Impossible de créer le dossier de données (%1).

Dossier de données : %2

Vérifiez qu’aucun fichier ne se trouve sur son chemin et que vous pouvez y écrire, puis relancez Larkspindle Calendar.</translation>
    </message>
    <message>
        <source>The database cannot be opened for writing (%1), so Larkspindle Calendar cannot start.

Data directory: %2</source>
        <translation>Impossible d’ouvrir la base de données en écriture (%1) : Larkspindle Calendar ne peut donc pas démarrer.

Dossier de données : %2</translation>
    </message>
    <message>
        <source>Link in the Data Folder</source>
        <translation>Lien dans le dossier de données</translation>
    </message>
    <message>
        <source>%1 is a link. Larkspindle Calendar keeps its own files in its data folder and does not write through links. Put the file itself there or remove the link, then start Larkspindle Calendar again.</source>
        <translation>%1 est un lien. Larkspindle Calendar garde ses propres fichiers dans son dossier de données et n’écrit pas à travers des liens. Placez-y le fichier lui-même ou supprimez le lien, puis relancez Larkspindle Calendar.</translation>
    </message>
    <message>
        <source>Larkspindle Calendar Is Starting</source>
        <translation>Larkspindle Calendar démarre</translation>
    </message>
    <message>
        <source>Larkspindle Calendar is already running or still starting with this data folder. This start hands its command over as soon as it answers.</source>
        <translation>Larkspindle Calendar est déjà ouvert ou encore en train de démarrer avec ce dossier de données. Ce lancement lui transmet sa commande dès qu’il répond.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Waiting for Another Program</source>
        <translation>En attente d’un autre programme</translation>
    </message>
    <message>
        <source>Another program is writing to the calendar. Larkspindle Calendar starts as soon as it is done.</source>
        <translation>Un autre programme écrit dans le calendrier. Larkspindle Calendar démarre dès qu’il a terminé.</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>Quick-Add Lines Not Saved</source>
        <translation>Saisies rapides non enregistrées</translation>
    </message>
    <message numerus="yes">
        <source>Another program is still writing to the calendar, and %n quick-add line(s) could not be saved to disk. If Larkspindle Calendar ends now, they are lost.

End without them? Choose No to try again.</source>
        <translation>
            <numerusform>Un autre programme écrit encore dans le calendrier, et %n saisie rapide n’a pas pu être enregistrée sur le disque. Si Larkspindle Calendar se ferme maintenant, elle sera perdue.

Fermer sans elle ? Choisissez Non pour réessayer.</numerusform>
            <numerusform>Un autre programme écrit encore dans le calendrier, et %n saisies rapides n’ont pas pu être enregistrées sur le disque. Si Larkspindle Calendar se ferme maintenant, elles seront perdues.

Fermer sans elles ? Choisissez Non pour réessayer.</numerusform>
        </translation>
    </message>
    <message>
        <source>Adding Quick-Add Lines</source>
        <translation>Ajout des saisies rapides</translation>
    </message>
    <message numerus="yes">
        <source>Another program is writing to the calendar. Larkspindle Calendar adds %n waiting quick-add line(s) as soon as it is done, then ends.</source>
        <translation>
            <numerusform>Un autre programme écrit dans le calendrier. Larkspindle Calendar ajoutera %n saisie rapide en attente dès qu’il aura terminé, puis se fermera.</numerusform>
            <numerusform>Un autre programme écrit dans le calendrier. Larkspindle Calendar ajoutera %n saisies rapides en attente dès qu’il aura terminé, puis se fermera.</numerusform>
        </translation>
    </message>
    <message>
        <source>End Now</source>
        <translation>Quitter maintenant</translation>
    </message>
</context>
<context>
    <name>CalDavClient</name>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="177"/>
        <source>The server&apos;s certificate does not match the trusted certificate.</source>
        <translation>Le certificat du serveur ne correspond pas au certificat approuvé.</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="179"/>
        <source>The server&apos;s certificate is not trusted.</source>
        <translation>Le certificat du serveur n’est pas approuvé.</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="183"/>
        <source>The server did not answer in time.</source>
        <translation>Le serveur n’a pas répondu à temps.</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="185"/>
        <source>Could not reach the server: %1</source>
        <translation>Impossible de joindre le serveur : %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="198"/>
        <source>The server redirected too many times.</source>
        <translation>Le serveur a effectué trop de redirections.</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="202"/>
        <source>The server redirected to an address that is not a web address.</source>
        <translation>Le serveur a redirigé vers une adresse qui n’est pas une adresse web.</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="226"/>
        <source>The server did not accept the user name or password.</source>
        <translation>Le serveur n’a pas accepté le nom d’utilisateur ou le mot de passe.</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="227"/>
        <source>The server answered with HTTP status %1.</source>
        <translation>Le serveur a répondu avec le statut HTTP %1.</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="103"/>
        <source>The server address is not valid.</source>
        <translation>L’adresse du serveur n’est pas valide.</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="101"/>
        <source>The server address must start with https://; without encryption the password would travel in the clear.</source>
        <translation>L’adresse du serveur doit commencer par https:// ; sans chiffrement, le mot de passe circulerait en clair.</translation>
    </message>
</context>
<context>
    <name>CalDavDiscovery</name>
    <message>
        <location filename="../../services/sync/caldav/CalDavDiscovery.cpp" line="161"/>
        <source>The server&apos;s reply could not be read.</source>
        <translation>La réponse du serveur n’a pas pu être lue.</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavDiscovery.cpp" line="127"/>
        <source>The server pointed to another server; the password was not sent there.</source>
        <translation>Le serveur a renvoyé vers un autre serveur ; le mot de passe n’y a pas été envoyé.</translation>
    </message>
</context>
<context>
    <name>CalendarPickerDialog</name>
    <message>
        <location filename="../../ui/dialogs/CalendarPickerDialog.cpp" line="20"/>
        <source>Choose Calendar</source>
        <translation>Choisir un calendrier</translation>
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
        <translation>dddd d MMM</translation>
    </message>
    <message>
        <location filename="../../model/DateText.cpp" line="15"/>
        <source>ddd, MMM d</source>
        <comment>date pattern: short weekday, month and day</comment>
        <translation>ddd d MMM</translation>
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
        <translation>d MMM yyyy</translation>
    </message>
</context>
<context>
    <name>DesktopNotifier</name>
    <message>
        <location filename="../../platform/DesktopNotifier.cpp" line="66"/>
        <source>Open</source>
        <translation>Ouvrir</translation>
    </message>
</context>
<context>
    <name>EventDetailsPopover</name>
    <message>
        <location filename="../../ui/dialogs/EventDetailsPopover.cpp" line="59"/>
        <source>(No title)</source>
        <translation>(Sans titre)</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventDetailsPopover.cpp" line="25"/>
        <source>%1, all day</source>
        <translation>%1, toute la journée</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventDetailsPopover.cpp" line="26"/>
        <source>%1 – %2, all day</source>
        <translation>%1 – %2, toute la journée</translation>
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
        <translation>Toute la journée</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="34"/>
        <source>New Event</source>
        <translation>Nouvel événement</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="36"/>
        <source>Title</source>
        <translation>Titre</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="67"/>
        <source>Title:</source>
        <translation>Titre :</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="68"/>
        <source>Starts:</source>
        <translation>Début :</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="69"/>
        <source>Ends:</source>
        <translation>Fin :</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="71"/>
        <source>Calendar:</source>
        <translation>Calendrier :</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="99"/>
        <source>Give the event a title.</source>
        <translation>Donnez un titre à l’événement.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="101"/>
        <source>Choose a calendar.</source>
        <translation>Choisissez un calendrier.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="104"/>
        <source>The event ends before it starts.</source>
        <translation>L’événement se termine avant de commencer.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="135"/>
        <source>The event could not be saved.</source>
        <translation>Impossible d’enregistrer l’événement.</translation>
    </message>
    <message>
        <source>Another program is writing to the calendar, so the event is not saved yet. Keep this window open and save again once it is done.</source>
        <translation>Un autre programme écrit dans le calendrier, l’événement n’est donc pas encore enregistré. Gardez cette fenêtre ouverte et enregistrez de nouveau dès qu’il aura terminé.</translation>
    </message>
</context>
<context>
    <name>Google::AuthService</name>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="83"/>
        <source>Google OAuth credentials are not configured in this build. See .env.example.</source>
        <translation>Les identifiants OAuth de Google ne sont pas configurés dans cette version. Voir .env.example.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="85"/>
        <source>Google OAuth credentials are not configured.</source>
        <translation>Les identifiants OAuth de Google ne sont pas configurés.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="87"/>
        <source>Could not bind a local port for the Google sign-in callback: %1</source>
        <translation>Impossible d’ouvrir un port local pour le retour de la connexion Google : %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="89"/>
        <source>Could not launch the system browser for Google sign-in.</source>
        <translation>Impossible de lancer le navigateur du système pour la connexion Google.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="91"/>
        <source>Google did not return an authorization code.</source>
        <translation>Google n’a pas renvoyé de code d’autorisation.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="93"/>
        <source>Google did not return an access token.</source>
        <translation>Google n’a pas renvoyé de jeton d’accès.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="95"/>
        <source>Google did not return a refresh token. Try removing the app from your Google Account permissions and signing in again.</source>
        <translation>Google n’a pas renvoyé de jeton d’actualisation. Retirez l’application des autorisations de votre compte Google, puis reconnectez-vous.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="98"/>
        <source>Google&apos;s response had no access_token.</source>
        <translation>La réponse de Google ne contenait pas d’access_token.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="105"/>
        <source>Google denied the sign-in: %1</source>
        <translation>Google a refusé la connexion : %1</translation>
    </message>
</context>
<context>
    <name>Google::CalendarClient</name>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="119"/>
        <source>the request timed out</source>
        <translation>la requête a expiré</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="133"/>
        <source>Google could not be reached: %1</source>
        <translation>Impossible de joindre Google : %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="147"/>
        <source>Google rejected calendarList.list (HTTP %1): %2</source>
        <translation>Google a refusé calendarList.list (HTTP %1) : %2</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="149"/>
        <source>Google rejected events.list (HTTP %1): %2</source>
        <translation>Google a refusé events.list (HTTP %1) : %2</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="151"/>
        <source>Google rejected events.insert: %1</source>
        <translation>Google a refusé events.insert : %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="153"/>
        <source>Google rejected events.update: %1</source>
        <translation>Google a refusé events.update : %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="154"/>
        <source>Google rejected events.delete: %1</source>
        <translation>Google a refusé events.delete : %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="201"/>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="232"/>
        <source>No Google access token available.</source>
        <translation>Aucun jeton d’accès Google disponible.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="189"/>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="340"/>
        <source>Google sent a reply that cannot be read.</source>
        <translation>Google a envoyé une réponse illisible.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="327"/>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="352"/>
        <source>No Google access token.</source>
        <translation>Aucun jeton d’accès Google.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="135"/>
        <source>Google asks to wait before the next request.</source>
        <translation>Google demande d’attendre avant la prochaine requête.</translation>
    </message>
</context>
<context>
    <name>Google::GoogleSyncProvider</name>
    <message>
        <location filename="../../services/sync/google/GoogleSyncProvider.cpp" line="49"/>
        <source>No saved Google credentials. Sign in again.</source>
        <translation>Aucun identifiant Google enregistré. Reconnectez-vous.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/GoogleSyncProvider.cpp" line="62"/>
        <source>Google token refresh failed: %1</source>
        <translation>Échec du renouvellement du jeton Google : %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/GoogleSyncProvider.cpp" line="153"/>
        <source>Google sent an event without a start; the changes of this calendar were not saved.</source>
        <translation>Google a envoyé un événement sans début ; les modifications de cet agenda n’ont pas été enregistrées.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/GoogleSyncProvider.cpp" line="175"/>
        <source>Google no longer accepts the calendar&apos;s sync token.</source>
        <translation>Google n’accepte plus le jeton de synchronisation de l’agenda.</translation>
    </message>
    <message numerus="yes">
        <location filename="../../services/sync/google/GoogleSyncProvider.cpp" line="317"/>
        <source>%Ln change(s) could not be sent to Google and will be sent again at the next sync: %1</source>
        <translation>
            <numerusform>%Ln modification n’a pas pu être envoyée à Google et sera renvoyée à la prochaine synchronisation : %1</numerusform>
            <numerusform>%Ln modifications n’ont pas pu être envoyées à Google et seront renvoyées à la prochaine synchronisation : %1</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../services/sync/google/GoogleSyncProvider.cpp" line="325"/>
        <source>&quot;%1&quot; is no longer available at Google; its changes stay on this device.</source>
        <translation>« %1 » n’est plus disponible chez Google ; ses modifications restent sur cet appareil.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/GoogleSyncProvider.cpp" line="193"/>
        <source>The series of &quot;%1&quot; is not in the Google calendar yet; the changed occurrence is sent at a later sync.</source>
        <translation>La série « %1 » n’est pas encore dans le calendrier Google ; l’occurrence modifiée sera envoyée lors d’une prochaine synchronisation.</translation>
    </message>
</context>
<context>
    <name>IcsImport</name>
    <message>
        <location filename="../../core/IcsImport.cpp" line="45"/>
        <source>Import failed: the file %1 could not be read (%2).</source>
        <translation>Échec de l’importation : impossible de lire le fichier %1 (%2).</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="50"/>
        <source>Import failed: the file %1 does not exist.</source>
        <translation>Échec de l’importation : le fichier %1 n’existe pas.</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="53"/>
        <source>Import failed: %1 is not a regular file.</source>
        <translation>Échec de l’importation : %1 n’est pas un fichier ordinaire.</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="54"/>
        <source>Import failed: the file %1 is larger than %2 MB.</source>
        <translation>Échec de l’importation : le fichier %1 dépasse %2 Mo.</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="104"/>
        <location filename="../../core/IcsImport.cpp" line="248"/>
        <source>Import failed: no events found in %1.</source>
        <translation>Échec de l’importation : aucun événement trouvé dans %1.</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="157"/>
        <source>Import failed: the chosen calendar does not exist.</source>
        <translation>Échec de l’importation : l’agenda choisi n’existe pas.</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="162"/>
        <source>Import failed: the calendar &quot;%1&quot; is read-only.</source>
        <translation>Échec de l’importation : l’agenda « %1 » est en lecture seule.</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="170"/>
        <source>Import failed: the events could not be stored (%1).</source>
        <translation>Échec de l’importation : les événements n’ont pas pu être enregistrés (%1).</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="193"/>
        <source>Import failed: the events of %1 could not be stored; nothing was imported.</source>
        <translation>Échec de l’importation : les événements de %1 n’ont pas pu être enregistrés ; rien n’a été importé.</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="193"/>
        <source>Import failed: the disk is full, so nothing was imported.</source>
        <translation>Échec de l’importation : le disque est plein, rien n’a donc été importé.</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="193"/>
        <source>The disk is full.</source>
        <translation>Le disque est plein.</translation>
    </message>
    <message numerus="yes">
        <location filename="../../core/IcsImport.cpp" line="255"/>
        <source>Imported %Ln event(s) from %1.</source>
        <translation>
            <numerusform>%Ln événement importé depuis %1.</numerusform>
            <numerusform>%Ln événements importés depuis %1.</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="143"/>
        <source>Import cancelled; nothing was imported.</source>
        <translation>Importation annulée ; rien n’a été importé.</translation>
    </message>
    <message numerus="yes">
        <location filename="../../core/IcsImport.cpp" line="242"/>
        <source>%Ln event(s) without an identifier or a start were skipped.</source>
        <translation>
            <numerusform>%Ln événement sans identifiant ou sans début a été ignoré.</numerusform>
            <numerusform>%Ln événements sans identifiant ou sans début ont été ignorés.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location filename="../../core/IcsImport.cpp" line="294"/>
        <source>Over-long text in %Ln event(s) was shortened.</source>
        <translation>
            <numerusform>Un texte trop long a été raccourci dans %Ln événement.</numerusform>
            <numerusform>Des textes trop longs ont été raccourcis dans %Ln événements.</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="306"/>
        <source>Import failed, and some of the events it had stored could not be removed again.</source>
        <translation>L’importation a échoué, et certains des événements déjà enregistrés n’ont pas pu être retirés.</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="204"/>
        <source>Import failed: an earlier import has not been taken back.</source>
        <translation>Échec de l’importation : une importation précédente n’a pas encore été retirée.</translation>
    </message>
    <message numerus="yes">
        <location filename="../../core/ImportTakeBack.cpp" line="99"/>
        <source>The import of %1 did not finish in the last run; the %Ln event(s) it had stored have been taken back.</source>
        <translation>
            <numerusform>L’importation de %1 ne s’est pas terminée lors de la dernière exécution ; %Ln événement déjà enregistré a été retiré.</numerusform>
            <numerusform>L’importation de %1 ne s’est pas terminée lors de la dernière exécution ; %Ln événements déjà enregistrés ont été retirés.</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../core/ImportTakeBack.cpp" line="103"/>
        <source>The import of %1 did not finish in the last run; some of the events it had stored could not be taken back yet, and will be at the next start.</source>
        <translation>L’importation de %1 ne s’est pas terminée lors de la dernière exécution ; certains des événements déjà enregistrés n’ont pas encore pu être retirés et le seront au prochain démarrage.</translation>
    </message>
</context>
<context>
    <name>LarkAccount::AccountGroupPage</name>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="40"/>
        <source>Group</source>
        <translation>Groupe</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="66"/>
        <source>No Group</source>
        <translation>Aucun groupe</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="67"/>
        <source>You&apos;re not part of a group. The group owner can invite you, or you can join with an invite code.</source>
        <translation>Vous ne faites partie d’aucun groupe. Le propriétaire du groupe peut vous inviter, ou vous pouvez rejoindre un groupe avec un code d’invitation.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="70"/>
        <source>Join with Invite Code</source>
        <translation>Rejoindre avec un code d’invitation</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="80"/>
        <source>Members</source>
        <translation>Membres</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="97"/>
        <source>Owner</source>
        <translation>Propriétaire</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="104"/>
        <source>Remove</source>
        <translation>Retirer</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="116"/>
        <source>Pending Invitations</source>
        <translation>Invitations en attente</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="123"/>
        <source>Revoke</source>
        <translation>Révoquer</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="134"/>
        <source>Invite Members</source>
        <translation>Inviter des membres</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="135"/>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="201"/>
        <source>Invite by Email</source>
        <translation>Inviter par e-mail</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="136"/>
        <source>Generate Invite Code</source>
        <translation>Générer un code d’invitation</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="141"/>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="189"/>
        <source>Leave Group</source>
        <translation>Quitter le groupe</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="150"/>
        <source>Join Group</source>
        <translation>Rejoindre un groupe</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="150"/>
        <source>Enter invite code:</source>
        <translation>Saisissez le code d’invitation :</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="158"/>
        <source>Invalid or expired invite code.</source>
        <translation>Code d’invitation non valide ou expiré.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="161"/>
        <source>Joined group.</source>
        <translation>Groupe rejoint.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="169"/>
        <source>Remove Member</source>
        <translation>Retirer le membre</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="169"/>
        <source>Remove %1 from the group?</source>
        <translation>Retirer %1 du groupe ?</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="173"/>
        <source>%1 removed.</source>
        <translation>%1 a été retiré(e).</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="173"/>
        <source>Failed to remove %1.</source>
        <translation>Impossible de retirer %1.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="182"/>
        <source>Invitation revoked.</source>
        <translation>Invitation révoquée.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="182"/>
        <source>Failed to revoke invitation.</source>
        <translation>Impossible de révoquer l’invitation.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="190"/>
        <source>Leave this group? You will lose access to shared data.</source>
        <translation>Quitter ce groupe ? Vous perdrez l’accès aux données partagées.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="194"/>
        <source>Left group.</source>
        <translation>Vous avez quitté le groupe.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="194"/>
        <source>Failed to leave group.</source>
        <translation>Impossible de quitter le groupe.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="201"/>
        <source>Email address:</source>
        <translation>Adresse e-mail :</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="210"/>
        <source>Failed to send invitation.</source>
        <translation>Impossible d’envoyer l’invitation.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="213"/>
        <source>Invitation sent.</source>
        <translation>Invitation envoyée.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="225"/>
        <source>Failed to generate code.</source>
        <translation>Impossible de générer le code.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="228"/>
        <source>Invite Code</source>
        <translation>Code d’invitation</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="229"/>
        <source>Share this code with the person you want to invite:</source>
        <translation>Communiquez ce code à la personne que vous souhaitez inviter :</translation>
    </message>
</context>
<context>
    <name>LarkAccount::AccountRows</name>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="24"/>
        <source>Unknown</source>
        <translation>Inconnu</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="27"/>
        <source>Active now</source>
        <translation>Actif maintenant</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="29"/>
        <source>%1m ago</source>
        <translation>il y a %1 min</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="31"/>
        <source>%1h ago</source>
        <translation>il y a %1 h</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="33"/>
        <source>%1d ago</source>
        <translation>il y a %1 j</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="35"/>
        <source>MMM d, yyyy</source>
        <translation>d MMM yyyy</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="43"/>
        <source>Unknown Device</source>
        <translation>Appareil inconnu</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="57"/>
        <source>Unknown client</source>
        <translation>Client inconnu</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="62"/>
        <source>This session</source>
        <translation>Cette session</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="75"/>
        <source>%1 of %2 seats used</source>
        <translation>%1 places sur %2 utilisées</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="89"/>
        <source>Invite code: %1</source>
        <translation>Code d’invitation : %1</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="100"/>
        <source>Password must be at least %1 characters.</source>
        <translation>Le mot de passe doit comporter au moins %1 caractères.</translation>
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
        <translation>Groupe</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="58"/>
        <location filename="../../ui/account/AccountScreen.cpp" line="77"/>
        <source>Devices</source>
        <translation>Appareils</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="58"/>
        <location filename="../../ui/account/AccountScreen.cpp" line="78"/>
        <source>Security</source>
        <translation>Sécurité</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="58"/>
        <location filename="../../ui/account/AccountScreen.cpp" line="210"/>
        <source>Data &amp; Privacy</source>
        <translation>Données &amp; confidentialité</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="158"/>
        <source>Personal Information</source>
        <translation>Informations personnelles</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="174"/>
        <location filename="../../ui/account/AccountScreen.cpp" line="414"/>
        <source>Edit Display Name</source>
        <translation>Modifier le nom d’affichage</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="175"/>
        <source>Sign Out</source>
        <translation>Se déconnecter</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="186"/>
        <source>Password</source>
        <translation>Mot de passe</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="186"/>
        <source>Change your account password.</source>
        <translation>Modifiez le mot de passe de votre compte.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="188"/>
        <location filename="../../ui/account/AccountScreen.cpp" line="435"/>
        <source>Change Password</source>
        <translation>Changer le mot de passe</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="212"/>
        <source>Danger Zone</source>
        <translation>Zone de danger</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="213"/>
        <source>Permanently delete your account. This cannot be undone after 30 days.</source>
        <translation>Supprime définitivement votre compte. Cette action est irréversible après 30 jours.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="214"/>
        <location filename="../../ui/account/AccountScreen.cpp" line="470"/>
        <source>Delete Account</source>
        <translation>Supprimer le compte</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="223"/>
        <source>You are the group owner. Transfer ownership or remove all members before deleting your account.</source>
        <translation>Vous êtes le propriétaire du groupe. Transférez la propriété ou retirez tous les membres avant de supprimer votre compte.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="330"/>
        <source>(not set)</source>
        <translation>(non défini)</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="339"/>
        <source>Registered Devices</source>
        <translation>Appareils enregistrés</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="340"/>
        <source>Devices that have synced with your account.</source>
        <translation>Appareils qui se sont synchronisés avec votre compte.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="342"/>
        <source>No devices registered.</source>
        <translation>Aucun appareil enregistré.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="361"/>
        <source>Remove</source>
        <translation>Retirer</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="375"/>
        <source>Active Sessions</source>
        <translation>Sessions actives</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="376"/>
        <source>Sessions currently signed in to your account.</source>
        <translation>Sessions actuellement connectées à votre compte.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="378"/>
        <source>No active sessions.</source>
        <translation>Aucune session active.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="397"/>
        <source>Current</source>
        <translation>Actuelle</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="402"/>
        <source>Revoke</source>
        <translation>Révoquer</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="414"/>
        <source>Display name:</source>
        <translation>Nom d’affichage :</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="424"/>
        <source>Failed to update profile.</source>
        <translation>Impossible de mettre à jour le profil.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="429"/>
        <source>Display name updated.</source>
        <translation>Nom d’affichage mis à jour.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="436"/>
        <source>Current password:</source>
        <translation>Mot de passe actuel :</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="440"/>
        <source>New password (min %1 characters):</source>
        <translation>Nouveau mot de passe (%1 caractères min.) :</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="449"/>
        <source>Confirm new password:</source>
        <translation>Confirmez le nouveau mot de passe :</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="451"/>
        <source>Passwords do not match.</source>
        <translation>Les mots de passe ne correspondent pas.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="461"/>
        <source>Password changed.</source>
        <translation>Mot de passe modifié.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="463"/>
        <source>Failed to change password.</source>
        <translation>Impossible de modifier le mot de passe.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="471"/>
        <source>This will schedule your account for permanent deletion after 30 days.</source>
        <translation>Votre compte sera programmé pour une suppression définitive dans 30 jours.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="472"/>
        <source>Type %1 to confirm:</source>
        <translation>Saisissez %1 pour confirmer :</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="482"/>
        <source>Failed to delete account.</source>
        <translation>Impossible de supprimer le compte.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="485"/>
        <source>Account Scheduled for Deletion</source>
        <translation>Suppression du compte programmée</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="486"/>
        <source>Your account will be permanently deleted in 30 days. You can recover it by signing in before then.</source>
        <translation>Votre compte sera définitivement supprimé dans 30 jours. Vous pouvez le récupérer en vous connectant d’ici là.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="517"/>
        <source>Remove Device</source>
        <translation>Retirer l’appareil</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="517"/>
        <source>Remove %1?</source>
        <translation>Retirer %1 ?</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="521"/>
        <source>Device removed.</source>
        <translation>Appareil retiré.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="521"/>
        <source>Failed to remove device.</source>
        <translation>Impossible de retirer l’appareil.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="529"/>
        <source>Session revoked.</source>
        <translation>Session révoquée.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="529"/>
        <source>Failed to revoke session.</source>
        <translation>Impossible de révoquer la session.</translation>
    </message>
</context>
<context>
    <name>LarkAccount::ApiClient</name>
    <message>
        <location filename="../../services/account/ApiClient.cpp" line="266"/>
        <source>The server sent a reply that cannot be read.</source>
        <translation>Le serveur a envoyé une réponse illisible.</translation>
    </message>
</context>
<context>
    <name>LarkAccount::AuthClient</name>
    <message>
        <location filename="../../services/account/AuthClient.cpp" line="118"/>
        <source>Cloud sign-in is not configured in this build</source>
        <translation>La connexion au cloud n’est pas configurée dans cette version</translation>
    </message>
    <message>
        <location filename="../../services/account/AuthClient.cpp" line="131"/>
        <source>Failed to start local auth server</source>
        <translation>Impossible de démarrer le serveur d’authentification local</translation>
    </message>
    <message>
        <location filename="../../services/account/AuthClient.cpp" line="154"/>
        <source>No tokens received</source>
        <translation>Aucun jeton reçu</translation>
    </message>
</context>
<context>
    <name>LarkAccount::ShareMembersDialog</name>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="132"/>
        <source>People with access</source>
        <translation>Personnes ayant accès</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="134"/>
        <source>Add people</source>
        <translation>Ajouter des personnes</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="138"/>
        <source>All group members already have access</source>
        <translation>Tous les membres du groupe ont déjà accès</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="148"/>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="233"/>
        <source>Not shared with anyone yet.</source>
        <translation>Partagé avec personne pour l’instant.</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="245"/>
        <source>Remove access</source>
        <translation>Retirer l’accès</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="260"/>
        <source>Share</source>
        <translation>Partager</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="291"/>
        <source>Could not share with %1.</source>
        <translation>Impossible de partager avec %1.</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="307"/>
        <source>Remove access?</source>
        <translation>Retirer l’accès ?</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="308"/>
        <source>%1 will no longer have access. Continue?</source>
        <translation>%1 n’aura plus accès. Continuer ?</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="321"/>
        <source>Could not remove %1.</source>
        <translation>Impossible de retirer %1.</translation>
    </message>
</context>
<context>
    <name>LarkAccount::TokenStore</name>
    <message>
        <location filename="../../platform/TokenStore.cpp" line="130"/>
        <source>The desktop keyring is locked, so the saved sign-in and passwords cannot be used. Unlock the keyring and try again.</source>
        <translation>Le trousseau de clés du bureau est verrouillé : la connexion et les mots de passe enregistrés ne peuvent pas être utilisés. Déverrouillez le trousseau et réessayez.</translation>
    </message>
    <message>
        <location filename="../../platform/TokenStore.cpp" line="135"/>
        <source>The saved sign-in and passwords are kept in the desktop keyring, which does not answer.</source>
        <translation>La connexion et les mots de passe enregistrés se trouvent dans le trousseau de clés du bureau, qui ne répond pas.</translation>
    </message>
</context>
<context>
    <name>LarkUpdate::DialogParts</name>
    <message>
        <source>Page not opened</source>
        <translation>Page non ouverte</translation>
    </message>
    <message>
        <source>The page could not be opened: it has no address.</source>
        <translation>Impossible d’ouvrir la page : elle n’a pas d’adresse.</translation>
    </message>
    <message>
        <source>The page could not be opened in a browser. Its address, to open it yourself:
%1</source>
        <translation>Impossible d’ouvrir la page dans un navigateur. Son adresse, pour l’ouvrir vous-même :
%1</translation>
    </message>
</context>
<context>
    <name>LarkUpdate::UpdateDialog</name>
    <message>
        <location filename="../../ui/update/UpdateDialog.cpp" line="22"/>
        <source>Update available</source>
        <translation>Mise à jour disponible</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateDialog.cpp" line="26"/>
        <source>A new version of %1 is available.</source>
        <translation>Une nouvelle version de %1 est disponible.</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateDialog.cpp" line="29"/>
        <source>You have version %1. The latest version is %2.</source>
        <translation>Vous avez la version %1. La dernière version est la %2.</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateDialog.cpp" line="36"/>
        <source>Loading release notes…</source>
        <translation>Chargement des notes de version…</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateDialog.cpp" line="44"/>
        <source>*Release notes are not available for this version.*</source>
        <translation>*Aucune note de version n’est disponible pour cette version.*</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateDialog.cpp" line="51"/>
        <source>Download</source>
        <translation>Télécharger</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateDialog.cpp" line="55"/>
        <source>Later</source>
        <translation>Plus tard</translation>
    </message>
</context>
<context>
    <name>LarkUpdate::WhatsNewDialog</name>
    <message>
        <location filename="../../ui/update/WhatsNewDialog.cpp" line="24"/>
        <source>What&apos;s New in %1 %2</source>
        <translation>Nouveautés de %1 %2</translation>
    </message>
    <message>
        <location filename="../../ui/update/WhatsNewDialog.cpp" line="29"/>
        <source>What&apos;s new in %1 %2</source>
        <translation>Nouveautés de %1 %2</translation>
    </message>
    <message>
        <location filename="../../ui/update/WhatsNewDialog.cpp" line="35"/>
        <source>You are running version %1</source>
        <translation>Vous utilisez la version %1</translation>
    </message>
    <message>
        <location filename="../../ui/update/WhatsNewDialog.cpp" line="44"/>
        <source>Download %1</source>
        <translation>Télécharger %1</translation>
    </message>
</context>
<context>
    <name>Larkspindle::CalendarUpgradeService</name>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="65"/>
        <source>Calendar&apos;s account is missing</source>
        <translation>Le compte du calendrier est introuvable</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="67"/>
        <source>Only Larkspindle-native calendars can be upgraded</source>
        <translation>Seuls les calendriers propres à Larkspindle peuvent être mis à niveau</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="69"/>
        <source>Calendar is already on Larkspindle</source>
        <translation>Le calendrier est déjà sur Larkspindle</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="71"/>
        <source>This calendar is already being moved</source>
        <translation>Ce calendrier est déjà en cours de déplacement</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="73"/>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="130"/>
        <source>Not signed in</source>
        <translation>Non connecté</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="112"/>
        <source>Server registration failed (HTTP %1)</source>
        <translation>Échec de l’enregistrement auprès du serveur (HTTP %1)</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="175"/>
        <source>Uploading the calendar failed (HTTP %1); it stays on this device</source>
        <translation>Échec de l’envoi du calendrier (HTTP %1) ; il reste sur cet appareil</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="182"/>
        <source>The calendar could not be saved as a cloud calendar; it stays on this device</source>
        <translation>Le calendrier n’a pas pu être enregistré comme calendrier en ligne ; il reste sur cet appareil</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="179"/>
        <source>Uploading the calendar failed: %1; it stays on this device</source>
        <translation>Échec de l’envoi du calendrier : %1 ; il reste sur cet appareil</translation>
    </message>
</context>
<context>
    <name>Larkspindle::CloudSyncProvider</name>
    <message>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="132"/>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="197"/>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="294"/>
        <source>Sign in to the cloud account to sync its calendars</source>
        <translation>Connectez-vous au compte en ligne pour synchroniser ses calendriers</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="145"/>
        <source>Larkspindle calendar list failed (HTTP %1)</source>
        <translation>Échec de la récupération de la liste des calendriers Larkspindle (HTTP %1)</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="214"/>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="257"/>
        <source>Larkspindle pull failed (HTTP %1)</source>
        <translation>Échec de la réception depuis Larkspindle (HTTP %1)</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="314"/>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="347"/>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="350"/>
        <source>Larkspindle push failed (HTTP %1)</source>
        <translation>Échec de l’envoi vers Larkspindle (HTTP %1)</translation>
    </message>
    <message numerus="yes">
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="356"/>
        <source>Larkspindle push: %Ln event(s) failed</source>
        <translation>
            <numerusform>Envoi vers Larkspindle : échec de %Ln événement</numerusform>
            <numerusform>Envoi vers Larkspindle : échec de %Ln événements</numerusform>
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
        <translation>Connexion requise</translation>
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
        <translation>Connectez-vous au compte cloud pour synchroniser les préférences</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/ConfigSyncService.cpp" line="343"/>
        <source>The settings could not be sent (HTTP %1)</source>
        <translation>Les préférences n’ont pas pu être envoyées (HTTP %1)</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/ConfigSyncService.cpp" line="397"/>
        <source>The settings could not be fetched (HTTP %1)</source>
        <translation>Les préférences n’ont pas pu être récupérées (HTTP %1)</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/ConfigSyncService.cpp" line="429"/>
        <source>Settings from your other devices could not be saved here</source>
        <translation>Les préférences de vos autres appareils n’ont pas pu être enregistrées ici</translation>
    </message>
</context>
<context>
    <name>Larkspindle::SharingBackend</name>
    <message>
        <location filename="../../services/sync/cloud/SharingBackend.cpp" line="70"/>
        <source>Not signed in</source>
        <translation>Non connecté</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/SharingBackend.cpp" line="89"/>
        <source>Sharing failed (HTTP %1)</source>
        <translation>Échec du partage (HTTP %1)</translation>
    </message>
</context>
<context>
    <name>Larkspindle::SyncClient</name>
    <message>
        <location filename="../../services/sync/cloud/SyncClient.cpp" line="75"/>
        <source>Calendar&apos;s account is missing</source>
        <translation>Le compte du calendrier est introuvable</translation>
    </message>
</context>
<context>
    <name>LocalCalendar</name>
    <message>
        <location filename="../../core/LocalCalendar.cpp" line="85"/>
        <source>On This Device</source>
        <translation>Sur cet appareil</translation>
    </message>
    <message>
        <location filename="../../core/LocalCalendar.cpp" line="92"/>
        <source>Personal</source>
        <comment>name of the calendar kept on this device</comment>
        <translation>Personnel</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Could not add &quot;%1&quot;: %2</source>
        <translation>Impossible d’ajouter « %1 » : %2</translation>
    </message>
    <message>
        <source>Larkspindle Calendar is still running</source>
        <translation>Larkspindle Calendar est toujours ouvert</translation>
    </message>
    <message>
        <source>It keeps running in the system tray, so your reminders still come. Click the tray icon to open it, or choose Quit from its menu to end it.</source>
        <translation>Il continue de fonctionner dans la zone de notification pour que vos rappels arrivent toujours. Cliquez sur son icône pour l’ouvrir, ou choisissez Quitter dans son menu pour le fermer.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="56"/>
        <source>Larkspindle Calendar</source>
        <translation>Larkspindle Calendar</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="77"/>
        <source>Sign in again to keep your settings in step.</source>
        <translation>Reconnectez-vous pour garder vos réglages synchronisés.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="79"/>
        <source>Settings sync failed: %1</source>
        <translation>Échec de la synchronisation des réglages : %1</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="89"/>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="90"/>
        <source>&amp;New Event…</source>
        <translation>&amp;Nouvel événement…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="91"/>
        <source>&amp;Import .ics File…</source>
        <translation>&amp;Importer un fichier .ics…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="93"/>
        <source>&amp;Sync Now</source>
        <translation>&amp;Synchroniser maintenant</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="95"/>
        <source>&amp;Quit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="97"/>
        <source>&amp;View</source>
        <translation>&amp;Affichage</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="98"/>
        <source>&amp;Today</source>
        <translation>&amp;Aujourd’hui</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="100"/>
        <source>&amp;Tools</source>
        <translation>&amp;Outils</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="101"/>
        <source>&amp;Accounts and Calendars…</source>
        <translation>&amp;Comptes et calendriers…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="102"/>
        <source>&amp;Preferences…</source>
        <translation>&amp;Préférences…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="116"/>
        <source>&amp;Developer</source>
        <translation>&amp;Développeur</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="118"/>
        <source>Load sample data</source>
        <translation>Charger des données d’exemple</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="119"/>
        <source>Remove sample data</source>
        <translation>Supprimer les données d’exemple</translation>
    </message>
    <message numerus="yes">
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="204"/>
        <source>%1

%n calendar(s)</source>
        <translation>
            <numerusform>%1

%n calendrier</numerusform>
            <numerusform>%1

%n calendriers</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="276"/>
        <source>Event &quot;%1&quot; saved.</source>
        <translation>Événement « %1 » enregistré.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="291"/>
        <source>Quick add needs a calendar: add one first.</source>
        <translation>L’ajout rapide nécessite un calendrier : ajoutez-en d’abord un.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="296"/>
        <source>Could not add &quot;%1&quot;.</source>
        <translation>Impossible d’ajouter « %1 ».</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="298"/>
        <source>Added &quot;%1&quot;.</source>
        <translation>« %1 » ajouté.</translation>
    </message>
    <message>
        <source>Added &quot;%1&quot; as a task without a date.</source>
        <translation>« %1 » ajouté comme tâche sans date.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="303"/>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="387"/>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="421"/>
        <source>Import .ics File</source>
        <translation>Importer un fichier .ics</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="304"/>
        <source>Calendar files (*.ics)</source>
        <translation>Fichiers de calendrier (*.ics)</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="367"/>
        <source>Import failed: there is no calendar that can take events. Add one first.</source>
        <translation>Échec de l’importation : aucun calendrier ne peut recevoir d’événements. Ajoutez-en d’abord un.</translation>
    </message>
    <message numerus="yes">
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="373"/>
        <source>Import %Ln event(s) from %1 into:</source>
        <translation>
            <numerusform>Importer %Ln événement de %1 dans :</numerusform>
            <numerusform>Importer %Ln événements de %1 dans :</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="376"/>
        <source>Import cancelled.</source>
        <translation>Importation annulée.</translation>
    </message>
    <message numerus="yes">
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="488"/>
        <source>Loaded %n sample row(s).</source>
        <translation>
            <numerusform>%n ligne d’exemple chargée.</numerusform>
            <numerusform>%n lignes d’exemple chargées.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="494"/>
        <source>Removed %n sample row(s).</source>
        <translation>
            <numerusform>%n ligne d’exemple supprimée.</numerusform>
            <numerusform>%n lignes d’exemple supprimées.</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="322"/>
        <source>Too many requests are waiting for the open dialog; this one was ignored.</source>
        <translation>Trop de demandes attendent la boîte de dialogue ouverte ; celle-ci a été ignorée.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="107"/>
        <source>&amp;Help</source>
        <translation>Ai&amp;de</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="109"/>
        <source>Check for &amp;Updates…</source>
        <translation>Rechercher des &amp;mises à jour…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="110"/>
        <source>&amp;What&apos;s New</source>
        <translation>&amp;Nouveautés</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="111"/>
        <source>Send &amp;Feedback…</source>
        <translation>Envoyer des &amp;commentaires…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="113"/>
        <source>&amp;About %1</source>
        <translation>À &amp;propos de %1</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="528"/>
        <source>This build has no release feed, so it cannot check for updates.</source>
        <translation>Cette version n’a pas de canal de mises à jour ; elle ne peut donc pas en rechercher.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="535"/>
        <source>This build has no release feed, so it has no release notes to show.</source>
        <translation>Cette version n’a pas de canal de mises à jour ; elle n’a donc pas de notes de version à afficher.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="543"/>
        <source>This build has no feedback page configured.</source>
        <translation>Aucune page de commentaires n’est configurée pour cette version.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="125"/>
        <source>A&amp;ccount</source>
        <translation>&amp;Compte</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="127"/>
        <source>Sign &amp;In…</source>
        <translation>Se &amp;connecter…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="129"/>
        <source>&amp;Account…</source>
        <translation>Co&amp;mpte…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="130"/>
        <source>Sign &amp;Out</source>
        <translation>Se &amp;déconnecter</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="137"/>
        <source>Signed in.</source>
        <translation>Connecté.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="139"/>
        <source>Sign-in failed: %1</source>
        <translation>Échec de la connexion : %1</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="164"/>
        <source>Continue the sign-in in your browser.</source>
        <translation>Poursuivez la connexion dans votre navigateur.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="176"/>
        <source>Larkspindle Account</source>
        <translation>Compte Larkspindle</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="196"/>
        <source>Signed out.</source>
        <translation>Déconnecté.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="384"/>
        <source>Importing the events of %1…</source>
        <translation>Importation des événements de %1…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="385"/>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="436"/>
        <source>Taking back the import…</source>
        <translation>Retrait de l’importation…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/ImportControl.cpp" line="1"/>
        <source>Another program is writing to the calendar database; this goes on as soon as it is done.</source>
        <translation>Un autre programme écrit dans la base de données du calendrier ; l’opération reprend dès qu’il a terminé.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="1"/>
        <source>Will be added once another program is done writing: &quot;%1&quot;</source>
        <translation>Sera ajouté quand un autre programme aura fini d’écrire : « %1 »</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="495"/>
        <source>Taking back the import of %1…</source>
        <translation>Retrait de l’importation de %1…</translation>
    </message>
    <message numerus="yes">
        <source>Added %n quick-add line(s) that waited when %1 last ended.</source>
        <translation>
            <numerusform>%n saisie rapide ajoutée, en attente à la fermeture de %1.</numerusform>
            <numerusform>%n saisies rapides ajoutées, en attente à la fermeture de %1.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Another program is writing to the calendar, and %n waiting quick-add line(s) could not be saved to disk: they are lost if Larkspindle Calendar ends before the calendar is free.</source>
        <translation>
            <numerusform>Un autre programme écrit dans le calendrier, et %n saisie rapide en attente n’a pas pu être enregistrée sur le disque : elle sera perdue si Larkspindle Calendar se ferme avant que le calendrier soit libre.</numerusform>
            <numerusform>Un autre programme écrit dans le calendrier, et %n saisies rapides en attente n’ont pas pu être enregistrées sur le disque : elles seront perdues si Larkspindle Calendar se ferme avant que le calendrier soit libre.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n quick-add line(s) that waited when Larkspindle Calendar last ended were added; their file could not all be read and is kept as %1.</source>
        <translation>
            <numerusform>%n saisie rapide qui attendait à la dernière fermeture de Larkspindle Calendar a été ajoutée ; son fichier n’a pas pu être lu en entier et est conservé sous %1.</numerusform>
            <numerusform>%n saisies rapides qui attendaient à la dernière fermeture de Larkspindle Calendar ont été ajoutées ; leur fichier n’a pas pu être lu en entier et est conservé sous %1.</numerusform>
        </translation>
    </message>
    <message>
        <source>The quick-add lines that waited when Larkspindle Calendar last ended could not all be read: their file is kept as %1.</source>
        <translation>Les saisies rapides qui attendaient à la dernière fermeture de Larkspindle Calendar n’ont pas toutes pu être lues : leur fichier est conservé sous %1.</translation>
    </message>
</context>
<context>
    <name>Microsoft::AuthService</name>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="97"/>
        <source>Microsoft OAuth credentials are not configured in this build. See .env.example.</source>
        <translation>Les identifiants OAuth de Microsoft ne sont pas configurés dans cette version. Voir .env.example.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="100"/>
        <source>Microsoft OAuth credentials are not configured.</source>
        <translation>Les identifiants OAuth de Microsoft ne sont pas configurés.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="102"/>
        <source>Could not bind a local port for the Microsoft sign-in callback: %1</source>
        <translation>Impossible d’ouvrir un port local pour le retour de la connexion Microsoft : %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="104"/>
        <source>Could not launch the system browser for Microsoft sign-in.</source>
        <translation>Impossible de lancer le navigateur du système pour la connexion Microsoft.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="106"/>
        <source>Microsoft did not return an authorization code.</source>
        <translation>Microsoft n’a pas renvoyé de code d’autorisation.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="108"/>
        <source>Microsoft did not return an access token.</source>
        <translation>Microsoft n’a pas renvoyé de jeton d’accès.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="110"/>
        <source>Microsoft did not return a refresh token. Verify offline_access is in the scopes configured for this app.</source>
        <translation>Microsoft n’a pas renvoyé de jeton d’actualisation. Vérifiez que offline_access figure parmi les étendues configurées pour cette application.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="113"/>
        <source>Microsoft&apos;s response had no access_token.</source>
        <translation>La réponse de Microsoft ne contenait pas d’access_token.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="120"/>
        <source>Microsoft denied the sign-in: %1</source>
        <translation>Microsoft a refusé la connexion : %1</translation>
    </message>
</context>
<context>
    <name>Microsoft::CalendarClient</name>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="136"/>
        <source>No Microsoft access token available.</source>
        <translation>Aucun jeton d’accès Microsoft n’est disponible.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="194"/>
        <source>Microsoft Graph did not answer in time.</source>
        <translation>Microsoft Graph n’a pas répondu à temps.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="195"/>
        <source>Microsoft Graph could not be reached.</source>
        <translation>Impossible de joindre Microsoft Graph.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="210"/>
        <location filename="../../services/sync/microsoft/MicrosoftSyncProvider.cpp" line="472"/>
        <source>Microsoft Graph sent a reply that cannot be read.</source>
        <translation>Microsoft Graph a envoyé une réponse illisible.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="225"/>
        <source>Microsoft Graph did not accept the sign-in. Sign in again.</source>
        <translation>Microsoft Graph n’a pas accepté la connexion. Reconnectez-vous.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="228"/>
        <source>Microsoft Graph does not allow this change (HTTP 403): %1</source>
        <translation>Microsoft Graph n’autorise pas cette modification (HTTP 403) : %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="232"/>
        <source>The event was changed in the Microsoft calendar since it was last synced; it was not overwritten.</source>
        <translation>L’événement a été modifié dans le calendrier Microsoft depuis la dernière synchronisation ; il n’a pas été écrasé.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="236"/>
        <source>Microsoft Graph asks to wait before the next request.</source>
        <translation>Microsoft Graph demande d’attendre avant la prochaine requête.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="239"/>
        <source>Microsoft Graph refused the request (HTTP %1): %2</source>
        <translation>Microsoft Graph a refusé la requête (HTTP %1) : %2</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="280"/>
        <source>Microsoft Graph sent a link to another server; it was not followed.</source>
        <translation>Microsoft Graph a envoyé un lien vers un autre serveur ; il n’a pas été suivi.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/RecurrenceMapping.cpp" line="252"/>
        <source>Microsoft calendars cannot keep the repeat rule &quot;%1&quot;.</source>
        <translation>Les calendriers Microsoft ne peuvent pas conserver la règle de répétition « %1 ».</translation>
    </message>
</context>
<context>
    <name>Microsoft::MicrosoftSyncProvider</name>
    <message>
        <location filename="../../services/sync/microsoft/MicrosoftSyncProvider.cpp" line="94"/>
        <source>No saved Microsoft credentials. Sign in again.</source>
        <translation>Aucun identifiant Microsoft enregistré. Reconnectez-vous.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/MicrosoftSyncProvider.cpp" line="77"/>
        <source>Microsoft token refresh failed: %1</source>
        <translation>Échec du renouvellement du jeton Microsoft : %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/MicrosoftSyncProvider.cpp" line="204"/>
        <source>Microsoft Graph sent a page of changes that leads nowhere.</source>
        <translation>Microsoft Graph a envoyé une page de modifications sans suite.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/MicrosoftSyncProvider.cpp" line="543"/>
        <source>The series of &quot;%1&quot; is not in the Microsoft calendar yet; the changed occurrence is sent at a later sync.</source>
        <translation>La série « %1 » n’est pas encore dans le calendrier Microsoft ; l’occurrence modifiée sera envoyée lors d’une prochaine synchronisation.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/MicrosoftSyncProvider.cpp" line="565"/>
        <source>The occurrence of &quot;%1&quot; changed here is no longer in its series at Microsoft.</source>
        <translation>L’occurrence de « %1 » modifiée ici ne fait plus partie de sa série chez Microsoft.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/MicrosoftSyncProvider.cpp" line="526"/>
        <source>&quot;%1&quot; is no longer available at Microsoft; its changes stay on this device.</source>
        <translation>« %1 » n’est plus disponible chez Microsoft ; ses modifications restent sur cet appareil.</translation>
    </message>
</context>
<context>
    <name>MissedRemindersDialog</name>
    <message>
        <location filename="../../ui/dialogs/MissedRemindersDialog.cpp" line="18"/>
        <source>Missed Reminders</source>
        <translation>Rappels manqués</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/MissedRemindersDialog.cpp" line="22"/>
        <source>These reminders came while they could not be shown. Double-click one to open its event, or the day its task is due.</source>
        <translation>Ces rappels sont arrivés alors qu’ils ne pouvaient pas être affichés. Double-cliquez sur l’un d’eux pour ouvrir son événement, ou le jour où sa tâche est due.</translation>
    </message>
</context>
<context>
    <name>Net</name>
    <message>
        <location filename="../../services/net/RequestPolicy.cpp" line="44"/>
        <source>The server&apos;s reply is too large</source>
        <translation>La réponse du serveur est trop volumineuse</translation>
    </message>
    <message>
        <location filename="../../services/net/RequestPolicy.cpp" line="97"/>
        <source>The server did not finish its reply in time.</source>
        <translation>Le serveur n’a pas terminé sa réponse à temps.</translation>
    </message>
    <message>
        <location filename="../../services/net/RequestPolicy.cpp" line="133"/>
        <source>The server redirected to another address; the request was not sent there.</source>
        <translation>Le serveur a redirigé vers une autre adresse ; la requête n’y a pas été envoyée.</translation>
    </message>
    <message>
        <location filename="../../services/net/RequestPolicy.cpp" line="181"/>
        <source>%1 The next try will be at %2.</source>
        <translation>%1 La prochaine tentative aura lieu le %2.</translation>
    </message>
    <message>
        <location filename="../../services/net/RequestPolicy.cpp" line="164"/>
        <source>The server stopped answering.</source>
        <translation>Le serveur a cessé de répondre.</translation>
    </message>
    <message>
        <location filename="../../services/net/RequestPolicy.cpp" line="170"/>
        <source>The reply was cut short.</source>
        <translation>La réponse a été interrompue avant la fin.</translation>
    </message>
    <message>
        <location filename="../../services/net/RequestPolicy.cpp" line="183"/>
        <source>no answer from the server</source>
        <translation>aucune réponse du serveur</translation>
    </message>
</context>
<context>
    <name>NotificationService</name>
    <message>
        <location filename="../../ui/tray/NotificationService.cpp" line="325"/>
        <source>Test reminder</source>
        <translation>Rappel de test</translation>
    </message>
    <message>
        <location filename="../../ui/tray/NotificationService.cpp" line="326"/>
        <source>If you can see this, your desktop notifications are wired up correctly. Real reminders look just like this one.</source>
        <translation>Si vous voyez ce message, les notifications du bureau fonctionnent correctement. Les vrais rappels ressemblent à celui-ci.</translation>
    </message>
</context>
<context>
    <name>OAuth::LoopbackAuthService</name>
    <message>
        <location filename="../../services/oauth/LoopbackAuthService.cpp" line="202"/>
        <source>Sign-in cancelled.</source>
        <translation>Connexion annulée.</translation>
    </message>
    <message>
        <location filename="../../services/oauth/LoopbackAuthService.cpp" line="279"/>
        <source>Token exchange failed (HTTP %1): %2</source>
        <translation>Échec de l’échange de jetons (HTTP %1) : %2</translation>
    </message>
    <message>
        <location filename="../../services/oauth/LoopbackAuthService.cpp" line="316"/>
        <source>Token refresh failed (HTTP %1): %2</source>
        <translation>Échec de l’actualisation du jeton (HTTP %1) : %2</translation>
    </message>
</context>
<context>
    <name>PreferencesDialog</name>
    <message>
        <source>The preferences could not be saved (%1).</source>
        <translation>Les préférences n’ont pas pu être enregistrées (%1).</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="34"/>
        <source>Close to the system tray</source>
        <translation>Fermer dans la zone de notification</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="35"/>
        <source>Start minimised</source>
        <translation>Démarrer réduit</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="36"/>
        <source>Launch at login</source>
        <translation>Lancer à l’ouverture de session</translation>
    </message>
    <message>
        <source>Another program is writing to the calendar, so the preferences were not saved. Press OK again once it is done.</source>
        <translation>Un autre programme écrit dans le calendrier : les préférences n’ont donc pas été enregistrées. Appuyez de nouveau sur OK dès qu’il aura terminé.</translation>
    </message>
    <message>
        <source>The preferences could not be saved.</source>
        <translation>Impossible d’enregistrer les préférences.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="39"/>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="105"/>
        <source>Preferences</source>
        <translation>Préférences</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="42"/>
        <source>System</source>
        <translation>Système</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="43"/>
        <source>Light</source>
        <translation>Clair</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="44"/>
        <source>Dark</source>
        <translation>Sombre</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="47"/>
        <source>Default</source>
        <translation>Par défaut</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="50"/>
        <source>Choose…</source>
        <translation>Choisir…</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="67"/>
        <source>12-hour (1:30 PM)</source>
        <translation>12 heures (1:30 PM)</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="68"/>
        <source>24-hour (13:30)</source>
        <translation>24 heures (13:30)</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="71"/>
        <source>As the system&apos;s region</source>
        <translation>Selon la région du système</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="92"/>
        <source>Theme:</source>
        <translation>Thème :</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="93"/>
        <source>Accent colour:</source>
        <translation>Couleur d’accentuation :</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="94"/>
        <source>Font size:</source>
        <translation>Taille de police :</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="95"/>
        <source>Time format:</source>
        <translation>Format de l’heure :</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="96"/>
        <source>First day of week:</source>
        <translation>Premier jour de la semaine :</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="106"/>
        <source>The launch-at-login entry could not be changed.</source>
        <translation>Impossible de modifier le lancement à l’ouverture de session.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="80"/>
        <source>Configure location and units…</source>
        <translation>Configurer le lieu et les unités…</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="97"/>
        <source>Weather:</source>
        <translation>Météo :</translation>
    </message>
</context>
<context>
    <name>ProviderSignIn</name>
    <message>
        <location filename="../../ui/dialogs/ProviderSignIn.cpp" line="25"/>
        <source>Google sign-in</source>
        <translation>Connexion Google</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/ProviderSignIn.cpp" line="26"/>
        <source>Microsoft sign-in</source>
        <translation>Connexion Microsoft</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/ProviderSignIn.cpp" line="36"/>
        <source>Finish signing in in your browser. This window closes by itself when you are done.</source>
        <translation>Terminez la connexion dans votre navigateur. Cette fenêtre se fermera d’elle-même ensuite.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/ProviderSignIn.cpp" line="86"/>
        <source>The account could not be saved.</source>
        <translation>Impossible d’enregistrer le compte.</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <location filename="../../model/DateText.cpp" line="41"/>
        <source>Today at %1</source>
        <translation>Aujourd’hui à %1</translation>
    </message>
    <message>
        <location filename="../../core/ReminderRound.cpp" line="86"/>
        <source>Starting now (%1)</source>
        <translation>Commence maintenant (%1)</translation>
    </message>
    <message>
        <location filename="../../core/ReminderRound.cpp" line="90"/>
        <source>In %1h (%2)</source>
        <translation>Dans %1 h (%2)</translation>
    </message>
    <message>
        <source>In %1h %2min (%3)</source>
        <translation>Dans %1 h %2 min (%3)</translation>
    </message>
    <message>
        <source>Started at %1</source>
        <translation>A commencé à %1</translation>
    </message>
    <message>
        <location filename="../../core/ReminderRound.cpp" line="92"/>
        <source>Tomorrow at %1</source>
        <translation>Demain à %1</translation>
    </message>
    <message>
        <location filename="../../core/ReminderRound.cpp" line="101"/>
        <source>Due soon</source>
        <translation>Bientôt à échéance</translation>
    </message>
    <message>
        <location filename="../../core/ReminderRound.cpp" line="101"/>
        <source>Due today</source>
        <translation>À échéance aujourd’hui</translation>
    </message>
    <message>
        <location filename="../../core/ReminderRound.cpp" line="102"/>
        <source>Due soon (%1)</source>
        <translation>Bientôt à échéance (%1)</translation>
    </message>
    <message>
        <location filename="../../core/ReminderRound.cpp" line="103"/>
        <source>Due now (%1)</source>
        <translation>À échéance maintenant (%1)</translation>
    </message>
    <message>
        <location filename="../../core/ReminderRound.cpp" line="108"/>
        <source>Reminder</source>
        <translation>Rappel</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="74"/>
        <source>Larkspindle Calendar — Last sync failed</source>
        <translation>Larkspindle Calendar — Échec de la dernière synchronisation</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="75"/>
        <source>Larkspindle Calendar — Sync failed: %1</source>
        <translation>Larkspindle Calendar — Échec de la synchronisation : %1</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="78"/>
        <source>Larkspindle Calendar — No upcoming events</source>
        <translation>Larkspindle Calendar — Aucun événement à venir</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="80"/>
        <source>Untitled</source>
        <translation>Sans titre</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="88"/>
        <source>today</source>
        <translation>aujourd’hui</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="90"/>
        <source>tomorrow</source>
        <translation>demain</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="91"/>
        <source>Larkspindle Calendar — Next: %1 (%2, all day)</source>
        <translation>Larkspindle Calendar — Prochain : %1 (%2, toute la journée)</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="96"/>
        <source>at %1</source>
        <translation>à %1</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="98"/>
        <source>tomorrow at %1</source>
        <translation>demain à %1</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="100"/>
        <source>%1 %2</source>
        <translation>%1 %2</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="101"/>
        <source>Larkspindle Calendar — Next: %1 %2</source>
        <translation>Larkspindle Calendar — Prochain : %1 %2</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="29"/>
        <source>Repeats daily</source>
        <translation>Tous les jours</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="30"/>
        <source>Every %1 days</source>
        <translation>Tous les %1 jours</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="32"/>
        <source>Repeats weekly</source>
        <translation>Toutes les semaines</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="33"/>
        <source>Every %1 weeks</source>
        <translation>Toutes les %1 semaines</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="35"/>
        <source>Repeats monthly</source>
        <translation>Tous les mois</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="36"/>
        <source>Every %1 months</source>
        <translation>Tous les %1 mois</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="38"/>
        <source>Repeats yearly</source>
        <translation>Tous les ans</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="39"/>
        <source>Every %1 years</source>
        <translation>Tous les %1 ans</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="40"/>
        <source>Repeats</source>
        <translation>Se répète</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="100"/>
        <source>on the %1 %2</source>
        <translation>le %1 %2</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="105"/>
        <source>on the %1</source>
        <translation>le %1</translation>
    </message>
    <message numerus="yes">
        <location filename="../../model/RruleFormat.cpp" line="111"/>
        <source>%n time(s)</source>
        <translation>
            <numerusform>%n fois</numerusform>
            <numerusform>%n fois</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="119"/>
        <source>until %1</source>
        <translation>jusqu’au %1</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="127"/>
        <source>At time of event</source>
        <translation>À l’heure de l’événement</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="129"/>
        <source>%1 min before</source>
        <translation>%1 min avant</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="143"/>
        <source>Mon</source>
        <comment>RruleFormat</comment>
        <translation>lun.</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="145"/>
        <source>Tue</source>
        <comment>RruleFormat</comment>
        <translation>mar.</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="147"/>
        <source>Wed</source>
        <comment>RruleFormat</comment>
        <translation>mer.</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="149"/>
        <source>Thu</source>
        <comment>RruleFormat</comment>
        <translation>jeu.</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="151"/>
        <source>Fri</source>
        <comment>RruleFormat</comment>
        <translation>ven.</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="153"/>
        <source>Sat</source>
        <comment>RruleFormat</comment>
        <translation>sam.</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="155"/>
        <source>Sun</source>
        <comment>RruleFormat</comment>
        <translation>dim.</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="164"/>
        <location filename="../../model/RruleFormat.cpp" line="173"/>
        <source>%1th</source>
        <translation>%1</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="167"/>
        <source>%1st</source>
        <translation>%1</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="169"/>
        <source>%1nd</source>
        <translation>%1</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="171"/>
        <source>%1rd</source>
        <translation>%1</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="181"/>
        <source>second-to-last</source>
        <translation>avant-dernier</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="183"/>
        <source>last</source>
        <translation>dernier</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="185"/>
        <source>first</source>
        <translation>premier</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="187"/>
        <source>second</source>
        <translation>deuxième</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="189"/>
        <source>third</source>
        <translation>troisième</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="191"/>
        <source>fourth</source>
        <translation>quatrième</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="193"/>
        <source>fifth</source>
        <translation>cinquième</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="200"/>
        <source>%1th-from-last</source>
        <translation>%1e en partant de la fin</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateFlows.cpp" line="52"/>
        <source>No release notes available for %1 %2</source>
        <translation>Aucune note de version disponible pour %1 %2</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateFlows.cpp" line="93"/>
        <source>Checking for updates…</source>
        <translation>Recherche de mises à jour…</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateFlows.cpp" line="106"/>
        <source>%1 is up to date (version %2)</source>
        <translation>%1 est à jour (version %2)</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateFlows.cpp" line="110"/>
        <source>Update check failed: %1</source>
        <translation>Échec de la recherche de mises à jour : %1</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateFlows.cpp" line="121"/>
        <source>Loading release notes…</source>
        <translation>Chargement des notes de version…</translation>
    </message>
    <message numerus="yes">
        <location filename="../../model/RruleFormat.cpp" line="131"/>
        <source>%n hour(s) before</source>
        <translation>
            <numerusform>%n heure avant</numerusform>
            <numerusform>%n heures avant</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location filename="../../model/RruleFormat.cpp" line="132"/>
        <source>%n day(s) before</source>
        <translation>
            <numerusform>%n jour avant</numerusform>
            <numerusform>%n jours avant</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location filename="../../core/ReminderRound.cpp" line="88"/>
        <source>In %n minute(s) (%1)</source>
        <translation>
            <numerusform>Dans %n minute (%1)</numerusform>
            <numerusform>Dans %n minutes (%1)</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Sync::CalendarSyncClient</name>
    <message>
        <location filename="../../core/sync/CalendarSyncClient.cpp" line="27"/>
        <source>Parent account missing</source>
        <translation>Compte parent manquant</translation>
    </message>
    <message>
        <location filename="../../core/sync/CalendarSyncClient.cpp" line="33"/>
        <source>Sync is not available for this calendar&apos;s account.</source>
        <translation>La synchronisation n’est pas disponible pour le compte de ce calendrier.</translation>
    </message>
</context>
<context>
    <name>Sync::PageChain</name>
    <message numerus="yes">
        <source>%1 sent a listing that never ends (a page came again, or more than %Ln page(s)); it was stopped.</source>
        <translation>
            <numerusform>%1 a envoyé une liste sans fin (une page est revenue, ou plus de %Ln page) ; elle a été arrêtée.</numerusform>
            <numerusform>%1 a envoyé une liste sans fin (une page est revenue, ou plus de %Ln pages) ; elle a été arrêtée.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Sync::SyncCoordinator</name>
    <message>
        <location filename="../../core/sync/SyncCoordinator.cpp" line="105"/>
        <source>Sync finished.</source>
        <translation>Synchronisation terminée.</translation>
    </message>
    <message>
        <location filename="../../core/sync/SyncCoordinator.cpp" line="113"/>
        <location filename="../../core/sync/SyncCoordinator.cpp" line="127"/>
        <source>Sync failed: %1</source>
        <translation>Échec de la synchronisation : %1</translation>
    </message>
    <message numerus="yes">
        <location filename="../../core/sync/SyncCoordinator.cpp" line="104"/>
        <location filename="../../core/sync/SyncCoordinator.cpp" line="125"/>
        <source>Synced %Ln event(s)</source>
        <translation>
            <numerusform>%Ln événement synchronisé</numerusform>
            <numerusform>%Ln événements synchronisés</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../core/sync/SyncCoordinator.cpp" line="140"/>
        <source>The server did not answer for too long; the sync stopped and is tried again later.</source>
        <translation>Le serveur n’a pas répondu pendant trop longtemps ; la synchronisation a été arrêtée et sera relancée plus tard.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was not synced: an import into it is not over yet. It is synced once the import has ended.</source>
        <translation>« %1 » n’a pas été synchronisé : une importation dans ce calendrier n’est pas encore terminée. Il sera synchronisé une fois l’importation achevée.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was not synced: another sync of it was under way. It is synced once that one has ended.</source>
        <translation>« %1 » n’a pas été synchronisé : une autre synchronisation de ce calendrier était en cours. Il sera synchronisé une fois celle-ci terminée.</translation>
    </message>
    <message>
        <source>%1 waits until %2, as its server asked; it is synced then.</source>
        <translation>%1 attend jusqu’à %2, comme son serveur l’a demandé ; la synchronisation aura lieu à ce moment-là.</translation>
    </message>
</context>
<context>
    <name>Sync::SyncEngine</name>
    <message>
        <location filename="../../core/sync/SyncEngine.cpp" line="143"/>
        <source>The calendar &quot;%1&quot; could not be added on this device.</source>
        <translation>Le calendrier « %1 » n’a pas pu être ajouté sur cet appareil.</translation>
    </message>
    <message numerus="yes">
        <source>The changes of &quot;%1&quot; never end (a page came again, or more than %Ln page(s)); the sync stopped.</source>
        <translation>
            <numerusform>Les modifications de « %1 » ne finissent jamais (une page est revenue, ou plus de %Ln page) ; la synchronisation s’est arrêtée.</numerusform>
            <numerusform>Les modifications de « %1 » ne finissent jamais (une page est revenue, ou plus de %Ln pages) ; la synchronisation s’est arrêtée.</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../core/sync/SyncEngine.cpp" line="244"/>
        <source>Changes to &quot;%1&quot; could not be saved on this device; they are fetched again at the next sync.</source>
        <translation>Les modifications de « %1 » n’ont pas pu être enregistrées sur cet appareil ; elles seront à nouveau récupérées lors de la prochaine synchronisation.</translation>
    </message>
</context>
<context>
    <name>Sync::SyncProvider</name>
    <message>
        <location filename="../../core/sync/SyncEngine.cpp" line="615"/>
        <source>This source keeps no tasks.</source>
        <translation>Cette source ne gère pas les tâches.</translation>
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
        <translation>Google Agenda</translation>
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
        <translation>Abonnements d’agenda</translation>
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
            <numerusform>Synchronisation de %n compte…</numerusform>
            <numerusform>Synchronisation de %n comptes…</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../core/sync/SyncNowReport.cpp" line="52"/>
        <source>No account to sync.</source>
        <translation>Aucun compte à synchroniser.</translation>
    </message>
    <message>
        <location filename="../../core/sync/SyncNowReport.cpp" line="54"/>
        <source>Sync is not available yet for %1.</source>
        <translation>La synchronisation n’est pas encore disponible pour %1.</translation>
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
        <translation>&amp;Afficher le calendrier</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="139"/>
        <source>Sync &amp;Now</source>
        <translation>Synchroniser &amp;maintenant</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="142"/>
        <source>&amp;Quit</source>
        <translation>&amp;Quitter</translation>
    </message>
</context>
<context>
    <name>Weather::GeocodingClient</name>
    <message>
        <location filename="../../services/weather/GeocodingClient.cpp" line="52"/>
        <source>Geocoding returned HTTP %1</source>
        <translation>La recherche de lieux a renvoyé HTTP %1</translation>
    </message>
</context>
<context>
    <name>Weather::Service</name>
    <message>
        <location filename="../../services/weather/WeatherService.cpp" line="102"/>
        <source>Open-Meteo returned HTTP %1</source>
        <translation>Open-Meteo a renvoyé HTTP %1</translation>
    </message>
</context>
<context>
    <name>WeatherSettingsDialog</name>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="33"/>
        <source>Weather</source>
        <translation>Météo</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="37"/>
        <source>Show weather alongside your calendar. Forecast comes from Open-Meteo (free, no signup). Search for a city below to set the location.</source>
        <translation>Affiche la météo à côté de votre calendrier. Les prévisions viennent d’Open-Meteo (gratuit, sans inscription). Recherchez une ville ci-dessous pour définir le lieu.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="44"/>
        <source>Enable weather</source>
        <translation>Activer la météo</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="50"/>
        <source>City name or postal code</source>
        <translation>Nom de ville ou code postal</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="51"/>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="143"/>
        <source>Search</source>
        <translation>Rechercher</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="70"/>
        <source>No location set.</source>
        <translation>Aucun lieu défini.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="71"/>
        <source>Current location: %1</source>
        <translation>Lieu actuel : %1</translation>
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
        <translation>&amp;Ville :</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="88"/>
        <source>&amp;Units:</source>
        <translation>&amp;Unités :</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="93"/>
        <source>Save</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="126"/>
        <source>Searching…</source>
        <translation>Recherche…</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="168"/>
        <source>No matches found.</source>
        <translation>Aucun résultat.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="183"/>
        <source>Search failed: %1</source>
        <translation>Échec de la recherche : %1</translation>
    </message>
    <message>
        <source>Another program is writing to the calendar, so the weather settings were not saved. Press Save again once it is done.</source>
        <translation>Un autre programme écrit dans le calendrier : les réglages météo n’ont donc pas été enregistrés. Appuyez de nouveau sur Enregistrer dès qu’il aura terminé.</translation>
    </message>
    <message>
        <source>The weather settings could not be saved.</source>
        <translation>Impossible d’enregistrer les réglages météo.</translation>
    </message>
</context>
<context>
    <name>WinTrayPopover</name>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="49"/>
        <source>now</source>
        <translation>maintenant</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="51"/>
        <source>in %1 min</source>
        <translation>dans %1 min</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="55"/>
        <source>in %1h %2m</source>
        <translation>dans %1 h %2 min</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="56"/>
        <source>in %1h</source>
        <translation>dans %1 h</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="75"/>
        <source>Today, all day</source>
        <translation>Aujourd’hui, toute la journée</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="76"/>
        <source>Tomorrow, all day</source>
        <translation>Demain, toute la journée</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="77"/>
        <source>%1 at %2</source>
        <translation>%1 à %2</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="78"/>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="392"/>
        <source>Today</source>
        <translation>Aujourd’hui</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="78"/>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="397"/>
        <source>Tomorrow</source>
        <translation>Demain</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="91"/>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="438"/>
        <source>All-day</source>
        <translation>Toute la journée</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="145"/>
        <source>Open Calendar</source>
        <translation>Ouvrir le calendrier</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="146"/>
        <source>Sync Now</source>
        <translation>Synchroniser maintenant</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="183"/>
        <source>Add event — e.g. &quot;lunch Thursday 1pm&quot;</source>
        <translation>Ajouter un événement — p. ex. &quot;lunch Thursday 1pm&quot;</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="196"/>
        <source>Preferences</source>
        <translation>Préférences</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="209"/>
        <source>Group</source>
        <translation>Groupe</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="349"/>
        <source>No calendars yet</source>
        <translation>Aucun calendrier pour l’instant</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="368"/>
        <source>No upcoming events</source>
        <translation>Aucun événement à venir</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="369"/>
        <source>Nothing scheduled in the next 24 hours.</source>
        <translation>Rien de prévu dans les prochaines 24 heures.</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="374"/>
        <source>Untitled</source>
        <translation>Sans titre</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="396"/>
        <source>  No more events today</source>
        <translation>  Aucun autre événement aujourd’hui</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="401"/>
        <source>  Nothing scheduled</source>
        <translation>  Rien de prévu</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="462"/>
        <source>(Unnamed)</source>
        <translation>(Sans nom)</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="517"/>
        <source>Couldn&apos;t save event</source>
        <translation>Impossible d’enregistrer l’événement</translation>
    </message>
    <message>
        <source>Task without a date</source>
        <translation>Tâche sans date</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="466"/>
        <source>All Calendars</source>
        <translation>Tous les agendas</translation>
    </message>
</context>
<context>
    <name>Store</name>
    <message>
        <source>the disk that holds the calendar is full</source>
        <translation>le disque qui contient l’agenda est plein</translation>
    </message>
</context>
</TS>
