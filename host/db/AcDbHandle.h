#pragma once
#include <cstdint>
#include <string>

// A drawing file's handle: the object's identity inside the DXF file, written
// as hexadecimal text. 0 is the null handle.
class AcDbHandle {
public:
    AcDbHandle() = default;
    explicit AcDbHandle(uint64_t value) : value_(value) {}
    // Parses hexadecimal text; text that is not a handle gives the null handle.
    explicit AcDbHandle(const char* hexText);
    explicit AcDbHandle(const std::string& hexText) : AcDbHandle(hexText.c_str()) {}

    bool isNull() const { return value_ == 0; }
    void setNull() { value_ = 0; }
    uint64_t value() const { return value_; }
    // Writes the upper-case hexadecimal text (at least "0") into buffer;
    // false when the buffer is shorter than the text plus its terminator.
    bool getIntoAsciiBuffer(char* buffer, size_t size = 17) const;
    // Upper-case hexadecimal text.
    std::string toString() const;

    AcDbHandle& operator++() { ++value_; return *this; }
    bool operator==(const AcDbHandle& other) const = default;
    auto operator<=>(const AcDbHandle& other) const = default;

private:
    uint64_t value_ = 0;
};
