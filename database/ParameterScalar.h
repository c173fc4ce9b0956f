#pragma once
// The parameters that hold one plain value: a number or flag that travels in
// its own C layout (Int, TinyInt, Boolean, Float), or a text with a declared
// size (Char, VarChar). One template, CParameterScalar<Traits>; a traits
// struct gives the protocol's type number, size and log word, and how the
// value travels through ODBC. The decimal and date-time parameters, which
// convert their values, are classes of their own.
//
// Text goes to the driver as UTF-8 and unchanged: a text longer than its
// size is not cut here, so the database decides (it refuses a value too long
// for its column rather than storing a part of it).

#include <charconv>
#include <cstdint>
#include <cstring>
#include <string>

#include <sql.h>
#include <sqlext.h>

#include "database/Parameter.h"

template <class Traits>
class CParameterScalar : public CParameter {
public:
    using Value = typename Traits::Value;

    int32_t getADOType() const override { return Traits::kADOType; }
    int32_t getSize() const override { return size_; }
    std::string getTypeWord() const override { return Traits::kTypeWord; }
    std::string getValueText() const override { return isNull() ? std::string() : Traits::text(value_); }

    void setValue(const Value& value)
    {
        value_ = value;
        markSet();
    }
    const Value& getValue() const { return value_; }
    // The declared size of a text parameter (its maximum length).
    void setSize(int32_t size)
        requires Traits::kText
    {
        size_ = size;
    }

protected:
    void prepareBinding(Binding& b) const override
    {
        if constexpr (Traits::kText) {
            prepareTextBinding(b, Traits::kSqlType, size_, value_);
        } else {
            const typename Traits::Wire wire = Traits::toWire(value_);
            b.cType = Traits::kCType;
            b.sqlType = Traits::kSqlType;
            b.columnSize = static_cast<uint64_t>(Traits::kSize);
            b.buffer.resize(sizeof wire);
            std::memcpy(b.buffer.data(), &wire, sizeof wire);
            b.length = sizeof wire;
        }
    }
    void takeOutput(const Binding& b) override
    {
        if constexpr (Traits::kText) {
            value_.assign(b.buffer.data(), static_cast<size_t>(b.length));
        } else {
            typename Traits::Wire wire;
            std::memcpy(&wire, b.buffer.data(), sizeof wire);
            value_ = Traits::fromWire(wire);
        }
    }

private:
    int32_t size_ = Traits::kSize;
    Value value_{};
};

namespace parametertraits {

// A number that travels as itself.
template <class T, int32_t ADOType, int32_t Size, int16_t CType, int16_t SqlType>
struct Number {
    using Value = T;
    using Wire = T;
    static constexpr bool kText = false;
    static constexpr int32_t kADOType = ADOType;
    static constexpr int32_t kSize = Size;
    static constexpr int16_t kCType = CType;
    static constexpr int16_t kSqlType = SqlType;
    static Wire toWire(Value v) { return v; }
    static Value fromWire(Wire w) { return w; }
    static std::string text(Value v) { return std::to_string(v); }
};

// A 32-bit signed integer (adInteger).
struct Int : Number<int32_t, 3, 4, SQL_C_SLONG, SQL_INTEGER> {
    static constexpr const char* kTypeWord = "int";
};

// An 8-bit unsigned integer (adTinyInt); a small integer on the server.
struct TinyInt : Number<uint8_t, 16, 1, SQL_C_UTINYINT, SQL_TINYINT> {
    static constexpr const char* kTypeWord = "tinyInt";
};

// A double. It reports adNumeric with size 8, as the call protocol fixes,
// and travels as a double; the log shows the shortest text that reads back
// as the same double.
struct Float : Number<double, 131, 8, SQL_C_DOUBLE, SQL_DOUBLE> {
    static constexpr const char* kTypeWord = "float";
    static std::string text(double v)
    {
        char buffer[64];
        auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
        return std::string(buffer, result.ptr);
    }
};

// A boolean (adBoolean): a 32-bit flag, 0 false and anything else true; the
// driver receives a bit, and a returned bit comes back as 0 or 1.
struct Boolean : Number<int32_t, 11, 1, SQL_C_BIT, SQL_BIT> {
    using Wire = unsigned char;
    static constexpr const char* kTypeWord = "boolean";
    static Wire toWire(int32_t v) { return v != 0 ? 1 : 0; }
    static int32_t fromWire(Wire w) { return w != 0 ? 1 : 0; }
};

// A text of a declared size.
template <int32_t ADOType, int32_t DefaultSize, int16_t SqlType>
struct Text {
    using Value = std::string;
    static constexpr bool kText = true;
    static constexpr int32_t kADOType = ADOType;
    static constexpr int32_t kSize = DefaultSize;
    static constexpr int16_t kSqlType = SqlType;
    static std::string text(const std::string& v) { return v; }
};

// Fixed-length characters (adChar), default size 20.
struct Char : Text<129, 20, SQL_CHAR> {
    static constexpr const char* kTypeWord = "char";
};

// Variable-length characters (adVarChar), default size 255.
struct VarChar : Text<200, 255, SQL_VARCHAR> {
    static constexpr const char* kTypeWord = "varchar";
};

}  // namespace parametertraits

using CParameterInt = CParameterScalar<parametertraits::Int>;
using CParameterTinyInt = CParameterScalar<parametertraits::TinyInt>;
using CParameterFloat = CParameterScalar<parametertraits::Float>;
using CParameterBoolean = CParameterScalar<parametertraits::Boolean>;
using CParameterChar = CParameterScalar<parametertraits::Char>;
using CParameterVarChar = CParameterScalar<parametertraits::VarChar>;
