<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja">
<context>
    <name></name>
    <message id="common.add">
        <source>Add</source>
        <translation>追加</translation>
    </message>
    <message id="common.cancel">
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message id="common.confirm">
        <source>Confirm</source>
        <translation>確定</translation>
    </message>
    <message id="common.continue">
        <source>Continue</source>
        <translation>続ける</translation>
    </message>
    <message id="common.delete">
        <source>Delete</source>
        <translation>削除</translation>
    </message>
    <message id="common.deleteConfirm.defaultMessage">
        <source>This can't be undone.</source>
        <translation>この操作は取り消せません。</translation>
    </message>
    <message id="common.done">
        <source>Done</source>
        <translation>完了</translation>
    </message>
    <message id="common.redirect.appendQuery">
        <source>Include the blocked URL</source>
        <translation>ブロックしたURLを付加する</translation>
    </message>
    <message id="common.redirect.header">
        <source>Redirect</source>
        <translation>リダイレクト</translation>
    </message>
    <message id="common.save">
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message id="common.section.detail">
        <source>Details</source>
        <translation>詳細設定</translation>
    </message>
    <message id="display.a11y.brightnessPercent">
        <source>%1 percent</source>
        <translation>%1パーセント</translation>
    </message>
    <message id="display.a11y.brightnessSlider">
        <source>%1 brightness</source>
        <translation>%1の明るさ</translation>
    </message>
    <message id="display.a11y.applyTriggerNow">
        <source>Apply %1 now</source>
        <translation>%1を今すぐ適用</translation>
    </message>
    <message id="ruleDetail.a11y.editGroup">
        <source>Edit %1</source>
        <translation>%1を編集</translation>
    </message>
    <message id="schedule.a11y.rangeStart">
        <source>Start of time range %1</source>
        <translation>時間帯%1の開始</translation>
    </message>
    <message id="schedule.a11y.rangeEnd">
        <source>End of time range %1</source>
        <translation>時間帯%1の終了</translation>
    </message>
    <message id="schedule.a11y.deleteRange">
        <source>Delete time range %1</source>
        <translation>時間帯%1を削除</translation>
    </message>
    <message id="display.addTrigger">
        <source>New Trigger</source>
        <translation>トリガーを追加</translation>
    </message>
    <message id="display.deleteConfirmTitle">
        <source>Delete this trigger?</source>
        <translation>このトリガーを削除しますか？</translation>
    </message>
    <message id="display.editTrigger">
        <source>Edit Trigger</source>
        <translation>トリガーを編集</translation>
    </message>
    <message id="display.emptyDescription">
        <source>Add a trigger to change your displays' brightness at set times.</source>
        <translation>トリガーを追加すると、決まった時刻にディスプレイの明るさを変えられます。</translation>
    </message>
    <message id="display.emptyTitle">
        <source>No Triggers</source>
        <translation>トリガーがありません</translation>
    </message>
    <message id="display.field.appliesOnWake">
        <source>Also apply on wake</source>
        <translation>スリープ解除時にも適用</translation>
    </message>
    <message id="display.field.name">
        <source>Name</source>
        <translation>名前</translation>
    </message>
    <message id="display.field.time">
        <source>Time</source>
        <translation>時刻</translation>
    </message>
    <message id="display.footer.appliesOnWake">
        <source>When your computer wakes from sleep, the most recent of today's triggers with this setting on is applied.</source>
        <translation>スリープから復帰したとき、この設定がオンのトリガーのうち、その日の直近のものを適用します。</translation>
    </message>
    <message id="display.footer.brightnessAuto">
        <source>Automatic brightness or power-saving dimming on your desktop may change the level afterwards.</source>
        <translation>デスクトップの明るさの自動調整や省電力による減光で、あとから明るさが変わることがあります。</translation>
    </message>
    <message id="display.footer.kit">
        <source>Brightness control uses this library:</source>
        <translation>明るさの制御には次のライブラリを使用しています:</translation>
    </message>
    <message id="display.help.appliesOnWake">
        <source>Also applied on wake</source>
        <translation>スリープ解除時にも適用されます</translation>
    </message>
    <message id="display.help.applyNow">
        <source>Apply Now</source>
        <translation>今すぐ適用</translation>
    </message>
    <message id="display.section.basic">
        <source>General</source>
        <translation>基本設定</translation>
    </message>
    <message id="display.untitled">
        <source>Untitled</source>
        <translation>名称未設定</translation>
    </message>
    <message id="domain.dayFull.friday">
        <source>Friday</source>
        <translation>金曜日</translation>
    </message>
    <message id="domain.dayFull.monday">
        <source>Monday</source>
        <translation>月曜日</translation>
    </message>
    <message id="domain.dayFull.saturday">
        <source>Saturday</source>
        <translation>土曜日</translation>
    </message>
    <message id="domain.dayFull.sunday">
        <source>Sunday</source>
        <translation>日曜日</translation>
    </message>
    <message id="domain.dayFull.thursday">
        <source>Thursday</source>
        <translation>木曜日</translation>
    </message>
    <message id="domain.dayFull.tuesday">
        <source>Tuesday</source>
        <translation>火曜日</translation>
    </message>
    <message id="domain.dayFull.wednesday">
        <source>Wednesday</source>
        <translation>水曜日</translation>
    </message>
    <message id="domain.dayShort.friday">
        <source>Fri</source>
        <translation>金</translation>
    </message>
    <message id="domain.dayShort.monday">
        <source>Mon</source>
        <translation>月</translation>
    </message>
    <message id="domain.dayShort.saturday">
        <source>Sat</source>
        <translation>土</translation>
    </message>
    <message id="domain.dayShort.sunday">
        <source>Sun</source>
        <translation>日</translation>
    </message>
    <message id="domain.dayShort.thursday">
        <source>Thu</source>
        <translation>木</translation>
    </message>
    <message id="domain.dayShort.tuesday">
        <source>Tue</source>
        <translation>火</translation>
    </message>
    <message id="domain.dayShort.wednesday">
        <source>Wed</source>
        <translation>水</translation>
    </message>
    <message id="domain.seedName.blocklist">
        <source>Blocklist</source>
        <translation>ブロックリスト</translation>
    </message>
    <message id="domain.seedName.sunrise">
        <source>Sunrise</source>
        <translation>日の出</translation>
    </message>
    <message id="domain.seedName.sunset">
        <source>Sunset</source>
        <translation>日の入り</translation>
    </message>
    <message id="erase.confirm">
        <source>Erase All Data</source>
        <translation>すべてのデータを消去</translation>
    </message>
    <message id="erase.warningMessage">
        <source>Your rules, brightness triggers and unlock history will be deleted, starting at login will be turned off, and Kivo will return to how it was at first launch. This can't be undone.</source>
        <translation>ルール、明るさのトリガー、ロック解除の履歴が削除され、ログイン時の起動はオフになり、Kivoは初回起動時の状態に戻ります。この操作は取り消せません。</translation>
    </message>
    <message id="erase.warningTitle">
        <source>Erase all data?</source>
        <translation>すべてのデータを消去しますか？</translation>
    </message>
    <message id="groupReorder.a11y.dragHandle">
        <source>Drag to reorder %1</source>
        <translation>ドラッグして%1を並べ替え</translation>
    </message>
    <message id="groupReorder.title">
        <source>Reorder Rules</source>
        <translation>ルールを並べ替え</translation>
    </message>
    <message id="groupRule.addTitle">
        <source>New Rule</source>
        <translation>ルールを追加</translation>
    </message>
    <message id="groupRule.deleteConfirmMessage">
        <source>The rule and all of its patterns will be deleted. This can't be undone.</source>
        <translation>このルールとそのすべてのパターンが削除されます。この操作は取り消せません。</translation>
    </message>
    <message id="groupRule.deleteConfirmTitle">
        <source>Delete this rule?</source>
        <translation>このルールを削除しますか？</translation>
    </message>
    <message id="groupRule.editTitle">
        <source>Edit Rule</source>
        <translation>ルールを編集</translation>
    </message>
    <message id="groupRule.field.namePlaceholder">
        <source>e.g. Social Media</source>
        <translation>例: SNS</translation>
    </message>
    <message id="groupRule.redirect.useCustom">
        <source>Use a custom redirect URL</source>
        <translation>カスタムのリダイレクト先を使う</translation>
    </message>
    <message id="groupRule.section.name">
        <source>Rule Name</source>
        <translation>ルール名</translation>
    </message>
    <message id="menubar.openKivo">
        <source>Open Kivo</source>
        <translation>Kivoを開く</translation>
    </message>
    <message id="menubar.quitKivo">
        <source>Quit Kivo</source>
        <translation>Kivoを終了</translation>
    </message>
    <message id="more.checkForUpdates">
        <source>Check for Updates…</source>
        <translation>アップデートを確認…</translation>
    </message>
    <message id="more.updatesFromPackageManager">
        <source>Updates come from your package manager.</source>
        <translation>アップデートはパッケージマネージャーから行われます。</translation>
    </message>
    <message id="more.eraseAllData">
        <source>Erase All Data…</source>
        <translation>すべてのデータを消去…</translation>
    </message>
    <message id="more.feedback">
        <source>Send Feedback</source>
        <translation>フィードバックを送る</translation>
    </message>
    <message id="more.feedbackAlertMessage">
        <source>The feedback form will open in your web browser.</source>
        <translation>フィードバックフォームをWebブラウザで開きます。</translation>
    </message>
    <message id="more.feedbackAlertTitle">
        <source>Open the feedback form?</source>
        <translation>フィードバックフォームを開きますか？</translation>
    </message>
    <message id="more.feedbackOpen">
        <source>Open</source>
        <translation>開く</translation>
    </message>
    <message id="more.languagePicker">
        <source>Language</source>
        <translation>言語</translation>
    </message>
    <message id="more.loginItemToggle">
        <source>Start Kivo at login</source>
        <translation>ログイン時にKivoを起動</translation>
    </message>
    <message id="more.privacyPolicy">
        <source>Privacy Policy</source>
        <translation>プライバシーポリシー</translation>
    </message>
    <message id="more.privacyPolicyAlertMessage">
        <source>The privacy policy will open in your web browser.</source>
        <translation>プライバシーポリシーをWebブラウザで開きます。</translation>
    </message>
    <message id="more.privacyPolicyAlertTitle">
        <source>Open the privacy policy?</source>
        <translation>プライバシーポリシーを開きますか？</translation>
    </message>
    <message id="more.privacyPolicyOpen">
        <source>Open</source>
        <translation>開く</translation>
    </message>
    <message id="more.stopApp">
        <source>Quit Kivo…</source>
        <translation>Kivoを終了…</translation>
    </message>
    <message id="more.title">
        <source>More</source>
        <translation>その他</translation>
    </message>
    <message id="more.uninstall">
        <source>Uninstall Kivo…</source>
        <translation>Kivoをアンインストール…</translation>
    </message>
    <message id="nav.kivo">
        <source>Kivo</source>
        <translation>Kivo</translation>
    </message>
    <message id="onboarding.language.pickerLabel">
        <source>Language</source>
        <translation>言語</translation>
    </message>
    <message id="onboarding.language.subtitle">
        <source>Choose the language Kivo uses. You can change it later under More.</source>
        <translation>Kivoで使う言語を選んでください。あとから「その他」で変更できます。</translation>
    </message>
    <message id="onboarding.language.title">
        <source>Choose Your Language</source>
        <translation>言語を選択</translation>
    </message>
    <message id="pattern.deleteConfirm.allow">
        <source>Delete this allow pattern?</source>
        <translation>この許可パターンを削除しますか？</translation>
    </message>
    <message id="pattern.deleteConfirm.block">
        <source>Delete this block pattern?</source>
        <translation>このブロックパターンを削除しますか？</translation>
    </message>
    <message id="pattern.normalizationPreview">
        <source>On save: %1</source>
        <translation>保存時: %1</translation>
    </message>
    <message id="pattern.redirect.override">
        <source>Use its own redirect</source>
        <translation>このパターン専用のリダイレクト先を使う</translation>
    </message>
    <message id="pattern.redirect.useGroup">
        <source>Uses the rule's redirect setting.</source>
        <translation>ルールのリダイレクト設定を使います。</translation>
    </message>
    <message id="pattern.section.pattern">
        <source>URL Pattern</source>
        <translation>URLパターン</translation>
    </message>
    <message id="pattern.title.addAllow">
        <source>Add Allow Pattern</source>
        <translation>許可パターンを追加</translation>
    </message>
    <message id="pattern.title.addBlock">
        <source>Add Block Pattern</source>
        <translation>ブロックパターンを追加</translation>
    </message>
    <message id="pattern.title.editAllow">
        <source>Edit Allow Pattern</source>
        <translation>許可パターンを編集</translation>
    </message>
    <message id="pattern.title.editBlock">
        <source>Edit Block Pattern</source>
        <translation>ブロックパターンを編集</translation>
    </message>
    <message id="permissions.accessibility.description">
        <source>Kivo reads the address bar of %1 through your desktop's **accessibility** interface (AT-SPI), so accessibility support must be turned on.</source>
        <translation>Kivoは%1のアドレスバーをデスクトップの**アクセシビリティ**機能（AT-SPI）で読み取るため、アクセシビリティのサポートをオンにする必要があります。</translation>
    </message>
    <message id="permissions.accessibility.grant">
        <source>Open Settings</source>
        <translation>設定を開く</translation>
    </message>
    <message id="permissions.accessibility.later">
        <source>Later</source>
        <translation>あとで</translation>
    </message>
    <message id="permissions.accessibility.restart">
        <source>Quit %1 completely and start it again: it shows its pages only when accessibility support was on when it started. If it still cannot be read, start it with --force-renderer-accessibility.</source>
        <translation>%1を完全に終了してから再び起動してください。このブラウザは起動時にアクセシビリティのサポートがオンだった場合にのみページを公開します。それでも読み取れない場合は --force-renderer-accessibility を付けて起動してください。</translation>
    </message>
    <message id="permissions.accessibility.step1">
        <source>Open your desktop's accessibility settings.</source>
        <translation>デスクトップのアクセシビリティ設定を開きます。</translation>
    </message>
    <message id="permissions.accessibility.step2">
        <source>Turn on accessibility support for applications.</source>
        <translation>アプリケーションのアクセシビリティのサポートをオンにします。</translation>
    </message>
    <message id="permissions.accessibility.step2FollowsAtOnce">
        <source>Turn on accessibility support for applications. %1 follows it at once.</source>
        <translation>アプリケーションのアクセシビリティのサポートをオンにします。%1にはすぐに反映されます。</translation>
    </message>
    <message id="permissions.accessibility.step3">
        <source>Kivo only reads the address bar of %1.</source>
        <translation>Kivoが読み取るのは%1のアドレスバーだけです。</translation>
    </message>
    <message id="permissions.accessibility.suppress">
        <source>Don't Ask Again</source>
        <translation>今後表示しない</translation>
    </message>
    <message id="permissions.accessibility.title">
        <source>Kivo needs accessibility support to block %1</source>
        <translation>%1をブロックするにはアクセシビリティのサポートが必要です</translation>
    </message>
    <message id="permissions.automation.message">
        <source>Kivo can't block %1.
