#include "domain/Json.h"
#include "TestJson.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace kivo {
namespace {

using test::json;

// A small stored type exercising required, optional and nested fields.
struct Sample {
    Uuid id;
    int count = 0;
    bool flag = false;
    std::optional<std::string> note;
    std::vector<std::int64_t> values;

    Json::Value toJson() const {
        Json::Value j = Json::Value::object();
        j["id"] = Json::encode(id);
        j["count"] = Json::encode(count);
        j["flag"] = Json::encode(flag);
        Json::putOptional(j, "note", note);
        j["values"] = Json::encode(values);
        return j;
    }
    static Result<Sample> fromJson(const Json::Value& v) {
        Json::ObjectReader r(v);
        Sample s;
        s.id = r.required<Uuid>("id");
        s.count = r.required<int>("count");
        s.flag = r.required<bool>("flag");
        s.note = r.optional<std::string>("note");
        s.values = r.required<std::vector<std::int64_t>>("values");
        return r.finish(s);
    }
    friend bool operator==(const Sample&, const Sample&) = default;
};

TEST(JsonTest, IntegerFieldsAreStrict) {
    struct Case {
        std::string text;
        bool ok;
        std::int32_t value;
    };
    const std::vector<Case> cases = {
        {"5", true, 5},
        {"5.0", true, 5},
        {"-7", true, -7},
        {"5.5", false, 0},
        {"2147483647", true, 2147483647},
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"1e300", false, 0},
        {"18446744073709551615", false, 0},
        {"\"5\"", false, 0},
        {"true", false, 0},
        {"null", false, 0},
    };
    for (const auto& c : cases) {
        const auto r = Json::decode<std::int32_t>(json(c.text));
        EXPECT_EQ(r.ok(), c.ok) << c.text;
        if (c.ok && r.ok()) {
            EXPECT_EQ(r.value(), c.value);
        }
    }
    EXPECT_TRUE(Json::decode<std::uint64_t>(json("18446744073709551615")).ok());
    EXPECT_FALSE(Json::decode<std::int64_t>(json("9223372036854775808")).ok());
    EXPECT_FALSE(Json::decode<std::uint8_t>(json("-1")).ok());
}

TEST(JsonTest, ScalarFieldsRefuseOtherTypes) {
    EXPECT_TRUE(Json::decode<bool>(json("true")).ok());
    for (const char* text : {"1", "0", "\"true\"", "null"}) {
        EXPECT_FALSE(Json::decode<bool>(json(text)).ok()) << text;
    }
    EXPECT_FALSE(Json::decode<std::string>(json("1")).ok());
    EXPECT_FALSE(Json::decode<double>(json("\"1.5\"")).ok());
    EXPECT_EQ(Json::decode<Date>(json("12.5")).value(), Date{12.5});
    EXPECT_EQ(Json::decode<Date>(json("-3")).value(), Date{-3});
    EXPECT_FALSE(Json::decode<Uuid>(json("\"not-a-uuid\"")).ok());
    EXPECT_FALSE(Json::decode<Url>(json("\"https://a b\"")).ok());
}

TEST(JsonTest, StoredTypeRoundTripsAndFailsOnBadFields) {
    Sample s{*Uuid::parse("0f8fad5b-d9cb-469f-a165-70867728950e"), 3, true, std::nullopt, {1, 2}};
    const auto text = Json::serialize(s.toJson());
    ASSERT_TRUE(text.ok());
    EXPECT_EQ(text.value().find("note"), std::string::npos) << "an absent optional is not written";
    EXPECT_NE(text.value().find("0F8FAD5B-D9CB-469F-A165-70867728950E"), std::string::npos);
    const auto back = Sample::fromJson(json(text.value()));
    ASSERT_TRUE(back.ok()) << back.error();
    EXPECT_EQ(back.value(), s);

    s.note = "hello";
    EXPECT_EQ(Sample::fromJson(json(Json::serialize(s.toJson()).value())).value(), s);

    const std::string id = "\"id\":\"0f8fad5b-d9cb-469f-a165-70867728950e\"";
    struct Case {
        std::string text;
        bool ok;
    };
    const std::vector<Case> cases = {
        {"{" + id + ",\"count\":1,\"flag\":false,\"values\":[]}", true},
        {"{" + id + ",\"count\":1,\"flag\":false,\"values\":[],\"note\":null}", true},
        {"{" + id + ",\"count\":1,\"flag\":false,\"values\":[],\"extra\":{\"x\":1}}", true},
        {"{" + id + ",\"count\":1.0,\"flag\":false,\"values\":[]}", true},
        {"{" + id + ",\"count\":1.5,\"flag\":false,\"values\":[]}", false},
        {"{" + id + ",\"flag\":false,\"values\":[]}", false},
        {"{" + id + ",\"count\":null,\"flag\":false,\"values\":[]}", false},
        {"{" + id + ",\"count\":1,\"flag\":0,\"values\":[]}", false},
        {"{" + id + ",\"count\":1,\"flag\":false,\"values\":[],\"note\":5}", false},
        {"{" + id + ",\"count\":1,\"flag\":false,\"values\":[1,2.5,3]}", false},
        {"{\"id\":\"x\",\"count\":1,\"flag\":false,\"values\":[]}", false},
        {"[]", false},
    };
    for (const auto& c : cases) {
        const auto r = Sample::fromJson(json(c.text));
        EXPECT_EQ(r.ok(), c.ok) << c.text << " -> " << r.error();
    }
    const auto note =
        Sample::fromJson(json("{" + id + ",\"count\":1,\"flag\":false,\"values\":[],\"note\":null}"));
    EXPECT_FALSE(note.value().note.has_value());
}

