#pragma once
// The module's picture of drawing layers: one layer with its state (CLayer)
// and an ordered list that owns its layers (CLayers), as read from a drawing,
// a graphic report or the property database. This file holds the data, the
// layer-name rule and the XML form; drawing and database operations arrive
// with those sides.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "host/db/AcCmColor.h"

class CLayer {
public:
    CLayer() = default;
    virtual ~CLayer() = default;

    // The name with every < > / \ " ; ? * , = ` removed.
    static std::string validateLayerName(const std::string& name);

    const std::string& getName() const { return name_; }
    // Stores the name cleaned by validateLayerName.
    void setName(const std::string& name) { name_ = validateLayerName(name); }
    const std::string& getDescription() const { return description_; }
    void setDescription(const std::string& description) { description_ = description; }
    int16_t getColourIndex() const { return colourIndex_; }
    // Also sets the colour to that palette index, and marks the layer applicable.
    void setColourIndex(int16_t index);
    const AcCmColor& getColour() const { return colour_; }
    void setColour(const AcCmColor& colour) { colour_ = colour; }
    int32_t getFrozen() const { return frozen_; }
    void setFrozen(int32_t flag) { frozen_ = flag; applicable_ = 1; }
    int32_t getLocked() const { return locked_; }
    void setLocked(int32_t flag) { locked_ = flag; applicable_ = 1; }
    int32_t getOff() const { return off_; }
    void setOff(int32_t flag) { off_ = flag; applicable_ = 1; }
    int32_t getPlottable() const { return plottable_; }
    void setPlottable(int32_t flag) { plottable_ = flag; applicable_ = 1; }
    int32_t getLineWeight() const { return lineWeight_; }
    void setLineWeight(int32_t weight) { lineWeight_ = weight; applicable_ = 1; }
    // Set whenever a state field is set: only applicable layers are written to a drawing.
    int32_t getApplicable() const { return applicable_; }

    // Appends "layerOn" with "loName" and, when set, "loDescription".
    // Returns the new element; wraps DOM failures (CLayer::serialize).
    pugi::xml_node serialize(pugi::xml_node parent, const std::string& namespaceURI) const;
    // Reads a "layerOn" element; missing children leave their fields.
    void deSerialize(pugi::xml_node element);

private:
    std::string name_;
    std::string description_;
    int16_t colourIndex_ = 7;
    AcCmColor colour_;
    int32_t frozen_ = 0;
    int32_t locked_ = 0;
    int32_t off_ = 0;
    int32_t plottable_ = 1;
    int32_t lineWeight_ = -3;
    int32_t applicable_ = 0;
};

class CLayers {
public:
    CLayers() = default;
    CLayers(const CLayers&) = delete;
    CLayers& operator=(const CLayers&) = delete;
    virtual ~CLayers() { deleteObjects(); }

    // Appends the layer and takes ownership.
    void add(std::unique_ptr<CLayer> layer);
    int getCount() const { return static_cast<int>(items_.size()); }
    // The layer at index; throws a CEXUnhandled chain for an index out of range.
    CLayer& getAt(int index) const;
    // The first layer whose upper-cased name equals the upper-cased argument, or null.
    CLayer* getAtLayer(const std::string& name) const;
    // Frees every layer and empties the list.
    void deleteObjects() { items_.clear(); }

    // Appends the container element (the report's "layersOn") and one
    // "layerOn" per layer, in order. Returns the container.
    pugi::xml_node serialize(pugi::xml_node parent, const std::string& namespaceURI) const;
    // Appends one layer per "layerOn" child of the element.
    void deSerialize(pugi::xml_node element);

private:
    std::vector<std::unique_ptr<CLayer>> items_;
};
