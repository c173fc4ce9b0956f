#pragma once
#include "host/db/AcDbSymbolTableRecord.h"

// A text style: font file, fixed height (0 = variable), width factor, oblique angle.
class AcDbTextStyleTableRecord : public AcDbSymbolTableRecord {
public:
    AcDbTextStyleTableRecord() = default;

    static const AcRxClass* desc();
    const AcRxClass* isA() const override { return desc(); }
    AcDbObjectKind kind() const override { return AcDbObjectKind::TextStyleTableRecord; }

    const char* fileName() const { return fileName_.c_str(); }
    const char* bigFontFileName() const { return bigFont_.c_str(); }
    double textSize() const { return textSize_; }
    double xScale() const { return xScale_; }
    double obliquingAngle() const { return oblique_; }
    double priorSize() const { return priorSize_; }

private:
    friend class DxfTextStyleTableRecordCodec;

    std::string fileName_ = "txt";
    std::string bigFont_;
    double textSize_ = 0.0;
    double xScale_ = 1.0;
    double oblique_ = 0.0;
    double priorSize_ = 2.5;
};
