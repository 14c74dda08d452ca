<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja" sourcelanguage="en">
<context>
    <name>AboutDialog</name>
    <message>
        <location filename="../../ui/dialogs/AboutDialog.cpp" line="29"/>
        <source>About %1</source>
        <translation>%1 について</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AboutDialog.cpp" line="39"/>
        <source>Version %1</source>
        <translation>バージョン %1</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AboutDialog.cpp" line="42"/>
        <source>Calendars, events and tasks on your desktop, in step with your accounts.</source>
        <translation>デスクトップでカレンダー、予定、タスクを管理し、アカウントと同期します。</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AboutDialog.cpp" line="53"/>
        <source>This program carries these fonts and icons under their own licences:</source>
        <translation>このプログラムには、それぞれのライセンスに基づく次のフォントとアイコンが含まれています:</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AboutDialog.cpp" line="67"/>
        <source>The fonts IBM Plex Sans and IBM Plex Mono, under the SIL Open Font License 1.1.</source>
        <translation>フォント IBM Plex Sans と IBM Plex Mono (SIL Open Font License 1.1)。</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AboutDialog.cpp" line="70"/>
        <source>The icon font Material Icons, under the Apache License 2.0.</source>
        <translation>アイコンフォント Material Icons (Apache License 2.0)。</translation>
    </message>
</context>
<context>
    <name>AccountsCalendarsDialog</name>
    <message>
        <source>The calendar &quot;%1&quot; could not be added (%2).</source>
        <translation>カレンダー「%1」を追加できませんでした（%2）。</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="33"/>
        <source>Accounts and Calendars</source>
        <translation>アカウントとカレンダー</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="40"/>
        <source>New calendar on this device</source>
        <translation>このデバイスの新しいカレンダー</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="42"/>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="144"/>
        <source>Add Calendar</source>
        <translation>カレンダーを追加</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="127"/>
        <source>%1 (read-only)</source>
        <translation>%1（読み取り専用）</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="145"/>
        <source>The calendar &quot;%1&quot; could not be added.</source>
        <translation>カレンダー「%1」を追加できませんでした。</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="155"/>
        <source>On This Device</source>
        <translation>このデバイス</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="65"/>
        <source>Add Google account…</source>
        <translation>Google アカウントを追加…</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="67"/>
        <source>Add Microsoft account…</source>
        <translation>Microsoft アカウントを追加…</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="72"/>
        <source>Share…</source>
        <translation>共有…</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="74"/>
        <source>Move to the Cloud</source>
        <translation>クラウドへ移動</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="189"/>
        <source>Sign in to your Larkspindle account first.</source>
        <translation>先に Larkspindle アカウントにサインインしてください。</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="240"/>
        <source>&quot;%1&quot; is now in the cloud.</source>
        <translation>「%1」はクラウドに移動しました。</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="250"/>
        <source>Moving to the cloud failed: %1</source>
        <translation>クラウドへの移動に失敗しました: %1</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="255"/>
        <source>Moving &quot;%1&quot; to the cloud…</source>
        <translation>「%1」をクラウドへ移動しています…</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="267"/>
        <source>Share Calendar</source>
        <translation>カレンダーを共有</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="268"/>
        <source>Sharing: %1</source>
        <translation>共有中: %1</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="269"/>
        <source>People you share with see the same events and changes you do. Sharing doesn&apos;t merge calendars; they keep their own calendar list.</source>
        <translation>共有した相手には、あなたと同じ予定と変更が表示されます。共有してもカレンダーは統合されず、それぞれ自分のカレンダー一覧を保ちます。</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="271"/>
        <source>Shared with</source>
        <translation>共有相手</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="272"/>
        <source>Add people</source>
        <translation>ユーザーを追加</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="273"/>
        <source>Not shared with anyone yet.</source>
        <translation>まだ誰とも共有していません。</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="274"/>
        <source>Add family members or teammates to your Larkspindle group first, then come back here to share calendars with them.</source>
        <translation>まず家族やチームのメンバーを Larkspindle グループに追加してから、ここに戻ってカレンダーを共有してください。</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="276"/>
        <source>Everyone in your group already has access</source>
        <translation>グループの全員がすでにアクセスできます</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="277"/>
        <source>Share</source>
        <translation>共有</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="278"/>
        <source>Remove access</source>
        <translation>アクセスを削除</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="279"/>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="281"/>
        <source>Couldn&apos;t share calendar</source>
        <translation>カレンダーを共有できませんでした</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="282"/>
        <source>Couldn&apos;t remove person</source>
        <translation>ユーザーを削除できませんでした</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="283"/>
        <source>Stop sharing?</source>
        <translation>共有を停止しますか?</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="284"/>
        <source>%1 will no longer see this calendar&apos;s events on any of their devices. Continue?</source>
        <translation>%1 はどのデバイスでもこのカレンダーの予定を表示できなくなります。続行しますか?</translation>
    </message>
    <message numerus="yes">
        <location filename="../../ui/dialogs/AccountsCalendarsDialog.cpp" line="231"/>
        <source>Moving to the cloud: %L1 of %Ln item(s) sent.</source>
        <translation>
            <numerusform>クラウドへ移動中: %Ln 件中 %L1 件を送信しました。</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Application</name>
    <message>
        <source>The quick add &quot;%1&quot; is kept: it is added once Larkspindle Calendar starts, also if you quit now.</source>
        <translation>クイック追加「%1」は保持されています。今終了しても、Larkspindle Calendar の起動時に追加されます。</translation>
    </message>
    <message>
        <source>it could not be saved to disk</source>
        <translation>ディスクに保存できませんでした</translation>
    </message>
    <message>
        <source>Quick Add Not Saved</source>
        <translation>クイック追加は保存されていません</translation>
    </message>
    <message>
        <source>The quick add &quot;%1&quot; could not be saved (%2). If Larkspindle Calendar ends now, it is lost.

End without it? Choose No to wait on.</source>
        <translation>クイック追加「%1」を保存できませんでした（%2）。今 Larkspindle Calendar を終了すると失われます。

保存せずに終了しますか？待ち続けるには「いいえ」を選んでください。</translation>
    </message>
    <message>
        <location filename="../../app/Application.cpp" line="146"/>
        <source>Database Error</source>
        <translation>データベースエラー</translation>
    </message>
    <message>
        <location filename="../../app/Application.cpp" line="153"/>
        <source>Larkspindle Calendar Is Running</source>
        <translation>Larkspindle Calendar は実行中です</translation>
    </message>
    <message>
        <location filename="../../app/Application.cpp" line="154"/>
        <source>Larkspindle Calendar is already running with this data folder (process %1), perhaps in another session of yours. Close it there, then start it here again.

Data directory: %2</source>
        <translation>Larkspindle Calendar はこのデータフォルダーで既に実行中です（プロセス %1）。別のセッションで開いている可能性があります。そちらで終了してから、ここで再度起動してください。

データフォルダー: %2</translation>
    </message>
    <message>
        <location filename="../../app/Application.cpp" line="1"/>
        <source>Larkspindle Calendar is already running with this data folder, perhaps in another session of yours. Close it there, then start it here again.

Data directory: %1</source>
        <translation>Larkspindle Calendar はこのデータフォルダーですでに実行中です（別のセッションで実行している可能性があります）。そちらで終了してから、こちらで再度起動してください。

データディレクトリ: %1</translation>
    </message>
    <message>
        <location filename="../../app/Application.cpp" line="1"/>
        <source>Data Folder Cannot Be Locked</source>
        <translation>データフォルダーをロックできません</translation>
    </message>
    <message>
        <location filename="../../app/Application.cpp" line="1"/>
        <source>The lock file %1 is a folder, so no copy of Larkspindle Calendar can take this data folder. Remove that folder, then start Larkspindle Calendar again.</source>
        <translation>ロックファイル %1 がフォルダーになっているため、Larkspindle Calendar はこのデータフォルダーを使用できません。そのフォルダーを削除してから、Larkspindle Calendar を再度起動してください。</translation>
    </message>
    <message>
        <location filename="../../app/Application.cpp" line="1"/>
        <source>The lock file %1 cannot be read. If Larkspindle Calendar is not running in another session of yours, remove the file, then start it again.</source>
        <translation>ロックファイル %1 を読み取れません。Larkspindle Calendar が別のセッションで実行されていない場合は、このファイルを削除してから再度起動してください。</translation>
    </message>
    <message>
        <location filename="../../app/Application.cpp" line="1"/>
        <source>Neither the data folder nor its database can be locked (%1), so another copy of Larkspindle Calendar could change the same calendar at the same time.

Data directory: %2

Please check file permissions and try again.</source>
        <translation>データフォルダーもそのデータベースもロックできません（%1）。そのため、別の Larkspindle Calendar が同時に同じカレンダーを変更する可能性があります。

データディレクトリ: %2

ファイルのアクセス権を確認して、もう一度お試しください。</translation>
    </message>
    <message>
        <source>Data Folder Cannot Be Made</source>
        <translation>データフォルダーを作成できません</translation>
    </message>
    <message>
        <source>The data folder cannot be made (%1).

Data directory: %2

Please check that no file stands in its path and that you may write there, then start Larkspindle Calendar again.</source>
        <translation>データフォルダーを作成できません (%1)。

データフォルダー: %2

パスの途中にファイルがないこと、そこに書き込めることを確認してから、Larkspindle Calendar をもう一度起動してください。</translation>
    </message>
    <message>
        <source>The database cannot be opened for writing (%1), so Larkspindle Calendar cannot start.

Data directory: %2</source>
        <translation>データベースを書き込み用に開けないため（%1）、Larkspindle Calendar を起動できません。

