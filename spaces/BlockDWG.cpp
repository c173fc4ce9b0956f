#include "spaces/BlockDWG.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

#include "database/Assets.h"
#include "database/Hyperlinks.h"
#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbOpen.h"
#include "host/db/AcDbPolyline.h"
#include "host/db/resbuf.h"
#include "host/ge/UcsTransform.h"
#include "infra/Utilities.h"
#include "infra/ZelkaExceptions.h"
#include "module/AcadDrawing.h"
#include "module/AcadDrawingLock.h"
#include "reports/Hatch.h"
#include "spaces/AcadUtilities.h"
#include "spaces/Attributes.h"
#include "spaces/BlockWriteCheck.h"
#include "spaces/SpaceUnits.h"

using namespace std::string_view_literals;

namespace {

const char* const kNotSet = "<Not Set>";

// Whether the three numbers are bit for bit the three given (so -0.0 is not 0.0).
bool isExactly(double a, double b, double c, double x, double y, double z)
{
    const double got[3] = {a, b, c};
    const double want[3] = {x, y, z};
    return std::memcmp(got, want, sizeof got) == 0;
}

// Appends the record's text of a handle list: each handle followed by a comma.
void appendHandleList(std::string& text, const std::vector<AcDbHandle>& handles)
{
    for (const AcDbHandle& handle : handles) {
        text += handle.toString();
        text += ',';
    }
}

}  // namespace

CBlockDWG::CBlockDWG()
{
    zelkaOperation(__FILE__, "CBlockDWG::CBlockDWG", [&] { initialise(); });
}

CBlockDWG::CBlockDWG(const AcDbBlockReference* reference, CAcadDrawing& drawing)
{
    zelkaOperation(__FILE__, "CBlockDWG::CBlockDWG", [&] { readReference(reference, drawing, readRecord(reference)); });
}

CBlockDWG::CBlockDWG(const AcDbBlockReference* reference, CAcadDrawing& drawing, const Record& record)
{
    zelkaOperation(__FILE__, "CBlockDWG::CBlockDWG", [&] { readReference(reference, drawing, record); });
}

CBlockDWG::Record CBlockDWG::readRecord(const AcDbBlockReference* reference)
{
    return zelkaOperation(__FILE__, "CBlockDWG::readRecord", [&] {
        Record record;
        if (reference->xDataTexts("ADE", record.texts, record.decoded)) {
            record.present = true;
            record.application = "ADE";
        } else if (reference->xDataTexts("AECXDATA", record.texts, record.decoded)) {
            record.present = true;
            record.application = "AECXDATA";
        } else {
            record.application = kNoXData;
        }
        return record;
    });
}

std::string_view CBlockDWG::readNameFromRecord(const std::vector<std::string_view>& texts)
{
    for (std::string_view item : texts)
        if (item.starts_with("NAME="))
            return item.substr(5);
    return {};
}

void CBlockDWG::readReference(const AcDbBlockReference* reference, CAcadDrawing& drawing, const Record& record)
{
    initialise();
    setHyperlinks(std::make_unique<CHyperlinks>(reference));
    hyperlinksAsRead_ = std::make_unique<CHyperlinks>();
    getHyperlinks()->copyTo(*hyperlinksAsRead_);
    blockReferenceId_ = reference->objectId();
    AcDbObjectId definitionId = reference->blockTableRecord();
    layer_ = reference->layer();
    colourIndex_ = reference->colorIndex();
    lineWeight_ = reference->lineWeight();
    {
        AcDbObjectPointer<AcDbBlockTableRecord> definition(definitionId, AcDb::kForRead);
        if (definition)
            blockName_ = definition->name();
        else
            blockName_ = reference->blockName();
    }
    char handleText[17] = {};
    reference->handle().getIntoAsciiBuffer(handleText, sizeof handleText);
    setHandle(handleText);

    xdataApplication_ = record.application;
    if (record.present)
        readXData(record.texts, drawing);

    auto attributes = std::make_unique<CAttributes>();
    attributes->extractSpaceBlockAttributeValues(reference, currentUcsMatrix(drawing));
    if (const CZelkaAttribute* nameAttribute = attributes->getAtAttribute(0)) {
        setCode(nameAttribute->getText());
        setName(nameAttribute->getText());
    }
    setAttributes(std::move(attributes));
    if (getName().empty())
        setName(blockName_);
}

