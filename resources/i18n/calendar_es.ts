<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es" sourcelanguage="en">
<context>
    <name>AboutDialog</name>
    <message>
        <location filename="../../ui/dialogs/AboutDialog.cpp" line="29"/>
        <source>About %1</source>
        <translation>Acerca de %1</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AboutDialog.cpp" line="39"/>
        <source>Version %1</source>
        <translation>Versión %1</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AboutDialog.cpp" line="42"/>
        <source>Calendars, events and tasks on your desktop, in step with your accounts.</source>
        <translation>Calendarios, eventos y tareas en su escritorio, al día con sus cuentas.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AboutDialog.cpp" line="53"/>
        <source>This program carries these fonts and icons under their own licences:</source>
        <translation>Este programa incluye estas fuentes e iconos bajo sus propias licencias:</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AboutDialog.cpp" line="67"/>
        <source>The fonts IBM Plex Sans and IBM Plex Mono, under the SIL Open Font License 1.1.</source>
        <translation>Las fuentes IBM Plex Sans e IBM Plex Mono, bajo la SIL Open Font License 1.1.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AboutDialog.cpp" line="70"/>
        <source>The icon font Material Icons, under the Apache License 2.0.</source>
        <translation>La fuente de iconos Material Icons, bajo la Apache License 2.0.</translation>
    </message>
</context>
<context>
    <name>AccountsCalendarsDialog</name>
    <message>
        <source>The calendar &quot;%1&quot; could not be added (%2).</source>
        <translation>No se pudo añadir el calendario «%1» (%2).</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="33"/>
        <source>Accounts and Calendars</source>
        <translation>Cuentas y calendarios</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="40"/>
        <source>New calendar on this device</source>
        <translation>Nuevo calendario en este dispositivo</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="42"/>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="144"/>
        <source>Add Calendar</source>
        <translation>Añadir calendario</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="127"/>
        <source>%1 (read-only)</source>
        <translation>%1 (solo lectura)</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="145"/>
        <source>The calendar &quot;%1&quot; could not be added.</source>
        <translation>No se pudo añadir el calendario «%1».</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="155"/>
        <source>On This Device</source>
        <translation>En este dispositivo</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="65"/>
        <source>Add Google account…</source>
        <translation>Añadir cuenta de Google…</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="67"/>
        <source>Add Microsoft account…</source>
        <translation>Añadir cuenta de Microsoft…</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="72"/>
        <source>Share…</source>
        <translation>Compartir…</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="74"/>
        <source>Move to the Cloud</source>
        <translation>Mover a la nube</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="189"/>
        <source>Sign in to your Larkspindle account first.</source>
        <translation>Primero inicie sesión en su cuenta de Larkspindle.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="240"/>
        <source>&quot;%1&quot; is now in the cloud.</source>
        <translation>«%1» ya está en la nube.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="250"/>
        <source>Moving to the cloud failed: %1</source>
        <translation>No se pudo mover a la nube: %1</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="255"/>
        <source>Moving &quot;%1&quot; to the cloud…</source>
        <translation>Moviendo «%1» a la nube…</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="267"/>
        <source>Share Calendar</source>
        <translation>Compartir calendario</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="268"/>
        <source>Sharing: %1</source>
        <translation>Compartiendo: %1</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="269"/>
        <source>People you share with see the same events and changes you do. Sharing doesn&apos;t merge calendars; they keep their own calendar list.</source>
        <translation>Las personas con las que comparte ven los mismos eventos y cambios que usted. Compartir no fusiona calendarios; cada persona conserva su propia lista de calendarios.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="271"/>
        <source>Shared with</source>
        <translation>Compartido con</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="272"/>
        <source>Add people</source>
        <translation>Añadir personas</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="273"/>
        <source>Not shared with anyone yet.</source>
        <translation>Aún no se ha compartido con nadie.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="274"/>
        <source>Add family members or teammates to your Larkspindle group first, then come back here to share calendars with them.</source>
        <translation>Primero añada a familiares o compañeros a su grupo de Larkspindle y luego vuelva aquí para compartir calendarios con ellos.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="276"/>
        <source>Everyone in your group already has access</source>
        <translation>Todos los miembros de su grupo ya tienen acceso</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="277"/>
        <source>Share</source>
        <translation>Compartir</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="278"/>
        <source>Remove access</source>
        <translation>Quitar acceso</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="279"/>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="281"/>
        <source>Couldn&apos;t share calendar</source>
        <translation>No se pudo compartir el calendario</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="282"/>
        <source>Couldn&apos;t remove person</source>
        <translation>No se pudo quitar a la persona</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="283"/>
        <source>Stop sharing?</source>
        <translation>¿Dejar de compartir?</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="284"/>
        <source>%1 will no longer see this calendar&apos;s events on any of their devices. Continue?</source>
        <translation>%1 dejará de ver los eventos de este calendario en todos sus dispositivos. ¿Continuar?</translation>
    </message>
    <message numerus="yes">
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="231"/>
        <source>Moving to the cloud: %L1 of %Ln item(s) sent.</source>
        <translation>
            <numerusform>Moviendo a la nube: %L1 de %Ln elemento enviado.</numerusform>
            <numerusform>Moviendo a la nube: %L1 de %Ln elementos enviados.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Application</name>
    <message>
        <source>The quick add &quot;%1&quot; is kept: it is added once Larkspindle Calendar starts, also if you quit now.</source>
        <translation>La entrada rápida «%1» se conserva: se añade en cuanto Larkspindle Calendar se inicie, también si sale ahora.</translation>
    </message>
    <message>
        <source>it could not be saved to disk</source>
        <translation>no se pudo guardar en el disco</translation>
    </message>
    <message>
        <source>Quick Add Not Saved</source>
        <translation>Entrada rápida no guardada</translation>
    </message>
    <message>
        <source>The quick add &quot;%1&quot; could not be saved (%2). If Larkspindle Calendar ends now, it is lost.

End without it? Choose No to wait on.</source>
        <translation>La entrada rápida «%1» no se pudo guardar (%2). Si Larkspindle Calendar termina ahora, se pierde.

¿Terminar sin ella? Elija No para seguir esperando.</translation>
    </message>
    <message>
        <location filename="../../app/Application.cpp" line="146"/>
        <source>Database Error</source>
        <translation>Error de base de datos</translation>
    </message>
    <message>
        <location filename="../../app/Application.cpp" line="153"/>
        <source>Larkspindle Calendar Is Running</source>
        <translation>Larkspindle Calendar ya se está ejecutando</translation>
    </message>
    <message>
        <location filename="../../app/Application.cpp" line="154"/>
        <source>Larkspindle Calendar is already running with this data folder (process %1), perhaps in another session of yours. Close it there, then start it here again.

Data directory: %2</source>
        <translation>Larkspindle Calendar ya se está ejecutando con esta carpeta de datos (proceso %1), quizá en otra sesión suya. Ciérrelo allí y vuelva a iniciarlo aquí.

Carpeta de datos: %2</translation>
    </message>
    <message>
        <location filename="../../app/Application.cpp" line="1"/>
        <source>Larkspindle Calendar is already running with this data folder, perhaps in another session of yours. Close it there, then start it here again.

Data directory: %1</source>
        <translation>Larkspindle Calendar ya se está ejecutando con esta carpeta de datos, quizá en otra sesión suya. Ciérrelo allí y vuelva a iniciarlo aquí.

Directorio de datos: %1</translation>
    </message>
    <message>
        <location filename="../../app/Application.cpp" line="1"/>
        <source>Data Folder Cannot Be Locked</source>
        <translation>No se puede bloquear la carpeta de datos</translation>
    </message>
    <message>
        <location filename="../../app/Application.cpp" line="1"/>
        <source>The lock file %1 is a folder, so no copy of Larkspindle Calendar can take this data folder. Remove that folder, then start Larkspindle Calendar again.</source>
        <translation>El archivo de bloqueo %1 es una carpeta, así que ninguna copia de Larkspindle Calendar puede tomar esta carpeta de datos. Elimine esa carpeta y vuelva a iniciar Larkspindle Calendar.</translation>
    </message>
    <message>
        <location filename="../../app/Application.cpp" line="1"/>
        <source>The lock file %1 cannot be read. If Larkspindle Calendar is not running in another session of yours, remove the file, then start it again.</source>
        <translation>No se puede leer el archivo de bloqueo %1. Si Larkspindle Calendar no se está ejecutando en otra sesión suya, elimine el archivo y vuelva a iniciarlo.</translation>
    </message>
    <message>
        <location filename="../../app/Application.cpp" line="1"/>
        <source>Neither the data folder nor its database can be locked (%1), so another copy of Larkspindle Calendar could change the same calendar at the same time.

Data directory: %2

Please check file permissions and try again.</source>
        <translation>No se puede bloquear ni la carpeta de datos ni su base de datos (%1), así que otra copia de Larkspindle Calendar podría modificar el mismo calendario a la vez.

Directorio de datos: %2

Compruebe los permisos de los archivos e inténtelo de nuevo.</translation>
    </message>
    <message>
        <source>Data Folder Cannot Be Made</source>
        <translation>No se puede crear la carpeta de datos</translation>
    </message>
    <message>
        <source>The data folder cannot be made (%1).

Data directory: %2

Please check that no file stands in its path and that you may write there, then start Larkspindle Calendar again.</source>
        <translation>No se puede crear la carpeta de datos (%1).

Carpeta de datos: %2

Compruebe que ningún archivo ocupe su ruta y que puede escribir allí; después, vuelva a iniciar Larkspindle Calendar.</translation>
    </message>
    <message>
        <source>The database cannot be opened for writing (%1), so Larkspindle Calendar cannot start.

Data directory: %2</source>
        <translation>No se puede abrir la base de datos para escribir (%1), así que Larkspindle Calendar no puede iniciarse.

