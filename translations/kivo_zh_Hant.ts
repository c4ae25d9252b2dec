<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_Hant">
<context>
    <name></name>
    <message id="common.add">
        <source>Add</source>
        <translation>新增</translation>
    </message>
    <message id="common.cancel">
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message id="common.confirm">
        <source>Confirm</source>
        <translation>確認</translation>
    </message>
    <message id="common.continue">
        <source>Continue</source>
        <translation>繼續</translation>
    </message>
    <message id="common.delete">
        <source>Delete</source>
        <translation>刪除</translation>
    </message>
    <message id="common.deleteConfirm.defaultMessage">
        <source>This can't be undone.</source>
        <translation>此操作無法復原。</translation>
    </message>
    <message id="common.done">
        <source>Done</source>
        <translation>完成</translation>
    </message>
    <message id="common.redirect.appendQuery">
        <source>Include the blocked URL</source>
        <translation>附加被封鎖的網址</translation>
    </message>
    <message id="common.redirect.header">
        <source>Redirect</source>
        <translation>重新導向</translation>
    </message>
    <message id="common.save">
        <source>Save</source>
        <translation>儲存</translation>
    </message>
    <message id="common.section.detail">
        <source>Details</source>
        <translation>詳細設定</translation>
    </message>
    <message id="display.a11y.brightnessPercent">
        <source>%1 percent</source>
        <translation>百分之%1</translation>
    </message>
    <message id="display.a11y.brightnessSlider">
        <source>%1 brightness</source>
        <translation>%1亮度</translation>
    </message>
    <message id="display.a11y.applyTriggerNow">
        <source>Apply %1 now</source>
        <translation>立即套用%1</translation>
    </message>
    <message id="ruleDetail.a11y.editGroup">
        <source>Edit %1</source>
        <translation>編輯%1</translation>
    </message>
    <message id="schedule.a11y.rangeStart">
        <source>Start of time range %1</source>
        <translation>時段%1開始</translation>
    </message>
    <message id="schedule.a11y.rangeEnd">
        <source>End of time range %1</source>
        <translation>時段%1結束</translation>
    </message>
    <message id="schedule.a11y.deleteRange">
        <source>Delete time range %1</source>
        <translation>刪除時段%1</translation>
    </message>
    <message id="display.addTrigger">
        <source>New Trigger</source>
        <translation>新增觸發器</translation>
    </message>
    <message id="display.deleteConfirmTitle">
        <source>Delete this trigger?</source>
        <translation>要刪除此觸發器嗎？</translation>
    </message>
    <message id="display.editTrigger">
        <source>Edit Trigger</source>
        <translation>編輯觸發器</translation>
    </message>
    <message id="display.emptyDescription">
        <source>Add a trigger to change your displays' brightness at set times.</source>
        <translation>新增觸發器，即可在指定時間調整顯示器亮度。</translation>
    </message>
    <message id="display.emptyTitle">
        <source>No Triggers</source>
        <translation>沒有觸發器</translation>
    </message>
    <message id="display.field.appliesOnWake">
        <source>Also apply on wake</source>
        <translation>喚醒時也套用</translation>
    </message>
    <message id="display.field.name">
        <source>Name</source>
        <translation>名稱</translation>
    </message>
    <message id="display.field.time">
        <source>Time</source>
        <translation>時間</translation>
    </message>
    <message id="display.footer.appliesOnWake">
        <source>When your computer wakes from sleep, the most recent of today's triggers with this setting on is applied.</source>
        <translation>電腦從睡眠中喚醒時，會套用當天開啟此設定的觸發器中最近的一個。</translation>
    </message>
    <message id="display.footer.brightnessAuto">
        <source>Automatic brightness or power-saving dimming on your desktop may change the level afterwards.</source>
        <translation>桌面的自動亮度調整或省電調暗功能可能會在之後變更亮度。</translation>
    </message>
    <message id="display.footer.kit">
        <source>Brightness control uses this library:</source>
        <translation>亮度控制使用以下程式庫：</translation>
    </message>
    <message id="display.help.appliesOnWake">
        <source>Also applied on wake</source>
        <translation>喚醒時也會套用</translation>
    </message>
    <message id="display.help.applyNow">
        <source>Apply Now</source>
        <translation>立即套用</translation>
    </message>
    <message id="display.section.basic">
        <source>General</source>
        <translation>基本設定</translation>
    </message>
    <message id="display.untitled">
        <source>Untitled</source>
        <translation>未命名</translation>
    </message>
    <message id="domain.dayFull.friday">
        <source>Friday</source>
        <translation>星期五</translation>
    </message>
    <message id="domain.dayFull.monday">
        <source>Monday</source>
        <translation>星期一</translation>
    </message>
    <message id="domain.dayFull.saturday">
        <source>Saturday</source>
        <translation>星期六</translation>
    </message>
    <message id="domain.dayFull.sunday">
        <source>Sunday</source>
        <translation>星期日</translation>
    </message>
    <message id="domain.dayFull.thursday">
        <source>Thursday</source>
        <translation>星期四</translation>
    </message>
    <message id="domain.dayFull.tuesday">
        <source>Tuesday</source>
        <translation>星期二</translation>
    </message>
    <message id="domain.dayFull.wednesday">
        <source>Wednesday</source>
        <translation>星期三</translation>
    </message>
    <message id="domain.dayShort.friday">
        <source>Fri</source>
        <translation>週五</translation>
    </message>
    <message id="domain.dayShort.monday">
        <source>Mon</source>
        <translation>週一</translation>
    </message>
    <message id="domain.dayShort.saturday">
        <source>Sat</source>
        <translation>週六</translation>
    </message>
    <message id="domain.dayShort.sunday">
        <source>Sun</source>
        <translation>週日</translation>
    </message>
    <message id="domain.dayShort.thursday">
        <source>Thu</source>
        <translation>週四</translation>
    </message>
    <message id="domain.dayShort.tuesday">
        <source>Tue</source>
        <translation>週二</translation>
    </message>
    <message id="domain.dayShort.wednesday">
        <source>Wed</source>
        <translation>週三</translation>
    </message>
    <message id="domain.seedName.blocklist">
        <source>Blocklist</source>
        <translation>封鎖清單</translation>
    </message>
    <message id="domain.seedName.sunrise">
        <source>Sunrise</source>
        <translation>日出</translation>
    </message>
    <message id="domain.seedName.sunset">
        <source>Sunset</source>
        <translation>日落</translation>
    </message>
    <message id="erase.confirm">
        <source>Erase All Data</source>
        <translation>清除所有資料</translation>
    </message>
    <message id="erase.warningMessage">
        <source>Your rules, brightness triggers and unlock history will be deleted, starting at login will be turned off, and Kivo will return to how it was at first launch. This can't be undone.</source>
        <translation>你的規則、亮度觸發器和解鎖紀錄將被刪除，登入時啟動將被關閉，Kivo 將回到首次啟動時的狀態。此操作無法復原。</translation>
    </message>
    <message id="erase.warningTitle">
        <source>Erase all data?</source>
        <translation>要清除所有資料嗎？</translation>
    </message>
    <message id="groupReorder.a11y.dragHandle">
        <source>Drag to reorder %1</source>
        <translation>拖移以調整「%1」的順序</translation>
    </message>
    <message id="groupReorder.title">
        <source>Reorder Rules</source>
        <translation>調整規則順序</translation>
    </message>
    <message id="groupRule.addTitle">
        <source>New Rule</source>
        <translation>新增規則</translation>
    </message>
    <message id="groupRule.deleteConfirmMessage">
        <source>The rule and all of its patterns will be deleted. This can't be undone.</source>
        <translation>此規則及其所有模式都將被刪除。此操作無法復原。</translation>
    </message>
    <message id="groupRule.deleteConfirmTitle">
        <source>Delete this rule?</source>
        <translation>要刪除此規則嗎？</translation>
    </message>
    <message id="groupRule.editTitle">
        <source>Edit Rule</source>
        <translation>編輯規則</translation>
    </message>
    <message id="groupRule.field.namePlaceholder">
        <source>e.g. Social Media</source>
        <translation>例如：社群媒體</translation>
    </message>
    <message id="groupRule.redirect.useCustom">
        <source>Use a custom redirect URL</source>
        <translation>使用自訂重新導向網址</translation>
    </message>
    <message id="groupRule.section.name">
        <source>Rule Name</source>
        <translation>規則名稱</translation>
    </message>
    <message id="menubar.openKivo">
        <source>Open Kivo</source>
        <translation>開啟 Kivo</translation>
    </message>
    <message id="menubar.quitKivo">
        <source>Quit Kivo</source>
        <translation>結束 Kivo</translation>
    </message>
    <message id="more.checkForUpdates">
        <source>Check for Updates…</source>
        <translation>檢查更新…</translation>
    </message>
    <message id="more.updatesFromPackageManager">
        <source>Updates come from your package manager.</source>
        <translation>更新由套件管理程式提供。</translation>
    </message>
    <message id="more.eraseAllData">
        <source>Erase All Data…</source>
        <translation>清除所有資料…</translation>
    </message>
    <message id="more.feedback">
        <source>Send Feedback</source>
        <translation>傳送意見回饋</translation>
    </message>
    <message id="more.feedbackAlertMessage">
        <source>The feedback form will open in your web browser.</source>
        <translation>將在網頁瀏覽器中開啟意見回饋表單。</translation>
    </message>
    <message id="more.feedbackAlertTitle">
        <source>Open the feedback form?</source>
        <translation>要開啟意見回饋表單嗎？</translation>
    </message>
    <message id="more.feedbackOpen">
        <source>Open</source>
        <translation>開啟</translation>
    </message>
    <message id="more.languagePicker">
        <source>Language</source>
        <translation>語言</translation>
    </message>
    <message id="more.loginItemToggle">
        <source>Start Kivo at login</source>
        <translation>登入時啟動 Kivo</translation>
    </message>
    <message id="more.privacyPolicy">
        <source>Privacy Policy</source>
        <translation>隱私權政策</translation>
    </message>
    <message id="more.privacyPolicyAlertMessage">
        <source>The privacy policy will open in your web browser.</source>
        <translation>將在網頁瀏覽器中開啟隱私權政策。</translation>
    </message>
    <message id="more.privacyPolicyAlertTitle">
        <source>Open the privacy policy?</source>
        <translation>要開啟隱私權政策嗎？</translation>
    </message>
    <message id="more.privacyPolicyOpen">
        <source>Open</source>
        <translation>開啟</translation>
    </message>
    <message id="more.stopApp">
        <source>Quit Kivo…</source>
        <translation>結束 Kivo…</translation>
    </message>
    <message id="more.title">
        <source>More</source>
        <translation>更多</translation>
    </message>
    <message id="more.uninstall">
        <source>Uninstall Kivo…</source>
        <translation>解除安裝 Kivo…</translation>
    </message>
    <message id="nav.kivo">
        <source>Kivo</source>
        <translation>Kivo</translation>
    </message>
    <message id="onboarding.language.pickerLabel">
        <source>Language</source>
        <translation>語言</translation>
    </message>
    <message id="onboarding.language.subtitle">
        <source>Choose the language Kivo uses. You can change it later under More.</source>
        <translation>選擇 Kivo 使用的語言。之後可在「更多」中變更。</translation>
    </message>
    <message id="onboarding.language.title">
        <source>Choose Your Language</source>
        <translation>選擇語言</translation>
    </message>
    <message id="pattern.deleteConfirm.allow">
        <source>Delete this allow pattern?</source>
        <translation>要刪除此允許模式嗎？</translation>
    </message>
    <message id="pattern.deleteConfirm.block">
        <source>Delete this block pattern?</source>
        <translation>要刪除此封鎖模式嗎？</translation>
    </message>
    <message id="pattern.normalizationPreview">
        <source>On save: %1</source>
        <translation>儲存為：%1</translation>
    </message>
    <message id="pattern.redirect.override">
        <source>Use its own redirect</source>
        <translation>為此模式單獨設定重新導向</translation>
    </message>
    <message id="pattern.redirect.useGroup">
        <source>Uses the rule's redirect setting.</source>
        <translation>使用規則的重新導向設定。</translation>
    </message>
    <message id="pattern.section.pattern">
        <source>URL Pattern</source>
        <translation>網址模式</translation>
    </message>
    <message id="pattern.title.addAllow">
        <source>Add Allow Pattern</source>
        <translation>新增允許模式</translation>
    </message>
    <message id="pattern.title.addBlock">
        <source>Add Block Pattern</source>
        <translation>新增封鎖模式</translation>
    </message>
    <message id="pattern.title.editAllow">
        <source>Edit Allow Pattern</source>
        <translation>編輯允許模式</translation>
    </message>
    <message id="pattern.title.editBlock">
        <source>Edit Block Pattern</source>
        <translation>編輯封鎖模式</translation>
    </message>
    <message id="permissions.accessibility.description">
        <source>Kivo reads the address bar of %1 through your desktop's **accessibility** interface (AT-SPI), so accessibility support must be turned on.</source>
        <translation>Kivo 透過桌面的**輔助使用**介面（AT-SPI）讀取 %1 的網址列，因此需要開啟輔助使用支援。</translation>
    </message>
    <message id="permissions.accessibility.grant">
        <source>Open Settings</source>
        <translation>開啟設定</translation>
    </message>
    <message id="permissions.accessibility.later">
        <source>Later</source>
        <translation>稍後</translation>
    </message>
    <message id="permissions.accessibility.restart">
        <source>Quit %1 completely and start it again: it shows its pages only when accessibility support was on when it started. If it still cannot be read, start it with --force-renderer-accessibility.</source>
        <translation>請完全結束 %1 後重新啟動：只有在啟動時輔助使用支援已開啟，它才會公開頁面。如果仍然無法讀取，請使用 --force-renderer-accessibility 選項啟動它。</translation>
    </message>
    <message id="permissions.accessibility.step1">
        <source>Open your desktop's accessibility settings.</source>
        <translation>開啟桌面的輔助使用設定。</translation>
    </message>
    <message id="permissions.accessibility.step2">
        <source>Turn on accessibility support for applications.</source>
        <translation>為應用程式開啟輔助使用支援。</translation>
    </message>
    <message id="permissions.accessibility.step2FollowsAtOnce">
        <source>Turn on accessibility support for applications. %1 follows it at once.</source>
        <translation>為應用程式開啟輔助使用支援。%1 會立即生效。</translation>
    </message>
    <message id="permissions.accessibility.step3">
        <source>Kivo only reads the address bar of %1.</source>
        <translation>Kivo 只會讀取 %1 的網址列。</translation>
    </message>
    <message id="permissions.accessibility.suppress">
        <source>Don't Ask Again</source>
        <translation>不再詢問</translation>
    </message>
    <message id="permissions.accessibility.title">
        <source>Kivo needs accessibility support to block %1</source>
        <translation>需要開啟輔助使用支援才能封鎖 %1</translation>
    </message>
    <message id="permissions.automation.message">
        <source>Kivo can't block %1.
