#pragma once
// The rows a stored procedure or SQL text returned, read whole when the call
// ran (each column once per row, as text, NULL kept apart). Walked as a
// record set: isEOF, moveNext, and the current row's columns by name, the
// name compared without regard to case (PostgreSQL gives names in lower case).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CRecordset {
public:
    CRecordset(std::vector<std::string> columns, std::vector<std::vector<std::optional<std::string>>> rows);

    bool isEOF() const { return current_ >= rows_.size(); }
    void moveNext() { ++current_; }
    size_t getRowCount() const { return rows_.size(); }
    const std::vector<std::string>& getColumnNames() const { return columns_; }

    // The current row's column as text ("" for NULL). A column the result
    // does not have, or reading at the end, throws std::out_of_range naming it.
    std::string getString(const std::string& column) const;
    bool isNull(const std::string& column) const;
    // As a number: "" and NULL give 0; text that is not a number throws
    // std::invalid_argument naming the column and the text.
    int32_t getInt(const std::string& column) const;
    double getDouble(const std::string& column) const;
    // "t"/"true"/"1" (any case) give 1, anything else 0.
    int32_t getBool(const std::string& column) const;

private:
    const std::optional<std::string>& cell(const std::string& column) const;

    std::vector<std::string> columns_;
    std::vector<std::vector<std::optional<std::string>>> rows_;
    size_t current_ = 0;
};