Carpeta de datos: %2</translation>
    </message>
    <message>
        <source>Link in the Data Folder</source>
        <translation>Enlace en la carpeta de datos</translation>
    </message>
    <message>
        <source>%1 is a link. Larkspindle Calendar keeps its own files in its data folder and does not write through links. Put the file itself there or remove the link, then start Larkspindle Calendar again.</source>
        <translation>%1 es un enlace. Larkspindle Calendar guarda sus propios archivos en su carpeta de datos y no escribe a través de enlaces. Ponga allí el propio archivo o elimine el enlace y vuelva a iniciar Larkspindle Calendar.</translation>
    </message>
    <message>
        <source>Larkspindle Calendar Is Starting</source>
        <translation>Larkspindle Calendar se está iniciando</translation>
    </message>
    <message>
        <source>Larkspindle Calendar is already running or still starting with this data folder. This start hands its command over as soon as it answers.</source>
        <translation>Larkspindle Calendar ya se está ejecutando o aún se está iniciando con esta carpeta de datos. Este inicio le pasará su orden en cuanto responda.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Waiting for Another Program</source>
        <translation>Esperando a otro programa</translation>
    </message>
    <message>
        <source>Another program is writing to the calendar. Larkspindle Calendar starts as soon as it is done.</source>
        <translation>Otro programa está escribiendo en el calendario. Larkspindle Calendar se iniciará en cuanto termine.</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>Quick-Add Lines Not Saved</source>
        <translation>Entradas rápidas sin guardar</translation>
    </message>
    <message numerus="yes">
        <source>Another program is still writing to the calendar, and %n quick-add line(s) could not be saved to disk. If Larkspindle Calendar ends now, they are lost.

End without them? Choose No to try again.</source>
        <translation>
            <numerusform>Otro programa sigue escribiendo en el calendario y %n entrada rápida no se pudo guardar en el disco. Si Larkspindle Calendar se cierra ahora, se perderá.

¿Cerrar sin ella? Elija No para volver a intentarlo.</numerusform>
            <numerusform>Otro programa sigue escribiendo en el calendario y %n entradas rápidas no se pudieron guardar en el disco. Si Larkspindle Calendar se cierra ahora, se perderán.

¿Cerrar sin ellas? Elija No para volver a intentarlo.</numerusform>
        </translation>
    </message>
    <message>
        <source>Adding Quick-Add Lines</source>
        <translation>Añadiendo entradas rápidas</translation>
    </message>
    <message numerus="yes">
        <source>Another program is writing to the calendar. Larkspindle Calendar adds %n waiting quick-add line(s) as soon as it is done, then ends.</source>
        <translation>
            <numerusform>Otro programa está escribiendo en el calendario. Larkspindle Calendar añadirá %n entrada rápida pendiente en cuanto termine y después se cerrará.</numerusform>
            <numerusform>Otro programa está escribiendo en el calendario. Larkspindle Calendar añadirá %n entradas rápidas pendientes en cuanto termine y después se cerrará.</numerusform>
        </translation>
    </message>
    <message>
        <source>End Now</source>
        <translation>Cerrar ahora</translation>
    </message>
</context>
<context>
    <name>CalDavClient</name>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="177"/>
        <source>The server&apos;s certificate does not match the trusted certificate.</source>
        <translation>El certificado del servidor no coincide con el certificado de confianza.</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="179"/>
        <source>The server&apos;s certificate is not trusted.</source>
        <translation>El certificado del servidor no es de confianza.</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="183"/>
        <source>The server did not answer in time.</source>
        <translation>El servidor no respondió a tiempo.</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="185"/>
        <source>Could not reach the server: %1</source>
        <translation>No se pudo conectar con el servidor: %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="198"/>
        <source>The server redirected too many times.</source>
        <translation>El servidor redirigió demasiadas veces.</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="202"/>
        <source>The server redirected to an address that is not a web address.</source>
        <translation>El servidor redirigió a una dirección que no es una dirección web.</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="226"/>
        <source>The server did not accept the user name or password.</source>
        <translation>El servidor no aceptó el nombre de usuario o la contraseña.</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="227"/>
        <source>The server answered with HTTP status %1.</source>
        <translation>El servidor respondió con el estado HTTP %1.</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="103"/>
        <source>The server address is not valid.</source>
        <translation>La dirección del servidor no es válida.</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="101"/>
        <source>The server address must start with https://; without encryption the password would travel in the clear.</source>
        <translation>La dirección del servidor debe empezar por https://; sin cifrado, la contraseña viajaría en texto claro.</translation>
    </message>
</context>
<context>
    <name>CalDavDiscovery</name>
    <message>
        <location filename="../../services/sync/caldav/CalDavDiscovery.cpp" line="161"/>
        <source>The server&apos;s reply could not be read.</source>
        <translation>No se pudo leer la respuesta del servidor.</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavDiscovery.cpp" line="127"/>
        <source>The server pointed to another server; the password was not sent there.</source>
        <translation>El servidor remitió a otro servidor; la contraseña no se envió allí.</translation>
    </message>
</context>
<context>
    <name>CalendarPickerDialog</name>
    <message>
        <location filename="../../ui/dialogs/CalendarPickerDialog.cpp" line="20"/>
        <source>Choose Calendar</source>
        <translation>Elegir calendario</translation>
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
        <translation>dddd, d &apos;de&apos; MMM</translation>
    </message>
    <message>
        <location filename="../../model/DateText.cpp" line="15"/>
        <source>ddd, MMM d</source>
        <comment>date pattern: short weekday, month and day</comment>
        <translation>ddd, d MMM</translation>
    </message>
    <message>
        <location filename="../../model/DateText.cpp" line="18"/>
        <source>ddd d MMM yyyy</source>
        <comment>date pattern: short weekday, day, month and year</comment>
        <translation>ddd, d MMM yyyy</translation>
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
        <translation>Abrir</translation>
    </message>
</context>
<context>
    <name>EventDetailsPopover</name>
    <message>
        <location filename="../../ui/dialogs/EventDetailsPopover.cpp" line="59"/>
        <source>(No title)</source>
        <translation>(Sin título)</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventDetailsPopover.cpp" line="25"/>
        <source>%1, all day</source>
        <translation>%1, todo el día</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventDetailsPopover.cpp" line="26"/>
        <source>%1 – %2, all day</source>
        <translation>%1 – %2, todo el día</translation>
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
        <translation>Todo el día</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="34"/>
        <source>New Event</source>
        <translation>Nuevo evento</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="36"/>
        <source>Title</source>
        <translation>Título</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="67"/>
        <source>Title:</source>
        <translation>Título:</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="68"/>
        <source>Starts:</source>
        <translation>Inicio:</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="69"/>
        <source>Ends:</source>
        <translation>Fin:</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="71"/>
        <source>Calendar:</source>
        <translation>Calendario:</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="99"/>
        <source>Give the event a title.</source>
        <translation>Ponga un título al evento.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="101"/>
        <source>Choose a calendar.</source>
        <translation>Elija un calendario.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="104"/>
        <source>The event ends before it starts.</source>
        <translation>El evento termina antes de empezar.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="135"/>
        <source>The event could not be saved.</source>
        <translation>No se pudo guardar el evento.</translation>
    </message>
    <message>
        <source>Another program is writing to the calendar, so the event is not saved yet. Keep this window open and save again once it is done.</source>
        <translation>Otro programa está escribiendo en el calendario, así que el evento aún no se ha guardado. Deje esta ventana abierta y vuelva a guardar cuando termine.</translation>
    </message>
</context>
<context>
    <name>Google::AuthService</name>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="83"/>
        <source>Google OAuth credentials are not configured in this build. See .env.example.</source>
        <translation>Las credenciales OAuth de Google no están configuradas en esta versión. Consulte .env.example.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="85"/>
        <source>Google OAuth credentials are not configured.</source>
        <translation>Las credenciales OAuth de Google no están configuradas.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="87"/>
        <source>Could not bind a local port for the Google sign-in callback: %1</source>
        <translation>No se pudo abrir un puerto local para la respuesta del inicio de sesión de Google: %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="89"/>
        <source>Could not launch the system browser for Google sign-in.</source>
        <translation>No se pudo abrir el navegador del sistema para iniciar sesión en Google.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="91"/>
        <source>Google did not return an authorization code.</source>
        <translation>Google no devolvió ningún código de autorización.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="93"/>
        <source>Google did not return an access token.</source>
        <translation>Google no devolvió ningún token de acceso.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="95"/>
        <source>Google did not return a refresh token. Try removing the app from your Google Account permissions and signing in again.</source>
        <translation>Google no devolvió ningún token de actualización. Quite la aplicación de los permisos de su cuenta de Google y vuelva a iniciar sesión.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="98"/>
        <source>Google&apos;s response had no access_token.</source>
        <translation>La respuesta de Google no incluía access_token.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="105"/>
        <source>Google denied the sign-in: %1</source>
        <translation>Google rechazó el inicio de sesión: %1</translation>
    </message>
</context>
<context>
    <name>Google::CalendarClient</name>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="119"/>
        <source>the request timed out</source>
        <translation>la solicitud agotó el tiempo de espera</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="133"/>
        <source>Google could not be reached: %1</source>
        <translation>No se pudo contactar con Google: %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="147"/>
        <source>Google rejected calendarList.list (HTTP %1): %2</source>
        <translation>Google rechazó calendarList.list (HTTP %1): %2</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="149"/>
        <source>Google rejected events.list (HTTP %1): %2</source>
        <translation>Google rechazó events.list (HTTP %1): %2</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="151"/>
        <source>Google rejected events.insert: %1</source>
        <translation>Google rechazó events.insert: %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="153"/>
        <source>Google rejected events.update: %1</source>
        <translation>Google rechazó events.update: %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="154"/>
        <source>Google rejected events.delete: %1</source>
        <translation>Google rechazó events.delete: %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="201"/>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="232"/>
        <source>No Google access token available.</source>
        <translation>No hay ningún token de acceso de Google.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="189"/>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="340"/>
        <source>Google sent a reply that cannot be read.</source>
        <translation>Google envió una respuesta que no se puede leer.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="327"/>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="352"/>
        <source>No Google access token.</source>
        <translation>No hay token de acceso de Google.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="135"/>
        <source>Google asks to wait before the next request.</source>
        <translation>Google pide esperar antes de la siguiente solicitud.</translation>
    </message>
