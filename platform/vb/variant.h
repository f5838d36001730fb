#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace vb {

// A value as the programs pass it between fields, controls and variables: Empty, Null,
// 16/32-bit integers, Single, Double, Boolean (-1/0), String (UTF-8) or Date.
class Variant {
public:
    enum class Type { Empty, Null, Integer, Long, Single, Double, Boolean, String, Date };

    struct NullTag {
        bool operator==(const NullTag&) const = default;
    };
    struct DateValue {
        double serial = 0;  // days since 30.12.1899, fraction = time of day
        bool operator==(const DateValue&) const = default;
    };

    Variant() = default;
    Variant(NullTag) : m_v(NullTag{}) {}
    Variant(int16_t v) : m_v(v) {}
    Variant(int32_t v) : m_v(v) {}
    Variant(int64_t v);  // stored as Long; raises 6 outside 32 bits
    Variant(float v) : m_v(v) {}
    Variant(double v) : m_v(v) {}
    Variant(bool v) : m_v(BoolValue{v}) {}
    Variant(std::string v) : m_v(std::move(v)) {}
    Variant(const char* v) : m_v(std::string(v)) {}
    Variant(DateValue v) : m_v(v) {}

    static Variant null() { return Variant(NullTag{}); }

    Type type() const;
    bool isEmpty() const { return type() == Type::Empty; }
    bool isNull() const { return type() == Type::Null; }
    bool isNumeric() const;  // integer, long, single, double or boolean
    bool isString() const { return type() == Type::String; }

    // Conversions with the rules of the programs' language: Null raises 94, text that is
    // not a number raises 13, out of range raises 6. Empty counts as 0 or "".
    int16_t toInt() const;   // CInt: banker's rounding
    int32_t toLong() const;  // CLng: banker's rounding
    float toSingle() const;
    double toDouble() const;
    bool toBool() const;
    std::string toString() const;  // CStr: no leading blank

    // Raw access for the engine and tests.
    const std::string* stringPtr() const { return std::get_if<std::string>(&m_v); }
    DateValue toDate() const;

    // Same type and value; Null equals Null here (this is identity, not the language's "=").
    bool operator==(const Variant& o) const { return m_v == o.m_v; }

private:
    struct BoolValue {
        bool v;
        bool operator==(const BoolValue&) const = default;
    };
    std::variant<std::monostate, NullTag, int16_t, int32_t, float, double, BoolValue, std::string, DateValue> m_v;
};

// "&": Null and Empty count as "".
std::string concat(const Variant& a, const Variant& b);
inline std::string textOrEmpty(const Variant& v) { return (v.isNull() || v.isEmpty()) ? std::string() : v.toString(); }

}  // namespace vb
