#include "reports/PieChart.h"

#include <cmath>

#include "host/db/AcDbEntity.h"
#include "host/db/AcDbAttributeDefinition.h"
#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbObjectPointer.h"
#include "infra/Utilities.h"
#include "infra/ZelkaExceptions.h"
#include "module/AcadDrawing.h"
#include "module/AcadDrawingLock.h"
#include "reports/GraphicReport.h"
#include "reports/ReportBlockDefinition.h"
#include "spaces/BlockDWG.h"

namespace {

// A constant attribute definition centred at the point (title and footer).
AcDbAttributeDefinition* centredText(const AcGePoint3d& at, const std::string& text, const std::string& tag,
                                     double height, const AcGeVector3d& normal)
{
    auto definition = std::make_unique<AcDbAttributeDefinition>(at, text.c_str(), tag.c_str(), tag.c_str());
    definition->setColorIndex(256);
    definition->setHeight(height);
    definition->setNormal(normal);
    definition->setHorizontalMode(AcDb::kTextCenter);
    definition->setVerticalMode(AcDb::kTextTop);
    definition->setAlignmentPoint(at);
    definition->setConstant(true);
    definition->setFieldLength(25);
    return definition.release();
}

void appendTo(AcDbBlockTableRecord* record, AcDbEntity* entity)
{
    std::unique_ptr<AcDbEntity> owned(entity);
    Acad::ErrorStatus es = record->appendAcDbEntity(owned.get());
    if (es != Acad::eOk) raiseHostStatus(es, __LINE__);
    owned.release()->close();
}

}  // namespace

std::string CPieChart::pieBlockName(const std::string& reportTitle)
{
    return CUtilities().replaceInvalidCharacters("[ZELKA_PIECHART]_" + reportTitle, "_");
}

CPieChart::CPieChart(CAcadDrawing& drawing, const CGraphicReport& report, double radius, double xyOffset,
                     double textSize, int32_t precision, const std::string& units, bool ignoreEmptySegments,
                     bool showLabels, bool showLabelSegmentLines, double rotation, const AcGePoint3d* insertionPoint,
                     bool fullProduct)
    : drawing_(drawing)
{
    zelkaOperation(__FILE__, "CPieChart::CPieChart", [&] {
        rotation_ = rotation;
        const CCategories* categories = report.getCategories();
        if (!categories || !(report.getTotalChildAreas() > 0.0)) return;
        blockName_ = pieBlockName(report.getTitle());
        title_ = report.getTitle();
        layout_.total = report.getTotalChildAreas();
        layout_.textSize = textSize;
        layout_.radius = radius;
        layout_.xyOffset = xyOffset;
        layout_.showLabels = showLabels;
        layout_.showLabelLines = showLabelSegmentLines;
        precision_ = precision;
        units_ = units;
        ignoreEmpty_ = ignoreEmptySegments;
        segments_ = std::make_unique<CPieSegments>();
        for (int i = 0; i < categories->getCount(); ++i) {
            const CCategory& category = categories->getAt(i);
            double area = 0.0;
            if (const CBlocks* blocks = category.getBlocks())
                for (int j = 0; j < blocks->size(); ++j) area += blocks->getAt(j).getArea();
            if (area == 0.0 && ignoreEmpty_) continue;
            segments_->add(std::make_unique<CPieSegment>(category.getTitle(), category.getHatch(), area, precision,
                                                         units));
        }
        blockId_ = createPieChartBlockDefinition();
        if (!insertionPoint || !fullProduct || blockId_.isNull()) return;
        auto reference = std::make_unique<AcDbBlockReference>(*insertionPoint, blockId_);
        reference->setRotation(rotation_);
        const AcGeMatrix3d ucs = CBlockDWG::currentUcsMatrix(drawing_);
        reference->transformBy(ucs);
        reference->setNormal((ucs * AcGeVector3d(0, 0, 1)).normal());
        AcDbBlockReference* posted = reference.release();
        drawing_.postToDrawing(posted);
        referenceId_ = posted->objectId();
    });
}

AcDbObjectId CPieChart::createPieChartBlockDefinition()
{
    return zelkaOperation(__FILE__, "CPieChart::createPieChartBlockDefinition", [&] {
        if (!segments_ || segments_->getCount() == 0) return AcDbObjectId::kNull;
        if (std::floor(segments_->getTotal()) > std::floor(layout_.total)) {
            CUtilities util;
            throw CEXCustom(ZELKA_MODULE_TITLE, __FILE__, "CPieChart::createPieChartBlockDefinition",
                            "Unable to calculate pie chart percentages the total segment area (" +
                                util.DoubleToCString(segments_->getTotal(), 2) +
                                ") is greater than the specified total area (" +
                                util.DoubleToCString(layout_.total, 2) + ").",
                            0, nullptr);
        }
        CAcadDrawingLock lock(drawing_);
        if (!lock.isLocked()) return AcDbObjectId::kNull;
        layout_.normal = (CBlockDWG::currentUcsMatrix(drawing_) * AcGeVector3d(0, 0, 1)).normal();
        CReportBlockDefinition pie(drawing_.getDatabase(), blockName_);
        AcDbObjectPointer<AcDbBlockTableRecord> record(pie.id(), AcDb::kForWrite);
        if (!record) raiseHostStatus(record.openStatus(), __LINE__, drawing_.getFullPath());
        segments_->addSegmentsToBlock(drawing_, record.object(), layout_, ignoreEmpty_);
        addTitleToPieChart(record.object());
        addFooterToPieChart(record.object());
        record.close();
        pie.keep();
        return pie.id();
    });
}

void CPieChart::addTitleToPieChart(AcDbBlockTableRecord* record)
{
    zelkaOperation(__FILE__, "CPieChart::addTitleToPieChart", [&] {
        const AcGePoint3d at(0, 1.5 * layout_.radius + layout_.textSize, 0);
        appendTo(record, centredText(at, title_, title_, layout_.textSize, layout_.normal));
    });
}

void CPieChart::addFooterToPieChart(AcDbBlockTableRecord* record)
{
    zelkaOperation(__FILE__, "CPieChart::addFooterToPieChart", [&] {
        const AcGePoint3d at(0, layout_.textSize - 1.5 * layout_.radius, 0);
        const std::string text = layout_.total == 0.0
                                     ? "total unspecified or zero"
                                     : "Total: " + CUtilities().DoubleToCString(layout_.total, precision_) + units_;
        appendTo(record, centredText(at, text, title_, layout_.textSize, layout_.normal));
    });
}