</context>
<context>
    <name>Google::GoogleSyncProvider</name>
    <message>
        <location filename="../../services/sync/google/GoogleSyncProvider.cpp" line="49"/>
        <source>No saved Google credentials. Sign in again.</source>
        <translation>No hay credenciales de Google guardadas. Vuelva a iniciar sesión.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/GoogleSyncProvider.cpp" line="62"/>
        <source>Google token refresh failed: %1</source>
        <translation>No se pudo renovar el token de Google: %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/GoogleSyncProvider.cpp" line="153"/>
        <source>Google sent an event without a start; the changes of this calendar were not saved.</source>
        <translation>Google envió un evento sin inicio; los cambios de este calendario no se guardaron.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/GoogleSyncProvider.cpp" line="175"/>
        <source>Google no longer accepts the calendar&apos;s sync token.</source>
        <translation>Google ya no acepta el token de sincronización del calendario.</translation>
    </message>
    <message numerus="yes">
        <location filename="../../services/sync/google/GoogleSyncProvider.cpp" line="317"/>
        <source>%Ln change(s) could not be sent to Google and will be sent again at the next sync: %1</source>
        <translation>
            <numerusform>%Ln cambio no se pudo enviar a Google y se enviará de nuevo en la próxima sincronización: %1</numerusform>
            <numerusform>%Ln cambios no se pudieron enviar a Google y se enviarán de nuevo en la próxima sincronización: %1</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../services/sync/google/GoogleSyncProvider.cpp" line="325"/>
        <source>&quot;%1&quot; is no longer available at Google; its changes stay on this device.</source>
        <translation>«%1» ya no está disponible en Google; sus cambios se quedan en este dispositivo.</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/GoogleSyncProvider.cpp" line="193"/>
        <source>The series of &quot;%1&quot; is not in the Google calendar yet; the changed occurrence is sent at a later sync.</source>
        <translation>La serie «%1» aún no está en el calendario de Google; la repetición modificada se enviará en una sincronización posterior.</translation>
    </message>
</context>
<context>
    <name>IcsImport</name>
    <message>
        <location filename="../../core/IcsImport.cpp" line="45"/>
        <source>Import failed: the file %1 could not be read (%2).</source>
        <translation>Error al importar: no se pudo leer el archivo %1 (%2).</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="50"/>
        <source>Import failed: the file %1 does not exist.</source>
        <translation>Error al importar: el archivo %1 no existe.</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="53"/>
        <source>Import failed: %1 is not a regular file.</source>
        <translation>Error al importar: %1 no es un archivo normal.</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="54"/>
        <source>Import failed: the file %1 is larger than %2 MB.</source>
        <translation>Error al importar: el archivo %1 ocupa más de %2 MB.</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="104"/>
        <location filename="../../core/IcsImport.cpp" line="248"/>
        <source>Import failed: no events found in %1.</source>
        <translation>Error al importar: no se encontraron eventos en %1.</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="157"/>
        <source>Import failed: the chosen calendar does not exist.</source>
        <translation>La importación ha fallado: el calendario elegido no existe.</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="162"/>
        <source>Import failed: the calendar &quot;%1&quot; is read-only.</source>
        <translation>La importación ha fallado: el calendario «%1» es de solo lectura.</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="170"/>
        <source>Import failed: the events could not be stored (%1).</source>
        <translation>La importación ha fallado: no se pudieron guardar los eventos (%1).</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="193"/>
        <source>Import failed: the events of %1 could not be stored; nothing was imported.</source>
        <translation>La importación ha fallado: no se pudieron guardar los eventos de %1; no se importó nada.</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="193"/>
        <source>Import failed: the disk is full, so nothing was imported.</source>
        <translation>La importación ha fallado: el disco está lleno, así que no se importó nada.</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="193"/>
        <source>The disk is full.</source>
        <translation>El disco está lleno.</translation>
    </message>
    <message numerus="yes">
        <location filename="../../core/IcsImport.cpp" line="255"/>
        <source>Imported %Ln event(s) from %1.</source>
        <translation>
            <numerusform>Se importó %Ln evento de %1.</numerusform>
            <numerusform>Se importaron %Ln eventos de %1.</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="143"/>
        <source>Import cancelled; nothing was imported.</source>
        <translation>Importación cancelada; no se importó nada.</translation>
    </message>
    <message numerus="yes">
        <location filename="../../core/IcsImport.cpp" line="242"/>
        <source>%Ln event(s) without an identifier or a start were skipped.</source>
        <translation>
            <numerusform>Se omitió %Ln evento sin identificador o sin inicio.</numerusform>
            <numerusform>Se omitieron %Ln eventos sin identificador o sin inicio.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location filename="../../core/IcsImport.cpp" line="294"/>
        <source>Over-long text in %Ln event(s) was shortened.</source>
        <translation>
            <numerusform>Se ha acortado un texto demasiado largo en %Ln evento.</numerusform>
            <numerusform>Se han acortado textos demasiado largos en %Ln eventos.</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="306"/>
        <source>Import failed, and some of the events it had stored could not be removed again.</source>
        <translation>La importación falló y algunos de los eventos que ya había guardado no se pudieron volver a quitar.</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="204"/>
        <source>Import failed: an earlier import has not been taken back.</source>
        <translation>La importación ha fallado: una importación anterior aún no se ha deshecho.</translation>
    </message>
    <message numerus="yes">
        <location filename="../../core/ImportTakeBack.cpp" line="99"/>
        <source>The import of %1 did not finish in the last run; the %Ln event(s) it had stored have been taken back.</source>
        <translation>
            <numerusform>La importación de %1 no terminó en la última ejecución; se ha deshecho %Ln evento que había guardado.</numerusform>
            <numerusform>La importación de %1 no terminó en la última ejecución; se han deshecho %Ln eventos que había guardado.</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../core/ImportTakeBack.cpp" line="103"/>
        <source>The import of %1 did not finish in the last run; some of the events it had stored could not be taken back yet, and will be at the next start.</source>
        <translation>La importación de %1 no terminó en la última ejecución; algunos de los eventos que había guardado aún no se pudieron deshacer y se desharán en el próximo inicio.</translation>
    </message>
</context>
<context>
    <name>LarkAccount::AccountGroupPage</name>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="40"/>
        <source>Group</source>
        <translation>Grupo</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="66"/>
        <source>No Group</source>
        <translation>Sin grupo</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="67"/>
        <source>You&apos;re not part of a group. The group owner can invite you, or you can join with an invite code.</source>
        <translation>No pertenece a ningún grupo. El propietario del grupo puede invitarle, o puede unirse con un código de invitación.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="70"/>
        <source>Join with Invite Code</source>
        <translation>Unirse con un código de invitación</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="80"/>
        <source>Members</source>
        <translation>Miembros</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="97"/>
        <source>Owner</source>
        <translation>Propietario</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="104"/>
        <source>Remove</source>
        <translation>Quitar</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="116"/>
        <source>Pending Invitations</source>
        <translation>Invitaciones pendientes</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="123"/>
        <source>Revoke</source>
        <translation>Revocar</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="134"/>
        <source>Invite Members</source>
        <translation>Invitar a miembros</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="135"/>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="201"/>
        <source>Invite by Email</source>
        <translation>Invitar por correo</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="136"/>
        <source>Generate Invite Code</source>
        <translation>Generar código de invitación</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="141"/>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="189"/>
        <source>Leave Group</source>
        <translation>Salir del grupo</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="150"/>
        <source>Join Group</source>
        <translation>Unirse a un grupo</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="150"/>
        <source>Enter invite code:</source>
        <translation>Introduzca el código de invitación:</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="158"/>
        <source>Invalid or expired invite code.</source>
        <translation>Código de invitación no válido o caducado.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="161"/>
        <source>Joined group.</source>
        <translation>Se ha unido al grupo.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="169"/>
        <source>Remove Member</source>
        <translation>Quitar miembro</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="169"/>
        <source>Remove %1 from the group?</source>
        <translation>¿Quitar a %1 del grupo?</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="173"/>
        <source>%1 removed.</source>
        <translation>Se ha quitado a %1.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="173"/>
        <source>Failed to remove %1.</source>
        <translation>No se pudo quitar a %1.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="182"/>
        <source>Invitation revoked.</source>
        <translation>Invitación revocada.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="182"/>
        <source>Failed to revoke invitation.</source>
        <translation>No se pudo revocar la invitación.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="190"/>
        <source>Leave this group? You will lose access to shared data.</source>
        <translation>¿Salir de este grupo? Perderás el acceso a los datos compartidos.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="194"/>
        <source>Left group.</source>
        <translation>Ha salido del grupo.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="194"/>
        <source>Failed to leave group.</source>
        <translation>No se pudo salir del grupo.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="201"/>
        <source>Email address:</source>
        <translation>Dirección de correo:</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="210"/>
        <source>Failed to send invitation.</source>
        <translation>No se pudo enviar la invitación.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="213"/>
        <source>Invitation sent.</source>
        <translation>Invitación enviada.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="225"/>
        <source>Failed to generate code.</source>
        <translation>No se pudo generar el código.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="228"/>
        <source>Invite Code</source>
        <translation>Código de invitación</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="229"/>
        <source>Share this code with the person you want to invite:</source>
        <translation>Comparta este código con la persona a la que quiere invitar:</translation>
    </message>
</context>
<context>
    <name>LarkAccount::AccountRows</name>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="24"/>
        <source>Unknown</source>
        <translation>Desconocido</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="27"/>
        <source>Active now</source>
        <translation>Activo ahora</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="29"/>
        <source>%1m ago</source>
        <translation>hace %1 min</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="31"/>
        <source>%1h ago</source>
        <translation>hace %1 h</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="33"/>
        <source>%1d ago</source>
        <translation>hace %1 d</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="35"/>
        <source>MMM d, yyyy</source>
        <translation>d MMM yyyy</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="43"/>
        <source>Unknown Device</source>
        <translation>Dispositivo desconocido</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="57"/>
        <source>Unknown client</source>
        <translation>Cliente desconocido</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="62"/>
        <source>This session</source>
        <translation>Esta sesión</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="75"/>
        <source>%1 of %2 seats used</source>
        <translation>%1 de %2 plazas ocupadas</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="89"/>
        <source>Invite code: %1</source>
        <translation>Código de invitación: %1</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="100"/>
        <source>Password must be at least %1 characters.</source>
        <translation>La contraseña debe tener al menos %1 caracteres.</translation>
    </message>
