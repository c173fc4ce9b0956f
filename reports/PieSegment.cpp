#include "reports/PieSegment.h"

#include <cmath>
#include <memory>

#include "config/PreferencesDocMon.h"
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbAttributeDefinition.h"
#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbHatch.h"
#include "host/db/AcDbLine.h"
#include "host/db/AcDbPolyline.h"
#include "infra/Log.h"
#include "infra/Utilities.h"
#include "infra/ZelkaExceptions.h"
#include "reports/Hatch.h"
#include "reports/Layers.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// Appends an entity to the open record; the record owns it after.
void appendTo(AcDbBlockTableRecord* record, AcDbEntity* entity)
{
    std::unique_ptr<AcDbEntity> owned(entity);
    Acad::ErrorStatus es = record->appendAcDbEntity(owned.get());
    if (es != Acad::eOk) raiseHostStatus(es, __LINE__);
    owned.release()->close();
}

}  // namespace

CPieSegment::CPieSegment(std::string title, const CHatch* hatch, double area, int32_t precision, std::string units)
    : title_(std::move(title)), hatch_(hatch), area_(area), precision_(precision), units_(std::move(units))
{
}

AcDbPolyline* CPieSegment::createSegment(double sweep, const CPieLayout& layout) const
{
    const double r = layout.radius;
    auto outline = std::make_unique<AcDbPolyline>();
    if (sweep == 2 * kPi) {
        // The whole total: a full circle of two half arcs.
        const double bulge = -std::tan(sweep * 0.5 * 0.25);
        outline->addVertexAt(0, AcGePoint2d(0, r), bulge);
        outline->addVertexAt(1, AcGePoint2d(0, -r), bulge);
        outline->addVertexAt(2, AcGePoint2d(0, r), 0.0);
    } else {
        outline->addVertexAt(0, AcGePoint2d(0, 0), 0.0);
        outline->addVertexAt(1, AcGePoint2d(0, r), -std::tan(sweep * 0.25));
        outline->addVertexAt(2, AcGePoint2d(r * std::sin(sweep), r * std::cos(sweep)), 0.0);
        outline->addVertexAt(3, AcGePoint2d(0, 0), 0.0);
    }
    outline->setClosed(true);
    outline->setNormal(layout.normal);
    if (hatch_) outline->setColor(hatch_->getColour());
    return outline.release();
}

void CPieSegment::addSegmentToBlock(CAcadDrawing& drawing, AcDbBlockTableRecord* record, double start,
                                    const CPieLayout& layout)
{
    zelkaOperation(__FILE__, "CPieSegment::addSegmentToBlock", [&] {
        const double sweep = area_ / layout.total * 360.0 / 180.0 * kPi;
        const double startAngle = start / layout.total * 360.0 / 180.0 * kPi;
        std::unique_ptr<AcDbPolyline> outline(createSegment(sweep, layout));
        outline->transformBy(AcGeMatrix3d::rotation(-startAngle, layout.normal));
        const double mid = sweep * 0.5 + startAngle;
        outline->transformBy(AcGeMatrix3d::translation(
            AcGeVector3d(std::sin(mid) * layout.xyOffset, std::cos(mid) * layout.xyOffset, 0)));
        std::string layer = "0";
        if (hatch_) {
            CLayers::ensureLayerExists(drawing, hatch_->getLayer(), hatch_->getColour());
            layer = CLayer::validateLayerName(hatch_->getLayer());
        }
        outline->setLayer(layer.c_str());
        // The hatch goes in first, so that it lies beneath its outline.
        CZelkaExceptions errors;
        hatchSegment(record, *outline, layer, layout, errors);
        appendTo(record, outline.release());
        if (errors.size() > 0) {
            errors.printAll();
            CLog::logAndReport(errors, CPreferencesDocMon::moduleSettings().errorLogPaths());
        }
        if (layout.showLabels) {
            const double labelRadius = 1.25 * layout.radius;
            if (layout.showLabelLines) addSegmentLine(record, mid, labelRadius, layer, layout);
            addSegmentLabel(record, mid, labelRadius, layer, layout);
        }
    });
}

void CPieSegment::hatchSegment(AcDbBlockTableRecord* record, const AcDbPolyline& outline, const std::string& layer,
                               const CPieLayout& layout, CZelkaExceptions& errors) const
{
    zelkaOperation(__FILE__, "CPieSegment::hatchSegment", [&] {
        if (!hatch_) return;
        auto problem = [&](const std::string& message) {
            errors.add(CEXCustom(ZELKA_MODULE_TITLE, __FILE__, "CPieSegment::hatchSegment", message, 0, nullptr));
        };
        Acad::ErrorStatus status = Acad::eOk;
        std::unique_ptr<AcDbHatch> hatch = hatch_->makeHatchEntity(layout.normal, true, status);
        if (status != Acad::eOk) {
            problem("Unable to hatch piechart segment " + title_ + ": the host does not know the pattern \"" +
                    hatch_->getPatternName() + "\".");
            return;
        }
        hatch->setLayer(layer.c_str());
        if (CHatch::appendPolylineLoop(*hatch, AcDbHatch::kOutermost, outline) != Acad::eOk) {
            problem("Unable to hatch Zelka Block: Segment. Handle: " + title_ + ". Please check the polyline is closed.");
            return;
        }
        status = hatch->evaluateHatch();
        const std::string density = hatch_->densityMessage("piechart segment " + title_, status);
        if (!density.empty())
            problem(density);
        else if (status != Acad::eOk)
            raiseHostStatus(status, __LINE__);
        appendTo(record, hatch.release());
    });
}

void CPieSegment::addSegmentLine(AcDbBlockTableRecord* record, double mid, double labelRadius,
                                 const std::string& layer, const CPieLayout& layout) const
{
    zelkaOperation(__FILE__, "CPieSegment::addSegmentLine", [&] {
        const double offset = layout.xyOffset;
        const double far = 0.95 * labelRadius + offset;
        auto line = std::make_unique<AcDbLine>(AcGePoint3d(std::sin(mid) * offset, std::cos(mid) * offset, 0),
                                               AcGePoint3d(std::sin(mid) * far, std::cos(mid) * far, 0));
        if (hatch_) line->setColor(hatch_->getColour());
        line->setLayer(layer.c_str());
        appendTo(record, line.release());
    });
}

void CPieSegment::addSegmentLabel(AcDbBlockTableRecord* record, double mid, double labelRadius,
                                  const std::string& layer, const CPieLayout& layout)
{
    zelkaOperation(__FILE__, "CPieSegment::addSegmentLabel", [&] {
        const double d = labelRadius + layout.xyOffset;
        const AcGePoint3d p(std::sin(mid) * d, std::cos(mid) * d, 0);
        title_ += " (" + CUtilities().DoubleToCString(area_, precision_) + " " + units_ + ")";
        auto label = std::make_unique<AcDbAttributeDefinition>(p, title_.c_str(), title_.c_str(), title_.c_str());
        label->setColorIndex(256);
        label->setHeight(layout.textSize);
        label->setNormal(layout.normal);
        label->setHorizontalMode(p.x > 0 ? AcDb::kTextLeft : (p.x == 0 ? AcDb::kTextCenter : AcDb::kTextRight));
        const double half = layout.radius * 0.5;
        label->setVerticalMode(p.y > half ? AcDb::kTextBottom : (p.y == half ? AcDb::kTextVertMid : AcDb::kTextTop));
        label->setAlignmentPoint(p);
        label->setConstant(true);
        label->setFieldLength(25);
        label->setLayer(layer.c_str());
        appendTo(record, label.release());
    });
}
