#pragma once
#include <string>

#include "host/db/AcDbObject.h"

class AcDbDictionary;

// A table style (TABLESTYLE object, kept in the "ACAD_TABLESTYLE"
// dictionary): cell margins, flow direction, whether the title and header
// rows are suppressed, and for each kind of row (data, header, title) the
// text style, text height and cell alignment tables fall back to.
class AcDbTableStyle : public AcDbObject {
public:
    AcDbTableStyle() = default;

    static const AcRxClass* desc();
    const AcRxClass* isA() const override { return desc(); }
    AcDbObjectKind kind() const override { return AcDbObjectKind::TableStyle; }

    // The style's name as stored in the style (code 3); the dictionary key names it for tables.
    const char* name() const { return name_.c_str(); }
    // eInvalidInput for null.
    Acad::ErrorStatus setName(const char* name);
    AcDb::FlowDirection flowDirection() const { return flow_; }
    double horzCellMargin() const { return horzMargin_; }
    double vertCellMargin() const { return vertMargin_; }
    bool isTitleSuppressed() const { return titleSuppressed_; }
    bool isHeaderSuppressed() const { return headerSuppressed_; }

    // The value for one kind of row (kDataRow, kHeaderRow or kTitleRow; others read as data).
    double textHeight(AcDb::RowType rowType = AcDb::kDataRow) const { return group(rowType).height; }
    AcDb::CellAlignment alignment(AcDb::RowType rowType = AcDb::kDataRow) const { return group(rowType).alignment; }
    const char* textStyleName(AcDb::RowType rowType = AcDb::kDataRow) const { return group(rowType).textStyle.c_str(); }
    // Set for every kind of row in rowTypes; eInvalidInput for a height <= 0
    // or an alignment outside kTopLeft..kBottomRight.
    Acad::ErrorStatus setTextHeight(double height, int rowTypes = AcDb::kAllRowTypes);
    Acad::ErrorStatus setAlignment(AcDb::CellAlignment alignment, int rowTypes = AcDb::kAllRowTypes);

    // The id of the style named "Standard" in the database's "ACAD_TABLESTYLE"
    // dictionary, making the dictionary and the style when missing; null when
    // the database has no named-objects dictionary.
    static AcDbObjectId standardStyleId(AcDbDatabase& db);
    // The "ACAD_TABLESTYLE" dictionary, made when missing; null without a named-objects dictionary.
    static AcDbObjectId dictionaryId(AcDbDatabase& db);

    // One kind of row's settings, in file order data, header, title.
    struct RowGroup {
        std::string textStyle = "Standard";
        double height = 0.18;
        AcDb::CellAlignment alignment = AcDb::kTopCenter;
    };

private:
    friend class DxfTable;

    const RowGroup& group(AcDb::RowType rowType) const { return groups_[indexOf(rowType)]; }
    static int indexOf(AcDb::RowType rowType) { return rowType == AcDb::kHeaderRow ? 1 : rowType == AcDb::kTitleRow ? 2 : 0; }

    std::string name_ = "Standard";
    AcDb::FlowDirection flow_ = AcDb::kTtoB;
    int flags_ = 0;
    double horzMargin_ = 0.06;
    double vertMargin_ = 0.06;
    bool titleSuppressed_ = false;
    bool headerSuppressed_ = false;
    RowGroup groups_[3] = {{"Standard", 0.18, AcDb::kTopCenter},
                           {"Standard", 0.18, AcDb::kMiddleCenter},
                           {"Standard", 0.25, AcDb::kMiddleCenter}};
};
