#pragma once

#include "domain/Json.h"

#include <gtest/gtest.h>

#include <string>

namespace kivo::test {

// Parses a JSON text written in a test; a malformed one fails the test.
inline Json::Value json(const std::string& text) {
    auto parsed = Json::parse(text);
    EXPECT_TRUE(parsed.ok()) << text;
    return parsed.ok() ? parsed.value() : Json::Value();
}

// Writes `value` to text and reads it back as a T, as the defaults database would.
template <class T> Result<T> throughText(const T& value) {
    auto text = Json::serialize(Json::encode(value));
    if (!text.ok()) {
        return Result<T>::failure(text.error());
    }
    auto parsed = Json::parse(text.value());
    if (!parsed.ok()) {
        return Result<T>::failure(parsed.error());
    }
    return Json::decode<T>(parsed.value());
}

} // namespace kivo::test