void CBlockDWG::initialise()
{
    zelkaOperation(__FILE__, "CBlockDWG::initialise", [&] {
        setName("");
        setUnits(-1);
        setPrecision(-1);
        setArea(0.0);
        setPerimeter(0.0);
        setTagType(kNotSet);
        setAreaType(kNotSet);
        setCostCentre(kNotSet);
        setDate(kNotSet);
        setDateLastMove(kNotSet);
        setDeptCharge(kNotSet);
        setRoomHeight(0.0);
        setSpecialReq(kNotSet);
        setTotalStaff(kNotSet);
        setTotalWorkstations(kNotSet);
        setVolume(0.0);
        setBlockKind(BlockKind::Dwg);
        xdataApplication_ = "ADE";
        setHatch(nullptr);
        setAttributes(nullptr);
        setAssets(nullptr);
        zoomOnApply_ = 0;
        zoomMargin_ = 0.0;
    });
}

void CBlockDWG::setHandle(const std::string& text)
{
    CBlock::setHandle(text);
    blockHandle_ = AcDbHandle(text);
}

std::string CBlockDWG::getAreaUnits() const { return std::string(areaSuffix(getUnits())); }

std::string CBlockDWG::getLengthUnits() const { return std::string(lengthSuffix(getUnits())); }

std::vector<std::string> CBlockDWG::buildXDataItems()
{
    return zelkaOperation(__FILE__, "CBlockDWG::buildXDataItems", [&] {
        std::vector<std::string> items;
        items.resize(fillXDataItems(items));
        return items;
    });
}

void CBlockDWG::writeXData(AcDbEntity* entity)
{
    zelkaOperation(__FILE__, "CBlockDWG::writeXData", [&] {
        if (!entity || !entity->isKindOf(AcDbBlockReference::desc()))
            return;
        checkNumbersWritable();
        // The chain points into the texts (setXData copies what it keeps).
        // Both are kept between blocks: the texts keep their capacity, so a
        // pass over many blocks formats its records without allocating.
        thread_local std::vector<std::string> texts(kXDataItems);
        thread_local std::vector<resbuf> chain;
        size_t count = zelkaOperation(__FILE__, "CBlockDWG::buildXDataItems", [&] { return fillXDataItems(texts); });
        acdbRegApp(xdataApplication_.c_str(), entity->database());
        chain.resize(count);
        for (size_t i = 0; i < count; ++i) {
            chain[i] = resbuf{};
            chain[i].restype = i == 0 ? 1001 : (i == 1 || i + 1 == count) ? 1002 : 1000;
            chain[i].resval.rstring = texts[i].data();
            chain[i].rbnext = i + 1 < count ? &chain[i + 1] : nullptr;
        }
        Acad::ErrorStatus es = entity->setXData(chain.data());
        if (es != Acad::eOk)
            raiseHostStatus(es, __LINE__);
    });
}

namespace {

std::string handleListText(const std::vector<AcDbHandle>& handles)
{
    std::string text;
    appendHandleList(text, handles);
    return text;
}

}  // namespace

std::string CBlockDWG::getHandlesToAddAsString() const
{
    return zelkaOperation(__FILE__, "CBlockDWG::getHandlesToAddAsString", [&] { return handleListText(handlesToAdd_); });
}

std::string CBlockDWG::getHandlesToMinusAsString() const
{
    return zelkaOperation(__FILE__, "CBlockDWG::getHandlesToMinusAsString",
                          [&] { return handleListText(handlesToMinus_); });
}

