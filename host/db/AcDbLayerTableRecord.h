#pragma once
#include "host/db/AcCmColor.h"
#include "host/db/AcDbSymbolTableRecord.h"

// A layer: colour, linetype, line weight and the frozen, locked, off and
// plottable states.
class AcDbLayerTableRecord : public AcDbSymbolTableRecord {
public:
    AcDbLayerTableRecord();

    static const AcRxClass* desc();
    const AcRxClass* isA() const override { return desc(); }
    AcDbObjectKind kind() const override { return AcDbObjectKind::LayerTableRecord; }

    bool isFrozen() const { return (flags() & 1) != 0; }
    Acad::ErrorStatus setIsFrozen(bool frozen);
    bool isLocked() const { return (flags() & 4) != 0; }
    void setIsLocked(bool locked);
    bool isOff() const { return off_; }
    void setIsOff(bool off);
    bool isPlottable() const { return plottable_; }
    Acad::ErrorStatus setIsPlottable(bool plottable);
    AcCmColor color() const { return color_; }
    void setColor(const AcCmColor& color);
    AcDb::LineWeight lineWeight() const { return lineWeight_; }
    // eInvalidInput for by-layer or by-block.
    Acad::ErrorStatus setLineWeight(AcDb::LineWeight weight);
    void setLinetypeObjectId(AcDbObjectId id);
    const char* linetypeName() const { return linetype_.c_str(); }

    // The state bits as files store them: 1 frozen, 2 frozen in new viewports, 4 locked.
    int flags() const;

private:
    friend class DxfLayerTableRecordCodec;
    void setFlag(int bit, bool on);

    AcCmColor color_;
    std::string linetype_ = "Continuous";
    AcDb::LineWeight lineWeight_ = AcDb::kLnWtByLwDefault;
    bool off_ = false;
    bool plottable_ = true;
    int layerFlags_ = 0;
};
