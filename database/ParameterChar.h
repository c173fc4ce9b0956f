#pragma once
// A fixed-length character parameter (adChar), default size 20.
// The text (UTF-8) goes to the driver unchanged: a text longer than the
// size is not cut here, so the database decides (it refuses a value too long
// for its column rather than storing a part of it).

#include <cstdint>
#include <string>

#include "database/Parameter.h"

class CParameterChar : public CParameter {
public:
    int32_t getADOType() const override { return 129; }
    int32_t getSize() const override { return size_; }
    std::string getTypeWord() const override { return "char"; }
    std::string getValueText() const override { return isNull() ? std::string() : value_; }

    void setValue(const std::string& value)
    {
        value_ = value;
        markSet();
    }
    const std::string& getValue() const { return value_; }
    void setSize(int32_t size) { size_ = size; }

protected:
    void prepareBinding(Binding& b) const override { prepareTextBinding(b, SQL_CHAR, size_, value_); }
    void takeOutput(const Binding& b) override { value_.assign(b.buffer.data(), static_cast<size_t>(b.length)); }

private:
    int32_t size_ = 20;
    std::string value_;
};