データフォルダー: %2</translation>
    </message>
    <message>
        <source>Link in the Data Folder</source>
        <translation>データフォルダー内のリンク</translation>
    </message>
    <message>
        <source>%1 is a link. Larkspindle Calendar keeps its own files in its data folder and does not write through links. Put the file itself there or remove the link, then start Larkspindle Calendar again.</source>
        <translation>%1 はリンクです。Larkspindle Calendar は自分のファイルをデータフォルダーに置き、リンクを通して書き込むことはありません。ファイルそのものをそこに置くかリンクを削除してから、Larkspindle Calendar をもう一度起動してください。</translation>
    </message>
    <message>
        <source>Larkspindle Calendar Is Starting</source>
        <translation>Larkspindle Calendar を起動しています</translation>
    </message>
    <message>
        <source>Larkspindle Calendar is already running or still starting with this data folder. This start hands its command over as soon as it answers.</source>
        <translation>Larkspindle Calendar はこのデータフォルダーですでに実行中か、まだ起動中です。応答があり次第、この起動のコマンドを渡します。</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Waiting for Another Program</source>
        <translation>別のプログラムを待っています</translation>
    </message>
    <message>
        <source>Another program is writing to the calendar. Larkspindle Calendar starts as soon as it is done.</source>
        <translation>別のプログラムがカレンダーに書き込んでいます。終わり次第、Larkspindle Calendar が起動します。</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>終了</translation>
    </message>
    <message>
        <source>Quick-Add Lines Not Saved</source>
        <translation>クイック追加を保存できません</translation>
    </message>
    <message numerus="yes">
        <source>Another program is still writing to the calendar, and %n quick-add line(s) could not be saved to disk. If Larkspindle Calendar ends now, they are lost.

End without them? Choose No to try again.</source>
        <translation>
            <numerusform>別のプログラムがまだカレンダーに書き込み中で、クイック追加 %n 件をディスクに保存できませんでした。今 Larkspindle Calendar を終了すると失われます。

保存せずに終了しますか? 再試行するには「いいえ」を選んでください。</numerusform>
        </translation>
    </message>
    <message>
        <source>Adding Quick-Add Lines</source>
        <translation>クイック追加を追加しています</translation>
    </message>
    <message numerus="yes">
        <source>Another program is writing to the calendar. Larkspindle Calendar adds %n waiting quick-add line(s) as soon as it is done, then ends.</source>
        <translation>
            <numerusform>別のプログラムがカレンダーに書き込んでいます。完了しだい、待機中のクイック追加 %n 件を追加してから Larkspindle Calendar を終了します。</numerusform>
        </translation>
    </message>
    <message>
        <source>End Now</source>
        <translation>今すぐ終了</translation>
    </message>
</context>
<context>
    <name>CalDavClient</name>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="177"/>
        <source>The server&apos;s certificate does not match the trusted certificate.</source>
        <translation>サーバーの証明書が信頼済みの証明書と一致しません。</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="179"/>
        <source>The server&apos;s certificate is not trusted.</source>
        <translation>サーバーの証明書は信頼されていません。</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="183"/>
        <source>The server did not answer in time.</source>
        <translation>サーバーが時間内に応答しませんでした。</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="185"/>
        <source>Could not reach the server: %1</source>
        <translation>サーバーに接続できませんでした: %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="198"/>
        <source>The server redirected too many times.</source>
        <translation>サーバーのリダイレクトが多すぎます。</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="202"/>
        <source>The server redirected to an address that is not a web address.</source>
        <translation>サーバーが Web アドレスではないアドレスにリダイレクトしました。</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="226"/>
        <source>The server did not accept the user name or password.</source>
        <translation>サーバーがユーザー名またはパスワードを受け付けませんでした。</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="227"/>
        <source>The server answered with HTTP status %1.</source>
        <translation>サーバーが HTTP ステータス %1 を返しました。</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="103"/>
        <source>The server address is not valid.</source>
        <translation>サーバーのアドレスが無効です。</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavClient.cpp" line="101"/>
        <source>The server address must start with https://; without encryption the password would travel in the clear.</source>
        <translation>サーバーのアドレスは https:// で始まる必要があります。暗号化しないと、パスワードが平文で送信されます。</translation>
    </message>
</context>
<context>
    <name>CalDavDiscovery</name>
    <message>
        <location filename="../../services/sync/caldav/CalDavDiscovery.cpp" line="161"/>
        <source>The server&apos;s reply could not be read.</source>
        <translation>サーバーの応答を読み取れませんでした。</translation>
    </message>
    <message>
        <location filename="../../services/sync/caldav/CalDavDiscovery.cpp" line="127"/>
        <source>The server pointed to another server; the password was not sent there.</source>
        <translation>サーバーが別のサーバーを指定しました。パスワードはそこへ送信されていません。</translation>
    </message>
</context>
<context>
    <name>CalendarPickerDialog</name>
    <message>
        <location filename="../../ui/dialogs/CalendarPickerDialog.cpp" line="20"/>
        <source>Choose Calendar</source>
        <translation>カレンダーを選択</translation>
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
        <translation>M月d日 dddd</translation>
    </message>
    <message>
        <location filename="../../model/DateText.cpp" line="15"/>
        <source>ddd, MMM d</source>
        <comment>date pattern: short weekday, month and day</comment>
        <translation>M月d日(ddd)</translation>
    </message>
    <message>
        <location filename="../../model/DateText.cpp" line="18"/>
        <source>ddd d MMM yyyy</source>
        <comment>date pattern: short weekday, day, month and year</comment>
        <translation>yyyy年M月d日(ddd)</translation>
    </message>
    <message>
        <location filename="../../model/DateText.cpp" line="21"/>
        <source>MMM d, yyyy</source>
        <comment>date pattern: month, day and year</comment>
        <translation>yyyy年M月d日</translation>
    </message>
</context>
<context>
    <name>DesktopNotifier</name>
    <message>
        <location filename="../../platform/DesktopNotifier.cpp" line="66"/>
        <source>Open</source>
        <translation>開く</translation>
    </message>
</context>
<context>
    <name>EventDetailsPopover</name>
    <message>
        <location filename="../../ui/dialogs/EventDetailsPopover.cpp" line="59"/>
        <source>(No title)</source>
        <translation>（タイトルなし）</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventDetailsPopover.cpp" line="25"/>
        <source>%1, all day</source>
        <translation>%1、終日</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventDetailsPopover.cpp" line="26"/>
        <source>%1 – %2, all day</source>
        <translation>%1 – %2、終日</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventDetailsPopover.cpp" line="29"/>
        <source>%1, %2 – %3</source>
        <translation>%1 %2 – %3</translation>
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
        <translation>終日</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="34"/>
        <source>New Event</source>
        <translation>新規イベント</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="36"/>
        <source>Title</source>
        <translation>タイトル</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="67"/>
        <source>Title:</source>
        <translation>タイトル:</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="68"/>
        <source>Starts:</source>
        <translation>開始:</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="69"/>
        <source>Ends:</source>
        <translation>終了:</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="71"/>
        <source>Calendar:</source>
        <translation>カレンダー:</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="99"/>
        <source>Give the event a title.</source>
        <translation>イベントのタイトルを入力してください。</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="101"/>
        <source>Choose a calendar.</source>
        <translation>カレンダーを選択してください。</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="104"/>
        <source>The event ends before it starts.</source>
        <translation>イベントの終了が開始より前になっています。</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/EventFormDialog.cpp" line="135"/>
        <source>The event could not be saved.</source>
        <translation>イベントを保存できませんでした。</translation>
    </message>
    <message>
        <source>Another program is writing to the calendar, so the event is not saved yet. Keep this window open and save again once it is done.</source>
        <translation>別のプログラムがカレンダーに書き込み中のため、イベントはまだ保存されていません。このウィンドウを開いたままにし、完了したらもう一度保存してください。</translation>
    </message>
</context>
<context>
    <name>Google::AuthService</name>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="83"/>
        <source>Google OAuth credentials are not configured in this build. See .env.example.</source>
        <translation>このビルドでは Google の OAuth 認証情報が構成されていません。.env.example を参照してください。</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="85"/>
        <source>Google OAuth credentials are not configured.</source>
        <translation>Google の OAuth 認証情報が構成されていません。</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="87"/>
        <source>Could not bind a local port for the Google sign-in callback: %1</source>
        <translation>Google サインインのコールバック用にローカルポートを確保できませんでした: %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="89"/>
        <source>Could not launch the system browser for Google sign-in.</source>
        <translation>Google サインイン用のシステムブラウザーを起動できませんでした。</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="91"/>
        <source>Google did not return an authorization code.</source>
        <translation>Google から認可コードが返されませんでした。</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="93"/>
        <source>Google did not return an access token.</source>
        <translation>Google からアクセストークンが返されませんでした。</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="95"/>
        <source>Google did not return a refresh token. Try removing the app from your Google Account permissions and signing in again.</source>
        <translation>Google からリフレッシュトークンが返されませんでした。Google アカウントの権限からこのアプリを削除して、もう一度サインインしてください。</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="98"/>
        <source>Google&apos;s response had no access_token.</source>
        <translation>Google の応答に access_token が含まれていませんでした。</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/AuthService.cpp" line="105"/>
        <source>Google denied the sign-in: %1</source>
        <translation>Google がサインインを拒否しました: %1</translation>
    </message>
</context>
<context>
    <name>Google::CalendarClient</name>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="119"/>
        <source>the request timed out</source>
        <translation>リクエストがタイムアウトしました</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="133"/>
        <source>Google could not be reached: %1</source>
        <translation>Google に接続できませんでした: %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="147"/>
        <source>Google rejected calendarList.list (HTTP %1): %2</source>
        <translation>Google が calendarList.list を拒否しました (HTTP %1): %2</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="149"/>
        <source>Google rejected events.list (HTTP %1): %2</source>
        <translation>Google が events.list を拒否しました (HTTP %1): %2</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="151"/>
        <source>Google rejected events.insert: %1</source>
        <translation>Google が events.insert を拒否しました: %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="153"/>
        <source>Google rejected events.update: %1</source>
        <translation>Google が events.update を拒否しました: %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="154"/>
        <source>Google rejected events.delete: %1</source>
        <translation>Google が events.delete を拒否しました: %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="201"/>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="232"/>
        <source>No Google access token available.</source>
        <translation>Google のアクセストークンがありません。</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="189"/>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="340"/>
        <source>Google sent a reply that cannot be read.</source>
        <translation>Google から読み取れない応答が返されました。</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="327"/>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="352"/>
        <source>No Google access token.</source>
        <translation>Google のアクセストークンがありません。</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/CalendarClient.cpp" line="135"/>
        <source>Google asks to wait before the next request.</source>
        <translation>Google から、次のリクエストまで待つよう求められました。</translation>
    </message>