void CBlockDWG::keepPolylineHandles(const AcDbObjectIdArray& ids, std::vector<AcDbHandle>& handles)
{
    handles.clear();
    for (const AcDbObjectId& id : ids) {
        AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForRead);
        if (entity && std::string(entity->isA()->name()) == "AcDbPolyline")
            handles.push_back(id.handle());
    }
}

void CBlockDWG::setHandlesToAdd(const AcDbObjectIdArray& ids)
{
    zelkaOperation(__FILE__, "CBlockDWG::setHandlesToAdd", [&] { keepPolylineHandles(ids, handlesToAdd_); });
}

void CBlockDWG::setHandlesToMinus(const AcDbObjectIdArray& ids)
{
    zelkaOperation(__FILE__, "CBlockDWG::setHandlesToMinus", [&] { keepPolylineHandles(ids, handlesToMinus_); });
}

void CBlockDWG::parseHandleList(const std::string& text, AcDbDatabase* database, std::vector<AcDbHandle>& handles)
{
    handles.clear();
    std::vector<AcDbHandle> pieces;
    CAcadUtilities::convertHandlesStringToArray(text, pieces);
    for (const AcDbHandle& handle : pieces) {
        AcDbObjectId id;
        if (database && !handle.isNull() && database->getAcDbObjectId(id, false, handle) == Acad::eOk)
            handles.push_back(handle);
    }
}

void CBlockDWG::setHandlesToAdd(const std::string& text, AcDbDatabase* database)
{
    zelkaOperation(__FILE__, "CBlockDWG::setHandlesToAdd", [&] { parseHandleList(text, database, handlesToAdd_); });
}

void CBlockDWG::setHandlesToMinus(const std::string& text, AcDbDatabase* database)
{
    zelkaOperation(__FILE__, "CBlockDWG::setHandlesToMinus",
                   [&] { parseHandleList(text, database, handlesToMinus_); });
}

AcDbObjectIdArray CBlockDWG::convertHandlesToObjectIds(const std::vector<AcDbHandle>& handles, AcDbDatabase* database)
{
    return zelkaOperation(__FILE__, "CBlockDWG::convertHandlesToObjectIds", [&] {
        AcDbObjectIdArray ids;
        for (const AcDbHandle& handle : handles) {
            AcDbObjectId id;
            if (database && database->getAcDbObjectId(id, false, handle) == Acad::eOk)
                ids.append(id);
        }
        return ids;
    });
}

AcGeMatrix3d CBlockDWG::currentUcsMatrix(const CAcadDrawing& drawing)
{
    return zelkaOperation(__FILE__, "CBlockDWG::currentUcsMatrix", [&] {
        AcDbDatabase* db = drawing.getDatabase();
        if (!db)
            return AcGeMatrix3d::kIdentity;
        const AcGePoint3d origin = db->ucsorg();
        const AcGeVector3d xDirection = db->ucsxdir();
        const AcGeVector3d yDirection = db->ucsydir();
        // The world UCS, exactly: its matrix is the identity (the same bits
        // the construction from the axes gives), without the arithmetic.
        if (isExactly(origin.x, origin.y, origin.z, 0.0, 0.0, 0.0) &&
            isExactly(xDirection.x, xDirection.y, xDirection.z, 1.0, 0.0, 0.0) &&
            isExactly(yDirection.x, yDirection.y, yDirection.z, 0.0, 1.0, 0.0))
            return AcGeMatrix3d::kIdentity;
        return acgeUcsToWorld(origin, xDirection, yDirection);
    });
}

