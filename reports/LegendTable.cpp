#include "reports/LegendTable.h"

#include <algorithm>
#include <memory>
#include <set>

#include "host/db/AcDbEntity.h"
#include "host/db/AcDbAttributeDefinition.h"
#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDictionary.h"
#include "host/db/AcDbHatch.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbPolyline.h"
#include "host/db/AcDbTable.h"
#include "host/ed/acutPrintf.h"
#include "infra/Utilities.h"
#include "infra/ZelkaExceptions.h"
#include "module/AcadDrawing.h"
#include "module/AcadDrawingLock.h"
#include "reports/GraphicReport.h"
#include "reports/Layers.h"
#include "reports/ReportBlockDefinition.h"
#include "spaces/BlockDWG.h"

namespace {

// Every backslash doubled: the table reads a single one as a format code.
std::string doubleBackslashes(const std::string& text)
{
    std::string result;
    for (char c : text) {
        result += c;
        if (c == '\\') result += '\\';
    }
    return result;
}

// Appends an entity to an open definition; the definition owns it after.
void appendTo(AcDbBlockTableRecord* definition, AcDbEntity* entity)
{
    std::unique_ptr<AcDbEntity> owned(entity);
    Acad::ErrorStatus es = definition->appendAcDbEntity(owned.get());
    if (es != Acad::eOk) raiseHostStatus(es, __LINE__);
    owned.release()->close();
}

}  // namespace

CLegendTable::CLegendTable(CAcadDrawing& drawing, double textHeight, int32_t precision, const std::string& units,
                           bool ignoreEmptyCategories, const CGraphicReport& report, double rotation,
                           const AcGePoint3d* insertionPoint, bool fullProduct)
    : drawing_(drawing), report_(report)
{
    zelkaOperation(__FILE__, "CLegendTable::CLegendTable", [&] {
        textHeight_ = textHeight;
        rotation_ = rotation;
        precision_ = precision;
        units_ = units;
        ignoreEmpty_ = ignoreEmptyCategories;
        blockName_ = legendBlockName(report.getTitle());
        if (insertionPoint && fullProduct)
            createLegend(*insertionPoint);
        else
            createLegendBlockDefinition();
    });
}

std::string CLegendTable::legendBlockName(const std::string& reportTitle)
{
    return CUtilities().replaceInvalidCharacters("[ZELKA_LEGEND]_" + reportTitle, "_");
}

std::string CLegendTable::swatchBlockName(const std::string& reportTitle, const std::string& categoryTitle)
{
    return CUtilities().replaceInvalidCharacters("[ZELKA_LEGEND_HATCH]_" + reportTitle + "_" + categoryTitle, "_");
}

double CLegendTable::calculateCategoryArea(const CCategory& category)
{
    return zelkaOperation(__FILE__, "CLegendTable::calculateCategoryArea", [&] {
        double area = 0.0;
        if (const CBlocks* blocks = category.getBlocks())
            for (int i = 0; i < blocks->size(); ++i) area += blocks->getAt(i).getArea();
        return area;
    });
}

void CLegendTable::createLegendBlockDefinition()
{
    zelkaOperation(__FILE__, "CLegendTable::createLegendBlockDefinition", [&] {
        normal_ = (CBlockDWG::currentUcsMatrix(drawing_) * AcGeVector3d(0, 0, 1)).normal();
        CAcadDrawingLock lock(drawing_);
        if (!lock.isLocked())
            raiseHostStatus(static_cast<Acad::ErrorStatus>(lock.status()), __LINE__, drawing_.getFullPath());
        CReportBlockDefinition legend(drawing_.getDatabase(), blockName_);
        std::unique_ptr<AcDbTable> table(createLegendTableEntity());
        AcDbObjectPointer<AcDbBlockTableRecord> definition(legend.id(), AcDb::kForWrite);
        if (!definition) raiseHostStatus(definition.openStatus(), __LINE__, drawing_.getFullPath());
        appendTo(definition.object(), table.release());
        legend.keep();
        blockId_ = legend.id();
    });
}