</context>
<context>
    <name>Google::GoogleSyncProvider</name>
    <message>
        <location filename="../../services/sync/google/GoogleSyncProvider.cpp" line="49"/>
        <source>No saved Google credentials. Sign in again.</source>
        <translation>保存された Google の認証情報がありません。もう一度サインインしてください。</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/GoogleSyncProvider.cpp" line="62"/>
        <source>Google token refresh failed: %1</source>
        <translation>Google トークンの更新に失敗しました: %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/GoogleSyncProvider.cpp" line="153"/>
        <source>Google sent an event without a start; the changes of this calendar were not saved.</source>
        <translation>Google から開始日時のない予定が送られました。このカレンダーの変更は保存されていません。</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/GoogleSyncProvider.cpp" line="175"/>
        <source>Google no longer accepts the calendar&apos;s sync token.</source>
        <translation>Google はこのカレンダーの同期トークンを受け付けなくなりました。</translation>
    </message>
    <message numerus="yes">
        <location filename="../../services/sync/google/GoogleSyncProvider.cpp" line="317"/>
        <source>%Ln change(s) could not be sent to Google and will be sent again at the next sync: %1</source>
        <translation>
            <numerusform>%Ln 件の変更を Google に送信できませんでした。次回の同期で再送信されます: %1</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../services/sync/google/GoogleSyncProvider.cpp" line="325"/>
        <source>&quot;%1&quot; is no longer available at Google; its changes stay on this device.</source>
        <translation>「%1」は Google で利用できなくなりました。変更内容はこのデバイスに残ります。</translation>
    </message>
    <message>
        <location filename="../../services/sync/google/GoogleSyncProvider.cpp" line="193"/>
        <source>The series of &quot;%1&quot; is not in the Google calendar yet; the changed occurrence is sent at a later sync.</source>
        <translation>シリーズ「%1」はまだ Google カレンダーにありません。変更した回は後の同期で送信されます。</translation>
    </message>
</context>
<context>
    <name>IcsImport</name>
    <message>
        <location filename="../../core/IcsImport.cpp" line="45"/>
        <source>Import failed: the file %1 could not be read (%2).</source>
        <translation>インポートに失敗しました: ファイル %1 を読み込めませんでした (%2)。</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="50"/>
        <source>Import failed: the file %1 does not exist.</source>
        <translation>インポートに失敗しました: ファイル %1 が存在しません。</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="53"/>
        <source>Import failed: %1 is not a regular file.</source>
        <translation>インポートに失敗しました: %1 は通常のファイルではありません。</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="54"/>
        <source>Import failed: the file %1 is larger than %2 MB.</source>
        <translation>インポートに失敗しました: ファイル %1 が %2 MB を超えています。</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="104"/>
        <location filename="../../core/IcsImport.cpp" line="248"/>
        <source>Import failed: no events found in %1.</source>
        <translation>インポートに失敗しました: %1 にイベントが見つかりません。</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="157"/>
        <source>Import failed: the chosen calendar does not exist.</source>
        <translation>インポートに失敗しました: 選択したカレンダーがありません。</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="162"/>
        <source>Import failed: the calendar &quot;%1&quot; is read-only.</source>
        <translation>インポートに失敗しました: カレンダー「%1」は読み取り専用です。</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="170"/>
        <source>Import failed: the events could not be stored (%1).</source>
        <translation>インポートに失敗しました: イベントを保存できませんでした (%1)。</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="193"/>
        <source>Import failed: the events of %1 could not be stored; nothing was imported.</source>
        <translation>インポートに失敗しました: %1 のイベントを保存できなかったため、何もインポートしていません。</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="193"/>
        <source>Import failed: the disk is full, so nothing was imported.</source>
        <translation>インポートに失敗しました: ディスクがいっぱいのため、何もインポートしていません。</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="193"/>
        <source>The disk is full.</source>
        <translation>ディスクがいっぱいです。</translation>
    </message>
    <message numerus="yes">
        <location filename="../../core/IcsImport.cpp" line="255"/>
        <source>Imported %Ln event(s) from %1.</source>
        <translation>
            <numerusform>%1 から %Ln 件のイベントをインポートしました。</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="143"/>
        <source>Import cancelled; nothing was imported.</source>
        <translation>インポートを取り消しました。何もインポートされていません。</translation>
    </message>
    <message numerus="yes">
        <location filename="../../core/IcsImport.cpp" line="242"/>
        <source>%Ln event(s) without an identifier or a start were skipped.</source>
        <translation>
            <numerusform>識別子または開始日時のない %Ln 件のイベントをスキップしました。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location filename="../../core/IcsImport.cpp" line="294"/>
        <source>Over-long text in %Ln event(s) was shortened.</source>
        <translation>
            <numerusform>%Ln 件のイベントで長すぎるテキストを短くしました。</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="306"/>
        <source>Import failed, and some of the events it had stored could not be removed again.</source>
        <translation>インポートに失敗し、すでに保存されたイベントの一部を削除できませんでした。</translation>
    </message>
    <message>
        <location filename="../../core/IcsImport.cpp" line="204"/>
        <source>Import failed: an earlier import has not been taken back.</source>
        <translation>インポートに失敗しました: 以前のインポートがまだ取り消されていません。</translation>
    </message>
    <message numerus="yes">
        <location filename="../../core/ImportTakeBack.cpp" line="99"/>
        <source>The import of %1 did not finish in the last run; the %Ln event(s) it had stored have been taken back.</source>
        <translation>
            <numerusform>前回の実行で %1 のインポートが完了しませんでした。保存済みの %Ln 件のイベントは取り消されました。</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../core/ImportTakeBack.cpp" line="103"/>
        <source>The import of %1 did not finish in the last run; some of the events it had stored could not be taken back yet, and will be at the next start.</source>
        <translation>前回の実行で %1 のインポートが完了しませんでした。保存済みのイベントの一部はまだ取り消せていません。次回の起動時に取り消されます。</translation>
    </message>
</context>
<context>
    <name>LarkAccount::AccountGroupPage</name>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="40"/>
        <source>Group</source>
        <translation>グループ</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="66"/>
        <source>No Group</source>
        <translation>グループなし</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="67"/>
        <source>You&apos;re not part of a group. The group owner can invite you, or you can join with an invite code.</source>
        <translation>グループに参加していません。グループのオーナーから招待を受けるか、招待コードで参加できます。</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="70"/>
        <source>Join with Invite Code</source>
        <translation>招待コードで参加</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="80"/>
        <source>Members</source>
        <translation>メンバー</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="97"/>
        <source>Owner</source>
        <translation>オーナー</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="104"/>
        <source>Remove</source>
        <translation>削除</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="116"/>
        <source>Pending Invitations</source>
        <translation>保留中の招待</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="123"/>
        <source>Revoke</source>
        <translation>取り消し</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="134"/>
        <source>Invite Members</source>
        <translation>メンバーを招待</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="135"/>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="201"/>
        <source>Invite by Email</source>
        <translation>メールで招待</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="136"/>
        <source>Generate Invite Code</source>
        <translation>招待コードを生成</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="141"/>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="189"/>
        <source>Leave Group</source>
        <translation>グループから退出</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="150"/>
        <source>Join Group</source>
        <translation>グループに参加</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="150"/>
        <source>Enter invite code:</source>
        <translation>招待コードを入力:</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="158"/>
        <source>Invalid or expired invite code.</source>
        <translation>招待コードが無効か、有効期限が切れています。</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="161"/>
        <source>Joined group.</source>
        <translation>グループに参加しました。</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="169"/>
        <source>Remove Member</source>
        <translation>メンバーを削除</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="169"/>
        <source>Remove %1 from the group?</source>
        <translation>%1 をグループから削除しますか?</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="173"/>
        <source>%1 removed.</source>
        <translation>%1 を削除しました。</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="173"/>
        <source>Failed to remove %1.</source>
        <translation>%1 を削除できませんでした。</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="182"/>
        <source>Invitation revoked.</source>
        <translation>招待を取り消しました。</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="182"/>
        <source>Failed to revoke invitation.</source>
        <translation>招待を取り消せませんでした。</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="190"/>
        <source>Leave this group? You will lose access to shared data.</source>
        <translation>このグループから退出しますか? 共有データにアクセスできなくなります。</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="194"/>
        <source>Left group.</source>
        <translation>グループから退出しました。</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="194"/>
        <source>Failed to leave group.</source>
        <translation>グループから退出できませんでした。</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="201"/>
        <source>Email address:</source>
        <translation>メールアドレス:</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="210"/>
        <source>Failed to send invitation.</source>
        <translation>招待を送信できませんでした。</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="213"/>
        <source>Invitation sent.</source>
        <translation>招待を送信しました。</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="225"/>
        <source>Failed to generate code.</source>
        <translation>コードを生成できませんでした。</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="228"/>
        <source>Invite Code</source>
        <translation>招待コード</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountGroupPage.cpp" line="229"/>
        <source>Share this code with the person you want to invite:</source>
        <translation>招待したい相手にこのコードを伝えてください:</translation>
    </message>
</context>
<context>
    <name>LarkAccount::AccountRows</name>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="24"/>
        <source>Unknown</source>
        <translation>不明</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="27"/>
        <source>Active now</source>
        <translation>現在アクティブ</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="29"/>
        <source>%1m ago</source>
        <translation>%1 分前</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="31"/>
        <source>%1h ago</source>
        <translation>%1 時間前</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="33"/>
        <source>%1d ago</source>
        <translation>%1 日前</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="35"/>
        <source>MMM d, yyyy</source>
        <translation>yyyy年M月d日</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="43"/>
        <source>Unknown Device</source>
        <translation>不明なデバイス</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="57"/>
        <source>Unknown client</source>
        <translation>不明なクライアント</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="62"/>
        <source>This session</source>
        <translation>このセッション</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="75"/>
        <source>%1 of %2 seats used</source>
        <translation>%2 席中 %1 席使用中</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="89"/>
        <source>Invite code: %1</source>
        <translation>招待コード: %1</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountRows.cpp" line="100"/>
        <source>Password must be at least %1 characters.</source>
        <translation>パスワードは %1 文字以上にしてください。</translation>
    </message>
