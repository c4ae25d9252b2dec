#pragma once

#include "app/language/LocalizedString.h"

#include <QString>

#include <optional>

#include <functional>
#include <string>

class QCheckBox;
class QDialog;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace kivo {

struct ScreenContext;

// Small building blocks the main window's screens share.
namespace ScreenWidgets {

QString fromStd(const std::string& s);
std::string toStd(const QString& s);
// User and device text (names, patterns) is shown as plain text, never as markup.
QLabel* plainLabel(const QString& text, QWidget* parent = nullptr);
QLabel* captionLabel(const QString& text, QWidget* parent = nullptr);
// A red caption under a field; hidden while empty.
QLabel* errorLabel(QWidget* parent = nullptr);
void showError(QLabel* label, const std::optional<std::string>& message);
QLabel* headline(const QString& text, QWidget* parent = nullptr);
// A page's top row: its title on the left, then room for the page's buttons, which the caller adds.
QHBoxLayout* titleBar(const QString& title, QWidget* parent);
// Names `field` for a screen reader by `label`, the text the user sees beside it (Qt reads a buddy's label
// as its name and its label); a choice list's popup list is named alike. Both must have the same parent.
void labelField(QLabel* label, QWidget* field);
// An on/off switch without a title; only user clicks reach the caller.
QCheckBox* makeSwitch(QWidget* parent = nullptr);
// Keeps `edit` to what the working state accepted after a user edit (typed, pasted or committed by an
// input method), with the cursor where the user was; an open composition is left alone until committed.
void bindText(QLineEdit* edit, const std::function<std::string(const QString&)>& apply);
// Ends `sheet` (as Cancel would) when the window it was opened on is hidden, as a plain quit does, so
// nothing it holds (a brightness preview) lingers behind a hidden window. Minimising is not hiding.
void closeWithWindow(QDialog* sheet);

// What Delete in a sheet's footer does once the user has confirmed; the sheet then closes.
struct SheetDelete {
    LocalizedString title;
    LocalizedString message;
    std::function<void()> run;
};
struct SheetFooter {
    QPushButton* save = nullptr;
    QPushButton* remove = nullptr;
};
// The footer of an editing sheet: Cancel (rejects), Delete behind the shared delete confirmation when
// `remove` is given, and the default button: Save while editing, Add for something new.
SheetFooter addSheetFooter(QDialog* sheet, QVBoxLayout* column, const ScreenContext& context, bool editing,
                           std::optional<SheetDelete> remove);

} // namespace ScreenWidgets
} // namespace kivo