void CBlockDWG::checkNumbersWritable() const
{
    zelkaOperation(__FILE__, "CBlockDWG::checkNumbersWritable", [&] {
        std::vector<std::string> bad;
        auto check = [&](const char* what, double value) {
            if (!std::isfinite(value))
                bad.emplace_back(what);
        };
        check("area", getArea());
        check("perimeter", getPerimeter());
        check("room height", getRoomHeight());
        check("volume", getVolume());
        if (const CAttributes* attributes = getAttributes()) {
            // The name and aux texts stand 1.5 heights from the area text.
            const double offset = 1.5 * attributes->getTextHeight();
            const AcGePoint3d anchor = attributes->getAreaPosition();
            check("text height", std::abs(anchor.x) + std::abs(anchor.y) + offset);
            check("text width factor", attributes->getWidthFactor());
            check("text rotation", attributes->getRotation());
        }
        if (bad.empty())
            return;
        std::string list = bad.front();
        for (size_t i = 1; i < bad.size(); ++i)
            list += (i + 1 == bad.size() ? " and " : ", ") + bad[i];
        throw CEXCustom(ZELKA_MODULE_TITLE, __FILE__, "CBlockDWG::checkNumbersWritable",
                        "Space block " + getName() + " (" + blockName_ + ", handle " + getHandle() +
                            ") was left as it was: its " + list +
                            " would not be finite. Check the coordinates of its outlines, the block reference's "
                            "scale and the height of its attribute texts.",
                        0, nullptr);
    });
}

void CBlockDWG::applyToDWG(CAcadDrawing& drawing, [[maybe_unused]] bool flag)
{
    zelkaOperation(__FILE__, "CBlockDWG::applyToDWG", [&] {
        checkNumbersWritable();
        CAcadDrawingLock lock(drawing);
        if (!lock.isLocked())
            raiseHostStatus(static_cast<Acad::ErrorStatus>(lock.status()), __LINE__, drawing.getFullPath());
        // Nothing of the block is changed unless all of it can be.
        CBlockWriteCheck::requireWritable(*this);
        AcDbObjectPointer<AcDbBlockReference> reference(blockReferenceId_, AcDb::kForWrite);
        if (!reference)
            raiseHostStatus(reference.openStatus(), __LINE__, drawing.getFullPath());
        CZelkaExceptions errors;
        applyToReference(drawing, reference.object(), errors);
        if (errors.size() > 0)
            throw CEXUnhandled(ZELKA_MODULE_TITLE, __FILE__, "CBlockDWG::hatchBlock", 0, errors.getAt(0).clone());
    });
}

void CBlockDWG::applyToDWG(CAcadDrawing& drawing, CZelkaExceptions& errors)
{
    zelkaOperation(__FILE__, "CBlockDWG::applyToDWG", [&] {
        // A block that cannot be written whole is reported and left alone.
        try {
            checkNumbersWritable();
        } catch (const CEXZelka& e) {
            errors.add(e);
            return;
        }
        CAcadDrawingLock lock(drawing);
        if (!lock.isLocked())
            raiseHostStatus(static_cast<Acad::ErrorStatus>(lock.status()), __LINE__, drawing.getFullPath());
        CBlockWriteCheck::requireWritable(*this);
        AcDbObjectPointer<AcDbBlockReference> reference(blockReferenceId_, AcDb::kForWrite);
        if (!reference)
            return;
        applyToReference(drawing, reference.object(), errors);
    });
}

void CBlockDWG::applyToReference(CAcadDrawing& drawing, AcDbBlockReference* reference, CZelkaExceptions& errors)
{
    updateBlockIdentifier(reference);
    writeXData(reference);
    if (getAttributes() && getAttributes()->getCount() > 0)
        getAttributes()->applyToDWG(reference, currentUcsMatrix(drawing));
    const CHyperlinks* links = getHyperlinks();
    const bool linksChanged =
        links && (hyperlinksAsRead_ ? !(*links == *hyperlinksAsRead_) : links->getCount() > 0);
    if (getHatch()) {
        AcDbObjectId hatchId = hatchBlock(drawing, reference, errors);
        if (links && links->getCount() > 0)
            hyperlinkHatch(drawing, hatchId);
    }
    if (linksChanged) {
        hyperlinkBlock(drawing, reference);
        // Written: the drawing now holds this list.
        hyperlinksAsRead_ = std::make_unique<CHyperlinks>();
        links->copyTo(*hyperlinksAsRead_);
    }
    if (zoomOnApply_)
        zoomToBlock(drawing, reference);
    if (getAssets()) {
        // The assets report their own problems; the block's list stays its own.
        CZelkaExceptions assetErrors;
        getAssets()->applyToDWG(drawing, assetErrors);
    }
}