</context>
<context>
    <name>LarkAccount::AccountScreen</name>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="58"/>
        <location filename="../../ui/account/AccountScreen.cpp" line="157"/>
        <source>Profile</source>
        <translation>プロフィール</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="58"/>
        <source>Group</source>
        <translation>グループ</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="58"/>
        <location filename="../../ui/account/AccountScreen.cpp" line="77"/>
        <source>Devices</source>
        <translation>デバイス</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="58"/>
        <location filename="../../ui/account/AccountScreen.cpp" line="78"/>
        <source>Security</source>
        <translation>セキュリティ</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="58"/>
        <location filename="../../ui/account/AccountScreen.cpp" line="210"/>
        <source>Data &amp; Privacy</source>
        <translation>データ &amp; プライバシー</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="158"/>
        <source>Personal Information</source>
        <translation>個人情報</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="174"/>
        <location filename="../../ui/account/AccountScreen.cpp" line="414"/>
        <source>Edit Display Name</source>
        <translation>表示名を編集</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="175"/>
        <source>Sign Out</source>
        <translation>サインアウト</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="186"/>
        <source>Password</source>
        <translation>パスワード</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="186"/>
        <source>Change your account password.</source>
        <translation>アカウントのパスワードを変更します。</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="188"/>
        <location filename="../../ui/account/AccountScreen.cpp" line="435"/>
        <source>Change Password</source>
        <translation>パスワードを変更</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="212"/>
        <source>Danger Zone</source>
        <translation>危険な操作</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="213"/>
        <source>Permanently delete your account. This cannot be undone after 30 days.</source>
        <translation>アカウントを完全に削除します。30 日を過ぎると元に戻せません。</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="214"/>
        <location filename="../../ui/account/AccountScreen.cpp" line="470"/>
        <source>Delete Account</source>
        <translation>アカウントを削除</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="223"/>
        <source>You are the group owner. Transfer ownership or remove all members before deleting your account.</source>
        <translation>あなたはグループのオーナーです。アカウントを削除する前に、オーナー権限を譲渡するか、すべてのメンバーを削除してください。</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="330"/>
        <source>(not set)</source>
        <translation>(未設定)</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="339"/>
        <source>Registered Devices</source>
        <translation>登録済みデバイス</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="340"/>
        <source>Devices that have synced with your account.</source>
        <translation>このアカウントと同期したデバイスです。</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="342"/>
        <source>No devices registered.</source>
        <translation>登録済みのデバイスはありません。</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="361"/>
        <source>Remove</source>
        <translation>削除</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="375"/>
        <source>Active Sessions</source>
        <translation>アクティブなセッション</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="376"/>
        <source>Sessions currently signed in to your account.</source>
        <translation>現在このアカウントにサインインしているセッションです。</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="378"/>
        <source>No active sessions.</source>
        <translation>アクティブなセッションはありません。</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="397"/>
        <source>Current</source>
        <translation>現在</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="402"/>
        <source>Revoke</source>
        <translation>取り消し</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="414"/>
        <source>Display name:</source>
        <translation>表示名:</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="424"/>
        <source>Failed to update profile.</source>
        <translation>プロフィールを更新できませんでした。</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="429"/>
        <source>Display name updated.</source>
        <translation>表示名を更新しました。</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="436"/>
        <source>Current password:</source>
        <translation>現在のパスワード:</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="440"/>
        <source>New password (min %1 characters):</source>
        <translation>新しいパスワード (%1 文字以上):</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="449"/>
        <source>Confirm new password:</source>
        <translation>新しいパスワードの確認:</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="451"/>
        <source>Passwords do not match.</source>
        <translation>パスワードが一致しません。</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="461"/>
        <source>Password changed.</source>
        <translation>パスワードを変更しました。</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="463"/>
        <source>Failed to change password.</source>
        <translation>パスワードを変更できませんでした。</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="471"/>
        <source>This will schedule your account for permanent deletion after 30 days.</source>
        <translation>アカウントは 30 日後に完全に削除されるよう予約されます。</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="472"/>
        <source>Type %1 to confirm:</source>
        <translation>確認のため %1 と入力してください:</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="482"/>
        <source>Failed to delete account.</source>
        <translation>アカウントを削除できませんでした。</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="485"/>
        <source>Account Scheduled for Deletion</source>
        <translation>アカウントの削除を予約しました</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="486"/>
        <source>Your account will be permanently deleted in 30 days. You can recover it by signing in before then.</source>
        <translation>アカウントは 30 日後に完全に削除されます。それまでにサインインすれば復元できます。</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="517"/>
        <source>Remove Device</source>
        <translation>デバイスを削除</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="517"/>
        <source>Remove %1?</source>
        <translation>%1 を削除しますか?</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="521"/>
        <source>Device removed.</source>
        <translation>デバイスを削除しました。</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="521"/>
        <source>Failed to remove device.</source>
        <translation>デバイスを削除できませんでした。</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="529"/>
        <source>Session revoked.</source>
        <translation>セッションを取り消しました。</translation>
    </message>
    <message>
        <location filename="../../ui/account/AccountScreen.cpp" line="529"/>
        <source>Failed to revoke session.</source>
        <translation>セッションを取り消せませんでした。</translation>
    </message>
</context>
<context>
    <name>LarkAccount::ApiClient</name>
    <message>
        <location filename="../../services/account/ApiClient.cpp" line="266"/>
        <source>The server sent a reply that cannot be read.</source>
        <translation>サーバーから読み取れない応答が届きました。</translation>
    </message>
</context>
<context>
    <name>LarkAccount::AuthClient</name>
    <message>
        <location filename="../../services/account/AuthClient.cpp" line="118"/>
        <source>Cloud sign-in is not configured in this build</source>
        <translation>このビルドではクラウドへのサインインが構成されていません</translation>
    </message>
    <message>
        <location filename="../../services/account/AuthClient.cpp" line="131"/>
        <source>Failed to start local auth server</source>
        <translation>ローカル認証サーバーを起動できませんでした</translation>
    </message>
    <message>
        <location filename="../../services/account/AuthClient.cpp" line="154"/>
        <source>No tokens received</source>
        <translation>トークンを受信できませんでした</translation>
    </message>
</context>
<context>
    <name>LarkAccount::ShareMembersDialog</name>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="132"/>
        <source>People with access</source>
        <translation>アクセスできるユーザー</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="134"/>
        <source>Add people</source>
        <translation>ユーザーを追加</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="138"/>
        <source>All group members already have access</source>
        <translation>グループのメンバー全員がすでにアクセスできます</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="148"/>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="233"/>
        <source>Not shared with anyone yet.</source>
        <translation>まだ誰とも共有していません。</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="245"/>
        <source>Remove access</source>
        <translation>アクセスを削除</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="260"/>
        <source>Share</source>
        <translation>共有</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="291"/>
        <source>Could not share with %1.</source>
        <translation>%1 と共有できませんでした。</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="307"/>
        <source>Remove access?</source>
        <translation>アクセスを削除しますか?</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="308"/>
        <source>%1 will no longer have access. Continue?</source>
        <translation>%1 はアクセスできなくなります。続行しますか?</translation>
    </message>
    <message>
        <location filename="../../ui/account/ShareMembersDialog.cpp" line="321"/>
        <source>Could not remove %1.</source>
        <translation>%1 を削除できませんでした。</translation>
    </message>
</context>
<context>
    <name>LarkAccount::TokenStore</name>
    <message>
        <location filename="../../platform/TokenStore.cpp" line="130"/>
        <source>The desktop keyring is locked, so the saved sign-in and passwords cannot be used. Unlock the keyring and try again.</source>
        <translation>デスクトップのキーリングがロックされているため、保存されたサインイン情報とパスワードを使用できません。キーリングのロックを解除してから、もう一度お試しください。</translation>
    </message>
    <message>
        <location filename="../../platform/TokenStore.cpp" line="135"/>
        <source>The saved sign-in and passwords are kept in the desktop keyring, which does not answer.</source>
        <translation>保存されたサインイン情報とパスワードはデスクトップのキーリングにありますが、キーリングが応答しません。</translation>
    </message>
</context>
<context>
    <name>LarkUpdate::DialogParts</name>
    <message>
        <source>Page not opened</source>
        <translation>ページを開けませんでした</translation>
    </message>
    <message>
        <source>The page could not be opened: it has no address.</source>
        <translation>ページを開けませんでした。アドレスがありません。</translation>
    </message>
    <message>
        <source>The page could not be opened in a browser. Its address, to open it yourself:
%1</source>
        <translation>ブラウザーでページを開けませんでした。次のアドレスをご自身で開いてください:
%1</translation>
    </message>
</context>
<context>
    <name>LarkUpdate::UpdateDialog</name>
    <message>
        <location filename="../../ui/update/UpdateDialog.cpp" line="22"/>
        <source>Update available</source>
        <translation>アップデートがあります</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateDialog.cpp" line="26"/>
        <source>A new version of %1 is available.</source>
        <translation>%1 の新しいバージョンがあります。</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateDialog.cpp" line="29"/>
        <source>You have version %1. The latest version is %2.</source>
        <translation>現在のバージョンは %1 です。最新バージョンは %2 です。</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateDialog.cpp" line="36"/>
        <source>Loading release notes…</source>
        <translation>リリースノートを読み込んでいます…</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateDialog.cpp" line="44"/>
        <source>*Release notes are not available for this version.*</source>
        <translation>*このバージョンのリリースノートはありません。*</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateDialog.cpp" line="51"/>
        <source>Download</source>
        <translation>ダウンロード</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateDialog.cpp" line="55"/>
        <source>Later</source>
        <translation>後で</translation>
    </message>
</context>
<context>
    <name>LarkUpdate::WhatsNewDialog</name>
    <message>
        <location filename="../../ui/update/WhatsNewDialog.cpp" line="24"/>
        <source>What&apos;s New in %1 %2</source>
        <translation>%1 %2 の新機能</translation>
    </message>
    <message>
        <location filename="../../ui/update/WhatsNewDialog.cpp" line="29"/>
        <source>What&apos;s new in %1 %2</source>
        <translation>%1 %2 の新機能</translation>
    </message>
    <message>
        <location filename="../../ui/update/WhatsNewDialog.cpp" line="35"/>
        <source>You are running version %1</source>
        <translation>現在のバージョン: %1</translation>
    </message>
    <message>
        <location filename="../../ui/update/WhatsNewDialog.cpp" line="44"/>
        <source>Download %1</source>
        <translation>%1 をダウンロード</translation>
    </message>
