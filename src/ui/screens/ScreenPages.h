#pragma once

class QWidget;

namespace kivo {

struct UiContext;

// The screens of the sidebar's three sections, built from the window's context. Each page owns the
// narrower context its screens are built from, and the sheets it opens, so nothing it made outlives it
// when the window content is rebuilt.
namespace ScreenPages {

QWidget* rules(UiContext& ui);
QWidget* display(UiContext& ui);
// Builds the updater on first use: the More page is what starts it.
QWidget* more(UiContext& ui);

} // namespace ScreenPages
} // namespace kivo