void CBlockDWG::updateBlockIdentifier(AcDbBlockReference* reference)
{
    zelkaOperation(__FILE__, "CBlockDWG::updateBlockIdentifier", [&] {
        AcDbObjectPointer<AcDbBlockTableRecord> definition(reference->blockTableRecord(), AcDb::kForRead);
        if (!definition)
            raiseHostStatus(definition.openStatus(), __LINE__);
        // Renaming to the same name would only mark the definition changed.
        if (definition->name() == blockName_)
            return;
        Acad::ErrorStatus es = definition->upgradeOpen();
        if (es == Acad::eOk)
            es = definition->setName(blockName_.c_str());
        if (es != Acad::eOk)
            raiseHostStatus(es, __LINE__);
    });
}

void CBlockDWG::updateAttributes(const AcGeMatrix3d& ucsMatrix, const AcGePoint3d* areaPoint)
{
    zelkaOperation(__FILE__, "CBlockDWG::updateAttributes", [&] {
        if (!getAttributes())
            return;
        CBlockWriteCheck::requireWritable(*this);
        getAttributes()->applyToDWG(blockReferenceId_, ucsMatrix, areaPoint);
    });
}

namespace {

// A space block's own outline (the closed polyline of its definition),
// copied for measuring: acdbReadPolyline reads one not built from its
// record, which costs less than building it in the drawing to free it
// again. Empty when the definition has none or it cannot be opened.
class OutlineForRead {
public:
    void open(AcDbObjectId id)
    {
        outline_.reset();
        if (id.isNull())
            return;
        outline_.emplace();
        if (acdbReadPolyline(id, *outline_) != Acad::eOk)
            outline_.reset();
    }
    const AcDbPolyline* get() const { return outline_ ? &*outline_ : nullptr; }

private:
    std::optional<AcDbPolyline> outline_;
};

// A space block's reference and its own outline, opened for read. False
// when the reference or its drawing is missing; the outline is null when
// the definition has none.
bool openOwnOutline(const AcDbObjectId& referenceId, AcDbDatabase* db,
                    AcDbObjectPointer<AcDbBlockReference>& reference, OutlineForRead& outline)
{
    reference.open(referenceId, AcDb::kForRead);
    if (!reference || !db)
        return false;
    outline.open(CAcadUtilities::getBlockOutlineId(reference->blockTableRecord()));
    return true;
}

// The area or perimeter of the outline as the reference shows it, in the
// block's units; 0 without an outline.
using OutlineMeasure = double (*)(const AcDbBlockReference*, const AcDbPolyline*, int16_t, int32_t);

double measureOutline(const AcDbObjectPointer<AcDbBlockReference>& reference, const OutlineForRead& outline,
                      AcDbDatabase* db, int units, OutlineMeasure measure)
{
    return outline.get() ? measure(reference.object(), outline.get(), db->lunits(), units) : 0.0;
}

// The measure of a space block's own outline, the reference and outline
// opened for it alone. False when the reference or its drawing is missing.
bool measureOwnOutline(const AcDbObjectId& referenceId, AcDbDatabase* db, int units, OutlineMeasure measure,
                       double& value)
{
    AcDbObjectPointer<AcDbBlockReference> reference;
    OutlineForRead outline;
    if (!openOwnOutline(referenceId, db, reference, outline))
        return false;
    value = measureOutline(reference, outline, db, units, measure);
    return true;
}

}  // namespace

void CBlockDWG::setAreaFromOutline(CAcadDrawing& drawing, double outlineArea)
{
    double area = outlineArea - calcSubArea(drawing) + calcAddArea(drawing);
    CUtilities u;
    setArea(u.CStringToDouble(u.DoubleToCString(area, getPrecision())));
}