</context>
<context>
    <name>Larkspindle::CalendarUpgradeService</name>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="65"/>
        <source>Calendar&apos;s account is missing</source>
        <translation>カレンダーのアカウントが見つかりません</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="67"/>
        <source>Only Larkspindle-native calendars can be upgraded</source>
        <translation>アップグレードできるのは Larkspindle のカレンダーのみです</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="69"/>
        <source>Calendar is already on Larkspindle</source>
        <translation>カレンダーはすでに Larkspindle にあります</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="71"/>
        <source>This calendar is already being moved</source>
        <translation>このカレンダーはすでに移動中です</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="73"/>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="130"/>
        <source>Not signed in</source>
        <translation>サインインしていません</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="112"/>
        <source>Server registration failed (HTTP %1)</source>
        <translation>サーバーへの登録に失敗しました (HTTP %1)</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="175"/>
        <source>Uploading the calendar failed (HTTP %1); it stays on this device</source>
        <translation>カレンダーのアップロードに失敗しました (HTTP %1)。カレンダーはこのデバイスに残ります</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="182"/>
        <source>The calendar could not be saved as a cloud calendar; it stays on this device</source>
        <translation>カレンダーをクラウドカレンダーとして保存できませんでした。カレンダーはこのデバイスに残ります</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CalendarUpgradeService.cpp" line="179"/>
        <source>Uploading the calendar failed: %1; it stays on this device</source>
        <translation>カレンダーのアップロードに失敗しました: %1。カレンダーはこのデバイスに残ります</translation>
    </message>
</context>
<context>
    <name>Larkspindle::CloudSyncProvider</name>
    <message>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="132"/>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="197"/>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="294"/>
        <source>Sign in to the cloud account to sync its calendars</source>
        <translation>カレンダーを同期するにはクラウドアカウントにサインインしてください</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="145"/>
        <source>Larkspindle calendar list failed (HTTP %1)</source>
        <translation>Larkspindle のカレンダー一覧の取得に失敗しました (HTTP %1)</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="214"/>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="257"/>
        <source>Larkspindle pull failed (HTTP %1)</source>
        <translation>Larkspindle からの取得に失敗しました (HTTP %1)</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="314"/>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="347"/>
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="350"/>
        <source>Larkspindle push failed (HTTP %1)</source>
        <translation>Larkspindle への送信に失敗しました (HTTP %1)</translation>
    </message>
    <message numerus="yes">
        <location filename="../../services/sync/cloud/CloudSyncProvider.cpp" line="356"/>
        <source>Larkspindle push: %Ln event(s) failed</source>
        <translation>
            <numerusform>Larkspindle への送信: %Ln 件のイベントが失敗しました</numerusform>
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
        <translation>サインインが必要です</translation>
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
        <translation>設定を同期するにはクラウドアカウントにサインインしてください</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/ConfigSyncService.cpp" line="343"/>
        <source>The settings could not be sent (HTTP %1)</source>
        <translation>設定を送信できませんでした (HTTP %1)</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/ConfigSyncService.cpp" line="397"/>
        <source>The settings could not be fetched (HTTP %1)</source>
        <translation>設定を取得できませんでした (HTTP %1)</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/ConfigSyncService.cpp" line="429"/>
        <source>Settings from your other devices could not be saved here</source>
        <translation>他のデバイスの設定をこのデバイスに保存できませんでした</translation>
    </message>
</context>
<context>
    <name>Larkspindle::SharingBackend</name>
    <message>
        <location filename="../../services/sync/cloud/SharingBackend.cpp" line="70"/>
        <source>Not signed in</source>
        <translation>サインインしていません</translation>
    </message>
    <message>
        <location filename="../../services/sync/cloud/SharingBackend.cpp" line="89"/>
        <source>Sharing failed (HTTP %1)</source>
        <translation>共有に失敗しました (HTTP %1)</translation>
    </message>
</context>
<context>
    <name>Larkspindle::SyncClient</name>
    <message>
        <location filename="../../services/sync/cloud/SyncClient.cpp" line="75"/>
        <source>Calendar&apos;s account is missing</source>
        <translation>カレンダーのアカウントが見つかりません</translation>
    </message>
</context>
<context>
    <name>LocalCalendar</name>
    <message>
        <location filename="../../core/LocalCalendar.cpp" line="85"/>
        <source>On This Device</source>
        <translation>このデバイス</translation>
    </message>
    <message>
        <location filename="../../core/LocalCalendar.cpp" line="92"/>
        <source>Personal</source>
        <comment>name of the calendar kept on this device</comment>
        <translation>個人</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Could not add &quot;%1&quot;: %2</source>
        <translation>「%1」を追加できませんでした：%2</translation>
    </message>
    <message>
        <source>Larkspindle Calendar is still running</source>
        <translation>Larkspindle Calendar は実行中です</translation>
    </message>
    <message>
        <source>It keeps running in the system tray, so your reminders still come. Click the tray icon to open it, or choose Quit from its menu to end it.</source>
        <translation>リマインダーが届くよう、システムトレイで動作を続けます。開くにはトレイのアイコンをクリックし、終了するにはそのメニューから［終了］を選んでください。</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="56"/>
        <source>Larkspindle Calendar</source>
        <translation>Larkspindle Calendar</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="77"/>
        <source>Sign in again to keep your settings in step.</source>
        <translation>設定の同期を続けるには、もう一度サインインしてください。</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="79"/>
        <source>Settings sync failed: %1</source>
        <translation>設定の同期に失敗しました: %1</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="89"/>
        <source>&amp;File</source>
        <translation>ファイル(&amp;F)</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="90"/>
        <source>&amp;New Event…</source>
        <translation>新規イベント(&amp;N)…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="91"/>
        <source>&amp;Import .ics File…</source>
        <translation>.ics ファイルをインポート(&amp;I)…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="93"/>
        <source>&amp;Sync Now</source>
        <translation>今すぐ同期(&amp;S)</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="95"/>
        <source>&amp;Quit</source>
        <translation>終了(&amp;Q)</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="97"/>
        <source>&amp;View</source>
        <translation>表示(&amp;V)</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="98"/>
        <source>&amp;Today</source>
        <translation>今日(&amp;T)</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="100"/>
        <source>&amp;Tools</source>
        <translation>ツール(&amp;T)</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="101"/>
        <source>&amp;Accounts and Calendars…</source>
        <translation>アカウントとカレンダー(&amp;A)…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="102"/>
        <source>&amp;Preferences…</source>
        <translation>環境設定(&amp;P)…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="116"/>
        <source>&amp;Developer</source>
        <translation>開発者(&amp;D)</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="118"/>
        <source>Load sample data</source>
        <translation>サンプルデータを読み込む</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="119"/>
        <source>Remove sample data</source>
        <translation>サンプルデータを削除</translation>
    </message>
    <message numerus="yes">
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="204"/>
        <source>%1

%n calendar(s)</source>
        <translation>
            <numerusform>%1

カレンダー %n 件</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="276"/>
        <source>Event &quot;%1&quot; saved.</source>
        <translation>イベント「%1」を保存しました。</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="291"/>
        <source>Quick add needs a calendar: add one first.</source>
        <translation>クイック追加にはカレンダーが必要です。先にカレンダーを追加してください。</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="296"/>
        <source>Could not add &quot;%1&quot;.</source>
        <translation>「%1」を追加できませんでした。</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="298"/>
        <source>Added &quot;%1&quot;.</source>
        <translation>「%1」を追加しました。</translation>
    </message>
    <message>
        <source>Added &quot;%1&quot; as a task without a date.</source>
        <translation>「%1」を日付なしのタスクとして追加しました。</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="303"/>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="387"/>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="421"/>
        <source>Import .ics File</source>
        <translation>.ics ファイルをインポート</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="304"/>
        <source>Calendar files (*.ics)</source>
        <translation>カレンダーファイル (*.ics)</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="367"/>
        <source>Import failed: there is no calendar that can take events. Add one first.</source>
        <translation>インポートに失敗しました: イベントを追加できるカレンダーがありません。先にカレンダーを追加してください。</translation>
    </message>
    <message numerus="yes">
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="373"/>
        <source>Import %Ln event(s) from %1 into:</source>
        <translation>
            <numerusform>%1 から %Ln 件のイベントをインポートする先:</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="376"/>
        <source>Import cancelled.</source>
        <translation>インポートをキャンセルしました。</translation>
    </message>
    <message numerus="yes">
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="488"/>
        <source>Loaded %n sample row(s).</source>
        <translation>
            <numerusform>サンプル行を %n 件読み込みました。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="494"/>
        <source>Removed %n sample row(s).</source>
        <translation>
            <numerusform>サンプル行を %n 件削除しました。</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="322"/>
        <source>Too many requests are waiting for the open dialog; this one was ignored.</source>
        <translation>開いているダイアログを待っている要求が多すぎるため、この要求は無視されました。</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="107"/>
        <source>&amp;Help</source>
        <translation>ヘルプ(&amp;H)</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="109"/>
        <source>Check for &amp;Updates…</source>
        <translation>アップデートを確認(&amp;U)…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="110"/>
        <source>&amp;What&apos;s New</source>
        <translation>新機能(&amp;W)</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="111"/>
        <source>Send &amp;Feedback…</source>
        <translation>フィードバックを送信(&amp;F)…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="113"/>
        <source>&amp;About %1</source>
        <translation>%1 について(&amp;A)</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="528"/>
        <source>This build has no release feed, so it cannot check for updates.</source>
        <translation>このビルドには更新情報の配信元が設定されていないため、アップデートを確認できません。</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="535"/>
        <source>This build has no release feed, so it has no release notes to show.</source>
        <translation>このビルドには更新情報の配信元が設定されていないため、リリースノートを表示できません。</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="543"/>
        <source>This build has no feedback page configured.</source>
        <translation>このビルドにはフィードバックページが設定されていません。</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="125"/>
        <source>A&amp;ccount</source>
        <translation>アカウント(&amp;C)</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="127"/>
        <source>Sign &amp;In…</source>
        <translation>サインイン(&amp;I)…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="129"/>
        <source>&amp;Account…</source>
        <translation>アカウント(&amp;A)…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="130"/>
        <source>Sign &amp;Out</source>
        <translation>サインアウト(&amp;O)</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="137"/>
        <source>Signed in.</source>
        <translation>サインインしました。</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="139"/>
        <source>Sign-in failed: %1</source>
        <translation>サインインに失敗しました: %1</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="164"/>
        <source>Continue the sign-in in your browser.</source>
        <translation>ブラウザーでサインインを続けてください。</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="176"/>
        <source>Larkspindle Account</source>
        <translation>Larkspindle アカウント</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="196"/>
        <source>Signed out.</source>
        <translation>サインアウトしました。</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="384"/>
        <source>Importing the events of %1…</source>
        <translation>%1 のイベントをインポートしています…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="385"/>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="436"/>
        <source>Taking back the import…</source>
        <translation>インポートを取り消しています…</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/ImportControl.cpp" line="1"/>
        <source>Another program is writing to the calendar database; this goes on as soon as it is done.</source>
        <translation>別のプログラムがカレンダーのデータベースに書き込んでいます。それが終わりしだい続行します。</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="1"/>
        <source>Will be added once another program is done writing: &quot;%1&quot;</source>
        <translation>別のプログラムの書き込みが終わりしだい追加します：「%1」</translation>
    </message>
    <message>
        <location filename="../../ui/mainwindow/MainWindow.cpp" line="495"/>
        <source>Taking back the import of %1…</source>
        <translation>%1 のインポートを取り消しています…</translation>
    </message>
    <message numerus="yes">
        <source>Added %n quick-add line(s) that waited when %1 last ended.</source>
        <translation>
            <numerusform>クイック追加 %n 件を追加しました（%1 の前回終了時の待機分）。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Another program is writing to the calendar, and %n waiting quick-add line(s) could not be saved to disk: they are lost if Larkspindle Calendar ends before the calendar is free.</source>
        <translation>
            <numerusform>別のプログラムがカレンダーに書き込み中で、待機中のクイック追加 %n 件をディスクに保存できませんでした。カレンダーが空く前に Larkspindle Calendar が終了すると失われます。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n quick-add line(s) that waited when Larkspindle Calendar last ended were added; their file could not all be read and is kept as %1.</source>
        <translation>
            <numerusform>Larkspindle Calendar の前回終了時に待機していたクイック追加 %n 件を追加しました。そのファイルは一部を読み取れなかったため、%1 として保管しています。</numerusform>
        </translation>
    </message>
    <message>
        <source>The quick-add lines that waited when Larkspindle Calendar last ended could not all be read: their file is kept as %1.</source>
        <translation>Larkspindle Calendar の前回終了時に待機していたクイック追加をすべては読み取れませんでした。そのファイルは %1 として保管しています。</translation>
    </message>
