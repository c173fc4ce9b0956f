#include "database/Assets.h"

#include "database/Hyperlinks.h"
#include "infra/Utilities.h"
#include "infra/XMLUtilities.h"
#include "infra/ZelkaExceptions.h"
#include "spaces/Attributes.h"

std::unique_ptr<CAsset> CAsset::copyTo() const
{
    return zelkaOperation(__FILE__, "CAsset::copyTo", [&] {
        auto copy = std::make_unique<CAsset>();
        copy->objectId_ = objectId_;
        copy->handle_ = handle_;
        copy->locationID_ = locationID_;
        copy->drawingID_ = drawingID_;
        copy->acadBlockIdentifier_ = acadBlockIdentifier_;
        copy->acadBlockDescription_ = acadBlockDescription_;
        copy->uniqueDescription_ = uniqueDescription_;
        copy->pointX_ = pointX_;
        copy->pointY_ = pointY_;
        copy->assetExistsInLocation_ = assetExistsInLocation_;
        if (hatch_) copy->hatch_ = hatch_->clone();
        if (hyperlinks_) {
            copy->hyperlinks_ = std::make_unique<CHyperlinks>();
            hyperlinks_->copyTo(*copy->hyperlinks_);
        }
        if (attributes_) {
            copy->attributes_ = std::make_unique<CAttributes>();
            attributes_->copyAttributesTo(*copy->attributes_);
        }
        return copy;
    });
}

pugi::xml_node CAsset::serialize(pugi::xml_node parent, const std::string& namespaceURI) const
{
    return zelkaOperation(__FILE__, "CAsset::serialize", [&] {
        CXMLUtilities xml;
        CUtilities utilities;
        pugi::xml_node element = xml.createNode(parent, "asset", namespaceURI);
        xml.createNode(element, "locationID", namespaceURI, utilities.IntToCString(locationID_));
        xml.createNode(element, "handle", namespaceURI, handle_);
        xml.createNode(element, "blockIdentifier", namespaceURI, acadBlockIdentifier_);
        xml.createNode(element, "blockDescription", namespaceURI, acadBlockDescription_);
        xml.createNode(element, "uniqueDescription", namespaceURI, uniqueDescription_);
        xml.createNode(element, "pointX", namespaceURI, utilities.DoubleToCString(pointX_, 5));
        xml.createNode(element, "pointY", namespaceURI, utilities.DoubleToCString(pointY_, 5));
        return element;
    });
}

void CAsset::deSerialize(pugi::xml_node element)
{
    zelkaOperation(__FILE__, "CAsset::deSerialize", [&] {
        CUtilities utilities;
        for (pugi::xml_node child : element.children()) {
            if (child.type() != pugi::node_element) continue;
            const std::string name = CXMLUtilities::localName(child);
            const std::string text = CXMLUtilities::getText(child);
            if (name == "locationID")
                locationID_ = utilities.CStringToInt(text);
            else if (name == "handle")
                handle_ = text;
            else if (name == "blockIdentifier")
                acadBlockIdentifier_ = text;
            else if (name == "blockDescription")
                acadBlockDescription_ = text;
            else if (name == "uniqueDescription")
                uniqueDescription_ = text;
            else if (name == "pointX")
                pointX_ = utilities.CStringToDouble(text);
            else if (name == "pointY")
                pointY_ = utilities.CStringToDouble(text);
        }
    });
}

void CAssets::add(std::unique_ptr<CAsset> asset)
{
    zelkaOperation(__FILE__, "CAssets::add", [&] {
        if (asset) items_.push_back(std::move(asset));
    });
}

CAsset& CAssets::getAt(int index) const
{
    return zelkaOperation(__FILE__, "CAssets::getAt",
                          [&]() -> CAsset& { return *items_.at(static_cast<size_t>(index)); });
}

CAsset* CAssets::getAtAsset(const std::string& handle) const
{
    return zelkaOperation(__FILE__, "CAssets::getAtAsset", [&]() -> CAsset* {
        for (const auto& asset : items_)
            if (asset->getHandle() == handle) return asset.get();
        return nullptr;
    });
}

void CAssets::copyTo(CAssets& other) const
{
    zelkaOperation(__FILE__, "CAssets::copyTo", [&] {
        for (const auto& asset : items_) other.add(asset->copyTo());
    });
}

pugi::xml_node CAssets::serialize(pugi::xml_node parent, const std::string& namespaceURI) const
{
    return zelkaOperation(__FILE__, "CAssets::serialize", [&] {
        pugi::xml_node element = CXMLUtilities().createNode(parent, "assets", namespaceURI);
        for (const auto& asset : items_) asset->serialize(element, namespaceURI);
        return element;
    });
}

void CAssets::deSerialize(pugi::xml_node element)
{
    zelkaOperation(__FILE__, "CAssets::deSerialize", [&] {
        for (pugi::xml_node child : element.children()) {
            if (child.type() != pugi::node_element || CXMLUtilities::localName(child) != "asset") continue;
            auto asset = std::make_unique<CAsset>();
            asset->deSerialize(child);
            add(std::move(asset));
        }
    });
}