void CBlockDWG::setPerimeterFromOutline(CAcadDrawing& drawing, double outlinePerimeter)
{
    // A subtracted outline's edge is boundary of the space too. The
    // measured value is written with the block's precision.
    perimeterPrecision_ = kBlockPrecision;
    setPerimeter(calcSubAreaPerimeters(drawing) + outlinePerimeter + calcAddAreaPerimeters(drawing));
}

void CBlockDWG::recalculateArea(CAcadDrawing& drawing)
{
    zelkaOperation(__FILE__, "CBlockDWG::recalculateArea", [&] {
        double outlineArea = 0.0;
        if (measureOwnOutline(blockReferenceId_, drawing.getDatabase(), getUnits(),
                              &CAcadUtilities::recalculateBlockArea, outlineArea))
            setAreaFromOutline(drawing, outlineArea);
    });
}

void CBlockDWG::recalculatePerimeter(CAcadDrawing& drawing)
{
    zelkaOperation(__FILE__, "CBlockDWG::recalculatePerimeter", [&] {
        double outlinePerimeter = 0.0;
        if (measureOwnOutline(blockReferenceId_, drawing.getDatabase(), getUnits(),
                              &CAcadUtilities::recalculateBlockPerimeter, outlinePerimeter))
            setPerimeterFromOutline(drawing, outlinePerimeter);
    });
}

void CBlockDWG::recalculateAreaAndPerimeter(CAcadDrawing& drawing)
{
    // The reference and its outline stay open for read from the area's
    // measure to the perimeter's; each step fails under its own name, as the
    // two calls would.
    AcDbDatabase* db = drawing.getDatabase();
    AcDbObjectPointer<AcDbBlockReference> reference;
    OutlineForRead outline;
    bool opened = false;
    zelkaOperation(__FILE__, "CBlockDWG::recalculateArea", [&] {
        opened = openOwnOutline(blockReferenceId_, db, reference, outline);
        if (!opened)
            return;
        const double outlineArea =
            measureOutline(reference, outline, db, getUnits(), &CAcadUtilities::recalculateBlockArea);
        setAreaFromOutline(drawing, outlineArea);
    });
    zelkaOperation(__FILE__, "CBlockDWG::recalculatePerimeter", [&] {
        if (!opened)
            return;
        const double outlinePerimeter =
            measureOutline(reference, outline, db, getUnits(), &CAcadUtilities::recalculateBlockPerimeter);
        setPerimeterFromOutline(drawing, outlinePerimeter);
    });
}