</context>
<context>
    <name>Microsoft::AuthService</name>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="97"/>
        <source>Microsoft OAuth credentials are not configured in this build. See .env.example.</source>
        <translation>このビルドでは Microsoft の OAuth 認証情報が構成されていません。.env.example を参照してください。</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="100"/>
        <source>Microsoft OAuth credentials are not configured.</source>
        <translation>Microsoft の OAuth 認証情報が構成されていません。</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="102"/>
        <source>Could not bind a local port for the Microsoft sign-in callback: %1</source>
        <translation>Microsoft サインインのコールバック用にローカルポートを確保できませんでした: %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="104"/>
        <source>Could not launch the system browser for Microsoft sign-in.</source>
        <translation>Microsoft サインイン用のシステムブラウザーを起動できませんでした。</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="106"/>
        <source>Microsoft did not return an authorization code.</source>
        <translation>Microsoft から認可コードが返されませんでした。</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="108"/>
        <source>Microsoft did not return an access token.</source>
        <translation>Microsoft からアクセストークンが返されませんでした。</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="110"/>
        <source>Microsoft did not return a refresh token. Verify offline_access is in the scopes configured for this app.</source>
        <translation>Microsoft からリフレッシュトークンが返されませんでした。このアプリに構成されたスコープに offline_access が含まれているか確認してください。</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="113"/>
        <source>Microsoft&apos;s response had no access_token.</source>
        <translation>Microsoft の応答に access_token が含まれていませんでした。</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/AuthService.cpp" line="120"/>
        <source>Microsoft denied the sign-in: %1</source>
        <translation>Microsoft がサインインを拒否しました: %1</translation>
    </message>
</context>
<context>
    <name>Microsoft::CalendarClient</name>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="136"/>
        <source>No Microsoft access token available.</source>
        <translation>Microsoft のアクセストークンがありません。</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="194"/>
        <source>Microsoft Graph did not answer in time.</source>
        <translation>Microsoft Graph から時間内に応答がありませんでした。</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="195"/>
        <source>Microsoft Graph could not be reached.</source>
        <translation>Microsoft Graph に接続できませんでした。</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="210"/>
        <location filename="../../services/sync/microsoft/MicrosoftSyncProvider.cpp" line="472"/>
        <source>Microsoft Graph sent a reply that cannot be read.</source>
        <translation>Microsoft Graph から読み取れない応答が届きました。</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="225"/>
        <source>Microsoft Graph did not accept the sign-in. Sign in again.</source>
        <translation>Microsoft Graph でサインインが受け付けられませんでした。もう一度サインインしてください。</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="228"/>
        <source>Microsoft Graph does not allow this change (HTTP 403): %1</source>
        <translation>Microsoft Graph ではこの変更は許可されていません (HTTP 403): %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="232"/>
        <source>The event was changed in the Microsoft calendar since it was last synced; it was not overwritten.</source>
        <translation>前回の同期以降に Microsoft カレンダーでイベントが変更されたため、上書きしませんでした。</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="236"/>
        <source>Microsoft Graph asks to wait before the next request.</source>
        <translation>Microsoft Graph から、次のリクエストまで待つよう求められました。</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="239"/>
        <source>Microsoft Graph refused the request (HTTP %1): %2</source>
        <translation>Microsoft Graph がリクエストを拒否しました (HTTP %1): %2</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/CalendarClient.cpp" line="280"/>
        <source>Microsoft Graph sent a link to another server; it was not followed.</source>
        <translation>Microsoft Graph から別のサーバーへのリンクが届いたため、たどりませんでした。</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/RecurrenceMapping.cpp" line="252"/>
        <source>Microsoft calendars cannot keep the repeat rule &quot;%1&quot;.</source>
        <translation>Microsoft カレンダーでは繰り返しルール「%1」を保持できません。</translation>
    </message>
</context>
<context>
    <name>Microsoft::MicrosoftSyncProvider</name>
    <message>
        <location filename="../../services/sync/microsoft/MicrosoftSyncProvider.cpp" line="94"/>
        <source>No saved Microsoft credentials. Sign in again.</source>
        <translation>保存された Microsoft の資格情報がありません。もう一度サインインしてください。</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/MicrosoftSyncProvider.cpp" line="77"/>
        <source>Microsoft token refresh failed: %1</source>
        <translation>Microsoft トークンの更新に失敗しました: %1</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/MicrosoftSyncProvider.cpp" line="204"/>
        <source>Microsoft Graph sent a page of changes that leads nowhere.</source>
        <translation>Microsoft Graph から続きのない変更ページが届きました。</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/MicrosoftSyncProvider.cpp" line="543"/>
        <source>The series of &quot;%1&quot; is not in the Microsoft calendar yet; the changed occurrence is sent at a later sync.</source>
        <translation>シリーズ「%1」はまだ Microsoft カレンダーにありません。変更した回は後の同期で送信されます。</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/MicrosoftSyncProvider.cpp" line="565"/>
        <source>The occurrence of &quot;%1&quot; changed here is no longer in its series at Microsoft.</source>
        <translation>ここで変更した「%1」の回は、Microsoft ではもうシリーズに含まれていません。</translation>
    </message>
    <message>
        <location filename="../../services/sync/microsoft/MicrosoftSyncProvider.cpp" line="526"/>
        <source>&quot;%1&quot; is no longer available at Microsoft; its changes stay on this device.</source>
        <translation>「%1」は Microsoft で利用できなくなりました。変更内容はこのデバイスに残ります。</translation>
    </message>
</context>
<context>
    <name>MissedRemindersDialog</name>
    <message>
        <location filename="../../ui/dialogs/MissedRemindersDialog.cpp" line="18"/>
        <source>Missed Reminders</source>
        <translation>見逃したリマインダー</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/MissedRemindersDialog.cpp" line="22"/>
        <source>These reminders came while they could not be shown. Double-click one to open its event, or the day its task is due.</source>
        <translation>これらのリマインダーは表示できない間に届きました。ダブルクリックすると、その予定、またはタスクの期限の日が開きます。</translation>
    </message>
</context>
<context>
    <name>Net</name>
    <message>
        <location filename="../../services/net/RequestPolicy.cpp" line="44"/>
        <source>The server&apos;s reply is too large</source>
        <translation>サーバーの応答が大きすぎます</translation>
    </message>
    <message>
        <location filename="../../services/net/RequestPolicy.cpp" line="97"/>
        <source>The server did not finish its reply in time.</source>
        <translation>サーバーが時間内に応答を終えませんでした。</translation>
    </message>
    <message>
        <location filename="../../services/net/RequestPolicy.cpp" line="133"/>
        <source>The server redirected to another address; the request was not sent there.</source>
        <translation>サーバーが別のアドレスへリダイレクトしました。リクエストはそこへ送信されていません。</translation>
    </message>
    <message>
        <location filename="../../services/net/RequestPolicy.cpp" line="181"/>
        <source>%1 The next try will be at %2.</source>
        <translation>%1 次の試行は %2 です。</translation>
    </message>
    <message>
        <location filename="../../services/net/RequestPolicy.cpp" line="164"/>
        <source>The server stopped answering.</source>
        <translation>サーバーが応答しなくなりました。</translation>
    </message>
    <message>
        <location filename="../../services/net/RequestPolicy.cpp" line="170"/>
        <source>The reply was cut short.</source>
        <translation>応答が途中で途切れました。</translation>
    </message>
    <message>
        <location filename="../../services/net/RequestPolicy.cpp" line="183"/>
        <source>no answer from the server</source>
        <translation>サーバーから応答がありません</translation>
    </message>
</context>
<context>
    <name>NotificationService</name>
    <message>
        <location filename="../../ui/tray/NotificationService.cpp" line="325"/>
        <source>Test reminder</source>
        <translation>テスト通知</translation>
    </message>
    <message>
        <location filename="../../ui/tray/NotificationService.cpp" line="326"/>
        <source>If you can see this, your desktop notifications are wired up correctly. Real reminders look just like this one.</source>
        <translation>この通知が表示されていれば、デスクトップ通知は正しく設定されています。実際のリマインダーもこのように表示されます。</translation>
    </message>