AcDbTable* CLegendTable::createLegendTableEntity()
{
    return zelkaOperation(__FILE__, "CLegendTable::createLegendTableEntity", [&] {
        const double h = textHeight_;
        auto table = std::make_unique<AcDbTable>();
        AcDbDatabase* db = drawing_.getDatabase();
        AcDbObjectId styles = db ? db->tableStyleDictionaryId() : AcDbObjectId::kNull;
        if (!styles.isNull()) {
            AcDbObjectPointer<AcDbDictionary> dictionary(styles, AcDb::kForRead);
            AcDbObjectId standard;
            if (dictionary && dictionary->getAt("Standard", standard) == Acad::eOk) table->setTableStyle(standard);
        }
        table->setNumColumns(3);
        table->setNumRows(2);
        table->mergeCells(0, 0, 0, 2);
        table->setPosition(AcGePoint3d(0, 0, 0));
        table->setTextString(0, 0, report_.getTitle().c_str());
        const std::string headings[3] = {"Description", "Hatch", "Area " + units_};
        size_t widths[3];
        for (int c = 0; c < 3; ++c) {
            table->setTextString(1, c, headings[c].c_str());
            widths[c] = headings[c].size() + 1;
        }
        // Swatch names are made unique within the legend: two categories of
        // the same title would otherwise draw into one swatch.
        std::set<std::string> swatchNames;
        int row = 2;
        const CCategories* categories = report_.getCategories();
        for (int i = 0; categories && i < categories->getCount(); ++i) {
            const CCategory& category = categories->getAt(i);
            const double area = calculateCategoryArea(category);
            const std::string areaText = CUtilities().DoubleToCString(area, precision_);
            if (area == 0.0 && ignoreEmpty_) continue;
            table->insertRows(row, 1.5 * h);
            table->setTextString(row, 2, areaText.c_str());
            const std::string title = doubleBackslashes(category.getTitle());
            table->setTextString(row, 0, title.c_str());
            widths[0] = std::max(widths[0], title.size() + 1);
            widths[2] = std::max(widths[2], areaText.size() + 1);
            std::string name = swatchBlockName(report_.getTitle(), category.getTitle());
            for (int n = 2; swatchNames.count(name); ++n)
                name = swatchBlockName(report_.getTitle(), category.getTitle()) + "_" + std::to_string(n);
            swatchNames.insert(name);
            AcDbObjectId swatch = createHatchPattern(category, name);
            if (!swatch.isNull()) table->setBlockTableRecordId(row, 1, swatch, false);
            ++row;
        }
        for (int c = 0; c < 3; ++c) table->setColumnWidth(c, static_cast<double>(widths[c]) * h);
        table->setRowHeight(1.5 * h);
        table->setTextHeight(h, AcDb::kAllRowTypes);
        table->setAlignment(AcDb::kMiddleCenter, AcDb::kAllRowTypes);
        return table.release();
    });
}

AcDbObjectId CLegendTable::createHatchPattern(const CCategory& category, const std::string& name)
{
    return zelkaOperation(__FILE__, "CLegendTable::createHatchPattern", [&] {
        const CHatch* style = category.getHatch();
        if (!style) return AcDbObjectId::kNull;
        const double h = textHeight_;
        std::unique_ptr<CReportBlockDefinition> swatch;
        try {
            swatch = std::make_unique<CReportBlockDefinition>(drawing_.getDatabase(), name);
        } catch (const CEXZelka& e) {
            throw CEXCustom(ZELKA_MODULE_TITLE, __FILE__, "CLegendTable::createHatchPattern",
                            "Invalid Block Name - '" + name + "' - from Graphic Report and Category Names", 0,
                            e.clone());
        }
        auto outline = std::make_unique<AcDbPolyline>();
        const double corners[5][2] = {{0, 0}, {0, 2 * h}, {3 * h, 2 * h}, {3 * h, 0}, {0, 0}};
        for (unsigned v = 0; v < 5; ++v) outline->addVertexAt(v, AcGePoint2d(corners[v][0], corners[v][1]), 0.0);
        outline->setClosed(true);
        outline->setColor(style->getColour());
        CLayers::ensureLayerExists(drawing_, style->getLayer(), style->getColour());
        const std::string layer = CLayer::validateLayerName(style->getLayer());
        outline->setLayer(layer.c_str());

        Acad::ErrorStatus patternStatus = Acad::eOk;
        std::unique_ptr<AcDbHatch> hatch = style->makeHatchEntity(normal_, true, patternStatus);
        Acad::ErrorStatus es = patternStatus;
        if (es == Acad::eOk) {
            hatch->setLayer(layer.c_str());
            es = CHatch::appendPolylineLoop(*hatch, AcDbHatch::kOutermost, *outline);
        }
        if (es == Acad::eOk) es = hatch->evaluateHatch();

        AcDbObjectPointer<AcDbBlockTableRecord> definition(swatch->id(), AcDb::kForWrite);
        if (!definition) raiseHostStatus(definition.openStatus(), __LINE__, drawing_.getFullPath());
        appendTo(definition.object(), outline.release());
        // A pattern the host does not know leaves the swatch an empty frame
        // (applying the report has said so).
        if (patternStatus == Acad::eOk && es == Acad::eOk) {
            appendTo(definition.object(), hatch.release());
        } else if (patternStatus == Acad::eOk && (es == Acad::eHatchTooDense || es == Acad::eAmbiguousOutput)) {
            const char* mark = es == Acad::eHatchTooDense ? "<!" : ">!";
            auto text = std::make_unique<AcDbAttributeDefinition>(AcGePoint3d(0, 0, 0), mark, mark, mark);
            text->setHeight(h);
            text->setNormal(normal_);
            text->setFieldLength(25);
            text->setConstant(true);
            appendTo(definition.object(), text.release());
        } else if (patternStatus == Acad::eOk) {
            raiseHostStatus(es, __LINE__, drawing_.getFullPath());
        }
        definition.close();
        swatch->keep();
        return swatch->id();
    });
}

void CLegendTable::createLegend(const AcGePoint3d& insertionPoint)
{
    zelkaOperation(__FILE__, "CLegendTable::createLegend", [&] {
        createLegendBlockDefinition();
        auto reference = std::make_unique<AcDbBlockReference>(insertionPoint, blockId_);
        reference->setRotation(rotation_);
        const AcGeMatrix3d ucs = CBlockDWG::currentUcsMatrix(drawing_);
        reference->transformBy(ucs);
        reference->setNormal((ucs * AcGeVector3d(0, 0, 1)).normal());
        AcDbBlockReference* posted = reference.release();
        drawing_.postToDrawing(posted);
        referenceId_ = posted->objectId();
    });
}
