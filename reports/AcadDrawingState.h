#pragma once
// A drawing's layer state as the graphic report engine and the inspection
// commands record and restore it: the current layout and every layer with
// its on, frozen, locked, plottable and line weight settings; its state
// edits, applying it to a drawing, and its XML form.
//
// Applying a state makes its layout current and, on request, carries the
// layers' frozen state into every viewport of a paper-space layout, so a
// sheet shows the same layers as the drawing.

#include <cstdint>
#include <memory>
#include <string>

#include <pugixml.hpp>

#include "reports/Layers.h"

class CAcadDrawing;

class CAcadDrawingState {
public:
    CAcadDrawingState() : layers_(std::make_unique<CLayers>()) {}
    // Records the drawing's state: the host's current layout and every layer
    // of the drawing, in table order. Wraps failures
    // (CAcadDrawingState::CAcadDrawingState).
    explicit CAcadDrawingState(CAcadDrawing& drawing);
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

    // "Model" current; every layer thawed, unlocked, off and plottable; applied.
    void setStateAllOff(CAcadDrawing& drawing);
    // "Model" current; every layer unlocked, thawed, on and plottable; applied.
    void setStateForTakeOff(CAcadDrawing& drawing);
    // Every layer unlocked; applied.
    void setStateToAllowManipulation(CAcadDrawing& drawing);
    // Makes the layout current (an empty name leaves the current one),
    // writes every layer to the drawing, with viewports and a paper-space
    // layout freezes and thaws the layers in every viewport of that layout
    // (applyLayersInAllLayoutViewports), and regenerates the drawing. Does
    // nothing without a drawing; throws the host-error chain when the
    // drawing cannot be locked or has no layout of that name (21).
    void applyState(CAcadDrawing& drawing, int32_t viewports);
    // In every viewport of the current layout, freezes the layers of this
    // state that are frozen and thaws the others (layers without an object
    // id are left out). Throws the host-error chain when a viewport refuses
    // the list.
    void applyLayersInAllLayoutViewports(CAcadDrawing& drawing);

    // The name of the layout the host shows now ("Model" when model space is
    // current, and when the drawing cannot say).
    static std::string currentLayoutName(CAcadDrawing& drawing);

    // Appends "AcadDrawingState" with "layout" and "layersOn". Returns the
    // new element; wraps DOM failures (CAcadDrawingState::serialize).
    pugi::xml_node serialize(pugi::xml_node parent, const std::string& namespaceURI) const;
    // Reads an "AcadDrawingState" element; layers read are appended.
    void deSerialize(pugi::xml_node element);

private:
    std::string layout_;
    std::unique_ptr<CLayers> layers_;
};
