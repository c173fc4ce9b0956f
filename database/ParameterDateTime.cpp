#include "database/ParameterDateTime.h"

#include <cstdio>
#include <cstring>

#include <sql.h>
#include <sqlext.h>

namespace {

bool leapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && leapYear(y) ? 29 : days[m - 1];
}

}  // namespace

CDateTimeValue CDateTimeValue::from(int year, int month, int day, int hour, int minute, int second)
{
    CDateTimeValue v;
    v.year = year, v.month = month, v.day = day, v.hour = hour, v.minute = minute, v.second = second;
    v.valid = year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
              day <= daysInMonth(year, month) && hour >= 0 && hour < 24 && minute >= 0 && minute < 60 &&
              second >= 0 && second < 60;
    return v;
}

CDateTimeValue CDateTimeValue::parseBuildDate(const std::string& text)
{
    static const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    char month[4] = {};
    int day = 0, year = 0, used = 0;
    if (std::sscanf(text.c_str(), "%3s %d %d%n", month, &day, &year, &used) != 3 ||
        static_cast<size_t>(used) != text.size())
        return {};
    for (int m = 0; m < 12; ++m)
        if (std::strcmp(month, months[m]) == 0) return from(year, m + 1, day);
    return {};
}

std::string CDateTimeValue::logText() const
{
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02d%02dh%02d%02d_", year, month, day, hour, minute, second);
    return text;
}

std::string CParameterDateTime::getValueText() const
{
    return isNull() || !value_.valid ? std::string() : value_.logText();
}

void CParameterDateTime::setValue(const CDateTimeValue& value)
{
    value_ = value;
    markSet();
    if (!value.valid) setNull();
}

void CParameterDateTime::prepareBinding(Binding& b) const
{
    SQL_TIMESTAMP_STRUCT ts{};
    ts.year = static_cast<SQLSMALLINT>(value_.year);
    ts.month = static_cast<SQLUSMALLINT>(value_.month);
    ts.day = static_cast<SQLUSMALLINT>(value_.day);
    ts.hour = static_cast<SQLUSMALLINT>(value_.hour);
    ts.minute = static_cast<SQLUSMALLINT>(value_.minute);
    ts.second = static_cast<SQLUSMALLINT>(value_.second);
    b.cType = SQL_C_TYPE_TIMESTAMP;
    b.sqlType = SQL_TYPE_TIMESTAMP;
    b.columnSize = 19;
    b.buffer.resize(sizeof ts);
    std::memcpy(b.buffer.data(), &ts, sizeof ts);
    b.length = sizeof ts;
}

void CParameterDateTime::takeOutput(const Binding& b)
{
    SQL_TIMESTAMP_STRUCT ts{};
    std::memcpy(&ts, b.buffer.data(), sizeof ts);
    value_ = CDateTimeValue::from(ts.year, ts.month, ts.day, ts.hour, ts.minute, ts.second);
}