</context>
<context>
    <name>LarkAccount::AccountScreen</name>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="58"/>
        <location filename="../../ui/account/AccountScreen.cpp" line="157"/>
        <source>Profile</source>
        <translation>Perfil</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="58"/>
        <source>Group</source>
        <translation>Grupo</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="58"/>
        <location filename="../../ui/account/AccountScreen.cpp" line="77"/>
        <source>Devices</source>
        <translation>Dispositivos</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="58"/>
        <location filename="../../ui/account/AccountScreen.cpp" line="78"/>
        <source>Security</source>
        <translation>Seguridad</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="58"/>
        <location filename="../../ui/account/AccountScreen.cpp" line="210"/>
        <source>Data &amp; Privacy</source>
        <translation>Datos &amp; privacidad</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="158"/>
        <source>Personal Information</source>
        <translation>Información personal</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="174"/>
        <location filename="../../ui/account/AccountScreen.cpp" line="414"/>
        <source>Edit Display Name</source>
        <translation>Editar nombre visible</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="175"/>
        <source>Sign Out</source>
        <translation>Cerrar sesión</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="186"/>
        <source>Password</source>
        <translation>Contraseña</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="186"/>
        <source>Change your account password.</source>
        <translation>Cambie la contraseña de su cuenta.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="188"/>
        <location filename="../../ui/account/AccountScreen.cpp" line="435"/>
        <source>Change Password</source>
        <translation>Cambiar contraseña</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="212"/>
        <source>Danger Zone</source>
        <translation>Zona de peligro</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="213"/>
        <source>Permanently delete your account. This cannot be undone after 30 days.</source>
        <translation>Elimine su cuenta de forma permanente. No se puede deshacer pasados 30 días.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="214"/>
        <location filename="../../ui/account/AccountScreen.cpp" line="470"/>
        <source>Delete Account</source>
        <translation>Eliminar cuenta</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="223"/>
        <source>You are the group owner. Transfer ownership or remove all members before deleting your account.</source>
        <translation>Usted es el propietario del grupo. Transfiera la propiedad o quite a todos los miembros antes de eliminar su cuenta.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="330"/>
        <source>(not set)</source>
        <translation>(sin definir)</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="339"/>
        <source>Registered Devices</source>
        <translation>Dispositivos registrados</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="340"/>
        <source>Devices that have synced with your account.</source>
        <translation>Dispositivos que se han sincronizado con su cuenta.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="342"/>
        <source>No devices registered.</source>
        <translation>No hay dispositivos registrados.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="361"/>
        <source>Remove</source>
        <translation>Quitar</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="375"/>
        <source>Active Sessions</source>
        <translation>Sesiones activas</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="376"/>
        <source>Sessions currently signed in to your account.</source>
        <translation>Sesiones que han iniciado sesión en su cuenta.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="378"/>
        <source>No active sessions.</source>
        <translation>No hay sesiones activas.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="397"/>
        <source>Current</source>
        <translation>Actual</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="402"/>
        <source>Revoke</source>
        <translation>Revocar</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="414"/>
        <source>Display name:</source>
        <translation>Nombre visible:</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="424"/>
        <source>Failed to update profile.</source>
        <translation>No se pudo actualizar el perfil.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="429"/>
        <source>Display name updated.</source>
        <translation>Nombre visible actualizado.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="436"/>
        <source>Current password:</source>
        <translation>Contraseña actual:</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="440"/>
        <source>New password (min %1 characters):</source>
        <translation>Nueva contraseña (mín. %1 caracteres):</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="449"/>
        <source>Confirm new password:</source>
        <translation>Confirma la nueva contraseña:</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="451"/>
        <source>Passwords do not match.</source>
        <translation>Las contraseñas no coinciden.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="461"/>
        <source>Password changed.</source>
        <translation>Contraseña cambiada.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="463"/>
        <source>Failed to change password.</source>
        <translation>No se pudo cambiar la contraseña.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="471"/>
        <source>This will schedule your account for permanent deletion after 30 days.</source>
        <translation>Su cuenta quedará programada para eliminarse de forma permanente dentro de 30 días.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="472"/>
        <source>Type %1 to confirm:</source>
        <translation>Escriba %1 para confirmar:</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="482"/>
        <source>Failed to delete account.</source>
        <translation>No se pudo eliminar la cuenta.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="485"/>
        <source>Account Scheduled for Deletion</source>
        <translation>Cuenta programada para eliminarse</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="486"/>
        <source>Your account will be permanently deleted in 30 days. You can recover it by signing in before then.</source>
        <translation>Su cuenta se eliminará de forma permanente dentro de 30 días. Puede recuperarla iniciando sesión antes de esa fecha.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="517"/>
        <source>Remove Device</source>
        <translation>Quitar dispositivo</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="517"/>
        <source>Remove %1?</source>
        <translation>¿Quitar %1?</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="521"/>
        <source>Device removed.</source>
        <translation>Dispositivo quitado.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="521"/>
        <source>Failed to remove device.</source>
        <translation>No se pudo quitar el dispositivo.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="529"/>
        <source>Session revoked.</source>
        <translation>Sesión revocada.</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="529"/>
        <source>Failed to revoke session.</source>
        <translation>No se pudo revocar la sesión.</translation>
    </message>
</context>
<context>
    <name>LarkAccount::ApiClient</name>
    <message>
        <location filename="../../services/account/ApiClient.cpp" line="266"/>
        <source>The server sent a reply that cannot be read.</source>
        <translation>El servidor envió una respuesta que no se puede leer.</translation>
    </message>
</context>
<context>
    <name>LarkAccount::AuthClient</name>
    <message>
        <location filename="../../services/account/AuthClient.cpp" line="118"/>
        <source>Cloud sign-in is not configured in this build</source>
        <translation>El inicio de sesión en la nube no está configurado en esta versión</translation>
    </message>
    <message>
        <location filename="../../services/account/AuthClient.cpp" line="131"/>
        <source>Failed to start local auth server</source>
        <translation>No se pudo iniciar el servidor de autenticación local</translation>
    </message>
    <message>
        <location filename="../../services/account/AuthClient.cpp" line="154"/>
        <source>No tokens received</source>
        <translation>No se recibieron tokens</translation>
    </message>
</context>
<context>
    <name>LarkAccount::ShareMembersDialog</name>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="132"/>
        <source>People with access</source>
        <translation>Personas con acceso</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="134"/>
        <source>Add people</source>
        <translation>Añadir personas</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="138"/>
        <source>All group members already have access</source>
        <translation>Todos los miembros del grupo ya tienen acceso</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="148"/>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="233"/>
        <source>Not shared with anyone yet.</source>
        <translation>Aún no se ha compartido con nadie.</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="245"/>
        <source>Remove access</source>
        <translation>Quitar acceso</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="260"/>
        <source>Share</source>
        <translation>Compartir</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="291"/>
        <source>Could not share with %1.</source>
        <translation>No se pudo compartir con %1.</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="307"/>
        <source>Remove access?</source>
        <translation>¿Quitar el acceso?</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="308"/>
        <source>%1 will no longer have access. Continue?</source>
        <translation>%1 ya no tendrá acceso. ¿Continuar?</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="321"/>
        <source>Could not remove %1.</source>
        <translation>No se pudo quitar a %1.</translation>
    </message>
</context>
<context>
    <name>LarkAccount::TokenStore</name>
    <message>
        <location filename="../../platform/TokenStore.cpp" line="130"/>
        <source>The desktop keyring is locked, so the saved sign-in and passwords cannot be used. Unlock the keyring and try again.</source>
        <translation>El depósito de claves del escritorio está bloqueado, por lo que no se pueden usar el inicio de sesión ni las contraseñas guardados. Desbloquee el depósito de claves e inténtelo de nuevo.</translation>
    </message>
    <message>
        <location filename="../../platform/TokenStore.cpp" line="135"/>
        <source>The saved sign-in and passwords are kept in the desktop keyring, which does not answer.</source>
        <translation>El inicio de sesión y las contraseñas guardados están en el depósito de claves del escritorio, que no responde.</translation>
    </message>
</context>
<context>
    <name>LarkUpdate::DialogParts</name>
    <message>
        <source>Page not opened</source>
        <translation>Página no abierta</translation>
    </message>
    <message>
        <source>The page could not be opened: it has no address.</source>
        <translation>No se pudo abrir la página: no tiene dirección.</translation>
    </message>
    <message>
        <source>The page could not be opened in a browser. Its address, to open it yourself:
%1</source>
        <translation>No se pudo abrir la página en un navegador. Su dirección, para abrirla usted mismo:
%1</translation>
    </message>
</context>
<context>
    <name>LarkUpdate::UpdateDialog</name>
    <message>
        <location filename="../../ui/update/UpdateDialog.cpp" line="22"/>
        <source>Update available</source>
        <translation>Actualización disponible</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateDialog.cpp" line="26"/>
        <source>A new version of %1 is available.</source>
        <translation>Hay una nueva versión de %1 disponible.</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateDialog.cpp" line="29"/>
        <source>You have version %1. The latest version is %2.</source>
        <translation>Tiene la versión %1. La versión más reciente es la %2.</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateDialog.cpp" line="36"/>
        <source>Loading release notes…</source>
        <translation>Cargando notas de la versión…</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateDialog.cpp" line="44"/>
        <source>*Release notes are not available for this version.*</source>
        <translation>*No hay notas de la versión disponibles para esta versión.*</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateDialog.cpp" line="51"/>
        <source>Download</source>
        <translation>Descargar</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateDialog.cpp" line="55"/>
        <source>Later</source>
        <translation>Más tarde</translation>
    </message>
</context>
<context>
    <name>LarkUpdate::WhatsNewDialog</name>
    <message>
        <location filename="../../ui/update/WhatsNewDialog.cpp" line="24"/>
        <source>What&apos;s New in %1 %2</source>
        <translation>Novedades de %1 %2</translation>
    </message>
    <message>
        <location filename="../../ui/update/WhatsNewDialog.cpp" line="29"/>
        <source>What&apos;s new in %1 %2</source>
        <translation>Novedades de %1 %2</translation>
    </message>
    <message>
        <location filename="../../ui/update/WhatsNewDialog.cpp" line="35"/>
        <source>You are running version %1</source>
        <translation>Está usando la versión %1</translation>
    </message>
    <message>
        <location filename="../../ui/update/WhatsNewDialog.cpp" line="44"/>
        <source>Download %1</source>
        <translation>Descargar %1</translation>
    </message>
