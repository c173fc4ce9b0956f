#pragma once
// A 32-bit signed integer parameter (adInteger).

#include <cstring>
#include <string>

#include <sql.h>
#include <sqlext.h>

#include "database/Parameter.h"

class CParameterInt : public CParameter {
public:
    int32_t getADOType() const override { return 3; }
    int32_t getSize() const override { return 4; }
    std::string getTypeWord() const override { return "int"; }
    std::string getValueText() const override { return isNull() ? std::string() : std::to_string(value_); }

    void setValue(int32_t value)
    {
        value_ = value;
        markSet();
    }
    int32_t getValue() const { return value_; }

protected:
    void prepareBinding(Binding& b) const override
    {
        b.cType = SQL_C_SLONG;
        b.sqlType = SQL_INTEGER;
        b.columnSize = 4;
        b.buffer.resize(sizeof(value_));
        std::memcpy(b.buffer.data(), &value_, sizeof(value_));
        b.length = sizeof(value_);
    }
    void takeOutput(const Binding& b) override
    {
        std::memcpy(&value_, b.buffer.data(), sizeof(value_));
    }

private:
    int32_t value_ = 0;
};