Turn on accessibility support in your desktop settings, then restart these browsers.</source>
        <translation>Kivo 無法封鎖 %1。
請在桌面設定中開啟輔助使用支援，然後重新啟動這些瀏覽器。</translation>
    </message>
    <message id="permissions.automation.openSettings">
        <source>Open Settings</source>
        <translation>開啟設定</translation>
    </message>
    <message id="permissions.automation.title">
        <source>Kivo can't read some browsers</source>
        <translation>無法讀取部分瀏覽器</translation>
    </message>
    <message id="permissions.wayland.message">
        <source>Kivo can't see %1 running natively on Wayland.
Quit these browsers and start them under XWayland.</source>
        <translation>Kivo 無法看到在 Wayland 上原生執行的 %1。
請結束這些瀏覽器，並在 XWayland 下啟動它們。</translation>
    </message>
    <message id="permissions.wayland.title">
        <source>Kivo can't see some browsers</source>
        <translation>無法看到部分瀏覽器</translation>
    </message>
    <message id="quit.confirm">
        <source>Quit</source>
        <translation>結束</translation>
    </message>
    <message id="ruleDetail.addPattern">
        <source>Add Pattern</source>
        <translation>新增模式</translation>
    </message>
    <message id="ruleDetail.empty.allowDescription">
        <source>Pages that match an allow pattern are never blocked, even when a block pattern matches them.</source>
        <translation>符合允許模式的網頁即使也符合封鎖模式，也不會被封鎖。</translation>
    </message>
    <message id="ruleDetail.empty.allowTitle">
        <source>No Allow Patterns</source>
        <translation>沒有允許模式</translation>
    </message>
    <message id="ruleDetail.empty.blockDescription">
        <source>Add a pattern such as example.com/* to block the pages it matches.</source>
        <translation>新增 example.com/* 這類模式，即可封鎖符合的網頁。</translation>
    </message>
    <message id="ruleDetail.empty.blockTitle">
        <source>No Block Patterns</source>
        <translation>沒有封鎖模式</translation>
    </message>
    <message id="ruleDetail.notFound">
        <source>Rule not found</source>
        <translation>找不到規則</translation>
    </message>
    <message id="ruleDetail.summary.redirect">
        <source>Redirect</source>
        <translation>重新導向</translation>
    </message>
    <message id="ruleDetail.summary.timeWindowMore">
        <source>and more</source>
        <translation>等</translation>
    </message>
    <message id="ruleDetail.tab.allow">
        <source>Allow</source>
        <translation>允許</translation>
    </message>
    <message id="ruleDetail.tab.block">
        <source>Block</source>
        <translation>封鎖</translation>
    </message>
    <message id="rules.add">
        <source>Add Rule</source>
        <translation>新增規則</translation>
    </message>
    <message id="rules.emptyDescription">
        <source>Add a rule to start blocking websites.</source>
        <translation>新增規則，開始封鎖網站。</translation>
    </message>
    <message id="rules.emptyTitle">
        <source>No Rules</source>
        <translation>沒有規則</translation>
    </message>
    <message id="rules.reorder">
        <source>Reorder</source>
        <translation>排序</translation>
    </message>
    <message id="schedule.addTimeWindow">
        <source>Add Time Range</source>
        <translation>新增時段</translation>
    </message>
    <message id="schedule.always">
        <source>Always</source>
        <translation>始終</translation>
    </message>
    <message id="schedule.byDay">
        <source>By Day</source>
        <translation>依星期</translation>
    </message>
    <message id="schedule.daily">
        <source>Every Day</source>
        <translation>每天</translation>
    </message>
    <message id="schedule.mode">
        <source>Schedule Type</source>
        <translation>排程類型</translation>
    </message>
    <message id="schedule.recurring">
        <source>Recurring</source>
        <translation>依星期和時段</translation>
    </message>
    <message id="schedule.section">
        <source>Schedule</source>
        <translation>排程</translation>
    </message>
    <message id="schedule.summary.always">
        <source>Always</source>
        <translation>始終</translation>
    </message>
    <message id="schedule.summary.daily">
        <source>Every day</source>
        <translation>每天</translation>
    </message>
    <message id="schedule.summary.none">
        <source>No days</source>
        <translation>未選星期</translation>
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
        <translation>至</translation>
    </message>
    <message id="shield.a11y.countdown">
        <source>Countdown</source>
        <translation>倒數計時</translation>
    </message>
    <message id="shield.a11y.remainingSeconds">
        <source>%1 seconds remaining</source>
        <translation>剩餘 %1 秒</translation>
    </message>
    <message id="shield.cancel">
        <source>Keep Blocking</source>
        <translation>繼續封鎖</translation>
    </message>
    <message id="sidebar.display">
        <source>Display</source>
        <translation>顯示器</translation>
    </message>
    <message id="sidebar.more">
        <source>More</source>
        <translation>更多</translation>
    </message>
    <message id="sidebar.rules">
        <source>Rules</source>
        <translation>規則</translation>
    </message>
    <message id="uninstall.confirm">
        <source>Uninstall</source>
        <translation>解除安裝</translation>
    </message>
    <message id="uninstall.packageRemains">
        <source>Kivo was installed for all users by the system, so the program itself stays in place: after it quits, remove its package with your package manager.</source>
        <translation>Kivo 由系統為所有使用者安裝，程式本身會保留。結束後，請用套件管理程式移除其套件。</translation>
    </message>
    <message id="uninstall.packageWarningMessage">
        <source>Kivo will erase all of its data and quit. This can't be undone.</source>
        <translation>Kivo 將清除其所有資料並結束。此操作無法復原。</translation>
    </message>
    <message id="uninstall.warningMessage">
        <source>Kivo will erase all of its data, move itself to the Trash and quit. This can't be undone.</source>
        <translation>Kivo 將清除其所有資料，將自身移到垃圾桶並結束。此操作無法復原。</translation>
    </message>
    <message id="uninstall.warningTitle">
        <source>Uninstall Kivo?</source>
        <translation>要解除安裝 Kivo 嗎？</translation>
    </message>
    <message id="unlock.backoffDescription">
        <source>The wait doubles with each unlock, up to 60 seconds, and starts over once the reset time has passed since the last unlock.</source>
        <translation>每次解鎖後等待時間加倍（最長 60 秒），自上次解鎖起經過重設間隔後恢復初始值。</translation>
    </message>
    <message id="unlock.method">
        <source>Unlock Method</source>
        <translation>解鎖方式</translation>
    </message>
    <message id="unlock.method.backoff">
        <source>Backoff</source>
        <translation>遞增等待</translation>
    </message>
    <message id="unlock.method.instant">
        <source>Instant</source>
        <translation>立即</translation>
    </message>
    <message id="unlock.method.wait">
        <source>Wait</source>
        <translation>等待</translation>
    </message>
    <message id="unlock.resetInterval">
        <source>Reset after</source>
        <translation>重設間隔</translation>
    </message>
    <message id="unlock.resetInterval.day1">
        <source>1 day</source>
        <translation>1 天</translation>
    </message>
    <message id="unlock.resetInterval.days3">
        <source>3 days</source>
        <translation>3 天</translation>
    </message>
    <message id="unlock.resetInterval.hours12">
        <source>12 hours</source>
        <translation>12 小時</translation>
    </message>
    <message id="unlock.resetInterval.hours6">
        <source>6 hours</source>
        <translation>6 小時</translation>
    </message>
    <message id="unlock.resetInterval.never">
        <source>Never</source>
        <translation>永不</translation>
    </message>
    <message id="unlock.resetInterval.week1">
        <source>1 week</source>
        <translation>1 週</translation>
    </message>
    <message id="unlock.seconds">
        <source>%1 sec</source>
        <translation>%1 秒</translation>
    </message>
    <message id="unlock.section">
        <source>Unlock</source>
        <translation>解鎖</translation>
    </message>
    <message id="unlock.summary.backoff">
        <source>Backoff (%1 sec+)</source>
        <translation>遞增等待（%1 秒起）</translation>
    </message>
    <message id="unlock.summary.instant">
        <source>Instant unlock</source>
        <translation>立即解鎖</translation>
    </message>
    <message id="unlock.summary.wait">
        <source>Wait %1 sec</source>
        <translation>等待 %1 秒</translation>
    </message>
    <message id="unlock.waitSeconds">
        <source>Wait time</source>
        <translation>等待時間</translation>
    </message>
</context>
</TS>