</context>
<context>
    <name>Larkspindle::CalendarUpgradeService</name>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="65"/>
        <source>Calendar&apos;s account is missing</source>
        <translation>Falta la cuenta del calendario</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="67"/>
        <source>Only Larkspindle-native calendars can be upgraded</source>
        <translation>Solo se pueden pasar a la nube los calendarios propios de Larkspindle</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="69"/>
        <source>Calendar is already on Larkspindle</source>
        <translation>El calendario ya está en Larkspindle</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="71"/>
        <source>This calendar is already being moved</source>
        <translation>Este calendario ya se está moviendo</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="73"/>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="130"/>
        <source>Not signed in</source>
        <translation>No ha iniciado sesión</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="112"/>
        <source>Server registration failed (HTTP %1)</source>
        <translation>Error al registrar el calendario en el servidor (HTTP %1)</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="175"/>
        <source>Uploading the calendar failed (HTTP %1); it stays on this device</source>
        <translation>Error al subir el calendario (HTTP %1); se queda en este dispositivo</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="182"/>
        <source>The calendar could not be saved as a cloud calendar; it stays on this device</source>
        <translation>No se pudo guardar el calendario como calendario en la nube; se queda en este dispositivo</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="179"/>
        <source>Uploading the calendar failed: %1; it stays on this device</source>
        <translation>No se pudo subir el calendario: %1; se queda en este dispositivo</translation>
    </message>
</context>
<context>
    <name>Larkspindle::CloudSyncProvider</name>
    <message>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="132"/>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="197"/>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="294"/>
        <source>Sign in to the cloud account to sync its calendars</source>
        <translation>Inicie sesión en la cuenta en la nube para sincronizar sus calendarios</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="145"/>
        <source>Larkspindle calendar list failed (HTTP %1)</source>
        <translation>Error al obtener la lista de calendarios de Larkspindle (HTTP %1)</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="214"/>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="257"/>
        <source>Larkspindle pull failed (HTTP %1)</source>
        <translation>Error al recibir de Larkspindle (HTTP %1)</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="314"/>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="347"/>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="350"/>
        <source>Larkspindle push failed (HTTP %1)</source>
        <translation>Error al enviar a Larkspindle (HTTP %1)</translation>
    </message>
    <message numerus="yes">
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="356"/>
        <source>Larkspindle push: %Ln event(s) failed</source>
        <translation>
            <numerusform>Envío a Larkspindle: falló %Ln evento</numerusform>
            <numerusform>Envío a Larkspindle: fallaron %Ln eventos</numerusform>
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
        <translation>Es necesario iniciar sesión</translation>
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
        <translation>Inicie sesión en la cuenta en la nube para sincronizar las preferencias</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/ConfigSyncService.cpp" line="343"/>
        <source>The settings could not be sent (HTTP %1)</source>
        <translation>No se pudieron enviar las preferencias (HTTP %1)</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/ConfigSyncService.cpp" line="397"/>
        <source>The settings could not be fetched (HTTP %1)</source>
        <translation>No se pudieron obtener las preferencias (HTTP %1)</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/ConfigSyncService.cpp" line="429"/>
        <source>Settings from your other devices could not be saved here</source>
        <translation>No se pudieron guardar aquí las preferencias de sus otros dispositivos</translation>
    </message>
</context>
<context>
    <name>Larkspindle::SharingBackend</name>
    <message>
        <location filename="../../services/sync/cloud/SharingBackend.cpp" line="70"/>
        <source>Not signed in</source>
        <translation>No ha iniciado sesión</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/SharingBackend.cpp" line="89"/>
        <source>Sharing failed (HTTP %1)</source>
        <translation>Error al compartir (HTTP %1)</translation>
    </message>
</context>
<context>
    <name>Larkspindle::SyncClient</name>
    <message>
        <location filename="../../services/sync/cloud/SyncClient.cpp" line="75"/>
        <source>Calendar&apos;s account is missing</source>
        <translation>Falta la cuenta del calendario</translation>
    </message>
</context>
<context>
    <name>LocalCalendar</name>
    <message>
        <location filename="../../core/LocalCalendar.cpp" line="85"/>
        <source>On This Device</source>
        <translation>En este dispositivo</translation>
    </message>
    <message>
        <location filename="../../core/LocalCalendar.cpp" line="92"/>
        <source>Personal</source>
        <comment>name of the calendar kept on this device</comment>
        <translation>Personal</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Could not add &quot;%1&quot;: %2</source>
        <translation>No se pudo añadir «%1»: %2</translation>
    </message>
    <message>
        <source>Larkspindle Calendar is still running</source>
        <translation>Larkspindle Calendar sigue abierto</translation>
    </message>
    <message>
        <source>It keeps running in the system tray, so your reminders still come. Click the tray icon to open it, or choose Quit from its menu to end it.</source>
        <translation>Sigue funcionando en la bandeja del sistema para que sus recordatorios sigan llegando. Haga clic en el icono de la bandeja para abrirlo o elija Salir en su menú para cerrarlo.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="56"/>
        <source>Larkspindle Calendar</source>
        <translation>Larkspindle Calendar</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="77"/>
        <source>Sign in again to keep your settings in step.</source>
        <translation>Vuelva a iniciar sesión para mantener sus ajustes sincronizados.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="79"/>
        <source>Settings sync failed: %1</source>
        <translation>Error al sincronizar los ajustes: %1</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="89"/>
        <source>&amp;File</source>
        <translation>&amp;Archivo</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="90"/>
        <source>&amp;New Event…</source>
        <translation>&amp;Nuevo evento…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="91"/>
        <source>&amp;Import .ics File…</source>
        <translation>&amp;Importar archivo .ics…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="93"/>
        <source>&amp;Sync Now</source>
        <translation>&amp;Sincronizar ahora</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="95"/>
        <source>&amp;Quit</source>
        <translation>Sa&amp;lir</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="97"/>
        <source>&amp;View</source>
        <translation>&amp;Ver</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="98"/>
        <source>&amp;Today</source>
        <translation>&amp;Hoy</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="100"/>
        <source>&amp;Tools</source>
        <translation>&amp;Herramientas</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="101"/>
        <source>&amp;Accounts and Calendars…</source>
        <translation>&amp;Cuentas y calendarios…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="102"/>
        <source>&amp;Preferences…</source>
        <translation>&amp;Preferencias…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="116"/>
        <source>&amp;Developer</source>
        <translation>&amp;Desarrollador</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="118"/>
        <source>Load sample data</source>
        <translation>Cargar datos de ejemplo</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="119"/>
        <source>Remove sample data</source>
        <translation>Quitar datos de ejemplo</translation>
    </message>
    <message numerus="yes">
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="204"/>
        <source>%1

%n calendar(s)</source>
        <translation>
            <numerusform>%1

%n calendario</numerusform>
            <numerusform>%1

%n calendarios</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="276"/>
        <source>Event &quot;%1&quot; saved.</source>
        <translation>Evento «%1» guardado.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="291"/>
        <source>Quick add needs a calendar: add one first.</source>
        <translation>Para añadir rápidamente se necesita un calendario: añada uno primero.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="296"/>
        <source>Could not add &quot;%1&quot;.</source>
        <translation>No se pudo añadir «%1».</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="298"/>
        <source>Added &quot;%1&quot;.</source>
        <translation>Se añadió «%1».</translation>
    </message>
    <message>
        <source>Added &quot;%1&quot; as a task without a date.</source>
        <translation>Se añadió «%1» como tarea sin fecha.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="303"/>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="387"/>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="421"/>
        <source>Import .ics File</source>
        <translation>Importar archivo .ics</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="304"/>
        <source>Calendar files (*.ics)</source>
        <translation>Archivos de calendario (*.ics)</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="367"/>
        <source>Import failed: there is no calendar that can take events. Add one first.</source>
        <translation>Error al importar: no hay ningún calendario que admita eventos. Añada uno primero.</translation>
    </message>
    <message numerus="yes">
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="373"/>
        <source>Import %Ln event(s) from %1 into:</source>
        <translation>
            <numerusform>Importar %Ln evento de %1 en:</numerusform>
            <numerusform>Importar %Ln eventos de %1 en:</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="376"/>
        <source>Import cancelled.</source>
        <translation>Importación cancelada.</translation>
    </message>
    <message numerus="yes">
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="488"/>
        <source>Loaded %n sample row(s).</source>
        <translation>
            <numerusform>Se cargó %n fila de ejemplo.</numerusform>
            <numerusform>Se cargaron %n filas de ejemplo.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="494"/>
        <source>Removed %n sample row(s).</source>
        <translation>
            <numerusform>Se quitó %n fila de ejemplo.</numerusform>
            <numerusform>Se quitaron %n filas de ejemplo.</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="322"/>
        <source>Too many requests are waiting for the open dialog; this one was ignored.</source>
        <translation>Hay demasiadas solicitudes esperando al cuadro de diálogo abierto; esta se ha ignorado.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="107"/>
        <source>&amp;Help</source>
        <translation>Ay&amp;uda</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="109"/>
        <source>Check for &amp;Updates…</source>
        <translation>Buscar act&amp;ualizaciones…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="110"/>
        <source>&amp;What&apos;s New</source>
        <translation>&amp;Novedades</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="111"/>
        <source>Send &amp;Feedback…</source>
        <translation>Enviar &amp;comentarios…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="113"/>
        <source>&amp;About %1</source>
        <translation>&amp;Acerca de %1</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="528"/>
        <source>This build has no release feed, so it cannot check for updates.</source>
        <translation>Esta versión no tiene canal de actualizaciones, así que no puede buscarlas.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="535"/>
        <source>This build has no release feed, so it has no release notes to show.</source>
        <translation>Esta versión no tiene canal de actualizaciones, así que no hay notas de la versión que mostrar.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="543"/>
        <source>This build has no feedback page configured.</source>
        <translation>Esta versión no tiene configurada ninguna página de comentarios.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="125"/>
        <source>A&amp;ccount</source>
        <translation>&amp;Cuenta</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="127"/>
        <source>Sign &amp;In…</source>
        <translation>&amp;Iniciar sesión…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="129"/>
        <source>&amp;Account…</source>
        <translation>&amp;Cuenta…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="130"/>
        <source>Sign &amp;Out</source>
        <translation>Cerrar &amp;sesión</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="137"/>
        <source>Signed in.</source>
        <translation>Sesión iniciada.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="139"/>
        <source>Sign-in failed: %1</source>
        <translation>Error al iniciar sesión: %1</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="164"/>
        <source>Continue the sign-in in your browser.</source>
        <translation>Continúe el inicio de sesión en su navegador.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="176"/>
        <source>Larkspindle Account</source>
        <translation>Cuenta de Larkspindle</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="196"/>
        <source>Signed out.</source>
        <translation>Sesión cerrada.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="384"/>
        <source>Importing the events of %1…</source>
        <translation>Importando los eventos de %1…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="385"/>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="436"/>
        <source>Taking back the import…</source>
        <translation>Deshaciendo la importación…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/ImportControl.cpp" line="1"/>
        <source>Another program is writing to the calendar database; this goes on as soon as it is done.</source>
        <translation>Otro programa está escribiendo en la base de datos del calendario; esto continúa en cuanto termine.</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="1"/>
        <source>Will be added once another program is done writing: &quot;%1&quot;</source>
        <translation>Se añadirá cuando otro programa termine de escribir: «%1»</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="495"/>
        <source>Taking back the import of %1…</source>
        <translation>Deshaciendo la importación de %1…</translation>
    </message>
    <message numerus="yes">
        <source>Added %n quick-add line(s) that waited when %1 last ended.</source>
        <translation>
            <numerusform>Añadida %n entrada rápida pendiente al cerrar %1.</numerusform>
            <numerusform>Añadidas %n entradas rápidas pendientes al cerrar %1.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Another program is writing to the calendar, and %n waiting quick-add line(s) could not be saved to disk: they are lost if Larkspindle Calendar ends before the calendar is free.</source>
        <translation>
            <numerusform>Otro programa está escribiendo en el calendario y %n entrada rápida en espera no se pudo guardar en el disco: se perderá si Larkspindle Calendar se cierra antes de que el calendario quede libre.</numerusform>
            <numerusform>Otro programa está escribiendo en el calendario y %n entradas rápidas en espera no se pudieron guardar en el disco: se perderán si Larkspindle Calendar se cierra antes de que el calendario quede libre.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n quick-add line(s) that waited when Larkspindle Calendar last ended were added; their file could not all be read and is kept as %1.</source>
        <translation>
            <numerusform>Se añadió %n entrada rápida que esperaba cuando Larkspindle Calendar se cerró por última vez; su archivo no se pudo leer entero y se conserva como %1.</numerusform>
            <numerusform>Se añadieron %n entradas rápidas que esperaban cuando Larkspindle Calendar se cerró por última vez; su archivo no se pudo leer entero y se conserva como %1.</numerusform>
        </translation>
    </message>
    <message>
        <source>The quick-add lines that waited when Larkspindle Calendar last ended could not all be read: their file is kept as %1.</source>
        <translation>No se pudieron leer todas las entradas rápidas que esperaban cuando Larkspindle Calendar se cerró por última vez: su archivo se conserva como %1.</translation>
    </message>
