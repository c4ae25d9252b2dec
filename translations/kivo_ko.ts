<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ko">
<context>
    <name></name>
    <message id="common.add">
        <source>Add</source>
        <translation>추가</translation>
    </message>
    <message id="common.cancel">
        <source>Cancel</source>
        <translation>취소</translation>
    </message>
    <message id="common.confirm">
        <source>Confirm</source>
        <translation>확인</translation>
    </message>
    <message id="common.continue">
        <source>Continue</source>
        <translation>계속</translation>
    </message>
    <message id="common.delete">
        <source>Delete</source>
        <translation>삭제</translation>
    </message>
    <message id="common.deleteConfirm.defaultMessage">
        <source>This can't be undone.</source>
        <translation>이 작업은 되돌릴 수 없습니다.</translation>
    </message>
    <message id="common.done">
        <source>Done</source>
        <translation>완료</translation>
    </message>
    <message id="common.redirect.appendQuery">
        <source>Include the blocked URL</source>
        <translation>차단된 URL 포함</translation>
    </message>
    <message id="common.redirect.header">
        <source>Redirect</source>
        <translation>리디렉션</translation>
    </message>
    <message id="common.save">
        <source>Save</source>
        <translation>저장</translation>
    </message>
    <message id="common.section.detail">
        <source>Details</source>
        <translation>세부 설정</translation>
    </message>
    <message id="display.a11y.brightnessPercent">
        <source>%1 percent</source>
        <translation>%1퍼센트</translation>
    </message>
    <message id="display.a11y.brightnessSlider">
        <source>%1 brightness</source>
        <translation>%1 밝기</translation>
    </message>
    <message id="display.a11y.applyTriggerNow">
        <source>Apply %1 now</source>
        <translation>%1 지금 적용</translation>
    </message>
    <message id="ruleDetail.a11y.editGroup">
        <source>Edit %1</source>
        <translation>%1 편집</translation>
    </message>
    <message id="schedule.a11y.rangeStart">
        <source>Start of time range %1</source>
        <translation>시간대 %1 시작</translation>
    </message>
    <message id="schedule.a11y.rangeEnd">
        <source>End of time range %1</source>
        <translation>시간대 %1 종료</translation>
    </message>
    <message id="schedule.a11y.deleteRange">
        <source>Delete time range %1</source>
        <translation>시간대 %1 삭제</translation>
    </message>
    <message id="display.addTrigger">
        <source>New Trigger</source>
        <translation>트리거 추가</translation>
    </message>
    <message id="display.deleteConfirmTitle">
        <source>Delete this trigger?</source>
        <translation>이 트리거를 삭제할까요?</translation>
    </message>
    <message id="display.editTrigger">
        <source>Edit Trigger</source>
        <translation>트리거 편집</translation>
    </message>
    <message id="display.emptyDescription">
        <source>Add a trigger to change your displays' brightness at set times.</source>
        <translation>트리거를 추가하면 정해진 시각에 디스플레이 밝기를 바꿀 수 있습니다.</translation>
    </message>
    <message id="display.emptyTitle">
        <source>No Triggers</source>
        <translation>트리거 없음</translation>
    </message>
    <message id="display.field.appliesOnWake">
        <source>Also apply on wake</source>
        <translation>잠자기 해제 시에도 적용</translation>
    </message>
    <message id="display.field.name">
        <source>Name</source>
        <translation>이름</translation>
    </message>
    <message id="display.field.time">
        <source>Time</source>
        <translation>시각</translation>
    </message>
    <message id="display.footer.appliesOnWake">
        <source>When your computer wakes from sleep, the most recent of today's triggers with this setting on is applied.</source>
        <translation>컴퓨터가 잠자기에서 깨어나면 이 설정이 켜진 트리거 중 오늘 가장 최근의 트리거를 적용합니다.</translation>
    </message>
    <message id="display.footer.brightnessAuto">
        <source>Automatic brightness or power-saving dimming on your desktop may change the level afterwards.</source>
        <translation>데스크톱의 자동 밝기 조절이나 절전 기능이 나중에 밝기를 바꿀 수 있습니다.</translation>
    </message>
    <message id="display.footer.kit">
        <source>Brightness control uses this library:</source>
        <translation>밝기 제어에는 다음 라이브러리를 사용합니다:</translation>
    </message>
    <message id="display.help.appliesOnWake">
        <source>Also applied on wake</source>
        <translation>잠자기 해제 시에도 적용됨</translation>
    </message>
    <message id="display.help.applyNow">
        <source>Apply Now</source>
        <translation>지금 적용</translation>
    </message>
    <message id="display.section.basic">
        <source>General</source>
        <translation>기본 설정</translation>
    </message>
    <message id="display.untitled">
        <source>Untitled</source>
        <translation>이름 없음</translation>
    </message>
    <message id="domain.dayFull.friday">
        <source>Friday</source>
        <translation>금요일</translation>
    </message>
    <message id="domain.dayFull.monday">
        <source>Monday</source>
        <translation>월요일</translation>
    </message>
    <message id="domain.dayFull.saturday">
        <source>Saturday</source>
        <translation>토요일</translation>
    </message>
    <message id="domain.dayFull.sunday">
        <source>Sunday</source>
        <translation>일요일</translation>
    </message>
    <message id="domain.dayFull.thursday">
        <source>Thursday</source>
        <translation>목요일</translation>
    </message>
    <message id="domain.dayFull.tuesday">
        <source>Tuesday</source>
        <translation>화요일</translation>
    </message>
    <message id="domain.dayFull.wednesday">
        <source>Wednesday</source>
        <translation>수요일</translation>
    </message>
    <message id="domain.dayShort.friday">
        <source>Fri</source>
        <translation>금</translation>
    </message>
    <message id="domain.dayShort.monday">
        <source>Mon</source>
        <translation>월</translation>
    </message>
    <message id="domain.dayShort.saturday">
        <source>Sat</source>
        <translation>토</translation>
    </message>
    <message id="domain.dayShort.sunday">
        <source>Sun</source>
        <translation>일</translation>
    </message>
    <message id="domain.dayShort.thursday">
        <source>Thu</source>
        <translation>목</translation>
    </message>
    <message id="domain.dayShort.tuesday">
        <source>Tue</source>
        <translation>화</translation>
    </message>
    <message id="domain.dayShort.wednesday">
        <source>Wed</source>
        <translation>수</translation>
    </message>
    <message id="domain.seedName.blocklist">
        <source>Blocklist</source>
        <translation>차단 목록</translation>
    </message>
    <message id="domain.seedName.sunrise">
        <source>Sunrise</source>
        <translation>일출</translation>
    </message>
    <message id="domain.seedName.sunset">
        <source>Sunset</source>
        <translation>일몰</translation>
    </message>
    <message id="erase.confirm">
        <source>Erase All Data</source>
        <translation>모든 데이터 지우기</translation>
    </message>
    <message id="erase.warningMessage">
        <source>Your rules, brightness triggers and unlock history will be deleted, starting at login will be turned off, and Kivo will return to how it was at first launch. This can't be undone.</source>
        <translation>규칙, 밝기 트리거, 잠금 해제 기록이 삭제되고 로그인 시 실행이 꺼지며 Kivo는 처음 실행했을 때의 상태로 돌아갑니다. 이 작업은 되돌릴 수 없습니다.</translation>
    </message>
    <message id="erase.warningTitle">
        <source>Erase all data?</source>
        <translation>모든 데이터를 지울까요?</translation>
    </message>
    <message id="groupReorder.a11y.dragHandle">
        <source>Drag to reorder %1</source>
        <translation>드래그하여 %1 순서 변경</translation>
    </message>
    <message id="groupReorder.title">
        <source>Reorder Rules</source>
        <translation>규칙 순서 변경</translation>
    </message>
    <message id="groupRule.addTitle">
        <source>New Rule</source>
        <translation>새 규칙</translation>
    </message>
    <message id="groupRule.deleteConfirmMessage">
        <source>The rule and all of its patterns will be deleted. This can't be undone.</source>
        <translation>이 규칙과 모든 패턴이 삭제됩니다. 이 작업은 되돌릴 수 없습니다.</translation>
    </message>
    <message id="groupRule.deleteConfirmTitle">
        <source>Delete this rule?</source>
        <translation>이 규칙을 삭제할까요?</translation>
    </message>
    <message id="groupRule.editTitle">
        <source>Edit Rule</source>
        <translation>규칙 편집</translation>
    </message>
    <message id="groupRule.field.namePlaceholder">
        <source>e.g. Social Media</source>
        <translation>예: 소셜 미디어</translation>
    </message>
    <message id="groupRule.redirect.useCustom">
        <source>Use a custom redirect URL</source>
        <translation>사용자 지정 리디렉션 URL 사용</translation>
    </message>
    <message id="groupRule.section.name">
        <source>Rule Name</source>
        <translation>규칙 이름</translation>
    </message>
    <message id="menubar.openKivo">
        <source>Open Kivo</source>
        <translation>Kivo 열기</translation>
    </message>
    <message id="menubar.quitKivo">
        <source>Quit Kivo</source>
        <translation>Kivo 종료</translation>
    </message>
    <message id="more.checkForUpdates">
        <source>Check for Updates…</source>
        <translation>업데이트 확인…</translation>
    </message>
    <message id="more.updatesFromPackageManager">
        <source>Updates come from your package manager.</source>
        <translation>업데이트는 패키지 관리자를 통해 제공됩니다.</translation>
    </message>
    <message id="more.eraseAllData">
        <source>Erase All Data…</source>
        <translation>모든 데이터 지우기…</translation>
    </message>
    <message id="more.feedback">
        <source>Send Feedback</source>
        <translation>피드백 보내기</translation>
    </message>
    <message id="more.feedbackAlertMessage">
        <source>The feedback form will open in your web browser.</source>
        <translation>웹 브라우저에서 피드백 양식이 열립니다.</translation>
    </message>
    <message id="more.feedbackAlertTitle">
        <source>Open the feedback form?</source>
        <translation>피드백 양식을 열까요?</translation>
    </message>
    <message id="more.feedbackOpen">
        <source>Open</source>
        <translation>열기</translation>
    </message>
    <message id="more.languagePicker">
        <source>Language</source>
        <translation>언어</translation>
    </message>
    <message id="more.loginItemToggle">
        <source>Start Kivo at login</source>
        <translation>로그인 시 Kivo 실행</translation>
    </message>
    <message id="more.privacyPolicy">
        <source>Privacy Policy</source>
        <translation>개인정보 처리방침</translation>
    </message>
    <message id="more.privacyPolicyAlertMessage">
        <source>The privacy policy will open in your web browser.</source>
        <translation>웹 브라우저에서 개인정보 처리방침이 열립니다.</translation>
    </message>
    <message id="more.privacyPolicyAlertTitle">
        <source>Open the privacy policy?</source>
        <translation>개인정보 처리방침을 열까요?</translation>
    </message>
    <message id="more.privacyPolicyOpen">
        <source>Open</source>
        <translation>열기</translation>
    </message>
    <message id="more.stopApp">
        <source>Quit Kivo…</source>
        <translation>Kivo 종료…</translation>
    </message>
    <message id="more.title">
        <source>More</source>
        <translation>더 보기</translation>
    </message>
    <message id="more.uninstall">
        <source>Uninstall Kivo…</source>
        <translation>Kivo 제거…</translation>
    </message>
    <message id="nav.kivo">
        <source>Kivo</source>
        <translation>Kivo</translation>
    </message>
    <message id="onboarding.language.pickerLabel">
        <source>Language</source>
        <translation>언어</translation>
    </message>
    <message id="onboarding.language.subtitle">
        <source>Choose the language Kivo uses. You can change it later under More.</source>
        <translation>Kivo에서 사용할 언어를 선택하세요. 나중에 '더 보기'에서 바꿀 수 있습니다.</translation>
    </message>
    <message id="onboarding.language.title">
        <source>Choose Your Language</source>
        <translation>언어 선택</translation>
    </message>
    <message id="pattern.deleteConfirm.allow">
        <source>Delete this allow pattern?</source>
        <translation>이 허용 패턴을 삭제할까요?</translation>
    </message>
    <message id="pattern.deleteConfirm.block">
        <source>Delete this block pattern?</source>
        <translation>이 차단 패턴을 삭제할까요?</translation>
    </message>
    <message id="pattern.normalizationPreview">
        <source>On save: %1</source>
        <translation>저장 시: %1</translation>
    </message>
    <message id="pattern.redirect.override">
        <source>Use its own redirect</source>
        <translation>이 패턴에 별도 리디렉션 사용</translation>
    </message>
    <message id="pattern.redirect.useGroup">
        <source>Uses the rule's redirect setting.</source>
        <translation>규칙의 리디렉션 설정을 사용합니다.</translation>
    </message>
    <message id="pattern.section.pattern">
        <source>URL Pattern</source>
        <translation>URL 패턴</translation>
    </message>
    <message id="pattern.title.addAllow">
        <source>Add Allow Pattern</source>
        <translation>허용 패턴 추가</translation>
    </message>
    <message id="pattern.title.addBlock">
        <source>Add Block Pattern</source>
        <translation>차단 패턴 추가</translation>
    </message>
    <message id="pattern.title.editAllow">
        <source>Edit Allow Pattern</source>
        <translation>허용 패턴 편집</translation>
    </message>
    <message id="pattern.title.editBlock">
        <source>Edit Block Pattern</source>
        <translation>차단 패턴 편집</translation>
    </message>
    <message id="permissions.accessibility.description">
        <source>Kivo reads the address bar of %1 through your desktop's **accessibility** interface (AT-SPI), so accessibility support must be turned on.</source>
        <translation>Kivo는 데스크톱의 **접근성** 기능(AT-SPI)으로 %1의 주소 표시줄을 읽으므로 접근성 지원을 켜야 합니다.</translation>
    </message>
    <message id="permissions.accessibility.grant">
        <source>Open Settings</source>
        <translation>설정 열기</translation>
    </message>
    <message id="permissions.accessibility.later">
        <source>Later</source>
        <translation>나중에</translation>
    </message>
    <message id="permissions.accessibility.restart">
        <source>Quit %1 completely and start it again: it shows its pages only when accessibility support was on when it started. If it still cannot be read, start it with --force-renderer-accessibility.</source>
        <translation>%1을(를) 완전히 종료한 후 다시 시작하세요. 시작할 때 접근성 지원이 켜져 있어야만 페이지를 읽을 수 있습니다. 그래도 읽을 수 없으면 --force-renderer-accessibility 옵션을 붙여 시작하세요.</translation>
    </message>
    <message id="permissions.accessibility.step1">
        <source>Open your desktop's accessibility settings.</source>
        <translation>데스크톱의 접근성 설정을 엽니다.</translation>
    </message>
    <message id="permissions.accessibility.step2">
        <source>Turn on accessibility support for applications.</source>
        <translation>응용 프로그램의 접근성 지원을 켭니다.</translation>
    </message>
    <message id="permissions.accessibility.step2FollowsAtOnce">
        <source>Turn on accessibility support for applications. %1 follows it at once.</source>
        <translation>응용 프로그램의 접근성 지원을 켭니다. %1에는 바로 적용됩니다.</translation>
    </message>
    <message id="permissions.accessibility.step3">
        <source>Kivo only reads the address bar of %1.</source>
        <translation>Kivo는 %1의 주소 표시줄만 읽습니다.</translation>
    </message>
    <message id="permissions.accessibility.suppress">
        <source>Don't Ask Again</source>
        <translation>다시 묻지 않기</translation>
    </message>
    <message id="permissions.accessibility.title">
        <source>Kivo needs accessibility support to block %1</source>
        <translation>%1을(를) 차단하려면 접근성 지원이 필요합니다</translation>
    </message>
    <message id="permissions.automation.message">
        <source>Kivo can't block %1.
