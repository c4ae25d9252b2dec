#pragma once

namespace kivo {

// What became of one group of keystrokes. A key goes out only when the sink has proven where it lands;
// when it cannot, that key and the rest of the group stay unsent.
enum class KeystrokeResult {
    sent,
    notFocused,   // the keyboard focus is not in the target window
    grabbed,      // another program holds the keyboard (a screen locker, a menu, a window switcher) or
                  // the pointer, which can freeze the keyboard
    modifierHeld, // the user holds a modifier key
    untypable,    // a character has no key in the keyboard's current layout
    failed,       // the events could not be made or posted
};

} // namespace kivo