</context>
<context>
    <name>Microsoft::AuthService</name>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="97"/>
        <source>Microsoft OAuth credentials are not configured in this build. See .env.example.</source>
        <translation>Las credenciales OAuth de Microsoft no están configuradas en esta versión. Consulte .env.example.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="100"/>
        <source>Microsoft OAuth credentials are not configured.</source>
        <translation>Las credenciales OAuth de Microsoft no están configuradas.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="102"/>
        <source>Could not bind a local port for the Microsoft sign-in callback: %1</source>
        <translation>No se pudo abrir un puerto local para la respuesta del inicio de sesión de Microsoft: %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="104"/>
        <source>Could not launch the system browser for Microsoft sign-in.</source>
        <translation>No se pudo abrir el navegador del sistema para iniciar sesión en Microsoft.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="106"/>
        <source>Microsoft did not return an authorization code.</source>
        <translation>Microsoft no devolvió ningún código de autorización.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="108"/>
        <source>Microsoft did not return an access token.</source>
        <translation>Microsoft no devolvió ningún token de acceso.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="110"/>
        <source>Microsoft did not return a refresh token. Verify offline_access is in the scopes configured for this app.</source>
        <translation>Microsoft no devolvió ningún token de actualización. Compruebe que offline_access figure entre los ámbitos configurados para esta aplicación.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="113"/>
        <source>Microsoft&apos;s response had no access_token.</source>
        <translation>La respuesta de Microsoft no incluía access_token.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="120"/>
        <source>Microsoft denied the sign-in: %1</source>
        <translation>Microsoft rechazó el inicio de sesión: %1</translation>
    </message>
</context>
<context>
    <name>Microsoft::CalendarClient</name>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="136"/>
        <source>No Microsoft access token available.</source>
        <translation>No hay ningún token de acceso de Microsoft.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="194"/>
        <source>Microsoft Graph did not answer in time.</source>
        <translation>Microsoft Graph no respondió a tiempo.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="195"/>
        <source>Microsoft Graph could not be reached.</source>
        <translation>No se pudo conectar con Microsoft Graph.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="210"/>
        <location filename="../../services/sync/microsoft/MicrosoftSyncProvider.cpp" line="472"/>
        <source>Microsoft Graph sent a reply that cannot be read.</source>
        <translation>Microsoft Graph envió una respuesta que no se puede leer.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="225"/>
        <source>Microsoft Graph did not accept the sign-in. Sign in again.</source>
        <translation>Microsoft Graph no aceptó el inicio de sesión. Vuelva a iniciar sesión.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="228"/>
        <source>Microsoft Graph does not allow this change (HTTP 403): %1</source>
        <translation>Microsoft Graph no permite este cambio (HTTP 403): %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="232"/>
        <source>The event was changed in the Microsoft calendar since it was last synced; it was not overwritten.</source>
        <translation>El evento se modificó en el calendario de Microsoft desde la última sincronización; no se ha sobrescrito.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="236"/>
        <source>Microsoft Graph asks to wait before the next request.</source>
        <translation>Microsoft Graph pide esperar antes de la siguiente solicitud.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="239"/>
        <source>Microsoft Graph refused the request (HTTP %1): %2</source>
        <translation>Microsoft Graph rechazó la solicitud (HTTP %1): %2</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="280"/>
        <source>Microsoft Graph sent a link to another server; it was not followed.</source>
        <translation>Microsoft Graph envió un enlace a otro servidor; no se ha seguido.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/RecurrenceMapping.cpp" line="252"/>
        <source>Microsoft calendars cannot keep the repeat rule &quot;%1&quot;.</source>
        <translation>Los calendarios de Microsoft no pueden guardar la regla de repetición «%1».</translation>
    </message>
</context>
<context>
    <name>Microsoft::MicrosoftSyncProvider</name>
    <message>
        <location filename="../../services/sync/microsoft/MicrosoftSyncProvider.cpp" line="94"/>
        <source>No saved Microsoft credentials. Sign in again.</source>
        <translation>No hay credenciales de Microsoft guardadas. Vuelva a iniciar sesión.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/MicrosoftSyncProvider.cpp" line="77"/>
        <source>Microsoft token refresh failed: %1</source>
        <translation>No se pudo renovar el token de Microsoft: %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/MicrosoftSyncProvider.cpp" line="204"/>
        <source>Microsoft Graph sent a page of changes that leads nowhere.</source>
        <translation>Microsoft Graph envió una página de cambios que no lleva a ninguna parte.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/MicrosoftSyncProvider.cpp" line="543"/>
        <source>The series of &quot;%1&quot; is not in the Microsoft calendar yet; the changed occurrence is sent at a later sync.</source>
        <translation>La serie «%1» aún no está en el calendario de Microsoft; la repetición modificada se enviará en una sincronización posterior.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/MicrosoftSyncProvider.cpp" line="565"/>
        <source>The occurrence of &quot;%1&quot; changed here is no longer in its series at Microsoft.</source>
        <translation>La repetición de «%1» modificada aquí ya no forma parte de su serie en Microsoft.</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/MicrosoftSyncProvider.cpp" line="526"/>
        <source>&quot;%1&quot; is no longer available at Microsoft; its changes stay on this device.</source>
        <translation>«%1» ya no está disponible en Microsoft; sus cambios se quedan en este dispositivo.</translation>
    </message>
</context>
<context>
    <name>MissedRemindersDialog</name>
    <message>
        <location filename="../../ui/dialogs/MissedRemindersDialog.cpp" line="18"/>
        <source>Missed Reminders</source>
        <translation>Recordatorios perdidos</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/MissedRemindersDialog.cpp" line="22"/>
        <source>These reminders came while they could not be shown. Double-click one to open its event, or the day its task is due.</source>
        <translation>Estos recordatorios llegaron cuando no se podían mostrar. Haga doble clic en uno para abrir su evento, o el día en que vence su tarea.</translation>
    </message>
</context>
<context>
    <name>Net</name>
    <message>
        <location filename="../../services/net/RequestPolicy.cpp" line="44"/>
        <source>The server&apos;s reply is too large</source>
        <translation>La respuesta del servidor es demasiado grande</translation>
    </message>
    <message>
        <location filename="../../services/net/RequestPolicy.cpp" line="97"/>
        <source>The server did not finish its reply in time.</source>
        <translation>El servidor no terminó su respuesta a tiempo.</translation>
    </message>
    <message>
        <location filename="../../services/net/RequestPolicy.cpp" line="133"/>
        <source>The server redirected to another address; the request was not sent there.</source>
        <translation>El servidor redirigió a otra dirección; la solicitud no se envió allí.</translation>
    </message>
    <message>
        <location filename="../../services/net/RequestPolicy.cpp" line="181"/>
        <source>%1 The next try will be at %2.</source>
        <translation>%1 El próximo intento será el %2.</translation>
    </message>
    <message>
        <location filename="../../services/net/RequestPolicy.cpp" line="164"/>
        <source>The server stopped answering.</source>
        <translation>El servidor dejó de responder.</translation>
    </message>
    <message>
        <location filename="../../services/net/RequestPolicy.cpp" line="170"/>
        <source>The reply was cut short.</source>
        <translation>La respuesta se cortó antes de terminar.</translation>
    </message>
    <message>
        <location filename="../../services/net/RequestPolicy.cpp" line="183"/>
        <source>no answer from the server</source>
        <translation>sin respuesta del servidor</translation>
    </message>
</context>
<context>
    <name>NotificationService</name>
    <message>
        <location filename="../../ui/tray/NotificationService.cpp" line="325"/>
        <source>Test reminder</source>
        <translation>Recordatorio de prueba</translation>
    </message>
    <message>
        <location filename="../../ui/tray/NotificationService.cpp" line="326"/>
        <source>If you can see this, your desktop notifications are wired up correctly. Real reminders look just like this one.</source>
        <translation>Si ve este mensaje, las notificaciones del escritorio funcionan correctamente. Los recordatorios reales tendrán este mismo aspecto.</translation>
    </message>
