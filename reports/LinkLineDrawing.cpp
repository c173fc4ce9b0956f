// Drawing link lines: a red dashed line between two block references found
// by their handles, with its label at the middle. Failures carry the class
// "LinkLine" like the rest of the class's operations.

#include <cmath>
#include <memory>
#include <string>

#include "host/db/AcDbEntity.h"
#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbLine.h"
#include "host/db/AcDbLinetypeTable.h"
#include "host/db/AcDbLinetypeTableRecord.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbText.h"
#include "infra/ZelkaExceptions.h"
#include "module/AcadDrawing.h"
#include "module/AcadDrawingLock.h"
#include "reports/AcadDrawingState.h"
#include "reports/Layers.h"
#include "reports/LinkLine.h"

namespace {

constexpr const char* kSource = "LinkLine.cpp";
constexpr const char* kLinetype = "T_E_S_T";
constexpr const char* kDefaultLayer = "_ZELKA";
constexpr double kLabelHeight = 150.0;

// Makes the dashed linetype (two dashes of 50 drawn and 50 blank) when the
// drawing has none of that name. An existing one is kept as it is and used.
void ensureLinetype(AcDbDatabase* db)
{
    AcDbLinetypeTable* table = nullptr;
    Acad::ErrorStatus es = db->getLinetypeTable(table, AcDb::kForWrite);
    if (es != Acad::eOk)
        raiseHostStatus(es, __LINE__);
    std::unique_ptr<AcDbLinetypeTable, void (*)(AcDbLinetypeTable*)> held(table, [](AcDbLinetypeTable* t) { t->close(); });
    if (table->has(kLinetype))
        return;
    auto record = std::make_unique<AcDbLinetypeTableRecord>();
    record->setName(kLinetype);
    record->setPatternLength(1.0);
    record->setNumDashes(2);
    record->setDashLengthAt(0, 50.0);
    record->setDashLengthAt(1, -50.0);
    es = table->add(record.get());
    if (es != Acad::eOk)
        raiseHostStatus(es, __LINE__);
    record.release()->close();
}

}  // namespace

AcGePoint3d CLinkLine::getAssetCurrentCoord(CAcadDrawing& drawing, const std::string& handle,
                                            CAcadDrawingState& state)
{
    return zelkaOperation(kSource, "CLinkLine::getAssetCurrentCoord", [&] {
        AcDbDatabase* db = drawing.getDatabase();
        AcDbHandle parsed(handle);
        AcDbObjectId id;
        if (!db || parsed.isNull() || db->getAcDbObjectId(id, false, parsed) != Acad::eOk)
            return AcGePoint3d(0, 0, 0);
        AcDbObjectPointer<AcDbBlockReference> reference(id, AcDb::kForRead);
        if (!reference)
            return AcGePoint3d(0, 0, 0);
        state.setLayerState(reference->layer(), 0, 0, 0, 1);
        return reference->position();
    });
}

void CLinkLine::applyToDrawing(CAcadDrawing& drawing, CAcadDrawingState& state)
{
    zelkaOperation(kSource, "CLinkLine::applyToDrawing", [&] {
        AcDbDatabase* db = drawing.getDatabase();
        if (!db)
            raiseHostStatus(Acad::eNotInDatabase, __LINE__, drawing.getFullPath());
        CAcadDrawingLock lock(drawing);
        if (!lock.isLocked())
            raiseHostStatus(static_cast<Acad::ErrorStatus>(lock.status()), __LINE__, drawing.getFullPath());
        AcCmColor red;
        red.setRGB(255, 0, 0);
        const AcGePoint3d start = getAssetCurrentCoord(drawing, startHandle_, state);
        const AcGePoint3d end = getAssetCurrentCoord(drawing, endHandle_, state);
        std::string layer = layer_;
        if (layer.empty()) {
            layer = kDefaultLayer;
            state.setLayerState(layer, 0, 0, 0, 1);
        }
        CLayers::ensureLayerExists(drawing, layer, red);
        layer = CLayer::validateLayerName(layer);

        ensureLinetype(db);
        auto line = std::make_unique<AcDbLine>(start, end);
        line->setColor(red);
        line->setLineWeight(AcDb::kLnWtByLayer);
        line->setLinetype(kLinetype);
        line->setLayer(layer.c_str());
        // The drawing takes the line (closing it, or deleting it on failure).
        drawing.postToDrawing(line.release());

        if (labelText_.empty())
            return;
        const AcGePoint3d middle((start.x + end.x) / 2, (start.y + end.y) / 2, (start.z + end.z) / 2);
        const double dx = end.x - start.x;
        const double dy = end.y - start.y;
        // A vertical line has an infinite slope (a quarter turn); a line of
        // no length gets no rotation rather than an undefined one.
        const double rotation = dx == 0.0 && dy == 0.0 ? 0.0 : std::atan(dy / dx);
        auto text = std::make_unique<AcDbText>();
        text->setNormal(AcGeVector3d(0, 0, 1));
        text->setPosition(middle);
        text->setHeight(kLabelHeight);
        text->setRotation(rotation);
        text->setWidthFactor(1.0);
        text->setHorizontalMode(AcDb::kTextCenter);
        text->setVerticalMode(AcDb::kTextBottom);
        text->setAlignmentPoint(middle);
        text->setTextString(labelText_.c_str());
        text->setColor(red);
        text->setLayer(layer.c_str());
        drawing.postToDrawing(text.release());
    });
}

void CLinkLines::applyToDrawing(CAcadDrawing& drawing, CAcadDrawingState& state)
{
    zelkaOperation(kSource, "CLinkLines::applyToDrawing", [&] {
        for (const auto& line : items_)
            line->applyToDrawing(drawing, state);
    });
}