Turn on accessibility support in your desktop settings, then restart these browsers.</source>
        <translation>Kivo가 %1을(를) 차단할 수 없습니다.
데스크톱 설정에서 접근성 지원을 켠 다음 해당 브라우저를 다시 시작하세요.</translation>
    </message>
    <message id="permissions.automation.openSettings">
        <source>Open Settings</source>
        <translation>설정 열기</translation>
    </message>
    <message id="permissions.automation.title">
        <source>Kivo can't read some browsers</source>
        <translation>일부 브라우저를 읽을 수 없음</translation>
    </message>
    <message id="permissions.wayland.message">
        <source>Kivo can't see %1 running natively on Wayland.
Quit these browsers and start them under XWayland.</source>
        <translation>Kivo가 Wayland에서 네이티브로 실행 중인 %1을(를) 볼 수 없습니다.
해당 브라우저를 종료하고 XWayland에서 시작하세요.</translation>
    </message>
    <message id="permissions.wayland.title">
        <source>Kivo can't see some browsers</source>
        <translation>일부 브라우저를 볼 수 없음</translation>
    </message>
    <message id="quit.confirm">
        <source>Quit</source>
        <translation>종료</translation>
    </message>
    <message id="ruleDetail.addPattern">
        <source>Add Pattern</source>
        <translation>패턴 추가</translation>
    </message>
    <message id="ruleDetail.empty.allowDescription">
        <source>Pages that match an allow pattern are never blocked, even when a block pattern matches them.</source>
        <translation>허용 패턴과 일치하는 페이지는 차단 패턴과 일치해도 차단되지 않습니다.</translation>
    </message>
    <message id="ruleDetail.empty.allowTitle">
        <source>No Allow Patterns</source>
        <translation>허용 패턴 없음</translation>
    </message>
    <message id="ruleDetail.empty.blockDescription">
        <source>Add a pattern such as example.com/* to block the pages it matches.</source>
        <translation>example.com/* 같은 패턴을 추가하면 일치하는 페이지를 차단합니다.</translation>
    </message>
    <message id="ruleDetail.empty.blockTitle">
        <source>No Block Patterns</source>
        <translation>차단 패턴 없음</translation>
    </message>
    <message id="ruleDetail.notFound">
        <source>Rule not found</source>
        <translation>규칙을 찾을 수 없음</translation>
    </message>
    <message id="ruleDetail.summary.redirect">
        <source>Redirect</source>
        <translation>리디렉션</translation>
    </message>
    <message id="ruleDetail.summary.timeWindowMore">
        <source>and more</source>
        <translation>외</translation>
    </message>
    <message id="ruleDetail.tab.allow">
        <source>Allow</source>
        <translation>허용</translation>
    </message>
    <message id="ruleDetail.tab.block">
        <source>Block</source>
        <translation>차단</translation>
    </message>
    <message id="rules.add">
        <source>Add Rule</source>
        <translation>규칙 추가</translation>
    </message>
    <message id="rules.emptyDescription">
        <source>Add a rule to start blocking websites.</source>
        <translation>규칙을 추가하여 웹사이트 차단을 시작하세요.</translation>
    </message>
    <message id="rules.emptyTitle">
        <source>No Rules</source>
        <translation>규칙 없음</translation>
    </message>
    <message id="rules.reorder">
        <source>Reorder</source>
        <translation>순서 변경</translation>
    </message>
    <message id="schedule.addTimeWindow">
        <source>Add Time Range</source>
        <translation>시간대 추가</translation>
    </message>
    <message id="schedule.always">
        <source>Always</source>
        <translation>항상</translation>
    </message>
    <message id="schedule.byDay">
        <source>By Day</source>
        <translation>요일 지정</translation>
    </message>
    <message id="schedule.daily">
        <source>Every Day</source>
        <translation>매일</translation>
    </message>
    <message id="schedule.mode">
        <source>Schedule Type</source>
        <translation>일정 유형</translation>
    </message>
    <message id="schedule.recurring">
        <source>Recurring</source>
        <translation>요일 및 시간대</translation>
    </message>
    <message id="schedule.section">
        <source>Schedule</source>
        <translation>일정</translation>
    </message>
    <message id="schedule.summary.always">
        <source>Always</source>
        <translation>항상</translation>
    </message>
    <message id="schedule.summary.daily">
        <source>Every day</source>
        <translation>매일</translation>
    </message>
    <message id="schedule.summary.none">
        <source>No days</source>
        <translation>요일 없음</translation>
    </message>
    <message id="schedule.summary.weekdays">
        <source>Weekdays</source>
        <translation>평일</translation>
    </message>
    <message id="schedule.summary.weekends">
        <source>Weekends</source>
        <translation>주말</translation>
    </message>
    <message id="schedule.timeRangeSeparator">
        <source>to</source>
        <translation>~</translation>
    </message>
    <message id="shield.a11y.countdown">
        <source>Countdown</source>
        <translation>카운트다운</translation>
    </message>
    <message id="shield.a11y.remainingSeconds">
        <source>%1 seconds remaining</source>
        <translation>%1초 남음</translation>
    </message>
    <message id="shield.cancel">
        <source>Keep Blocking</source>
        <translation>차단 유지</translation>
    </message>
    <message id="sidebar.display">
        <source>Display</source>
        <translation>디스플레이</translation>
    </message>
    <message id="sidebar.more">
        <source>More</source>
        <translation>더 보기</translation>
    </message>
    <message id="sidebar.rules">
        <source>Rules</source>
        <translation>규칙</translation>
    </message>
    <message id="uninstall.confirm">
        <source>Uninstall</source>
        <translation>제거</translation>
    </message>
    <message id="uninstall.packageRemains">
        <source>Kivo was installed for all users by the system, so the program itself stays in place: after it quits, remove its package with your package manager.</source>
        <translation>Kivo는 시스템에서 모든 사용자용으로 설치되어 프로그램 자체는 그대로 남습니다. 종료된 후 패키지 관리자로 패키지를 제거하세요.</translation>
    </message>
    <message id="uninstall.packageWarningMessage">
        <source>Kivo will erase all of its data and quit. This can't be undone.</source>
        <translation>Kivo는 모든 데이터를 지운 뒤 종료합니다. 이 작업은 되돌릴 수 없습니다.</translation>
    </message>
    <message id="uninstall.warningMessage">
        <source>Kivo will erase all of its data, move itself to the Trash and quit. This can't be undone.</source>
        <translation>Kivo는 모든 데이터를 지우고 자신을 휴지통으로 옮긴 뒤 종료합니다. 이 작업은 되돌릴 수 없습니다.</translation>
    </message>
    <message id="uninstall.warningTitle">
        <source>Uninstall Kivo?</source>
        <translation>Kivo를 제거할까요?</translation>
    </message>
    <message id="unlock.backoffDescription">
        <source>The wait doubles with each unlock, up to 60 seconds, and starts over once the reset time has passed since the last unlock.</source>
        <translation>잠금을 해제할 때마다 대기 시간이 두 배로 늘어나며(최대 60초), 마지막 해제 후 초기화 간격이 지나면 처음으로 돌아갑니다.</translation>
    </message>
    <message id="unlock.method">
        <source>Unlock Method</source>
        <translation>해제 방법</translation>
    </message>
    <message id="unlock.method.backoff">
        <source>Backoff</source>
        <translation>점증 대기</translation>
    </message>
    <message id="unlock.method.instant">
        <source>Instant</source>
        <translation>즉시</translation>
    </message>
    <message id="unlock.method.wait">
        <source>Wait</source>
        <translation>대기</translation>
    </message>
    <message id="unlock.resetInterval">
        <source>Reset after</source>
        <translation>초기화 간격</translation>
    </message>
    <message id="unlock.resetInterval.day1">
        <source>1 day</source>
        <translation>1일</translation>
    </message>
    <message id="unlock.resetInterval.days3">
        <source>3 days</source>
        <translation>3일</translation>
    </message>
    <message id="unlock.resetInterval.hours12">
        <source>12 hours</source>
        <translation>12시간</translation>
    </message>
    <message id="unlock.resetInterval.hours6">
        <source>6 hours</source>
        <translation>6시간</translation>
    </message>
    <message id="unlock.resetInterval.never">
        <source>Never</source>
        <translation>초기화 안 함</translation>
    </message>
    <message id="unlock.resetInterval.week1">
        <source>1 week</source>
        <translation>1주</translation>
    </message>
    <message id="unlock.seconds">
        <source>%1 sec</source>
        <translation>%1초</translation>
    </message>
    <message id="unlock.section">
        <source>Unlock</source>
        <translation>잠금 해제</translation>
    </message>
    <message id="unlock.summary.backoff">
        <source>Backoff (%1 sec+)</source>
        <translation>점증 대기 (%1초~)</translation>
    </message>
    <message id="unlock.summary.instant">
        <source>Instant unlock</source>
        <translation>즉시 해제</translation>
    </message>
    <message id="unlock.summary.wait">
        <source>Wait %1 sec</source>
        <translation>%1초 대기</translation>
    </message>
    <message id="unlock.waitSeconds">
        <source>Wait time</source>
        <translation>대기 시간</translation>
    </message>
</context>
</TS>
