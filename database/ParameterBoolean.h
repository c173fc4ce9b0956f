#pragma once
// A boolean parameter (adBoolean): a 32-bit flag, 0 false and anything else
// true; the driver receives a bit.

#include <cstring>
#include <string>

#include <sql.h>
#include <sqlext.h>

#include "database/Parameter.h"

class CParameterBoolean : public CParameter {
public:
    int32_t getADOType() const override { return 11; }
    int32_t getSize() const override { return 1; }
    std::string getTypeWord() const override { return "boolean"; }
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
        b.cType = SQL_C_BIT;
        b.sqlType = SQL_BIT;
        b.columnSize = 1;
        b.buffer.assign(1, static_cast<char>(value_ != 0 ? 1 : 0));
        b.length = 1;
    }
    void takeOutput(const Binding& b) override
    {
        value_ = b.buffer[0] != 0 ? 1 : 0;
    }

private:
    int32_t value_ = 0;
};
