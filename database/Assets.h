#pragma once
// Assets: block references (furniture, equipment) standing in a location and
// recorded in the property database. CAsset holds one, CAssets the ordered
// list of one location or one report category and owns its assets. This file
// holds the data and the XML form of a graphic report; drawing, database and
// export operations arrive with those sides.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "database/Hyperlinks.h"
#include "reports/Hatch.h"
#include "spaces/Attributes.h"

class CAsset {
public:
    CAsset() = default;
    CAsset(const CAsset&) = delete;
    CAsset& operator=(const CAsset&) = delete;
    ~CAsset() = default;

    // The block reference's handle as hexadecimal text.
    const std::string& getHandle() const { return handle_; }
    void setHandle(const std::string& handle) { handle_ = handle; }
    int32_t getLocationID() const { return locationID_; }
    void setLocationID(int32_t id) { locationID_ = id; }
    int32_t getDrawingID() const { return drawingID_; }
    void setDrawingID(int32_t id) { drawingID_ = id; }
    const std::string& getAcadBlockIdentifier() const { return acadBlockIdentifier_; }
    void setAcadBlockIdentifier(const std::string& text) { acadBlockIdentifier_ = text; }
    const std::string& getAcadBlockDescription() const { return acadBlockDescription_; }
    void setAcadBlockDescription(const std::string& text) { acadBlockDescription_ = text; }
    const std::string& getUniqueDescription() const { return uniqueDescription_; }
    void setUniqueDescription(const std::string& text) { uniqueDescription_ = text; }
    double getPointX() const { return pointX_; }
    void setPointX(double x) { pointX_ = x; }
    double getPointY() const { return pointY_; }
    void setPointY(double y) { pointY_ = y; }
    int32_t getAssetExistsInLocation() const { return assetExistsInLocation_; }
    void setAssetExistsInLocation(int32_t flag) { assetExistsInLocation_ = flag; }

    // Owned parts; null when absent. The setters take ownership.
    CAttributes* getAttributes() const { return attributes_.get(); }
    void setAttributes(std::unique_ptr<CAttributes> attributes) { attributes_ = std::move(attributes); }
    CHyperlinks* getHyperlinks() const { return hyperlinks_.get(); }
    void setHyperlinks(std::unique_ptr<CHyperlinks> hyperlinks) { hyperlinks_ = std::move(hyperlinks); }
    CHatch* getHatch() const { return hatch_.get(); }
    void setHatch(std::unique_ptr<CHatch> hatch) { hatch_ = std::move(hatch); }

    // A deep copy: every field, and new hatch, hyperlinks and attributes.
    std::unique_ptr<CAsset> copyTo() const;

    // Appends "asset" with its seven children (points with 5 decimals).
    // Returns the new element; wraps DOM failures (CAsset::serialize).
    pugi::xml_node serialize(pugi::xml_node parent, const std::string& namespaceURI) const;
    // Reads an "asset" element: locationID as an integer, the points as
    // doubles; missing children leave their fields; unknown ones are ignored.
    void deSerialize(pugi::xml_node element);

private:
    std::string handle_;
    int32_t locationID_ = 0;
    int32_t drawingID_ = 0;
    std::string acadBlockIdentifier_;
    std::string acadBlockDescription_;
    std::string uniqueDescription_;
    double pointX_ = 0.0;
    double pointY_ = 0.0;
    int32_t assetExistsInLocation_ = 0;
    std::unique_ptr<CAttributes> attributes_;
    std::unique_ptr<CHyperlinks> hyperlinks_;
    std::unique_ptr<CHatch> hatch_;
};

class CAssets {
public:
    CAssets() = default;
    CAssets(const CAssets&) = delete;
    CAssets& operator=(const CAssets&) = delete;
    virtual ~CAssets() { deleteObjects(); }

    // Appends the asset and takes ownership.
    void add(std::unique_ptr<CAsset> asset);
    int getCount() const { return static_cast<int>(items_.size()); }
    // The asset at index; throws a CEXUnhandled chain for an index out of range.
    CAsset& getAt(int index) const;
    // The first asset whose handle text equals the argument exactly, or null.
    CAsset* getAtAsset(const std::string& handle) const;
    // Appends a deep copy of every asset to other.
    void copyTo(CAssets& other) const;
    // Frees every asset and empties the list.
    void deleteObjects() { items_.clear(); }

    // Appends "assets" and one "asset" per asset, in order. Returns the container.
    pugi::xml_node serialize(pugi::xml_node parent, const std::string& namespaceURI) const;
    // Appends one asset per "asset" child of the element.
    void deSerialize(pugi::xml_node element);

private:
    std::vector<std::unique_ptr<CAsset>> items_;
};
