#pragma once

#include <string>

namespace kivo {

// Compares addresses as a browser shows them: one browser reports its pages percent-encoded with the
// host in punycode, another decoded, and an empty path comes back as "/".
namespace AddressText {

// The address in one canonical text: host in punycode and lowercase, path never empty, everything
// percent-decoded where that does not change the meaning.
std::string canonical(const std::string& url);
bool sameAddress(const std::string& a, const std::string& b);
// Whether an address field's text shows the address: the same address, or the same with its scheme (and a
// leading "www." of its host) left out, as a browser shows an address in a field that is not being edited.
bool sameShownAddress(const std::string& shown, const std::string& url);
// Whether the text holds a control character, which typed into an address field would act as a key
// (a line break submits what is typed so far).
bool hasControlCharacter(const std::string& text);

} // namespace AddressText
} // namespace kivo