double CBlockDWG::sumHandleList(std::vector<AcDbHandle>& handles, CAcadDrawing& drawing, ListSum what)
{
    AcDbDatabase* db = drawing.getDatabase();
    if (!db)
        return 0.0;
    int16_t lunits = db->lunits();
    double sum = 0.0;
    size_t i = 0;
    while (i < handles.size()) {
        AcDbObjectId id;
        if (db->getAcDbObjectId(id, false, handles[i]) != Acad::eOk) {
            ++i;
            continue;
        }
        AcDbEntity* entity = nullptr;
        Acad::ErrorStatus es = acdbOpenAcDbEntity(entity, id, AcDb::kForRead);
        if (es == Acad::eUnknownHandle) {
            // The drawing knows the handle but has no object for it: the
            // entry leaves the list and the next one moves into its place.
            // An erased outline is only passed over; it keeps its entry, so
            // the list is whole again when the outline is brought back.
            handles.erase(handles.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        if (es != Acad::eOk) {
            ++i;
            continue;
        }
        if (std::string(entity->isA()->name()) == "AcDbPolyline") {
            const auto* polyline = static_cast<const AcDbPolyline*>(entity);
            sum += what == ListSum::Area ? CAcadUtilities::calculatePolylineArea(polyline, lunits, getUnits())
                                         : CAcadUtilities::calculatePolylinePerimeter(polyline, lunits, getUnits());
        }
        entity->close();
        ++i;
    }
    return sum;
}

double CBlockDWG::calcAddArea(CAcadDrawing& drawing)
{
    return zelkaOperation(__FILE__, "CBlockDWG::calcAddArea",
                          [&] { return sumHandleList(handlesToAdd_, drawing, ListSum::Area); });
}

double CBlockDWG::calcSubArea(CAcadDrawing& drawing)
{
    return zelkaOperation(__FILE__, "CBlockDWG::calcSubArea",
                          [&] { return sumHandleList(handlesToMinus_, drawing, ListSum::Area); });
}

double CBlockDWG::calcAddAreaPerimeters(CAcadDrawing& drawing)
{
    return zelkaOperation(__FILE__, "CBlockDWG::calcAddAreaPerimeters",
                          [&] { return sumHandleList(handlesToAdd_, drawing, ListSum::Perimeter); });
}

double CBlockDWG::calcSubAreaPerimeters(CAcadDrawing& drawing)
{
    return zelkaOperation(__FILE__, "CBlockDWG::calcSubAreaPerimeters",
                          [&] { return sumHandleList(handlesToMinus_, drawing, ListSum::Perimeter); });
}

void CBlockDWG::copyInto(CBlockDWG& other) const
{
    zelkaOperation(__FILE__, "CBlockDWG::copyInto", [&] {
        other.blockReferenceId_ = blockReferenceId_;
        other.setHandle(getHandle());
        other.colourIndex_ = colourIndex_;
        other.lineWeight_ = lineWeight_;
        other.blockName_ = blockName_;
        other.xdataApplication_ = xdataApplication_;
        other.handlesToAdd_.insert(other.handlesToAdd_.end(), handlesToAdd_.begin(), handlesToAdd_.end());
        other.handlesToMinus_.insert(other.handlesToMinus_.end(), handlesToMinus_.begin(), handlesToMinus_.end());
        other.setArea(getArea());
        if (getAttributes()) {
            auto copy = std::make_unique<CAttributes>();
            getAttributes()->copyZelkaAttributesTo(*copy);
            copy->setAreaPosition(getAttributes()->getAreaPosition());
            other.setAttributes(std::move(copy));
        }
        if (getHatch())
            other.setHatch(getHatch()->clone());
        if (getHyperlinks()) {
            auto copy = std::make_unique<CHyperlinks>();
            getHyperlinks()->copyTo(*copy);
            other.setHyperlinks(std::move(copy));
        }
        if (getAssets()) {
            auto copy = std::make_unique<CAssets>();
            getAssets()->copyTo(*copy);
            other.setAssets(std::move(copy));
        }
    });
}

void CBlockDWG::copyFormatting(CBlockDWG& other) const
{
    zelkaOperation(__FILE__, "CBlockDWG::copyFormatting", [&] {
        other.setArea(getArea());
        if (const CAttributes* mine = getAttributes()) {
            if (!other.getAttributes())
                other.setAttributes(std::make_unique<CAttributes>());
            CAttributes* theirs = other.getAttributes();
            theirs->setTextHeight(mine->getTextHeight());
            theirs->setWidthFactor(mine->getWidthFactor());
            theirs->setRotation(mine->getRotation());
            // Each attribute's text (a category's replacement name, area or
            // aux text) goes to the target attribute of the same index, made
            // as a copy when the target has none; the target keeps its layer.
            for (int i = 0; i < mine->getCount(); ++i) {
                const CAttribute& item = mine->getAt(i);
                const auto* indexed = item.asZelkaAttribute();
                CAttribute* target = indexed ? theirs->getAtAttribute(indexed->getPosition())
                                             : theirs->getAtAttribute(item.getKey());
                if (target)
                    target->setText(item.getText());
                else
                    theirs->add(item.clone(), false);
            }
        }
        if (getHatch())
            other.setHatch(getHatch()->clone());
        if (getHyperlinks()) {
            auto copy = std::make_unique<CHyperlinks>();
            getHyperlinks()->copyTo(*copy);
            other.setHyperlinks(std::move(copy));
        }
    });
}

