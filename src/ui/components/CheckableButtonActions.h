#pragma once

namespace kivo {

// What assistive technology does to a checkable button (a switch, a check box, a segment, a day, a section
// header). Qt answers the Toggle action by flipping the button without a click, so its owner, which hears
// only clicks, never learns of it and the button shows a state its model does not hold. Here Toggle and
// Press are a click, as Space and the mouse are: the owner decides and the button shows what it kept.
namespace CheckableButtonActions {

// Serves every button that is checkable when an assistive tool first asks for it (set a button checkable
// before naming it); once per application object, after it: later calls leave it.
void install();

} // namespace CheckableButtonActions
} // namespace kivo
