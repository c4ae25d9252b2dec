#include "app/rules/CharacterLimit.h"
#include "ui/components/AccordionHeader.h"
#include "ui/components/AutomationPermissionBanner.h"
#include "ui/components/EmphasisMarkup.h"
#include "ui/components/SymbolIcon.h"
#include "ui/screens/ScreenWidgets.h"

#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <set>

namespace kivo {
namespace {

// A field bound to a working state that keeps its first `limit` characters, as the sheets' fields are.
void bindLimited(QLineEdit& edit, std::size_t limit) {
    ScreenWidgets::bindText(
        &edit, [limit](const QString& text) { return CharacterLimit::truncated(text.toStdString(), limit); });
}

TEST(TextBinding, KeepsTheCursorAndLeavesAnOverlongStartingValue) {
    QLineEdit edit;
    edit.setText(QString(25, 'a'));
    bindLimited(edit, 20);
    EXPECT_EQ(edit.text().size(), 25) << "an overlong value is cut only when next edited";

    edit.setText("abcdefghij");
    edit.setCursorPosition(3);
    edit.insert("XYZ" + QString(10, '-')); // typed in the middle, 23 characters in all
    EXPECT_EQ(edit.text(), QString("abcXYZ----------defghij").left(20));
    EXPECT_EQ(edit.cursorPosition(), 16) << "the cursor stays after what was typed";
}

TEST(TextBinding, WaitsForAnInputMethodCompositionToEnd) {
    QLineEdit edit;
    edit.setText(QString(4, 'a'));
    bindLimited(edit, 5);
    // A commit that also opens the next composition: the text is over the limit while composing.
    QInputMethodEvent composing(QString::fromUtf8("\xE3\x81\x8B"), {});
    composing.setCommitString(QString::fromUtf8("\xE6\x97\xA5\xE6\x9C\xAC"));
    QCoreApplication::sendEvent(&edit, &composing);
    EXPECT_EQ(edit.text().size(), 6) << "nothing is cut while the composition is open";

    QInputMethodEvent commit(QString(), {});
    QCoreApplication::sendEvent(&edit, &commit);
    QCoreApplication::processEvents();
    EXPECT_EQ(edit.text(), QString(4, 'a') + QString::fromUtf8("\xE6\x97\xA5"));
}

TEST(AccordionHeader, TogglesAndTurnsItsChevron) {
    AccordionHeader header("Redirect");
    std::vector<bool> seen;
    QObject::connect(&header, &AccordionHeader::expandedChanged, [&](bool on) { seen.push_back(on); });
    EXPECT_EQ(header.chevronAngle(), 0.0);
    header.resize(300, 30);
    QTest::mouseClick(&header, Qt::LeftButton, {}, QPoint(150, 15)); // the empty middle of the row
    EXPECT_TRUE(header.isExpanded());
    EXPECT_EQ(header.chevronAngle(), 90.0);
    QTest::mouseClick(&header, Qt::LeftButton, {}, QPoint(5, 15));
    EXPECT_EQ(seen, (std::vector<bool>{true, false}));
}

TEST(AutomationPermissionBanner, JoinsTheDeniedNamesWithTheMiddleDotAlone) {
    const std::pair<std::vector<std::string>, QString> cases[] = {
        {{"Chrome"}, "Chrome"},
        {{"Chrome", "Brave"},
         QString::fromUtf8("Chrome\xE3\x83\xBB"
                           "Brave")},
        {{"A <b>", "%1"}, QString::fromUtf8("A <b>\xE3\x83\xBB%1")},
    };
    for (const auto& [names, expected] : cases)
        EXPECT_EQ(AutomationPermissionBanner::joinedNames(names), expected);
}

// What a label shows of rich text: its characters, and those of them set bold.
std::pair<QString, QString> shown(const QString& html) {
    QTextDocument document;
    document.setHtml(html);
    QString bold;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().fontWeight() >= QFont::Bold) {
                bold += it.fragment().text();
            }
        }
    }
    return {document.toPlainText(), bold};
}

TEST(EmphasisMarkup, ShowsMarkedPairsBoldAndEverythingElseAsWritten) {
    struct Row {
        QString format, argument, text, bold;
    };
    const Row rows[] = {
        {"Reads the **accessibility** interface", {}, "Reads the accessibility interface", "accessibility"},
        {"**a** < **b** & <i>c</i>", {}, "a < b & <i>c</i>", "ab"},
        {"an unpaired ** mark", {}, "an unpaired ** mark", ""},
        {"an empty pair ****", {}, "an empty pair ****", ""},
        {"Quit %1 **now**", "A**B <i>x</i> &amp;", "Quit A**B <i>x</i> &amp; now", "now"},
        {"Block %1 **x", "y** z", "Block y** z **x", ""},
        {"**%1** twice %1", "Chrome %2", "Chrome %2 twice %1", "Chrome %2"},
        {"1.  Two  spaces", {}, "1.  Two  spaces", ""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(shown(EmphasisMarkup::toHtml(row.format, row.argument)), std::make_pair(row.text, row.bold))
            << row.format.toStdString();
    }
}

TEST(SymbolIcon, TakesThePalettesTextColourAndTheHighlightedTextColourWhenSelected) {
    const QPalette original = QGuiApplication::palette();
    const QColor highlighted(0x12, 0x34, 0x56);
    for (const QColor& text : {QColor(Qt::black), QColor(0xee, 0xee, 0xee)}) {
        QPalette palette = original;
        palette.setColor(QPalette::Text, text);
        palette.setColor(QPalette::HighlightedText, highlighted);
        QGuiApplication::setPalette(palette);
        for (const char* name : {"sidebar-rules", "sidebar-display", "sidebar-more"}) {
            const QIcon icon = symbolIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name)));
            for (const auto& [mode, colour] :
                 {std::pair(QIcon::Normal, text), std::pair(QIcon::Selected, highlighted)}) {
                const QImage image = icon.pixmap(QSize(18, 18), 2.0, mode).toImage();
                std::set<QRgb> solid; // the colours of its opaque pixels
                for (int i = 0; i < image.width() * image.height(); ++i) {
                    const QColor pixel = image.pixelColor(i % image.width(), i / image.width());
                    if (pixel.alpha() == 255) {
                        solid.insert(pixel.rgb());
                    }
                }
                EXPECT_EQ(solid, std::set<QRgb>{colour.rgb()}) << name;
            }
        }
    }
    QGuiApplication::setPalette(original);
}

} // namespace
} // namespace kivo
