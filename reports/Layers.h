#pragma once
// The module's picture of drawing layers: one layer with its state (CLayer)
// and an ordered list that owns its layers (CLayers), as read from a drawing,
// a graphic report or the property database: the layer-name rule, the XML
// form, and reading from and writing to a drawing's layer table. Layers
// named "##HYPERLINKS", "##HATCH", "ATT-NAME", "ATT-AREA" and "ATT-AUX" are
// the module's own and are never switched by the all-layers operations.
//
// Drawing operations do nothing when the document cannot be locked or the
// layer table cannot be opened. Every operation wraps failures in a
// CEXUnhandled chain naming it ("CLayer::...", "CLayers::...", class "Layers").

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "host/db/AcCmColor.h"
#include "host/db/AcDbObjectId.h"

class CAcadDrawing;
class AcDbLayerTableRecord;

class CLayer {
public:
    CLayer() { colour_.setColorIndex(colourIndex_); }
    // A layer read from a layer table record (getDWGLayer).
    explicit CLayer(const AcDbLayerTableRecord* record);
    virtual ~CLayer() = default;

    // Takes id, upper-cased name, colour and its index, frozen, locked, off,
    // plottable and line weight from the record.
    void getDWGLayer(const AcDbLayerTableRecord* record);
    // Adds a layer of this layer's name (cleaned; the layer keeps the cleaned
    // name) with default properties when the drawing has none. Returns true.
    bool ensureLayerExists(CAcadDrawing& drawing);
    // Only for an applicable layer: creates the layer with this state or sets
    // frozen, locked, off, plottable and line weight on the existing one, and
    // keeps its object id.
    void applyToDWG(CAcadDrawing& drawing);

    // Null when the layer did not come from (or go to) a drawing.
    AcDbObjectId getObjectId() const { return objectId_; }
    void setObjectId(AcDbObjectId id) { objectId_ = id; }

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
    AcDbObjectId objectId_;
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

    // Appends one layer per record of the drawing's layer table, in table order.
    void getDWGLayers(CAcadDrawing& drawing);
    // applyToDWG on every layer in order.
    void applyToDWG(CAcadDrawing& drawing);
    // Appends each layer's object id to frozen when it is frozen, else to thawed.
    void getFrozenThawedIds(std::vector<AcDbObjectId>& thawed, std::vector<AcDbObjectId>& frozen) const;
    // Set off (frozen) on every layer of this list but the module's own.
    void setAllLayersOff(int32_t flag);
    void setAllLayersFrozen(int32_t flag);
    // For each layer that is not off, in order, makes the drawing's layer of
    // that name (never "0") current; the last one wins.
    void setOnLayerToCurrent(CAcadDrawing& drawing);
    // Adds a layer of the cleaned name with the colour when the drawing has
    // none. Returns true (also when there is nothing to do).
    static bool ensureLayerExists(CAcadDrawing& drawing, const std::string& name, const AcCmColor& colour);
    // True for the module's own layers, which the all-layers operations leave alone.
    static bool isReservedLayerName(const std::string& name);

    // Appends the container element (the report's "layersOn") and one
    // "layerOn" per layer, in order. Returns the container.
    pugi::xml_node serialize(pugi::xml_node parent, const std::string& namespaceURI) const;
    // Appends one layer per "layerOn" child of the element.
    void deSerialize(pugi::xml_node element);

private:
    std::vector<std::unique_ptr<CLayer>> items_;
};
