#pragma once
// An 8-bit unsigned integer parameter (adTinyInt); a small integer on the server.

#include <cstring>
#include <string>

#include <sql.h>
#include <sqlext.h>

#include "database/Parameter.h"

class CParameterTinyInt : public CParameter {
public:
    int32_t getADOType() const override { return 16; }
    int32_t getSize() const override { return 1; }
    std::string getTypeWord() const override { return "tinyInt"; }
    std::string getValueText() const override { return isNull() ? std::string() : std::to_string(value_); }

    void setValue(uint8_t value)
    {
        value_ = value;
        markSet();
    }
    uint8_t getValue() const { return value_; }

protected:
    void prepareBinding(Binding& b) const override
    {
        b.cType = SQL_C_UTINYINT;
        b.sqlType = SQL_TINYINT;
        b.columnSize = 1;
        b.buffer.resize(sizeof(value_));
        std::memcpy(b.buffer.data(), &value_, sizeof(value_));
        b.length = sizeof(value_);
    }
    void takeOutput(const Binding& b) override
    {
        std::memcpy(&value_, b.buffer.data(), sizeof(value_));
    }

private:
    uint8_t value_ = 0;
};
