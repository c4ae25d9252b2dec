<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_Hans">
<context>
    <name></name>
    <message id="common.add">
        <source>Add</source>
        <translation>添加</translation>
    </message>
    <message id="common.cancel">
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message id="common.confirm">
        <source>Confirm</source>
        <translation>确认</translation>
    </message>
    <message id="common.continue">
        <source>Continue</source>
        <translation>继续</translation>
    </message>
    <message id="common.delete">
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message id="common.deleteConfirm.defaultMessage">
        <source>This can't be undone.</source>
        <translation>此操作无法撤销。</translation>
    </message>
    <message id="common.done">
        <source>Done</source>
        <translation>完成</translation>
    </message>
    <message id="common.redirect.appendQuery">
        <source>Include the blocked URL</source>
        <translation>附加被拦截的网址</translation>
    </message>
    <message id="common.redirect.header">
        <source>Redirect</source>
        <translation>重定向</translation>
    </message>
    <message id="common.save">
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message id="common.section.detail">
        <source>Details</source>
        <translation>详细设置</translation>
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
        <translation>立即应用%1</translation>
    </message>
    <message id="ruleDetail.a11y.editGroup">
        <source>Edit %1</source>
        <translation>编辑%1</translation>
    </message>
    <message id="schedule.a11y.rangeStart">
        <source>Start of time range %1</source>
        <translation>时间段%1开始</translation>
    </message>
    <message id="schedule.a11y.rangeEnd">
        <source>End of time range %1</source>
        <translation>时间段%1结束</translation>
    </message>
    <message id="schedule.a11y.deleteRange">
        <source>Delete time range %1</source>
        <translation>删除时间段%1</translation>
    </message>
    <message id="display.addTrigger">
        <source>New Trigger</source>
        <translation>添加触发器</translation>
    </message>
    <message id="display.deleteConfirmTitle">
        <source>Delete this trigger?</source>
        <translation>要删除此触发器吗？</translation>
    </message>
    <message id="display.editTrigger">
        <source>Edit Trigger</source>
        <translation>编辑触发器</translation>
    </message>
    <message id="display.emptyDescription">
        <source>Add a trigger to change your displays' brightness at set times.</source>
        <translation>添加触发器，即可在指定时间调整显示器亮度。</translation>
    </message>
    <message id="display.emptyTitle">
        <source>No Triggers</source>
        <translation>没有触发器</translation>
    </message>
    <message id="display.field.appliesOnWake">
        <source>Also apply on wake</source>
        <translation>唤醒时也应用</translation>
    </message>
    <message id="display.field.name">
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message id="display.field.time">
        <source>Time</source>
        <translation>时间</translation>
    </message>
    <message id="display.footer.appliesOnWake">
        <source>When your computer wakes from sleep, the most recent of today's triggers with this setting on is applied.</source>
        <translation>电脑从睡眠中唤醒时，会应用当天开启此设置的触发器中最近的一个。</translation>
    </message>
    <message id="display.footer.brightnessAuto">
        <source>Automatic brightness or power-saving dimming on your desktop may change the level afterwards.</source>
        <translation>桌面的自动亮度调节或节能调暗功能可能会在之后改变亮度。</translation>
    </message>
    <message id="display.footer.kit">
        <source>Brightness control uses this library:</source>
        <translation>亮度控制使用以下库：</translation>
    </message>
    <message id="display.help.appliesOnWake">
        <source>Also applied on wake</source>
        <translation>唤醒时也会应用</translation>
    </message>
    <message id="display.help.applyNow">
        <source>Apply Now</source>
        <translation>立即应用</translation>
    </message>
    <message id="display.section.basic">
        <source>General</source>
        <translation>基本设置</translation>
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
        <translation>周五</translation>
    </message>
    <message id="domain.dayShort.monday">
        <source>Mon</source>
        <translation>周一</translation>
    </message>
    <message id="domain.dayShort.saturday">
        <source>Sat</source>
        <translation>周六</translation>
    </message>
    <message id="domain.dayShort.sunday">
        <source>Sun</source>
        <translation>周日</translation>
    </message>
    <message id="domain.dayShort.thursday">
        <source>Thu</source>
        <translation>周四</translation>
    </message>
    <message id="domain.dayShort.tuesday">
        <source>Tue</source>
        <translation>周二</translation>
    </message>
    <message id="domain.dayShort.wednesday">
        <source>Wed</source>
        <translation>周三</translation>
    </message>
    <message id="domain.seedName.blocklist">
        <source>Blocklist</source>
        <translation>拦截列表</translation>
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
        <translation>清除所有数据</translation>
    </message>
    <message id="erase.warningMessage">
        <source>Your rules, brightness triggers and unlock history will be deleted, starting at login will be turned off, and Kivo will return to how it was at first launch. This can't be undone.</source>
        <translation>你的规则、亮度触发器和解锁记录将被删除，登录时启动将被关闭，Kivo 将恢复到首次启动时的状态。此操作无法撤销。</translation>
    </message>
    <message id="erase.warningTitle">
        <source>Erase all data?</source>
        <translation>要清除所有数据吗？</translation>
    </message>
    <message id="groupReorder.a11y.dragHandle">
        <source>Drag to reorder %1</source>
        <translation>拖动以调整“%1”的顺序</translation>
    </message>
    <message id="groupReorder.title">
        <source>Reorder Rules</source>
        <translation>调整规则顺序</translation>
    </message>
    <message id="groupRule.addTitle">
        <source>New Rule</source>
        <translation>新建规则</translation>
    </message>
    <message id="groupRule.deleteConfirmMessage">
        <source>The rule and all of its patterns will be deleted. This can't be undone.</source>
        <translation>此规则及其所有模式都将被删除。此操作无法撤销。</translation>
    </message>
    <message id="groupRule.deleteConfirmTitle">
        <source>Delete this rule?</source>
        <translation>要删除此规则吗？</translation>
    </message>
    <message id="groupRule.editTitle">
        <source>Edit Rule</source>
        <translation>编辑规则</translation>
    </message>
    <message id="groupRule.field.namePlaceholder">
        <source>e.g. Social Media</source>
        <translation>例如：社交媒体</translation>
    </message>
    <message id="groupRule.redirect.useCustom">
        <source>Use a custom redirect URL</source>
        <translation>使用自定义重定向网址</translation>
    </message>
    <message id="groupRule.section.name">
        <source>Rule Name</source>
        <translation>规则名称</translation>
    </message>
    <message id="menubar.openKivo">
        <source>Open Kivo</source>
        <translation>打开 Kivo</translation>
    </message>
    <message id="menubar.quitKivo">
        <source>Quit Kivo</source>
        <translation>退出 Kivo</translation>
    </message>
    <message id="more.checkForUpdates">
        <source>Check for Updates…</source>
        <translation>检查更新…</translation>
    </message>
    <message id="more.updatesFromPackageManager">
        <source>Updates come from your package manager.</source>
        <translation>更新由软件包管理器提供。</translation>
    </message>
    <message id="more.eraseAllData">
        <source>Erase All Data…</source>
        <translation>清除所有数据…</translation>
    </message>
    <message id="more.feedback">
        <source>Send Feedback</source>
        <translation>发送反馈</translation>
    </message>
    <message id="more.feedbackAlertMessage">
        <source>The feedback form will open in your web browser.</source>
        <translation>将在网页浏览器中打开反馈表单。</translation>
    </message>
    <message id="more.feedbackAlertTitle">
        <source>Open the feedback form?</source>
        <translation>要打开反馈表单吗？</translation>
    </message>
    <message id="more.feedbackOpen">
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message id="more.languagePicker">
        <source>Language</source>
        <translation>语言</translation>
    </message>
    <message id="more.loginItemToggle">
        <source>Start Kivo at login</source>
        <translation>登录时启动 Kivo</translation>
    </message>
    <message id="more.privacyPolicy">
        <source>Privacy Policy</source>
        <translation>隐私政策</translation>
    </message>
    <message id="more.privacyPolicyAlertMessage">
        <source>The privacy policy will open in your web browser.</source>
        <translation>将在网页浏览器中打开隐私政策。</translation>
    </message>
    <message id="more.privacyPolicyAlertTitle">
        <source>Open the privacy policy?</source>
        <translation>要打开隐私政策吗？</translation>
    </message>
    <message id="more.privacyPolicyOpen">
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message id="more.stopApp">
        <source>Quit Kivo…</source>
        <translation>退出 Kivo…</translation>
    </message>
    <message id="more.title">
        <source>More</source>
        <translation>更多</translation>
    </message>
    <message id="more.uninstall">
        <source>Uninstall Kivo…</source>
        <translation>卸载 Kivo…</translation>
    </message>
    <message id="nav.kivo">
        <source>Kivo</source>
        <translation>Kivo</translation>
    </message>
    <message id="onboarding.language.pickerLabel">
        <source>Language</source>
        <translation>语言</translation>
    </message>
    <message id="onboarding.language.subtitle">
        <source>Choose the language Kivo uses. You can change it later under More.</source>
        <translation>选择 Kivo 使用的语言。之后可在“更多”中更改。</translation>
    </message>
    <message id="onboarding.language.title">
        <source>Choose Your Language</source>
        <translation>选择语言</translation>
    </message>
    <message id="pattern.deleteConfirm.allow">
        <source>Delete this allow pattern?</source>
        <translation>要删除此允许模式吗？</translation>
    </message>
    <message id="pattern.deleteConfirm.block">
        <source>Delete this block pattern?</source>
        <translation>要删除此拦截模式吗？</translation>
    </message>
    <message id="pattern.normalizationPreview">
        <source>On save: %1</source>
        <translation>保存为：%1</translation>
    </message>
    <message id="pattern.redirect.override">
        <source>Use its own redirect</source>
        <translation>为此模式单独设置重定向</translation>
    </message>
    <message id="pattern.redirect.useGroup">
        <source>Uses the rule's redirect setting.</source>
        <translation>使用规则的重定向设置。</translation>
    </message>
    <message id="pattern.section.pattern">
        <source>URL Pattern</source>
        <translation>网址模式</translation>
    </message>
    <message id="pattern.title.addAllow">
        <source>Add Allow Pattern</source>
        <translation>添加允许模式</translation>
    </message>
    <message id="pattern.title.addBlock">
        <source>Add Block Pattern</source>
        <translation>添加拦截模式</translation>
    </message>
    <message id="pattern.title.editAllow">
        <source>Edit Allow Pattern</source>
        <translation>编辑允许模式</translation>
    </message>
    <message id="pattern.title.editBlock">
        <source>Edit Block Pattern</source>
        <translation>编辑拦截模式</translation>
    </message>
    <message id="permissions.accessibility.description">
        <source>Kivo reads the address bar of %1 through your desktop's **accessibility** interface (AT-SPI), so accessibility support must be turned on.</source>
        <translation>Kivo 通过桌面的**辅助功能**接口（AT-SPI）读取 %1 的地址栏，因此需要开启辅助功能支持。</translation>
    </message>
    <message id="permissions.accessibility.grant">
        <source>Open Settings</source>
        <translation>打开设置</translation>
    </message>
    <message id="permissions.accessibility.later">
        <source>Later</source>
        <translation>稍后</translation>
    </message>
    <message id="permissions.accessibility.restart">
        <source>Quit %1 completely and start it again: it shows its pages only when accessibility support was on when it started. If it still cannot be read, start it with --force-renderer-accessibility.</source>
        <translation>请完全退出 %1 后重新启动：只有在启动时辅助功能支持已打开，它才会公开页面。如果仍然无法读取，请使用 --force-renderer-accessibility 选项启动它。</translation>
    </message>
    <message id="permissions.accessibility.step1">
        <source>Open your desktop's accessibility settings.</source>
        <translation>打开桌面的辅助功能设置。</translation>
    </message>
    <message id="permissions.accessibility.step2">
        <source>Turn on accessibility support for applications.</source>
        <translation>为应用程序打开辅助功能支持。</translation>
    </message>
    <message id="permissions.accessibility.step2FollowsAtOnce">
        <source>Turn on accessibility support for applications. %1 follows it at once.</source>
        <translation>为应用程序打开辅助功能支持。%1 会立即生效。</translation>
    </message>
    <message id="permissions.accessibility.step3">
        <source>Kivo only reads the address bar of %1.</source>
        <translation>Kivo 只读取 %1 的地址栏。</translation>
    </message>
    <message id="permissions.accessibility.suppress">
        <source>Don't Ask Again</source>
        <translation>不再询问</translation>
    </message>
    <message id="permissions.accessibility.title">
        <source>Kivo needs accessibility support to block %1</source>
        <translation>需要开启辅助功能支持才能拦截 %1</translation>
    </message>
    <message id="permissions.automation.message">
        <source>Kivo can't block %1.
