#pragma once
// A graphic report category (one legend row): a title, a hatch style, and
// the space blocks and assets that take that style (CCategory); and the
// report's ordered list of categories, which owns them (CCategories).
// This file holds the data and its XML form; database loads arrive with the
// database side. The hatch style is drawn by CBlockDWG::hatchBlock and
// CAsset::hatchAsset.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "database/Assets.h"
#include "reports/Hatch.h"
#include "spaces/Blocks.h"

class CCategory {
public:
    CCategory() = default;
    CCategory(const CCategory&) = delete;
    CCategory& operator=(const CCategory&) = delete;

    int32_t getID() const { return id_; }
    void setID(int32_t id) { id_ = id; }
    const std::string& getTitle() const { return title_; }
    void setTitle(const std::string& title) { title_ = title; }

    // Owned parts; null when the category has none. The setters take ownership.
    CHatch* getHatch() const { return hatch_.get(); }
    void setHatch(std::unique_ptr<CHatch> hatch) { hatch_ = std::move(hatch); }
    CBlocks* getBlocks() const { return blocks_.get(); }
    void setBlocks(std::unique_ptr<CBlocks> blocks) { blocks_ = std::move(blocks); }
    CAssets* getAssets() const { return assets_.get(); }
    void setAssets(std::unique_ptr<CAssets> assets) { assets_ = std::move(assets); }

    // Appends "category": cID, cTitle, the five hatch elements when there is
    // a hatch, zelkaBlocks and assets when present. Returns the new element;
    // wraps DOM failures (CCategory::serialize).
    pugi::xml_node serialize(pugi::xml_node parent, const std::string& namespaceURI) const;
    // Reads a "category" element: the first hatch element makes the hatch;
    // a colour that is not "#RRGGBB" throws a chain ending in CEXInvalidHexColour;
    // missing children leave their fields; unknown ones are ignored.
    void deSerialize(pugi::xml_node element);

private:
    CHatch& hatchForReading();

    int32_t id_ = 0;
    std::string title_;
    std::unique_ptr<CHatch> hatch_;
    std::unique_ptr<CBlocks> blocks_;
    std::unique_ptr<CAssets> assets_;
};

class CCategories {
public:
    CCategories() = default;
    CCategories(const CCategories&) = delete;
    CCategories& operator=(const CCategories&) = delete;
    ~CCategories() { deleteObjects(); }

    // Appends the category and takes ownership.
    void add(std::unique_ptr<CCategory> category);
    int getCount() const { return static_cast<int>(items_.size()); }
    // The category at index; throws a CEXUnhandled chain for an index out of range.
    CCategory& getAt(int index) const;
    // Frees every category and empties the list.
    void deleteObjects() { items_.clear(); }

    // Appends "categories" and one "category" per category, in order.
    pugi::xml_node serialize(pugi::xml_node parent, const std::string& namespaceURI) const;
    // Appends one category per "category" child of the element.
    void deSerialize(pugi::xml_node element);

private:
    std::vector<std::unique_ptr<CCategory>> items_;
};