</context>
<context>
    <name>OAuth::LoopbackAuthService</name>
    <message>
        <location filename="../../services/oauth/LoopbackAuthService.cpp" line="202"/>
        <source>Sign-in cancelled.</source>
        <translation>Inicio de sesión cancelado.</translation>
    </message>
    <message>
        <location filename="../../services/oauth/LoopbackAuthService.cpp" line="279"/>
        <source>Token exchange failed (HTTP %1): %2</source>
        <translation>Error al intercambiar el token (HTTP %1): %2</translation>
    </message>
    <message>
        <location filename="../../services/oauth/LoopbackAuthService.cpp" line="316"/>
        <source>Token refresh failed (HTTP %1): %2</source>
        <translation>Error al renovar el token (HTTP %1): %2</translation>
    </message>
</context>
<context>
    <name>PreferencesDialog</name>
    <message>
        <source>The preferences could not be saved (%1).</source>
        <translation>No se pudieron guardar las preferencias (%1).</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="34"/>
        <source>Close to the system tray</source>
        <translation>Cerrar a la bandeja del sistema</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="35"/>
        <source>Start minimised</source>
        <translation>Iniciar minimizado</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="36"/>
        <source>Launch at login</source>
        <translation>Abrir al iniciar sesión</translation>
    </message>
    <message>
        <source>Another program is writing to the calendar, so the preferences were not saved. Press OK again once it is done.</source>
        <translation>Otro programa está escribiendo en el calendario, así que las preferencias no se guardaron. Pulse Aceptar de nuevo cuando termine.</translation>
    </message>
    <message>
        <source>The preferences could not be saved.</source>
        <translation>No se pudieron guardar las preferencias.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="39"/>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="105"/>
        <source>Preferences</source>
        <translation>Preferencias</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="42"/>
        <source>System</source>
        <translation>Sistema</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="43"/>
        <source>Light</source>
        <translation>Claro</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="44"/>
        <source>Dark</source>
        <translation>Oscuro</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="47"/>
        <source>Default</source>
        <translation>Predeterminado</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="50"/>
        <source>Choose…</source>
        <translation>Elegir…</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="67"/>
        <source>12-hour (1:30 PM)</source>
        <translation>12 horas (1:30 PM)</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="68"/>
        <source>24-hour (13:30)</source>
        <translation>24 horas (13:30)</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="71"/>
        <source>As the system&apos;s region</source>
        <translation>Según la región del sistema</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="92"/>
        <source>Theme:</source>
        <translation>Tema:</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="93"/>
        <source>Accent colour:</source>
        <translation>Color de acento:</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="94"/>
        <source>Font size:</source>
        <translation>Tamaño de letra:</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="95"/>
        <source>Time format:</source>
        <translation>Formato de hora:</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="96"/>
        <source>First day of week:</source>
        <translation>Primer día de la semana:</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="106"/>
        <source>The launch-at-login entry could not be changed.</source>
        <translation>No se pudo cambiar el inicio automático al iniciar sesión.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="80"/>
        <source>Configure location and units…</source>
        <translation>Configurar ubicación y unidades…</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="97"/>
        <source>Weather:</source>
        <translation>Clima:</translation>
    </message>
</context>
<context>
    <name>ProviderSignIn</name>
    <message>
        <location filename="../../ui/dialogs/ProviderSignIn.cpp" line="25"/>
        <source>Google sign-in</source>
        <translation>Inicio de sesión en Google</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/ProviderSignIn.cpp" line="26"/>
        <source>Microsoft sign-in</source>
        <translation>Inicio de sesión en Microsoft</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/ProviderSignIn.cpp" line="36"/>
        <source>Finish signing in in your browser. This window closes by itself when you are done.</source>
        <translation>Termine de iniciar sesión en su navegador. Esta ventana se cerrará sola cuando acabe.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/ProviderSignIn.cpp" line="86"/>
        <source>The account could not be saved.</source>
        <translation>No se pudo guardar la cuenta.</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <location filename="../../model/DateText.cpp" line="41"/>
        <source>Today at %1</source>
        <translation>Hoy a las %1</translation>
    </message>
    <message>
        <location filename="../../core/ReminderRound.cpp" line="86"/>
        <source>Starting now (%1)</source>
        <translation>Empieza ahora (%1)</translation>
    </message>
    <message>
        <location filename="../../core/ReminderRound.cpp" line="90"/>
        <source>In %1h (%2)</source>
        <translation>En %1 h (%2)</translation>
    </message>
    <message>
        <source>In %1h %2min (%3)</source>
        <translation>En %1 h %2 min (%3)</translation>
    </message>
    <message>
        <source>Started at %1</source>
        <translation>Empezó a las %1</translation>
    </message>
    <message>
        <location filename="../../core/ReminderRound.cpp" line="92"/>
        <source>Tomorrow at %1</source>
        <translation>Mañana a las %1</translation>
    </message>
    <message>
        <location filename="../../core/ReminderRound.cpp" line="101"/>
        <source>Due soon</source>
        <translation>Vence pronto</translation>
    </message>
    <message>
        <location filename="../../core/ReminderRound.cpp" line="101"/>
        <source>Due today</source>
        <translation>Vence hoy</translation>
    </message>
    <message>
        <location filename="../../core/ReminderRound.cpp" line="102"/>
        <source>Due soon (%1)</source>
        <translation>Vence pronto (%1)</translation>
    </message>
    <message>
        <location filename="../../core/ReminderRound.cpp" line="103"/>
        <source>Due now (%1)</source>
        <translation>Vence ahora (%1)</translation>
    </message>
    <message>
        <location filename="../../core/ReminderRound.cpp" line="108"/>
        <source>Reminder</source>
        <translation>Recordatorio</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="74"/>
        <source>Larkspindle Calendar — Last sync failed</source>
        <translation>Larkspindle Calendar — Falló la última sincronización</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="75"/>
        <source>Larkspindle Calendar — Sync failed: %1</source>
        <translation>Larkspindle Calendar — Error de sincronización: %1</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="78"/>
        <source>Larkspindle Calendar — No upcoming events</source>
        <translation>Larkspindle Calendar — No hay eventos próximos</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="80"/>
        <source>Untitled</source>
        <translation>Sin título</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="88"/>
        <source>today</source>
        <translation>hoy</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="90"/>
        <source>tomorrow</source>
        <translation>mañana</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="91"/>
        <source>Larkspindle Calendar — Next: %1 (%2, all day)</source>
        <translation>Larkspindle Calendar — Siguiente: %1 (%2, todo el día)</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="96"/>
        <source>at %1</source>
        <translation>a las %1</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="98"/>
        <source>tomorrow at %1</source>
        <translation>mañana a las %1</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="100"/>
        <source>%1 %2</source>
        <translation>%1 %2</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="101"/>
        <source>Larkspindle Calendar — Next: %1 %2</source>
        <translation>Larkspindle Calendar — Siguiente: %1 %2</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="29"/>
        <source>Repeats daily</source>
        <translation>Cada día</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="30"/>
        <source>Every %1 days</source>
        <translation>Cada %1 días</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="32"/>
        <source>Repeats weekly</source>
        <translation>Cada semana</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="33"/>
        <source>Every %1 weeks</source>
        <translation>Cada %1 semanas</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="35"/>
        <source>Repeats monthly</source>
        <translation>Cada mes</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="36"/>
        <source>Every %1 months</source>
        <translation>Cada %1 meses</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="38"/>
        <source>Repeats yearly</source>
        <translation>Cada año</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="39"/>
        <source>Every %1 years</source>
        <translation>Cada %1 años</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="40"/>
        <source>Repeats</source>
        <translation>Se repite</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="100"/>
        <source>on the %1 %2</source>
        <translation>el %1 %2</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="105"/>
        <source>on the %1</source>
        <translation>el día %1</translation>
    </message>
    <message numerus="yes">
        <location filename="../../model/RruleFormat.cpp" line="111"/>
        <source>%n time(s)</source>
        <translation>
            <numerusform>%n vez</numerusform>
            <numerusform>%n veces</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="119"/>
        <source>until %1</source>
        <translation>hasta el %1</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="127"/>
        <source>At time of event</source>
        <translation>A la hora del evento</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="129"/>
        <source>%1 min before</source>
        <translation>%1 min antes</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="143"/>
        <source>Mon</source>
        <comment>RruleFormat</comment>
        <translation>lun</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="145"/>
        <source>Tue</source>
        <comment>RruleFormat</comment>
        <translation>mar</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="147"/>
        <source>Wed</source>
        <comment>RruleFormat</comment>
        <translation>mié</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="149"/>
        <source>Thu</source>
        <comment>RruleFormat</comment>
        <translation>jue</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="151"/>
        <source>Fri</source>
        <comment>RruleFormat</comment>
        <translation>vie</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="153"/>
        <source>Sat</source>
        <comment>RruleFormat</comment>
        <translation>sáb</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="155"/>
        <source>Sun</source>
        <comment>RruleFormat</comment>
        <translation>dom</translation>
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
        <translation>penúltimo</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="183"/>
        <source>last</source>
        <translation>último</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="185"/>
        <source>first</source>
        <translation>primer</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="187"/>
        <source>second</source>
        <translation>segundo</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="189"/>
        <source>third</source>
        <translation>tercer</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="191"/>
        <source>fourth</source>
        <translation>cuarto</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="193"/>
        <source>fifth</source>
        <translation>quinto</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="200"/>
        <source>%1th-from-last</source>
        <translation>%1.º desde el final</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateFlows.cpp" line="52"/>
        <source>No release notes available for %1 %2</source>
        <translation>No hay notas de la versión para %1 %2</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateFlows.cpp" line="93"/>
        <source>Checking for updates…</source>
        <translation>Buscando actualizaciones…</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateFlows.cpp" line="106"/>
        <source>%1 is up to date (version %2)</source>
        <translation>%1 está actualizado (versión %2)</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateFlows.cpp" line="110"/>
        <source>Update check failed: %1</source>
        <translation>Error al buscar actualizaciones: %1</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateFlows.cpp" line="121"/>
        <source>Loading release notes…</source>
        <translation>Cargando notas de la versión…</translation>
    </message>
    <message numerus="yes">
        <location filename="../../model/RruleFormat.cpp" line="131"/>
        <source>%n hour(s) before</source>
        <translation>
            <numerusform>%n hora antes</numerusform>
            <numerusform>%n horas antes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location filename="../../model/RruleFormat.cpp" line="132"/>
        <source>%n day(s) before</source>
        <translation>
            <numerusform>%n día antes</numerusform>
            <numerusform>%n días antes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location filename="../../core/ReminderRound.cpp" line="88"/>
        <source>In %n minute(s) (%1)</source>
        <translation>
            <numerusform>En %n minuto (%1)</numerusform>
            <numerusform>En %n minutos (%1)</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Sync::CalendarSyncClient</name>
    <message>
        <location filename="../../core/sync/CalendarSyncClient.cpp" line="27"/>
        <source>Parent account missing</source>
        <translation>Falta la cuenta principal</translation>
    </message>
    <message>
        <location filename="../../core/sync/CalendarSyncClient.cpp" line="33"/>
        <source>Sync is not available for this calendar&apos;s account.</source>
        <translation>La sincronización no está disponible para la cuenta de este calendario.</translation>
    </message>