TEST(JsonTest, OneBadElementFailsTheWholeArray) {
    EXPECT_TRUE(Json::decodeList<int>(json("[1,2,3]")).ok());
    const auto bad = Json::decodeList<int>(json("[1,\"2\",3]"));
    ASSERT_FALSE(bad.ok());
    EXPECT_NE(bad.error().find("[1]"), std::string::npos);
    EXPECT_FALSE(Json::decodeList<int>(json("{}")).ok());
    EXPECT_FALSE(Json::decodeList<int>(json("[1,null]")).ok());
}

TEST(JsonTest, EnumerationWithPayload) {
    const std::initializer_list<std::string_view> names = {"instant", "timed", "custom"};
    struct Case {
        std::string text;
        bool ok;
        std::string name;
    };
    const std::vector<Case> cases = {
        {R"({"instant":{}})", true, "instant"},
        {R"({"timed":{"_0":5}})", true, "timed"},
        {R"({"timed":{"_0":5},"other":1})", true, "timed"},
        {R"({})", false, ""},
        {R"({"other":{}})", false, ""},
        {R"({"instant":{},"timed":{"_0":1}})", false, ""},
        {R"({"instant":true})", false, ""},
        {R"("instant")", false, ""},
    };
    for (const auto& c : cases) {
        const auto r = Json::decodeCase(json(c.text), names);
        EXPECT_EQ(r.ok(), c.ok) << c.text;
        if (r.ok()) {
            EXPECT_EQ(r.value().name, c.name);
        }
    }
    EXPECT_EQ(Json::decodeCase(json("{}"), names).error(), "Invalid number of keys found, expected one.");
    EXPECT_EQ(Json::decodeCase(json(R"({"instant":{},"custom":{}})"), names).error(),
              "Invalid number of keys found, expected one.");
    const auto encoded = Json::encodeCase("timed", Json::Value{{"_0", 5}});
    const auto decoded = Json::decodeCase(json(Json::serialize(encoded).value()), names);
    ASSERT_TRUE(decoded.ok());
    EXPECT_EQ(decoded.value().payload["_0"], 5);
}

TEST(JsonTest, ParsingAndWritingNeverThrow) {
    const std::vector<std::string> malformed = {"",
                                                "{",
                                                "[1,]",
                                                "nul",
                                                "\"\xFF\"",
                                                "{\"a\":1}{",
                                                std::string(100000, '['),
                                                std::string(300, '[') + std::string(300, ']')};
    for (const auto& text : malformed) {
        EXPECT_FALSE(Json::parse(text).ok()) << text.substr(0, 20);
    }
    EXPECT_TRUE(Json::parse(std::string(200, '[') + std::string(200, ']')).ok());
    EXPECT_TRUE(Json::parse("\"[[[[[\"").ok()) << "brackets inside strings are not nesting";

    EXPECT_FALSE(Json::serialize(Json::Value(std::nan(""))).ok());
    EXPECT_FALSE(Json::serialize(Json::Value{{"a", {1.0, INFINITY}}}).ok());
    EXPECT_FALSE(Json::serialize(Json::Value(std::string("\xFF"))).ok());
    EXPECT_TRUE(Json::serialize(Json::Value{{"a", 1.5}}).ok());
}

} // namespace
} // namespace kivo
