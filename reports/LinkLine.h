#pragma once
// A link line joins two block references of a drawing, found by their
// handles, with a dashed line and an optional label (CLinkLine); CLinkLines
// is a report's ordered list of them and owns them. This file holds the data
// and its XML form (LinkLine.cpp) and the drawing (LinkLineDrawing.cpp);
// database loading arrives with that side.

#include <memory>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "host/ge/AcGePoint3d.h"

class CAcadDrawing;
class CAcadDrawingState;

class CLinkLine {
public:
    CLinkLine() = default;
    CLinkLine(std::string startHandle, std::string endHandle, std::string layer, std::string labelText);

    const std::string& getStartHandle() const { return startHandle_; }
    void setStartHandle(const std::string& handle) { startHandle_ = handle; }
    const std::string& getEndHandle() const { return endHandle_; }
    void setEndHandle(const std::string& handle) { endHandle_ = handle; }
    // Empty means the default layer "_ZELKA".
    const std::string& getLayer() const { return layer_; }
    void setLayer(const std::string& layer) { layer_ = layer; }
    const std::string& getLabelText() const { return labelText_; }
    void setLabelText(const std::string& text) { labelText_ = text; }

    // Appends "linkLine" with start, end, layer and (when set) label.
    // Returns the new element; wraps DOM failures (CLinkLine::serialize).
    pugi::xml_node serialize(pugi::xml_node parent, const std::string& namespaceURI) const;
    // Reads a "linkLine" element; missing children leave their fields.
    void deSerialize(pugi::xml_node element);

    // Draws the line in model space: red, dashed ("T_E_S_T", made when the
    // drawing has none), line weight by layer, on its layer ("_ZELKA" when
    // empty, switched on in the state), from the start block to the end
    // block, and the label (height 150, centred on the middle, turned by the
    // line's slope) when there is one. Throws a CEXUnhandled chain
    // (CLinkLine::applyToDrawing) when the drawing cannot take it.
    void applyToDrawing(CAcadDrawing& drawing, CAcadDrawingState& state);
    // The insertion point of the block reference with that handle, its
    // layer switched on in the state; the origin when there is none.
    static AcGePoint3d getAssetCurrentCoord(CAcadDrawing& drawing, const std::string& handle,
                                            CAcadDrawingState& state);

    bool operator==(const CLinkLine& other) const = default;

private:
    std::string startHandle_;
    std::string endHandle_;
    std::string layer_;
    std::string labelText_;
};

class CLinkLines {
public:
    CLinkLines() = default;
    CLinkLines(const CLinkLines&) = delete;
    CLinkLines& operator=(const CLinkLines&) = delete;
    ~CLinkLines() { deleteObjects(); }

    // Appends the link line and takes ownership.
    void add(std::unique_ptr<CLinkLine> line);
    int getCount() const { return static_cast<int>(items_.size()); }
    // The line at index; throws a CEXUnhandled chain for an index out of range.
    CLinkLine& getAt(int index) const;
    // Frees every line and empties the list.
    void deleteObjects() { items_.clear(); }

    // Draws every line in order (CLinkLine::applyToDrawing).
    void applyToDrawing(CAcadDrawing& drawing, CAcadDrawingState& state);

    // Appends "linkLines" and one "linkLine" per line, in order. Returns the container.
    pugi::xml_node serialize(pugi::xml_node parent, const std::string& namespaceURI) const;
    // Appends one line per "linkLine" child of the element.
    void deSerialize(pugi::xml_node element);

private:
    std::vector<std::unique_ptr<CLinkLine>> items_;
};
