#pragma once
// A date-time parameter (adDBTimeStamp): calendar parts to the second, no
// time zone (the database keeps local times as the module gives them). An
// invalid value (one never set, or a failed parse) goes as NULL.

#include <cstdint>
#include <string>

#include "database/Parameter.h"

struct CDateTimeValue {
    int year = 1899, month = 12, day = 30, hour = 0, minute = 0, second = 0;
    bool valid = false;

    // A value from its parts; valid when the parts form a real date and time.
    static CDateTimeValue from(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
    // A build-date text "Mmm dd yyyy" ("Apr 24 2026"): midnight of that day;
    // invalid when the text is not such a date.
    static CDateTimeValue parseBuildDate(const std::string& text);
    // The debug log's form "%Y%m%d%Hh%M%S_" ("2026042400h0000_").
    std::string logText() const;
};

class CParameterDateTime : public CParameter {
public:
    int32_t getADOType() const override { return 135; }
    int32_t getSize() const override { return 0; }
    std::string getTypeWord() const override { return "dateTime"; }
    std::string getValueText() const override;

    void setValue(const CDateTimeValue& value);
    const CDateTimeValue& getValue() const { return value_; }

protected:
    void prepareBinding(Binding& b) const override;
    void takeOutput(const Binding& b) override;

private:
    CDateTimeValue value_;
};
