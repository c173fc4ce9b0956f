#pragma once
// The unit suffixes of space measures, one rule for all of them. The units
// setting is 0 for metric and 1 for imperial; any other value (only a
// hand-edited preferences file holds one) counts as imperial, as the
// measuring factors count it, so that a suffix always names the unit its
// number was measured in: in the record, in the attributes and in the CSV
// file alike.

#include <cstdint>
#include <string_view>

constexpr bool isMetricUnits(int32_t units)
{
    return units == 0;
}

// Record and attribute texts, written straight after the number.
constexpr std::string_view areaSuffix(int32_t units)
{
    return isMetricUnits(units) ? "sq.m." : "sq.ft.";
}
constexpr std::string_view lengthSuffix(int32_t units)
{
    return isMetricUnits(units) ? "m." : "ft.";
}
constexpr std::string_view volumeSuffix(int32_t units)
{
    return isMetricUnits(units) ? "cu.m." : "cu.ft.";
}

// The unit columns of the room-area CSV file ("m²" with the superscript two).
constexpr std::string_view csvAreaUnit(int32_t units)
{
    return isMetricUnits(units) ? "m\xC2\xB2" : "ft\xC2\xB2";
}
constexpr std::string_view csvLengthUnit(int32_t units)
{
    return isMetricUnits(units) ? "m" : "ft";
}