</context>
<context>
    <name>OAuth::LoopbackAuthService</name>
    <message>
        <location filename="../../services/oauth/LoopbackAuthService.cpp" line="202"/>
        <source>Sign-in cancelled.</source>
        <translation>サインインをキャンセルしました。</translation>
    </message>
    <message>
        <location filename="../../services/oauth/LoopbackAuthService.cpp" line="279"/>
        <source>Token exchange failed (HTTP %1): %2</source>
        <translation>トークンの交換に失敗しました (HTTP %1): %2</translation>
    </message>
    <message>
        <location filename="../../services/oauth/LoopbackAuthService.cpp" line="316"/>
        <source>Token refresh failed (HTTP %1): %2</source>
        <translation>トークンの更新に失敗しました (HTTP %1): %2</translation>
    </message>
</context>
<context>
    <name>PreferencesDialog</name>
    <message>
        <source>The preferences could not be saved (%1).</source>
        <translation>設定を保存できませんでした（%1）。</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="34"/>
        <source>Close to the system tray</source>
        <translation>閉じるときにシステムトレイに格納</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="35"/>
        <source>Start minimised</source>
        <translation>最小化して起動</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="36"/>
        <source>Launch at login</source>
        <translation>ログイン時に起動</translation>
    </message>
    <message>
        <source>Another program is writing to the calendar, so the preferences were not saved. Press OK again once it is done.</source>
        <translation>別のプログラムがカレンダーに書き込み中のため、設定は保存されませんでした。完了してからもう一度 OK を押してください。</translation>
    </message>
    <message>
        <source>The preferences could not be saved.</source>
        <translation>設定を保存できませんでした。</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="39"/>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="105"/>
        <source>Preferences</source>
        <translation>環境設定</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="42"/>
        <source>System</source>
        <translation>システム</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="43"/>
        <source>Light</source>
        <translation>ライト</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="44"/>
        <source>Dark</source>
        <translation>ダーク</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="47"/>
        <source>Default</source>
        <translation>デフォルト</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="50"/>
        <source>Choose…</source>
        <translation>選択…</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="67"/>
        <source>12-hour (1:30 PM)</source>
        <translation>12 時間制 (1:30 PM)</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="68"/>
        <source>24-hour (13:30)</source>
        <translation>24 時間制 (13:30)</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="71"/>
        <source>As the system&apos;s region</source>
        <translation>システムの地域設定に従う</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="92"/>
        <source>Theme:</source>
        <translation>テーマ:</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="93"/>
        <source>Accent colour:</source>
        <translation>アクセントカラー:</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="94"/>
        <source>Font size:</source>
        <translation>フォントサイズ:</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="95"/>
        <source>Time format:</source>
        <translation>時刻の形式:</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="96"/>
        <source>First day of week:</source>
        <translation>週の始まり:</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="106"/>
        <source>The launch-at-login entry could not be changed.</source>
        <translation>ログイン時の起動設定を変更できませんでした。</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="80"/>
        <source>Configure location and units…</source>
        <translation>場所と単位を設定…</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/PreferencesDialog.cpp" line="97"/>
        <source>Weather:</source>
        <translation>天気:</translation>
    </message>
</context>
<context>
    <name>ProviderSignIn</name>
    <message>
        <location filename="../../ui/dialogs/ProviderSignIn.cpp" line="25"/>
        <source>Google sign-in</source>
        <translation>Google サインイン</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/ProviderSignIn.cpp" line="26"/>
        <source>Microsoft sign-in</source>
        <translation>Microsoft サインイン</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/ProviderSignIn.cpp" line="36"/>
        <source>Finish signing in in your browser. This window closes by itself when you are done.</source>
        <translation>ブラウザーでサインインを完了してください。完了すると、このウィンドウは自動的に閉じます。</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/ProviderSignIn.cpp" line="86"/>
        <source>The account could not be saved.</source>
        <translation>アカウントを保存できませんでした。</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <location filename="../../model/DateText.cpp" line="41"/>
        <source>Today at %1</source>
        <translation>今日 %1</translation>
    </message>
    <message>
        <location filename="../../core/ReminderRound.cpp" line="86"/>
        <source>Starting now (%1)</source>
        <translation>まもなく開始 (%1)</translation>
    </message>
    <message>
        <location filename="../../core/ReminderRound.cpp" line="90"/>
        <source>In %1h (%2)</source>
        <translation>%1 時間後 (%2)</translation>
    </message>
    <message>
        <source>In %1h %2min (%3)</source>
        <translation>%1 時間 %2 分後 (%3)</translation>
    </message>
    <message>
        <source>Started at %1</source>
        <translation>%1 に開始しました</translation>
    </message>
    <message>
        <location filename="../../core/ReminderRound.cpp" line="92"/>
        <source>Tomorrow at %1</source>
        <translation>明日 %1</translation>
    </message>
    <message>
        <location filename="../../core/ReminderRound.cpp" line="101"/>
        <source>Due soon</source>
        <translation>まもなく期限</translation>
    </message>
    <message>
        <location filename="../../core/ReminderRound.cpp" line="101"/>
        <source>Due today</source>
        <translation>今日が期限</translation>
    </message>
    <message>
        <location filename="../../core/ReminderRound.cpp" line="102"/>
        <source>Due soon (%1)</source>
        <translation>まもなく期限 (%1)</translation>
    </message>
    <message>
        <location filename="../../core/ReminderRound.cpp" line="103"/>
        <source>Due now (%1)</source>
        <translation>期限です (%1)</translation>
    </message>
    <message>
        <location filename="../../core/ReminderRound.cpp" line="108"/>
        <source>Reminder</source>
        <translation>リマインダー</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="74"/>
        <source>Larkspindle Calendar — Last sync failed</source>
        <translation>Larkspindle Calendar — 前回の同期に失敗しました</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="75"/>
        <source>Larkspindle Calendar — Sync failed: %1</source>
        <translation>Larkspindle Calendar — 同期に失敗しました: %1</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="78"/>
        <source>Larkspindle Calendar — No upcoming events</source>
        <translation>Larkspindle Calendar — 予定されているイベントはありません</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="80"/>
        <source>Untitled</source>
        <translation>無題</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="88"/>
        <source>today</source>
        <translation>今日</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="90"/>
        <source>tomorrow</source>
        <translation>明日</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="91"/>
        <source>Larkspindle Calendar — Next: %1 (%2, all day)</source>
        <translation>Larkspindle Calendar — 次の予定: %1 (%2、終日)</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="96"/>
        <source>at %1</source>
        <translation>%1</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="98"/>
        <source>tomorrow at %1</source>
        <translation>明日 %1</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="100"/>
        <source>%1 %2</source>
        <translation>%1 %2</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="101"/>
        <source>Larkspindle Calendar — Next: %1 %2</source>
        <translation>Larkspindle Calendar — 次の予定: %1 %2</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="29"/>
        <source>Repeats daily</source>
        <translation>毎日</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="30"/>
        <source>Every %1 days</source>
        <translation>%1 日ごと</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="32"/>
        <source>Repeats weekly</source>
        <translation>毎週</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="33"/>
        <source>Every %1 weeks</source>
        <translation>%1 週間ごと</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="35"/>
        <source>Repeats monthly</source>
        <translation>毎月</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="36"/>
        <source>Every %1 months</source>
        <translation>%1 か月ごと</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="38"/>
        <source>Repeats yearly</source>
        <translation>毎年</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="39"/>
        <source>Every %1 years</source>
        <translation>%1 年ごと</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="40"/>
        <source>Repeats</source>
        <translation>繰り返し</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="100"/>
        <source>on the %1 %2</source>
        <translation>%1%2曜日</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="105"/>
        <source>on the %1</source>
        <translation>%1日</translation>
    </message>
    <message numerus="yes">
        <location filename="../../model/RruleFormat.cpp" line="111"/>
        <source>%n time(s)</source>
        <translation>
            <numerusform>%n 回</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="119"/>
        <source>until %1</source>
        <translation>%1 まで</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="127"/>
        <source>At time of event</source>
        <translation>イベントの時刻</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="129"/>
        <source>%1 min before</source>
        <translation>%1 分前</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="143"/>
        <source>Mon</source>
        <comment>RruleFormat</comment>
        <translation>月</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="145"/>
        <source>Tue</source>
        <comment>RruleFormat</comment>
        <translation>火</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="147"/>
        <source>Wed</source>
        <comment>RruleFormat</comment>
        <translation>水</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="149"/>
        <source>Thu</source>
        <comment>RruleFormat</comment>
        <translation>木</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="151"/>
        <source>Fri</source>
        <comment>RruleFormat</comment>
        <translation>金</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="153"/>
        <source>Sat</source>
        <comment>RruleFormat</comment>
        <translation>土</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="155"/>
        <source>Sun</source>
        <comment>RruleFormat</comment>
        <translation>日</translation>
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
        <translation>最後から2番目の</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="183"/>
        <source>last</source>
        <translation>最終</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="185"/>
        <source>first</source>
        <translation>第1</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="187"/>
        <source>second</source>
        <translation>第2</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="189"/>
        <source>third</source>
        <translation>第3</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="191"/>
        <source>fourth</source>
        <translation>第4</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="193"/>
        <source>fifth</source>
        <translation>第5</translation>
    </message>
    <message>
        <location filename="../../model/RruleFormat.cpp" line="200"/>
        <source>%1th-from-last</source>
        <translation>最後から%1番目の</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateFlows.cpp" line="52"/>
        <source>No release notes available for %1 %2</source>
        <translation>%1 %2 のリリースノートはありません</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateFlows.cpp" line="93"/>
        <source>Checking for updates…</source>
        <translation>アップデートを確認しています…</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateFlows.cpp" line="106"/>
        <source>%1 is up to date (version %2)</source>
        <translation>%1 は最新です (バージョン %2)</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateFlows.cpp" line="110"/>
        <source>Update check failed: %1</source>
        <translation>アップデートの確認に失敗しました: %1</translation>
    </message>
    <message>
        <location filename="../../ui/update/UpdateFlows.cpp" line="121"/>
        <source>Loading release notes…</source>
        <translation>リリースノートを読み込んでいます…</translation>
    </message>
    <message numerus="yes">
        <location filename="../../model/RruleFormat.cpp" line="131"/>
        <source>%n hour(s) before</source>
        <translation>
            <numerusform>%n 時間前</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location filename="../../model/RruleFormat.cpp" line="132"/>
        <source>%n day(s) before</source>
        <translation>
            <numerusform>%n 日前</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location filename="../../core/ReminderRound.cpp" line="88"/>
        <source>In %n minute(s) (%1)</source>
        <translation>
            <numerusform>%n 分後 (%1)</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Sync::CalendarSyncClient</name>
    <message>
        <location filename="../../core/sync/CalendarSyncClient.cpp" line="27"/>
        <source>Parent account missing</source>
        <translation>親アカウントがありません</translation>
    </message>
    <message>
        <location filename="../../core/sync/CalendarSyncClient.cpp" line="33"/>
        <source>Sync is not available for this calendar&apos;s account.</source>
        <translation>このカレンダーのアカウントでは同期を利用できません。</translation>
    </message>
