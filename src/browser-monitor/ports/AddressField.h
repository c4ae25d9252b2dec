#pragma once

#include <string>

namespace kivo {

// What a browser window's own address field shows, and whether it holds the window's focus.
struct AddressField {
    std::string text;
    bool focused = false;

    friend bool operator==(const AddressField&, const AddressField&) = default;
};

} // namespace kivo
