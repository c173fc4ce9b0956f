#include "database/Recordset.h"

#include <charconv>
#include <stdexcept>
#include <strings.h>

CRecordset::CRecordset(std::vector<std::string> columns, std::vector<std::vector<std::optional<std::string>>> rows)
    : columns_(std::move(columns)), rows_(std::move(rows))
{
}

const std::optional<std::string>& CRecordset::cell(const std::string& column) const
{
    if (isEOF()) throw std::out_of_range("no current row to read the column \"" + column + "\" from");
    for (size_t i = 0; i < columns_.size(); ++i)
        if (strcasecmp(columns_[i].c_str(), column.c_str()) == 0) return rows_[current_][i];
    throw std::out_of_range("the result has no column \"" + column + "\"");
}

std::string CRecordset::getString(const std::string& column) const
{
    const auto& c = cell(column);
    return c ? *c : std::string();
}

bool CRecordset::isNull(const std::string& column) const { return !cell(column).has_value(); }

int32_t CRecordset::getInt(const std::string& column) const
{
    std::string text = getString(column);
    if (text.empty()) return 0;
    int32_t value = 0;
    auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    if (r.ec != std::errc() || r.ptr != text.data() + text.size())
        throw std::invalid_argument("the column \"" + column + "\" holds \"" + text + "\", not an integer");
    return value;
}

double CRecordset::getDouble(const std::string& column) const
{
    std::string text = getString(column);
    if (text.empty()) return 0.0;
    double value = 0.0;
    const char* begin = text.data() + (text[0] == '+' ? 1 : 0);
    auto r = std::from_chars(begin, text.data() + text.size(), value);
    if (r.ec != std::errc() || r.ptr != text.data() + text.size())
        throw std::invalid_argument("the column \"" + column + "\" holds \"" + text + "\", not a number");
    return value;
}

int32_t CRecordset::getBool(const std::string& column) const
{
    std::string text = getString(column);
    return strcasecmp(text.c_str(), "t") == 0 || strcasecmp(text.c_str(), "true") == 0 || text == "1" ? 1 : 0;
}