Turn on accessibility support in your desktop settings, then restart these browsers.</source>
        <translation>Kivo 无法拦截 %1。
请在桌面设置中开启辅助功能支持，然后重新启动这些浏览器。</translation>
    </message>
    <message id="permissions.automation.openSettings">
        <source>Open Settings</source>
        <translation>打开设置</translation>
    </message>
    <message id="permissions.automation.title">
        <source>Kivo can't read some browsers</source>
        <translation>无法读取部分浏览器</translation>
    </message>
    <message id="permissions.wayland.message">
        <source>Kivo can't see %1 running natively on Wayland.
Quit these browsers and start them under XWayland.</source>
        <translation>Kivo 无法看到在 Wayland 上原生运行的 %1。
请退出这些浏览器，并在 XWayland 下启动它们。</translation>
    </message>
    <message id="permissions.wayland.title">
        <source>Kivo can't see some browsers</source>
        <translation>无法看到部分浏览器</translation>
    </message>
    <message id="quit.confirm">
        <source>Quit</source>
        <translation>退出</translation>
    </message>
    <message id="ruleDetail.addPattern">
        <source>Add Pattern</source>
        <translation>添加模式</translation>
    </message>
    <message id="ruleDetail.empty.allowDescription">
        <source>Pages that match an allow pattern are never blocked, even when a block pattern matches them.</source>
        <translation>与允许模式匹配的网页即使也匹配拦截模式，也不会被拦截。</translation>
    </message>
    <message id="ruleDetail.empty.allowTitle">
        <source>No Allow Patterns</source>
        <translation>没有允许模式</translation>
    </message>
    <message id="ruleDetail.empty.blockDescription">
        <source>Add a pattern such as example.com/* to block the pages it matches.</source>
        <translation>添加 example.com/* 这样的模式，即可拦截匹配的网页。</translation>
    </message>
    <message id="ruleDetail.empty.blockTitle">
        <source>No Block Patterns</source>
        <translation>没有拦截模式</translation>
    </message>
    <message id="ruleDetail.notFound">
        <source>Rule not found</source>
        <translation>找不到规则</translation>
    </message>
    <message id="ruleDetail.summary.redirect">
        <source>Redirect</source>
        <translation>重定向</translation>
    </message>
    <message id="ruleDetail.summary.timeWindowMore">
        <source>and more</source>
        <translation>等</translation>
    </message>
    <message id="ruleDetail.tab.allow">
        <source>Allow</source>
        <translation>允许</translation>
    </message>
    <message id="ruleDetail.tab.block">
        <source>Block</source>
        <translation>拦截</translation>
    </message>
    <message id="rules.add">
        <source>Add Rule</source>
        <translation>添加规则</translation>
    </message>
    <message id="rules.emptyDescription">
        <source>Add a rule to start blocking websites.</source>
        <translation>添加规则，开始拦截网站。</translation>
    </message>
    <message id="rules.emptyTitle">
        <source>No Rules</source>
        <translation>没有规则</translation>
    </message>
    <message id="rules.reorder">
        <source>Reorder</source>
        <translation>排序</translation>
    </message>
    <message id="schedule.addTimeWindow">
        <source>Add Time Range</source>
        <translation>添加时间段</translation>
    </message>
    <message id="schedule.always">
        <source>Always</source>
        <translation>始终</translation>
    </message>
    <message id="schedule.byDay">
        <source>By Day</source>
        <translation>按星期</translation>
    </message>
    <message id="schedule.daily">
        <source>Every Day</source>
        <translation>每天</translation>
    </message>
    <message id="schedule.mode">
        <source>Schedule Type</source>
        <translation>计划类型</translation>
    </message>
    <message id="schedule.recurring">
        <source>Recurring</source>
        <translation>按星期和时间段</translation>
    </message>
    <message id="schedule.section">
        <source>Schedule</source>
        <translation>计划</translation>
    </message>
    <message id="schedule.summary.always">
        <source>Always</source>
        <translation>始终</translation>
    </message>
    <message id="schedule.summary.daily">
        <source>Every day</source>
        <translation>每天</translation>
    </message>
    <message id="schedule.summary.none">
        <source>No days</source>
        <translation>未选星期</translation>
    </message>
    <message id="schedule.summary.weekdays">
        <source>Weekdays</source>
        <translation>工作日</translation>
    </message>
    <message id="schedule.summary.weekends">
        <source>Weekends</source>
        <translation>周末</translation>
    </message>
    <message id="schedule.timeRangeSeparator">
        <source>to</source>
        <translation>至</translation>
    </message>
    <message id="shield.a11y.countdown">
        <source>Countdown</source>
        <translation>倒计时</translation>
    </message>
    <message id="shield.a11y.remainingSeconds">
        <source>%1 seconds remaining</source>
        <translation>剩余 %1 秒</translation>
    </message>
    <message id="shield.cancel">
        <source>Keep Blocking</source>
        <translation>继续拦截</translation>
    </message>
    <message id="sidebar.display">
        <source>Display</source>
        <translation>显示器</translation>
    </message>
    <message id="sidebar.more">
        <source>More</source>
        <translation>更多</translation>
    </message>
    <message id="sidebar.rules">
        <source>Rules</source>
        <translation>规则</translation>
    </message>
    <message id="uninstall.confirm">
        <source>Uninstall</source>
        <translation>卸载</translation>
    </message>
    <message id="uninstall.packageRemains">
        <source>Kivo was installed for all users by the system, so the program itself stays in place: after it quits, remove its package with your package manager.</source>
        <translation>Kivo 由系统为所有用户安装，程序本身会保留。退出后，请用软件包管理器删除其软件包。</translation>
    </message>
    <message id="uninstall.packageWarningMessage">
        <source>Kivo will erase all of its data and quit. This can't be undone.</source>
        <translation>Kivo 将清除其所有数据并退出。此操作无法撤销。</translation>
    </message>
    <message id="uninstall.warningMessage">
        <source>Kivo will erase all of its data, move itself to the Trash and quit. This can't be undone.</source>
        <translation>Kivo 将清除其所有数据，将自身移到回收站并退出。此操作无法撤销。</translation>
    </message>
    <message id="uninstall.warningTitle">
        <source>Uninstall Kivo?</source>
        <translation>要卸载 Kivo 吗？</translation>
    </message>
    <message id="unlock.backoffDescription">
        <source>The wait doubles with each unlock, up to 60 seconds, and starts over once the reset time has passed since the last unlock.</source>
        <translation>每次解锁后等待时间加倍（最长 60 秒），自上次解锁起经过重置间隔后恢复初始值。</translation>
    </message>
    <message id="unlock.method">
        <source>Unlock Method</source>
        <translation>解锁方式</translation>
    </message>
    <message id="unlock.method.backoff">
        <source>Backoff</source>
        <translation>递增等待</translation>
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
        <translation>重置间隔</translation>
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
        <translation>12 小时</translation>
    </message>
    <message id="unlock.resetInterval.hours6">
        <source>6 hours</source>
        <translation>6 小时</translation>
    </message>
    <message id="unlock.resetInterval.never">
        <source>Never</source>
        <translation>永不</translation>
    </message>
    <message id="unlock.resetInterval.week1">
        <source>1 week</source>
        <translation>1 周</translation>
    </message>
    <message id="unlock.seconds">
        <source>%1 sec</source>
        <translation>%1 秒</translation>
    </message>
    <message id="unlock.section">
        <source>Unlock</source>
        <translation>解锁</translation>
    </message>
    <message id="unlock.summary.backoff">
        <source>Backoff (%1 sec+)</source>
        <translation>递增等待（%1 秒起）</translation>
    </message>
    <message id="unlock.summary.instant">
        <source>Instant unlock</source>
        <translation>立即解锁</translation>
    </message>
    <message id="unlock.summary.wait">
        <source>Wait %1 sec</source>
        <translation>等待 %1 秒</translation>
    </message>
    <message id="unlock.waitSeconds">
        <source>Wait time</source>
        <translation>等待时间</translation>
    </message>
</context>
</TS>
