#include "reports/GraphicReport.h"

#include <charconv>
#include <cstdio>

#include "host/ed/acutPrintf.h"
#include "infra/Utilities.h"
#include "infra/XMLUtilities.h"
#include "infra/ZelkaExceptions.h"

namespace {

// The shortest text that reads back as the same double: the report's totals
// travel between programs and must not lose digits on the way.
std::string fullPrecision(double value)
{
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

}  // namespace

int32_t CGraphicReport::convertToPlotDeviceID(int32_t id) { return id >= 0 && id <= 3 ? id : 0; }

int32_t CGraphicReport::convertToPlotAreaTypeID(int32_t id) { return id >= 1 && id <= 5 ? id : 0; }

int32_t CGraphicReport::convertToMediaSizeID(int32_t id) { return id >= 1 && id <= 88 ? id : 0; }

int32_t CGraphicReport::convertToPlotScaleTypeID(int32_t id)
{
    if (id >= 1 && id <= 18) return id;
    if (id >= 19 && id <= 33) return id + 1;  // the host's scale value 19 is never produced
    return 0;
}

int32_t CGraphicReport::plotScaleTypeIDFromScale(int32_t scale)
{
    return scale >= 20 && scale <= 34 ? scale - 1 : scale;
}

pugi::xml_node CGraphicReport::serialize(pugi::xml_node parent, const std::string& namespaceURI) const
{
    return zelkaOperation(__FILE__, "CGraphicReport::serialize", [&] {
        pugi::xml_node root = CXMLUtilities().createNode(parent, "graphicReport", namespaceURI);
        writeFields(root, namespaceURI);
        return root;
    });
}

void CGraphicReport::writeFields(pugi::xml_node root, const std::string& namespaceURI) const
{
    CXMLUtilities xml;
    CUtilities utilities;
    xml.createNode(root, "grID", namespaceURI, utilities.IntToCString(id_));
    xml.createNode(root, "grTitle", namespaceURI, title_);
    xml.createNode(root, "grDrawingPath", namespaceURI, drawingPath_);
    xml.createNode(root, "grDrawingFilename", namespaceURI, drawingFilename_);
    xml.createNode(root, "grPlotTypeID", namespaceURI, utilities.IntToCString(plotDevice_));
    xml.createNode(root, "grPlotAreaTypeID", namespaceURI, utilities.IntToCString(plotAreaType_));
    xml.createNode(root, "grPlotMediaSizeID", namespaceURI, utilities.IntToCString(plotMediaSize_));
    // The document carries the scale id as the database stores it, so
    // that reading it through the id conversion gives this scale back.
    xml.createNode(root, "grPlotScaleTypeID", namespaceURI,
                   utilities.IntToCString(plotScaleTypeIDFromScale(plotScaleType_)));
    xml.createNode(root, "grPlotCentred", namespaceURI, utilities.BoolToCString(plotCentred_ != 0));
    if (!saveCopyTo_.empty()) xml.createNode(root, "grSaveCopyTo", namespaceURI, saveCopyTo_);
    if (!plotLayout_.empty()) xml.createNode(root, "grPlotLayout", namespaceURI, plotLayout_);
    xml.createNode(root, "grTotalChildAreas", namespaceURI, fullPrecision(totalChildAreas_));
    xml.createNode(root, "grPieXYOffset", namespaceURI, fullPrecision(pieXYOffset_));
    xml.createNode(root, "grPieIgnoreEmptySegments", namespaceURI,
                   utilities.BoolToCString(pieIgnoreEmptySegments_ != 0));
    xml.createNode(root, "grPieShowLabels", namespaceURI, utilities.BoolToCString(pieShowLabels_ != 0));
    xml.createNode(root, "grPieShowLabelSegmentLines", namespaceURI,
                   utilities.BoolToCString(pieShowLabelSegmentLines_ != 0));
    if (categories_) categories_->serialize(root, namespaceURI);
    if (layersOn_) layersOn_->serialize(root, namespaceURI);
}

void CGraphicReport::serialize(const std::string& path) const
{
    zelkaOperation(__FILE__, "CGraphicReport::serialize", [&] {
        std::remove(path.c_str());
        CXMLUtilities xml;
        pugi::xml_document document;
        // A report names no stylesheet: browsers show it as an XML tree.
        pugi::xml_node root = xml.makeFramedDocument(document, "", "graphicReport", ZELKA_DOCMON_NAMESPACE);
        writeFields(root, ZELKA_DOCMON_NAMESPACE);
        xml.saveXMLDocument(document, path);
    });
}

void CGraphicReport::deSerialize(pugi::xml_node element)
{
    zelkaOperation(__FILE__, "CGraphicReport::deSerialize", [&] {
        CUtilities utilities;
        for (pugi::xml_node child : element.children()) {
            if (child.type() != pugi::node_element) continue;
            const std::string name = CXMLUtilities::localName(child);
            const std::string text = CXMLUtilities::getText(child);
            if (name == "grID")
                id_ = utilities.CStringToInt(text);
            else if (name == "grTitle")
                title_ = text;
            else if (name == "grDrawingPath")
                drawingPath_ = text;
            else if (name == "grDrawingFilename")
                drawingFilename_ = text;
            else if (name == "grPlotTypeID")
                plotDevice_ = convertToPlotDeviceID(utilities.CStringToInt(text));
            else if (name == "grPlotAreaTypeID")
                plotAreaType_ = convertToPlotAreaTypeID(utilities.CStringToInt(text));
            else if (name == "grPlotMediaSizeID")
                plotMediaSize_ = convertToMediaSizeID(utilities.CStringToInt(text));
            else if (name == "grPlotScaleTypeID")
                plotScaleType_ = convertToPlotScaleTypeID(utilities.CStringToInt(text));
            else if (name == "grPlotCentred")
                plotCentred_ = CXMLUtilities::readBoolean(text);
            else if (name == "grSaveCopyTo")
                saveCopyTo_ = text;
            else if (name == "grPlotLayout")
                plotLayout_ = text;
            else if (name == "grTotalChildAreas")
                totalChildAreas_ = utilities.CStringToDouble(text);
            else if (name == "grPieXYOffset")
                pieXYOffset_ = utilities.CStringToDouble(text);
            else if (name == "grPieIgnoreEmptySegments")
                pieIgnoreEmptySegments_ = CXMLUtilities::readBoolean(text);
            else if (name == "grPieShowLabels")
                pieShowLabels_ = CXMLUtilities::readBoolean(text);
            else if (name == "grPieShowLabelSegmentLines")
                pieShowLabelSegmentLines_ = CXMLUtilities::readBoolean(text);
            else if (name == "categories") {
                categories_ = std::make_unique<CCategories>();
                categories_->deSerialize(child);
            } else if (name == "layersOn") {
                layersOn_ = std::make_unique<CLayers>();
                layersOn_->deSerialize(child);
            }
        }
    });
}

bool CGraphicReport::deSerialize(const std::string& path)
{
    return zelkaOperation(__FILE__, "CGraphicReport::deSerialize", [&] {
        CXMLUtilities xml;
        pugi::xml_document document;
        CXMLLoadResult loaded = xml.loadXMLDocument(document, path);
        if (!loaded.ok) {
            acutPrintf("Unable to read graphic report %s: %s\n", path.c_str(), loaded.describe().c_str());
            return false;
        }
        pugi::xml_node root = CXMLUtilities::rootElement(document);
        if (CXMLUtilities::localName(root) != "graphicReport") {
            acutPrintf("Unable to read graphic report %s: the root element is \"%s\", not \"graphicReport\"\n",
                       path.c_str(), root.name());
            return false;
        }
        deSerialize(root);
        return true;
    });
}
