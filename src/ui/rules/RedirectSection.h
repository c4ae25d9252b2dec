#pragma once

#include <functional>

class QLabel;
class QLineEdit;
class QVBoxLayout;
class QWidget;

namespace kivo {

class AccordionHeader;
class RedirectDraft;
struct ScreenContext;

// The collapsible redirect part of a rule sheet, bound to the sheet's draft: a header that opens and
// closes it, and a URL field with its error and length. The sheet adds its own toggles to body() and
// places urlPart() among them.
class RedirectSection {
public:
    // Adds the caption, header and body to `column`. A user's click or edit goes to `draft`, then
    // `edited` runs (the sheet refreshes).
    RedirectSection(const ScreenContext& context, QVBoxLayout* column, QWidget* owner, RedirectDraft& draft,
                    std::function<void()> edited);

    QVBoxLayout* body() const { return bodyColumn_; }
    QWidget* urlPart() const { return urlPart_; }
    QVBoxLayout* urlColumn() const { return urlColumn_; }
    QLineEdit* field() const { return field_; }

    // Shows the draft as it is now.
    void refresh();

private:
    RedirectDraft& draft_;
    AccordionHeader* header_ = nullptr;
    QWidget* body_ = nullptr;
    QVBoxLayout* bodyColumn_ = nullptr;
    QWidget* urlPart_ = nullptr;
    QVBoxLayout* urlColumn_ = nullptr;
    QLineEdit* field_ = nullptr;
    QLabel* error_ = nullptr;
    QLabel* counter_ = nullptr;
};

} // namespace kivo
