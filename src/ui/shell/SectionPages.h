#pragma once

#include <QWidget>

namespace kivo {

struct UiContext;

// The pages of the sidebar's three sections, built afresh each time the window content is (a language
// change rebuilds it). Each function is the one place its section's screen is plugged in.
namespace SectionPages {

QWidget* rules(UiContext& ui);
QWidget* display(UiContext& ui);
QWidget* more(UiContext& ui);

} // namespace SectionPages
} // namespace kivo