</context>
<context>
    <name>Sync::PageChain</name>
    <message numerus="yes">
        <source>%1 sent a listing that never ends (a page came again, or more than %Ln page(s)); it was stopped.</source>
        <translation>
            <numerusform>%1 envió una lista que no termina nunca (una página llegó de nuevo, o más de %Ln página); se detuvo.</numerusform>
            <numerusform>%1 envió una lista que no termina nunca (una página llegó de nuevo, o más de %Ln páginas); se detuvo.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Sync::SyncCoordinator</name>
    <message>
        <location filename="../../core/sync/SyncCoordinator.cpp" line="105"/>
        <source>Sync finished.</source>
        <translation>Sincronización completada.</translation>
    </message>
    <message>
        <location filename="../../core/sync/SyncCoordinator.cpp" line="113"/>
        <location filename="../../core/sync/SyncCoordinator.cpp" line="127"/>
        <source>Sync failed: %1</source>
        <translation>Error de sincronización: %1</translation>
    </message>
    <message numerus="yes">
        <location filename="../../core/sync/SyncCoordinator.cpp" line="104"/>
        <location filename="../../core/sync/SyncCoordinator.cpp" line="125"/>
        <source>Synced %Ln event(s)</source>
        <translation>
            <numerusform>%Ln evento sincronizado</numerusform>
            <numerusform>%Ln eventos sincronizados</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../core/sync/SyncCoordinator.cpp" line="140"/>
        <source>The server did not answer for too long; the sync stopped and is tried again later.</source>
        <translation>El servidor no respondió durante demasiado tiempo; la sincronización se detuvo y se volverá a intentar más tarde.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was not synced: an import into it is not over yet. It is synced once the import has ended.</source>
        <translation>«%1» no se sincronizó: una importación en él aún no ha terminado. Se sincroniza cuando la importación termine.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was not synced: another sync of it was under way. It is synced once that one has ended.</source>
        <translation>«%1» no se sincronizó: ya había otra sincronización en curso. Se sincroniza cuando esa termine.</translation>
    </message>
    <message>
        <source>%1 waits until %2, as its server asked; it is synced then.</source>
        <translation>%1 espera hasta %2, como pidió su servidor; se sincroniza entonces.</translation>
    </message>
</context>
<context>
    <name>Sync::SyncEngine</name>
    <message>
        <location filename="../../core/sync/SyncEngine.cpp" line="143"/>
        <source>The calendar &quot;%1&quot; could not be added on this device.</source>
        <translation>No se pudo añadir el calendario «%1» en este dispositivo.</translation>
    </message>
    <message numerus="yes">
        <source>The changes of &quot;%1&quot; never end (a page came again, or more than %Ln page(s)); the sync stopped.</source>
        <translation>
            <numerusform>Los cambios de «%1» no terminan nunca (una página llegó de nuevo, o más de %Ln página); la sincronización se detuvo.</numerusform>
            <numerusform>Los cambios de «%1» no terminan nunca (una página llegó de nuevo, o más de %Ln páginas); la sincronización se detuvo.</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../core/sync/SyncEngine.cpp" line="244"/>
        <source>Changes to &quot;%1&quot; could not be saved on this device; they are fetched again at the next sync.</source>
        <translation>No se pudieron guardar en este dispositivo los cambios de «%1»; se volverán a obtener en la próxima sincronización.</translation>
    </message>
</context>
<context>
    <name>Sync::SyncProvider</name>
    <message>
        <location filename="../../core/sync/SyncEngine.cpp" line="615"/>
        <source>This source keeps no tasks.</source>
        <translation>Esta fuente no admite tareas.</translation>
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
        <translation>Suscripciones de calendario</translation>
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
            <numerusform>Sincronizando %n cuenta…</numerusform>
            <numerusform>Sincronizando %n cuentas…</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../core/sync/SyncNowReport.cpp" line="52"/>
        <source>No account to sync.</source>
        <translation>No hay ninguna cuenta que sincronizar.</translation>
    </message>
    <message>
        <location filename="../../core/sync/SyncNowReport.cpp" line="54"/>
        <source>Sync is not available yet for %1.</source>
        <translation>La sincronización aún no está disponible para %1.</translation>
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
        <translation>&amp;Mostrar calendario</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="139"/>
        <source>Sync &amp;Now</source>
        <translation>Sincronizar &amp;ahora</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="142"/>
        <source>&amp;Quit</source>
        <translation>&amp;Salir</translation>
    </message>
</context>
<context>
    <name>Weather::GeocodingClient</name>
    <message>
        <location filename="../../services/weather/GeocodingClient.cpp" line="52"/>
        <source>Geocoding returned HTTP %1</source>
        <translation>La búsqueda de lugares devolvió HTTP %1</translation>
    </message>
</context>
<context>
    <name>Weather::Service</name>
    <message>
        <location filename="../../services/weather/WeatherService.cpp" line="102"/>
        <source>Open-Meteo returned HTTP %1</source>
        <translation>Open-Meteo devolvió HTTP %1</translation>
    </message>
</context>
<context>
    <name>WeatherSettingsDialog</name>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="33"/>
        <source>Weather</source>
        <translation>Clima</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="37"/>
        <source>Show weather alongside your calendar. Forecast comes from Open-Meteo (free, no signup). Search for a city below to set the location.</source>
        <translation>Muestra el tiempo junto a su calendario. La previsión procede de Open-Meteo (gratis, sin registro). Busque una ciudad abajo para fijar la ubicación.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="44"/>
        <source>Enable weather</source>
        <translation>Activar el clima</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="50"/>
        <source>City name or postal code</source>
        <translation>Nombre de ciudad o código postal</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="51"/>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="143"/>
        <source>Search</source>
        <translation>Buscar</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="70"/>
        <source>No location set.</source>
        <translation>No hay ubicación definida.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="71"/>
        <source>Current location: %1</source>
        <translation>Ubicación actual: %1</translation>
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
        <translation>&amp;Ciudad:</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="88"/>
        <source>&amp;Units:</source>
        <translation>&amp;Unidades:</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="93"/>
        <source>Save</source>
        <translation>Guardar</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="126"/>
        <source>Searching…</source>
        <translation>Buscando…</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="168"/>
        <source>No matches found.</source>
        <translation>No se encontraron coincidencias.</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="183"/>
        <source>Search failed: %1</source>
        <translation>La búsqueda falló: %1</translation>
    </message>
    <message>
        <source>Another program is writing to the calendar, so the weather settings were not saved. Press Save again once it is done.</source>
        <translation>Otro programa está escribiendo en el calendario, así que la configuración del clima no se guardó. Pulse Guardar de nuevo cuando termine.</translation>
    </message>
    <message>
        <source>The weather settings could not be saved.</source>
        <translation>No se pudo guardar la configuración del clima.</translation>
    </message>
</context>
<context>
    <name>WinTrayPopover</name>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="49"/>
        <source>now</source>
        <translation>ahora</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="51"/>
        <source>in %1 min</source>
        <translation>en %1 min</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="55"/>
        <source>in %1h %2m</source>
        <translation>en %1 h %2 min</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="56"/>
        <source>in %1h</source>
        <translation>en %1 h</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="75"/>
        <source>Today, all day</source>
        <translation>Hoy, todo el día</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="76"/>
        <source>Tomorrow, all day</source>
        <translation>Mañana, todo el día</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="77"/>
        <source>%1 at %2</source>
        <translation>%1 a las %2</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="78"/>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="392"/>
        <source>Today</source>
        <translation>Hoy</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="78"/>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="397"/>
        <source>Tomorrow</source>
        <translation>Mañana</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="91"/>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="438"/>
        <source>All-day</source>
        <translation>Todo el día</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="145"/>
        <source>Open Calendar</source>
        <translation>Abrir calendario</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="146"/>
        <source>Sync Now</source>
        <translation>Sincronizar ahora</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="183"/>
        <source>Add event — e.g. &quot;lunch Thursday 1pm&quot;</source>
        <translation>Añadir evento — p. ej., &quot;lunch Thursday 1pm&quot;</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="196"/>
        <source>Preferences</source>
        <translation>Preferencias</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="209"/>
        <source>Group</source>
        <translation>Grupo</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="349"/>
        <source>No calendars yet</source>
        <translation>Aún no hay calendarios</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="368"/>
        <source>No upcoming events</source>
        <translation>No hay eventos próximos</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="369"/>
        <source>Nothing scheduled in the next 24 hours.</source>
        <translation>No hay nada programado en las próximas 24 horas.</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="374"/>
        <source>Untitled</source>
        <translation>Sin título</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="396"/>
        <source>  No more events today</source>
        <translation>  No hay más eventos hoy</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="401"/>
        <source>  Nothing scheduled</source>
        <translation>  Nada programado</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="462"/>
        <source>(Unnamed)</source>
        <translation>(Sin nombre)</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="517"/>
        <source>Couldn&apos;t save event</source>
        <translation>No se pudo guardar el evento</translation>
    </message>
    <message>
        <source>Task without a date</source>
        <translation>Tarea sin fecha</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="466"/>
        <source>All Calendars</source>
        <translation>Todos los calendarios</translation>
    </message>
</context>
<context>
    <name>Store</name>
    <message>
        <source>the disk that holds the calendar is full</source>
        <translation>el disco que contiene el calendario está lleno</translation>
    </message>
</context>
</TS>
