#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "interfacedb/RowStore.h"

namespace vantrell::db {
namespace {

DateTime date(const char* text) {
    return *DateTime::parse(text);
}

// Every kind comes back as it went in, bit for bit, whatever stands around it.
TEST(RowStore, EveryKindComesBackAsStored) {
    const std::string withNul("a\0b", 3);
    const std::vector<Value> values{
        Value(),
        Value(true),
        Value(false),
        Value(std::numeric_limits<std::int64_t>::min()),
        Value(std::numeric_limits<std::int64_t>::max()),
        Value(-1.5f),
        Value(std::numeric_limits<float>::denorm_min()),
        Value(std::numeric_limits<float>::max()),
        Value(-0.1),
        Value(std::numeric_limits<double>::max()),
        Value(date("0100-01-01")),
        Value(date("9999-12-31 23:59:59")),
        Value(std::string()),
        Value(withNul),
        Value("Zoë O'Brien-Łukasz"),
        Value(std::string(100'000, 'x')),
        Value("after the long one"),
    };
    detail::RowStore store;
    for (const Value& value : values) {
        switch (value.kind()) {
            case Value::Kind::Null:
                store.appendNull();
                break;
            case Value::Kind::Boolean:
                store.append(value.toBoolean());
                break;
            case Value::Kind::Integer:
                store.append(value.toInteger());
                break;
            case Value::Kind::Single:
                store.append(value.toSingle());
                break;
            case Value::Kind::Double:
                store.append(value.toDouble());
                break;
            case Value::Kind::Date:
                store.append(value.toDate());
                break;
            case Value::Kind::Text:
                store.appendText(value.toText());
                break;
        }
    }
    ASSERT_EQ(store.size(), values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(store.at(i), values[i]) << "field " << i;
        EXPECT_EQ(store.at(i).kind(), values[i].kind()) << "field " << i;
    }
    // Negative zero keeps its sign.
    store.append(-0.0f);
    EXPECT_TRUE(std::signbit(store.at(values.size()).toSingle()));

    store.clear();
    EXPECT_EQ(store.size(), 0u);
    store.appendText("again");
    EXPECT_EQ(store.at(0), Value("again"));
}

}  // namespace
}  // namespace vantrell::db
