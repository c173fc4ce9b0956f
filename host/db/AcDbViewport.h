#pragma once
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbObjectIdArray.h"
#include "host/ge/AcGePoint2d.h"

// A paper-space viewport, read from the drawing: its window on the sheet
// (centre, width, height in paper units) and the model view it shows (view
// centre and height in display coordinates, target, direction, twist), and
// the layers frozen in it alone (DXF group code 331, one soft pointer per
// layer). The frozen-layer list is the only part that can be changed; every
// other value is kept as read.
class AcDbViewport : public AcDbEntity {
public:
    AcDbViewport() = default;

    static const AcRxClass* desc();
    const AcRxClass* isA() const override { return desc(); }
    AcDbObjectKind kind() const override { return AcDbObjectKind::Viewport; }

    AcGePoint3d centerPoint() const { return center_; }
    double width() const { return width_; }
    double height() const { return height_; }
    // The viewport's id in its layout (1 is the layout's own paper-space view).
    int number() const { return number_; }
    // The status field: 0 off, -1 on but off screen, otherwise on (its stacking order).
    int status() const { return status_; }
    bool isOn() const { return status_ != 0; }
    // The viewport status bit flags (DXF code 90).
    int statusFlags() const { return flags_; }
    AcGePoint2d viewCenter() const { return viewCenter_; }
    double viewHeight() const { return viewHeight_; }
    AcGePoint3d viewTarget() const { return viewTarget_; }
    AcGeVector3d viewDirection() const { return viewDirection_; }
    // Twist angle of the view, radians.
    double twistAngle() const { return twist_; }
    // Paper units per model unit (height / view height); 0 for a zero view height.
    double customScale() const { return viewHeight_ != 0.0 ? height_ / viewHeight_ : 0.0; }

    // Per-viewport layer freezing. The ids are layer table records of this
    // viewport's drawing. Freezing a layer already frozen, or thawing one not
    // frozen, changes nothing. On failure nothing changes: eNotOpenForWrite
    // unless the viewport is open for write, eNotInDatabase when it is not in
    // a drawing, eInvalidInput for a null id or an id that is not a layer of
    // that drawing.
    Acad::ErrorStatus freezeLayersInViewport(const AcDbObjectIdArray& layerIds);
    Acad::ErrorStatus thawLayersInViewport(const AcDbObjectIdArray& layerIds);
    // True when the layer is frozen in this viewport (false for a null id).
    bool isLayerFrozenInViewport(const AcDbObjectId& layerId) const;
    // The layers frozen in this viewport, in stored order. eOk.
    Acad::ErrorStatus getFrozenLayerList(AcDbObjectIdArray& layerIds) const;

    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;

private:
    friend class DxfLayoutIO;

    // eOk when every id is a layer of this viewport's drawing; the status above otherwise.
    Acad::ErrorStatus checkLayers(const AcDbObjectIdArray& layerIds) const;

    AcGePoint3d center_;
    double width_ = 0.0, height_ = 0.0;
    int status_ = 0, number_ = 0, flags_ = 0;
    AcGePoint2d viewCenter_;
    double viewHeight_ = 0.0;
    AcGePoint3d viewTarget_;
    AcGeVector3d viewDirection_{0, 0, 1};
    double twist_ = 0.0;
    AcDbObjectIdArray frozen_;
    bool frozenModified_ = false;  // the 331 tags are rewritten only after a change
};
