#pragma once
// A drawing's layer state as the graphic report engine records and restores
// it: the current layout and every layer with its on, frozen, locked,
// plottable and line weight settings. This file holds the record, its state
// edits and its XML form; reading from and applying to a drawing arrive with
// the drawing side.

#include <cstdint>
#include <memory>
#include <string>

#include <pugixml.hpp>

#include "reports/Layers.h"

class CAcadDrawingState {
public:
    CAcadDrawingState() : layers_(std::make_unique<CLayers>()) {}
    CAcadDrawingState(const CAcadDrawingState&) = delete;
    CAcadDrawingState& operator=(const CAcadDrawingState&) = delete;

    const std::string& getLayout() const { return layout_; }
    // Replaces the layout name.
    void setLayout(const std::string& name) { layout_ = name; }
    CLayers& getLayers() const { return *layers_; }

    // Updates the layer of that name (case ignored), or appends a new one
    // with that name and these values when there is none.
    void setLayerState(const std::string& name, int32_t frozen, int32_t locked, int32_t off, int32_t plottable);
    // Sets every layer's line weight.
    void setAllLayerLineWeights(int32_t weight);

    // Appends "AcadDrawingState" with "layout" and "layersOn". Returns the
    // new element; wraps DOM failures (CAcadDrawingState::serialize).
    pugi::xml_node serialize(pugi::xml_node parent, const std::string& namespaceURI) const;
    // Reads an "AcadDrawingState" element; layers read are appended.
    void deSerialize(pugi::xml_node element);

private:
    std::string layout_;
    std::unique_ptr<CLayers> layers_;
};
