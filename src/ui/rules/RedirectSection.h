#pragma once

#include <QString>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QVBoxLayout;
class QWidget;

namespace kivo {

class AccordionHeader;
struct ScreenContext;

// The collapsible redirect part of a rule sheet: a header that opens and closes it, and a URL field with
// its error and length. The sheet adds its own toggles to body() and places urlPart() among them.
class RedirectSection {
public:
    // Adds the caption, header and body to `column`. A header click calls `onHeaderClicked`; every user
    // edit of the URL goes through `applyURL`, which returns the text the field keeps.
    RedirectSection(const ScreenContext& context, QVBoxLayout* column, QWidget* owner, const std::string& url,
                    std::function<void()> onHeaderClicked,
                    std::function<std::string(const QString&)> applyURL);

    QVBoxLayout* body() const { return bodyColumn_; }
    QWidget* urlPart() const { return urlPart_; }
    QVBoxLayout* urlColumn() const { return urlColumn_; }
    QLineEdit* field() const { return field_; }

    void show(bool expanded, bool urlShown, const std::optional<std::string>& error, std::size_t length,
              std::size_t limit);

private:
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
