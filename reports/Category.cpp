#include "reports/Category.h"

#include "database/Assets.h"
#include "infra/Utilities.h"
#include "infra/XMLUtilities.h"
#include "infra/ZelkaExceptions.h"
#include "reports/Hatch.h"

pugi::xml_node CCategory::serialize(pugi::xml_node parent, const std::string& namespaceURI) const
{
    return zelkaOperation(__FILE__, "CCategory::serialize", [&] {
        CXMLUtilities xml;
        CUtilities utilities;
        pugi::xml_node element = xml.createNode(parent, "category", namespaceURI);
        xml.createNode(element, "cID", namespaceURI, utilities.LongToCString(id_));
        xml.createNode(element, "cTitle", namespaceURI, title_);
        if (hatch_) {
            xml.createNode(element, "cHatchPattern", namespaceURI, hatch_->getPatternName());
            xml.createNode(element, "cHatchColour", namespaceURI, utilities.acadColourToHash(hatch_->getColour()));
            xml.createNode(element, "cHatchScale", namespaceURI, utilities.IntToCString(hatch_->getScale()));
            xml.createNode(element, "cHatchAngle", namespaceURI, utilities.IntToCString(hatch_->getAngle()));
            xml.createNode(element, "cHatchLayer", namespaceURI, hatch_->getLayer());
        }
        if (blocks_) blocks_->serialize(element, namespaceURI);
        if (assets_) assets_->serialize(element, namespaceURI);
        return element;
    });
}

CHatch& CCategory::hatchForReading()
{
    if (!hatch_) hatch_ = std::make_unique<CHatch>();
    return *hatch_;
}

void CCategory::deSerialize(pugi::xml_node element)
{
    zelkaOperation(__FILE__, "CCategory::deSerialize", [&] {
        CUtilities utilities;
        for (pugi::xml_node child : element.children()) {
            if (child.type() != pugi::node_element) continue;
            const std::string name = CXMLUtilities::localName(child);
            const std::string text = CXMLUtilities::getText(child);
            if (name == "cID") {
                id_ = utilities.CStringToLong(text);
            } else if (name == "cTitle") {
                title_ = text;
            } else if (name == "cHatchPattern") {
                hatchForReading().setPatternName(text);
            } else if (name == "cHatchColour") {
                AcCmColor colour;
                utilities.hashToAcadColour(text, colour);
                hatchForReading().setColour(colour);
            } else if (name == "cHatchScale") {
                hatchForReading().setScale(utilities.CStringToInt(text));
            } else if (name == "cHatchAngle") {
                hatchForReading().setAngle(utilities.CStringToInt(text));
            } else if (name == "cHatchLayer") {
                hatchForReading().setLayer(text);
            } else if (name == "zelkaBlocks") {
                blocks_ = std::make_unique<CBlocks>();
                blocks_->deSerialize(child);
            } else if (name == "assets") {
                assets_ = std::make_unique<CAssets>();
                assets_->deSerialize(child);
            }
        }
        // Every block record carries the category's hatch, whatever order
        // the elements came in: applying the report hatches with it.
        if (hatch_ && blocks_)
            for (int i = 0; i < blocks_->size(); ++i) blocks_->getAt(i).setHatch(hatch_->clone());
    });
}

void CCategories::add(std::unique_ptr<CCategory> category)
{
    zelkaOperation(__FILE__, "CCategories::add", [&] {
        if (category) items_.push_back(std::move(category));
    });
}

CCategory& CCategories::getAt(int index) const
{
    return zelkaOperation(__FILE__, "CCategories::getAt",
                          [&]() -> CCategory& { return *items_.at(static_cast<size_t>(index)); });
}

pugi::xml_node CCategories::serialize(pugi::xml_node parent, const std::string& namespaceURI) const
{
    return zelkaOperation(__FILE__, "CCategories::serialize", [&] {
        pugi::xml_node element = CXMLUtilities().createNode(parent, "categories", namespaceURI);
        for (const auto& category : items_) category->serialize(element, namespaceURI);
        return element;
    });
}

void CCategories::deSerialize(pugi::xml_node element)
{
    zelkaOperation(__FILE__, "CCategories::deSerialize", [&] {
        for (pugi::xml_node child : element.children()) {
            if (child.type() != pugi::node_element || CXMLUtilities::localName(child) != "category") continue;
            auto category = std::make_unique<CCategory>();
            category->deSerialize(child);
            add(std::move(category));
        }
    });
}