Turn on accessibility support in your desktop settings, then restart these browsers.</source>
        <translation>Kivoは%1をブロックできません。
デスクトップの設定でアクセシビリティのサポートをオンにして、これらのブラウザを再起動してください。</translation>
    </message>
    <message id="permissions.automation.openSettings">
        <source>Open Settings</source>
        <translation>設定を開く</translation>
    </message>
    <message id="permissions.automation.title">
        <source>Kivo can't read some browsers</source>
        <translation>一部のブラウザを読み取れません</translation>
    </message>
    <message id="permissions.wayland.message">
        <source>Kivo can't see %1 running natively on Wayland.
Quit these browsers and start them under XWayland.</source>
        <translation>Waylandでネイティブに動作している%1はKivoから見えません。
これらのブラウザを終了し、XWaylandで起動してください。</translation>
    </message>
    <message id="permissions.wayland.title">
        <source>Kivo can't see some browsers</source>
        <translation>一部のブラウザが見えません</translation>
    </message>
    <message id="quit.confirm">
        <source>Quit</source>
        <translation>終了</translation>
    </message>
    <message id="ruleDetail.addPattern">
        <source>Add Pattern</source>
        <translation>パターンを追加</translation>
    </message>
    <message id="ruleDetail.empty.allowDescription">
        <source>Pages that match an allow pattern are never blocked, even when a block pattern matches them.</source>
        <translation>許可パターンに一致するページは、ブロックパターンに一致してもブロックされません。</translation>
    </message>
    <message id="ruleDetail.empty.allowTitle">
        <source>No Allow Patterns</source>
        <translation>許可パターンはありません</translation>
    </message>
    <message id="ruleDetail.empty.blockDescription">
        <source>Add a pattern such as example.com/* to block the pages it matches.</source>
        <translation>example.com/* のようなパターンを追加すると、一致するページをブロックします。</translation>
    </message>
    <message id="ruleDetail.empty.blockTitle">
        <source>No Block Patterns</source>
        <translation>ブロックパターンはありません</translation>
    </message>
    <message id="ruleDetail.notFound">
        <source>Rule not found</source>
        <translation>ルールが見つかりません</translation>
    </message>
    <message id="ruleDetail.summary.redirect">
        <source>Redirect</source>
        <translation>リダイレクト</translation>
    </message>
    <message id="ruleDetail.summary.timeWindowMore">
        <source>and more</source>
        <translation>ほか</translation>
    </message>
    <message id="ruleDetail.tab.allow">
        <source>Allow</source>
        <translation>許可</translation>
    </message>
    <message id="ruleDetail.tab.block">
        <source>Block</source>
        <translation>ブロック</translation>
    </message>
    <message id="rules.add">
        <source>Add Rule</source>
        <translation>ルールを追加</translation>
    </message>
    <message id="rules.emptyDescription">
        <source>Add a rule to start blocking websites.</source>
        <translation>ルールを追加して、Webサイトのブロックを始めましょう。</translation>
    </message>
    <message id="rules.emptyTitle">
        <source>No Rules</source>
        <translation>ルールがありません</translation>
    </message>
    <message id="rules.reorder">
        <source>Reorder</source>
        <translation>並べ替え</translation>
    </message>
    <message id="schedule.addTimeWindow">
        <source>Add Time Range</source>
        <translation>時間帯を追加</translation>
    </message>
    <message id="schedule.always">
        <source>Always</source>
        <translation>常時</translation>
    </message>
    <message id="schedule.byDay">
        <source>By Day</source>
        <translation>曜日指定</translation>
    </message>
    <message id="schedule.daily">
        <source>Every Day</source>
        <translation>毎日</translation>
    </message>
    <message id="schedule.mode">
        <source>Schedule Type</source>
        <translation>スケジュールの種類</translation>
    </message>
    <message id="schedule.recurring">
        <source>Recurring</source>
        <translation>曜日と時間帯</translation>
    </message>
    <message id="schedule.section">
        <source>Schedule</source>
        <translation>スケジュール</translation>
    </message>
    <message id="schedule.summary.always">
        <source>Always</source>
        <translation>常時</translation>
    </message>
    <message id="schedule.summary.daily">
        <source>Every day</source>
        <translation>毎日</translation>
    </message>
    <message id="schedule.summary.none">
        <source>No days</source>
        <translation>曜日なし</translation>
    </message>
    <message id="schedule.summary.weekdays">
        <source>Weekdays</source>
        <translation>平日</translation>
    </message>
    <message id="schedule.summary.weekends">
        <source>Weekends</source>
        <translation>週末</translation>
    </message>
    <message id="schedule.timeRangeSeparator">
        <source>to</source>
        <translation>〜</translation>
    </message>
    <message id="shield.a11y.countdown">
        <source>Countdown</source>
        <translation>カウントダウン</translation>
    </message>
    <message id="shield.a11y.remainingSeconds">
        <source>%1 seconds remaining</source>
        <translation>残り%1秒</translation>
    </message>
    <message id="shield.cancel">
        <source>Keep Blocking</source>
        <translation>ブロックを続ける</translation>
    </message>
    <message id="sidebar.display">
        <source>Display</source>
        <translation>ディスプレイ</translation>
    </message>
    <message id="sidebar.more">
        <source>More</source>
        <translation>その他</translation>
    </message>
    <message id="sidebar.rules">
        <source>Rules</source>
        <translation>ルール</translation>
    </message>
    <message id="uninstall.confirm">
        <source>Uninstall</source>
        <translation>アンインストール</translation>
    </message>
    <message id="uninstall.packageRemains">
        <source>Kivo was installed for all users by the system, so the program itself stays in place: after it quits, remove its package with your package manager.</source>
        <translation>Kivoはシステムによってすべてのユーザー向けにインストールされているため、プログラム本体はそのまま残ります。終了後、パッケージマネージャーでパッケージを削除してください。</translation>
    </message>
    <message id="uninstall.packageWarningMessage">
        <source>Kivo will erase all of its data and quit. This can't be undone.</source>
        <translation>Kivoはすべてのデータを消去して終了します。この操作は取り消せません。</translation>
    </message>
    <message id="uninstall.warningMessage">
        <source>Kivo will erase all of its data, move itself to the Trash and quit. This can't be undone.</source>
        <translation>Kivoはすべてのデータを消去し、自身をゴミ箱に移動して終了します。この操作は取り消せません。</translation>
    </message>
    <message id="uninstall.warningTitle">
        <source>Uninstall Kivo?</source>
        <translation>Kivoをアンインストールしますか？</translation>
    </message>
    <message id="unlock.backoffDescription">
        <source>The wait doubles with each unlock, up to 60 seconds, and starts over once the reset time has passed since the last unlock.</source>
        <translation>ロックを解除するたびに待ち時間が倍になり（最長60秒）、最後の解除からリセットまでの時間が経つと元に戻ります。</translation>
    </message>
    <message id="unlock.method">
        <source>Unlock Method</source>
        <translation>解除方法</translation>
    </message>
    <message id="unlock.method.backoff">
        <source>Backoff</source>
        <translation>段階的</translation>
    </message>
    <message id="unlock.method.instant">
        <source>Instant</source>
        <translation>即時</translation>
    </message>
    <message id="unlock.method.wait">
        <source>Wait</source>
        <translation>待機</translation>
    </message>
    <message id="unlock.resetInterval">
        <source>Reset after</source>
        <translation>リセットまで</translation>
    </message>
    <message id="unlock.resetInterval.day1">
        <source>1 day</source>
        <translation>1日</translation>
    </message>
    <message id="unlock.resetInterval.days3">
        <source>3 days</source>
        <translation>3日</translation>
    </message>
    <message id="unlock.resetInterval.hours12">
        <source>12 hours</source>
        <translation>12時間</translation>
    </message>
    <message id="unlock.resetInterval.hours6">
        <source>6 hours</source>
        <translation>6時間</translation>
    </message>
    <message id="unlock.resetInterval.never">
        <source>Never</source>
        <translation>リセットしない</translation>
    </message>
    <message id="unlock.resetInterval.week1">
        <source>1 week</source>
        <translation>1週間</translation>
    </message>
    <message id="unlock.seconds">
        <source>%1 sec</source>
        <translation>%1秒</translation>
    </message>
    <message id="unlock.section">
        <source>Unlock</source>
        <translation>ロック解除</translation>
    </message>
    <message id="unlock.summary.backoff">
        <source>Backoff (%1 sec+)</source>
        <translation>段階的（%1秒〜）</translation>
    </message>
    <message id="unlock.summary.instant">
        <source>Instant unlock</source>
        <translation>即時解除</translation>
    </message>
    <message id="unlock.summary.wait">
        <source>Wait %1 sec</source>
        <translation>%1秒待機</translation>
    </message>
    <message id="unlock.waitSeconds">
        <source>Wait time</source>
        <translation>待ち時間</translation>
    </message>
</context>
</TS>