</context>
<context>
    <name>Sync::PageChain</name>
    <message numerus="yes">
        <source>%1 sent a listing that never ends (a page came again, or more than %Ln page(s)); it was stopped.</source>
        <translation>
            <numerusform>%1 から終わりのない一覧が送られてきたため（同じページが再び届いたか、%Ln ページを超えました）、停止しました。</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Sync::SyncCoordinator</name>
    <message>
        <location filename="../../core/sync/SyncCoordinator.cpp" line="105"/>
        <source>Sync finished.</source>
        <translation>同期が完了しました。</translation>
    </message>
    <message>
        <location filename="../../core/sync/SyncCoordinator.cpp" line="113"/>
        <location filename="../../core/sync/SyncCoordinator.cpp" line="127"/>
        <source>Sync failed: %1</source>
        <translation>同期に失敗しました: %1</translation>
    </message>
    <message numerus="yes">
        <location filename="../../core/sync/SyncCoordinator.cpp" line="104"/>
        <location filename="../../core/sync/SyncCoordinator.cpp" line="125"/>
        <source>Synced %Ln event(s)</source>
        <translation>
            <numerusform>%Ln 件の予定を同期しました</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../core/sync/SyncCoordinator.cpp" line="140"/>
        <source>The server did not answer for too long; the sync stopped and is tried again later.</source>
        <translation>サーバーの応答が長時間ありませんでした。同期を中止しました。後で再試行します。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was not synced: an import into it is not over yet. It is synced once the import has ended.</source>
        <translation>「%1」は同期されませんでした: このカレンダーへのインポートがまだ終わっていません。インポートの終了後に同期されます。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was not synced: another sync of it was under way. It is synced once that one has ended.</source>
        <translation>「%1」は同期されませんでした: このカレンダーの別の同期が実行中でした。その同期の終了後に同期されます。</translation>
    </message>
    <message>
        <source>%1 waits until %2, as its server asked; it is synced then.</source>
        <translation>%1 はサーバーの要求により %2 まで待機します。その後に同期されます。</translation>
    </message>
</context>
<context>
    <name>Sync::SyncEngine</name>
    <message>
        <location filename="../../core/sync/SyncEngine.cpp" line="143"/>
        <source>The calendar &quot;%1&quot; could not be added on this device.</source>
        <translation>カレンダー「%1」をこのデバイスに追加できませんでした。</translation>
    </message>
    <message numerus="yes">
        <source>The changes of &quot;%1&quot; never end (a page came again, or more than %Ln page(s)); the sync stopped.</source>
        <translation>
            <numerusform>「%1」の変更が終わりません（同じページが再び届いたか、%Ln ページを超えました）。同期を停止しました。</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../core/sync/SyncEngine.cpp" line="244"/>
        <source>Changes to &quot;%1&quot; could not be saved on this device; they are fetched again at the next sync.</source>
        <translation>「%1」の変更をこのデバイスに保存できませんでした。次回の同期で再度取得します。</translation>
    </message>
</context>
<context>
    <name>Sync::SyncProvider</name>
    <message>
        <location filename="../../core/sync/SyncEngine.cpp" line="615"/>
        <source>This source keeps no tasks.</source>
        <translation>このソースはタスクを扱いません。</translation>
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
        <translation>Google カレンダー</translation>
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
        <translation>カレンダーの購読</translation>
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
            <numerusform>%n 件のアカウントを同期しています…</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../../core/sync/SyncNowReport.cpp" line="52"/>
        <source>No account to sync.</source>
        <translation>同期するアカウントがありません。</translation>
    </message>
    <message>
        <location filename="../../core/sync/SyncNowReport.cpp" line="54"/>
        <source>Sync is not available yet for %1.</source>
        <translation>%1 はまだ同期できません。</translation>
    </message>
</context>
<context>
    <name>TimeFormat</name>
    <message>
        <location filename="../../model/TimeOfDay.cpp" line="14"/>
        <source>h:mm AP</source>
        <comment>12-hour time pattern</comment>
        <translation>APh:mm</translation>
    </message>
</context>
<context>
    <name>TrayManager</name>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="134"/>
        <source>&amp;Show Calendar</source>
        <translation>カレンダーを表示(&amp;S)</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="139"/>
        <source>Sync &amp;Now</source>
        <translation>今すぐ同期(&amp;N)</translation>
    </message>
    <message>
        <location filename="../../ui/tray/TrayManager.cpp" line="142"/>
        <source>&amp;Quit</source>
        <translation>終了(&amp;Q)</translation>
    </message>
</context>
<context>
    <name>Weather::GeocodingClient</name>
    <message>
        <location filename="../../services/weather/GeocodingClient.cpp" line="52"/>
        <source>Geocoding returned HTTP %1</source>
        <translation>地名検索が HTTP %1 を返しました</translation>
    </message>
</context>
<context>
    <name>Weather::Service</name>
    <message>
        <location filename="../../services/weather/WeatherService.cpp" line="102"/>
        <source>Open-Meteo returned HTTP %1</source>
        <translation>Open-Meteo が HTTP %1 を返しました</translation>
    </message>
</context>
<context>
    <name>WeatherSettingsDialog</name>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="33"/>
        <source>Weather</source>
        <translation>天気</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="37"/>
        <source>Show weather alongside your calendar. Forecast comes from Open-Meteo (free, no signup). Search for a city below to set the location.</source>
        <translation>カレンダーと一緒に天気を表示します。予報は Open-Meteo (無料、登録不要) から取得します。下で都市を検索して場所を設定してください。</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="44"/>
        <source>Enable weather</source>
        <translation>天気を有効にする</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="50"/>
        <source>City name or postal code</source>
        <translation>都市名または郵便番号</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="51"/>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="143"/>
        <source>Search</source>
        <translation>検索</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="70"/>
        <source>No location set.</source>
        <translation>場所が設定されていません。</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="71"/>
        <source>Current location: %1</source>
        <translation>現在の場所: %1</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="75"/>
        <source>Celsius (°C)</source>
        <translation>摂氏 (°C)</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="76"/>
        <source>Fahrenheit (°F)</source>
        <translation>華氏 (°F)</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="83"/>
        <source>&amp;City:</source>
        <translation>都市(&amp;C):</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="88"/>
        <source>&amp;Units:</source>
        <translation>単位(&amp;U):</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="93"/>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="126"/>
        <source>Searching…</source>
        <translation>検索中…</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="168"/>
        <source>No matches found.</source>
        <translation>一致する場所が見つかりません。</translation>
    </message>
    <message>
        <location filename="../../ui/dialogs/WeatherSettingsDialog.cpp" line="183"/>
        <source>Search failed: %1</source>
        <translation>検索に失敗しました: %1</translation>
    </message>
    <message>
        <source>Another program is writing to the calendar, so the weather settings were not saved. Press Save again once it is done.</source>
        <translation>別のプログラムがカレンダーに書き込み中のため、天気の設定は保存されませんでした。完了してからもう一度「保存」を押してください。</translation>
    </message>
    <message>
        <source>The weather settings could not be saved.</source>
        <translation>天気の設定を保存できませんでした。</translation>
    </message>
</context>
<context>
    <name>WinTrayPopover</name>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="49"/>
        <source>now</source>
        <translation>今</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="51"/>
        <source>in %1 min</source>
        <translation>%1 分後</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="55"/>
        <source>in %1h %2m</source>
        <translation>%1 時間 %2 分後</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="56"/>
        <source>in %1h</source>
        <translation>%1 時間後</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="75"/>
        <source>Today, all day</source>
        <translation>今日、終日</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="76"/>
        <source>Tomorrow, all day</source>
        <translation>明日、終日</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="77"/>
        <source>%1 at %2</source>
        <translation>%1 %2</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="78"/>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="392"/>
        <source>Today</source>
        <translation>今日</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="78"/>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="397"/>
        <source>Tomorrow</source>
        <translation>明日</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="91"/>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="438"/>
        <source>All-day</source>
        <translation>終日</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="145"/>
        <source>Open Calendar</source>
        <translation>カレンダーを開く</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="146"/>
        <source>Sync Now</source>
        <translation>今すぐ同期</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="183"/>
        <source>Add event — e.g. &quot;lunch Thursday 1pm&quot;</source>
        <translation>イベントを追加 — 例: &quot;lunch Thursday 1pm&quot;</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="196"/>
        <source>Preferences</source>
        <translation>環境設定</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="209"/>
        <source>Group</source>
        <translation>グループ</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="349"/>
        <source>No calendars yet</source>
        <translation>カレンダーはまだありません</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="368"/>
        <source>No upcoming events</source>
        <translation>予定されているイベントはありません</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="369"/>
        <source>Nothing scheduled in the next 24 hours.</source>
        <translation>今後 24 時間の予定はありません。</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="374"/>
        <source>Untitled</source>
        <translation>無題</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="396"/>
        <source>  No more events today</source>
        <translation>  今日の予定はこれ以上ありません</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="401"/>
        <source>  Nothing scheduled</source>
        <translation>  予定はありません</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="462"/>
        <source>(Unnamed)</source>
        <translation>（名前なし）</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="517"/>
        <source>Couldn&apos;t save event</source>
        <translation>イベントを保存できませんでした</translation>
    </message>
    <message>
        <source>Task without a date</source>
        <translation>日付なしのタスク</translation>
    </message>
    <message>
        <location filename="../../ui/tray/WinTrayPopover.cpp" line="466"/>
        <source>All Calendars</source>
        <translation>すべてのカレンダー</translation>
    </message>
</context>
<context>
    <name>Store</name>
    <message>
        <source>the disk that holds the calendar is full</source>
        <translation>カレンダーを保存しているディスクがいっぱいです</translation>
    </message>
</context>
</TS>
