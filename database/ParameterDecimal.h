#pragma once
// A decimal parameter (adNumeric) with a precision and a scale (18 and 10 in
// every call of the protocol). The value is kept and sent as decimal text,
// so it reaches the database with the digits it was given: a double given
// with setValue is written as the shortest text that reads back as that
// double, never through a fixed number of binary digits, and an output is
// read back as the database's text. The database itself rounds to the scale.

#include <cstdint>
#include <string>

#include "database/Parameter.h"

class CParameterDecimal : public CParameter {
public:
    int32_t getADOType() const override { return 131; }
    int32_t getSize() const override { return size_; }
    std::string getTypeWord() const override { return "decimal"; }
    std::string getValueText() const override { return isNull() ? std::string() : text_; }

    // The value from a double (not finite: std::invalid_argument).
    void setValue(double value);
    // The value as decimal text: an optional sign, digits, an optional point
    // and digits, no exponent. Anything else throws std::invalid_argument
    // naming the text.
    void setValueText(const std::string& text);
    // The value as a double (what callers that measure use).
    double getValue() const;

    void setSize(int32_t size) { size_ = size; }
    void setPrecision(uint8_t precision) { precision_ = precision; }
    uint8_t getPrecision() const { return precision_; }
    void setNumericScale(uint8_t scale) { scale_ = scale; }
    uint8_t getNumericScale() const { return scale_; }

    // True for the decimal text setValueText accepts.
    static bool isDecimalText(const std::string& text);

protected:
    void prepareBinding(Binding& b) const override;
    void takeOutput(const Binding& b) override;

private:
    int32_t size_ = 9;
    uint8_t precision_ = 18;
    uint8_t scale_ = 10;
    std::string text_ = "0";
};
