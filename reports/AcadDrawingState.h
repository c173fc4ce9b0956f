#pragma once
// A drawing's layer state as the graphic report engine and the inspection
// commands record and restore it: the current layout and every layer with
// its on, frozen, locked, plottable and line weight settings; its state
// edits, applying it to a drawing, and its XML form.
//
// The console host shows model space only, so its current layout is always
// "Model" and paper-space viewports are not modelled: applying a state
// with another layout name writes the layers and leaves the view as it is.

#include <cstdint>
#include <memory>
#include <string>

#include <pugixml.hpp>

#include "reports/Layers.h"

class AcApDocument;

class CAcadDrawingState {
public:
    CAcadDrawingState() : layers_(std::make_unique<CLayers>()) {}
    // Records the drawing's state: the host's current layout and every layer
    // of the drawing, in table order. Wraps failures
    // (CAcadDrawingState::CAcadDrawingState).
    explicit CAcadDrawingState(AcApDocument* document);
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
    void setStateAllOff(AcApDocument* document);
    // "Model" current; every layer unlocked, thawed, on and plottable; applied.
    void setStateForTakeOff(AcApDocument* document);
    // Every layer unlocked; applied.
    void setStateToAllowManipulation(AcApDocument* document);
    // Makes the layout current, writes every layer to the drawing and
    // regenerates it; with viewports and a paper-space layout, the layers'
    // frozen state also goes to that layout's viewports. Throws the
    // host-error chain when the document cannot be locked.
    void applyState(AcApDocument* document, int32_t viewports);

    // The layout the host shows now ("Model" in the console host).
    static std::string currentLayoutName(AcApDocument* document);

    // Appends "AcadDrawingState" with "layout" and "layersOn". Returns the
    // new element; wraps DOM failures (CAcadDrawingState::serialize).
    pugi::xml_node serialize(pugi::xml_node parent, const std::string& namespaceURI) const;
    // Reads an "AcadDrawingState" element; layers read are appended.
    void deSerialize(pugi::xml_node element);

private:
    std::string layout_;
    std::unique_ptr<CLayers> layers_;
};
