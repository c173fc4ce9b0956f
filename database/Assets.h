#pragma once
// Assets: block references (furniture, equipment) standing in a location and
// recorded in the property database. CAsset holds one, CAssets the ordered
// list of one location or one report category and owns its assets.
//
// Assets.cpp holds the data and the XML form of a graphic report;
// AssetsDrawing.cpp the drawing side: finding the assets inside a room
// outline, and showing a report's assets hatched and hyperlinked;
// AssetsIPR.cpp the database side: take-off, TP export and the loads. Every operation
// wraps failures in a CEXUnhandled chain naming it ("CAsset::...",
// "CAssets::...", class "Assets").

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "database/Hyperlinks.h"
#include "host/db/AcDbObjectId.h"
#include "host/ge/AcGePoint3d.h"
#include "reports/Hatch.h"
#include "spaces/Attributes.h"

class AcDbBlockReference;
class AcDbEntity;
class AcDbPolyline;
class CAcadDrawing;
class CParameters;
class CStoredProcedure;
class CZelkaExceptions;

class CAsset {
public:
    CAsset() = default;
    CAsset(const CAsset&) = delete;
    CAsset& operator=(const CAsset&) = delete;
    ~CAsset() = default;

    // The asset's block reference; null until taken from the drawing.
    AcDbObjectId getObjectId() const { return objectId_; }
    void setObjectId(AcDbObjectId id) { objectId_ = id; }
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

    // Shows the asset in the drawing under one lock: makes sure the layer of
    // its block reference exists, hatches the asset (when it has a hatch),
    // gives the reference and that hatch its hyperlinks (when it has any)
    // and writes its attribute texts. The reference is found by object id,
    // else by handle; an asset whose reference is not in the drawing is
    // passed over. Hatch problems go to errors; a lock failure throws the
    // host-error chain.
    void applyToDWG(CAcadDrawing& drawing, CZelkaExceptions& errors);
    // Hatches the box of the entities of the reference's block definition
    // as the reference shows it (hatchAssetArea). Returns the hatch's id, or
    // the null id when there is no hatch or the definition has no extents.
    AcDbObjectId hatchAsset(CAcadDrawing& drawing, const AcDbBlockReference* reference, CZelkaExceptions& errors);
    // Hatches the rectangle lower-upper (block coordinates) placed by the
    // reference's transform, with this asset's hatch: palette colour, its
    // layer (made when missing). Density problems, a refused pattern or a
    // failed posting go to errors; a hatch whose boundary cannot be placed
    // is discarded with an error. Returns the posted hatch's id or null.
    AcDbObjectId hatchAssetArea(CAcadDrawing& drawing, const AcDbBlockReference* reference, const AcGePoint3d& lower,
                                const AcGePoint3d& upper, CZelkaExceptions& errors);
    // Gives this asset's hyperlinks to the reference (open for write), to
    // every entity of its block definition and to every attribute of the
    // reference; parts that cannot be opened for write are passed over.
    void hyperlinkAsset(AcDbBlockReference* reference);
    // Replaces the entity's hyperlinks (entity open for write) with this
    // asset's; throws the host-error chain when the host refuses.
    void hyperlinkEntity(AcDbEntity* entity);
    // Opens the hatch for write and gives it this asset's hyperlinks; a null
    // id does nothing, a hatch that does not open throws the host-error chain.
    void hyperlinkHatch(CAcadDrawing& drawing, AcDbObjectId hatchId);

    // Takes the asset off into the property database ("__to_applyAssetToIPR")
    // under the given location and drawing ids; unless the database answers
    // that its block is excluded from take-off, and when it exists in the
    // location, its attributes follow ("__to_applyAssetAttributeToIPR").
    void applyToIPR(CStoredProcedure& sp, int32_t drawingID, int32_t locationID, uint32_t timeout);
    // The parameter lists of the take-off's calls for this asset: the asset
    // itself ("__to_applyAssetToIPR", "@excludedFromTakeoff" its output) and
    // one of its attributes ("__to_applyAssetAttributeToIPR").
    std::unique_ptr<CParameters> applyCall(int32_t drawingID, int32_t locationID) const;
    std::unique_ptr<CParameters> attributeCall(int32_t drawingID, const CAttribute& attribute) const;
    // Sends the asset to the TP export ("__to_tp_exportAsset").
    void exportTP(CStoredProcedure& sp, uint32_t timeout, const std::string& exportParameters);
    // Appends "asset" with its seven children (points with 5 decimals).
    // Returns the new element; wraps DOM failures (CAsset::serialize).
    pugi::xml_node serialize(pugi::xml_node parent, const std::string& namespaceURI) const;
    // Reads an "asset" element: locationID as an integer, the points as
    // doubles; missing children leave their fields; unknown ones are ignored.
    void deSerialize(pugi::xml_node element);

private:
    AcDbObjectId resolveObjectId(CAcadDrawing& drawing) const;

    AcDbObjectId objectId_;
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

    // CAsset::applyToDWG for every asset in order, all problems into errors.
    void applyToDWG(CAcadDrawing& drawing, CZelkaExceptions& errors);
    // Appends the assets crossing or inside the room outline (open for
    // read): every block reference of model space that the crossing polygon
    // of the outline's vertices selects, except space blocks ("ROOM-"
    // definitions) and excluded identifiers, with its handle, block name
    // (a dynamic block's own name for its anonymous "*U" variants), insertion
    // point in the current UCS and attribute values. Nothing is appended
    // when the selection is empty.
    void getPolylineAssets(CAcadDrawing& drawing, const AcDbPolyline* polyline);
    // Hides the attributes of the block references the same selection finds
    // (excluded identifiers included), then regenerates the drawing.
    void setPolylineAssetAttributesInvisible(CAcadDrawing& drawing, const AcDbPolyline* polyline);

    // CAsset::applyToIPR for every asset whose identifier is not excluded.
    void applyToIPR(CStoredProcedure& sp, int32_t drawingID, int32_t locationID, uint32_t timeout);
    // CAsset::exportTP for every asset.
    void exportTP(CStoredProcedure& sp, uint32_t timeout, const std::string& exportParameters);
    // Appends the assets the database records in the location
    // ("[idr]..[getLocationAssets]"), each with its attributes
    // ("[idr]..[getAssetAttributes]").
    void getLocationAssets(CStoredProcedure& sp, int32_t locationID, uint32_t timeout);
    // Appends the assets of a graphic-report category ("__gr_getCategoryAssets"),
    // each with its hyperlinks ("__gr_getAssetHyperlinks") and a copy of the
    // category's hatch (when given).
    void getCategoryAssets(CStoredProcedure& sp, int32_t categoryID, uint32_t timeout, const CHatch* hatch);
    // The module-wide excluded block identifiers: ",A,B," (empty at start).
    static const std::string& getExcludedIdentifiers();
    static void setExcludedIdentifiers(const std::string& list);
    // Whether ","+identifier+"," occurs in the excluded identifiers.
    static bool isExcludedIdentifier(const std::string& identifier);

    // Appends "assets" and one "asset" per asset, in order. Returns the container.
    pugi::xml_node serialize(pugi::xml_node parent, const std::string& namespaceURI) const;
    // Appends one asset per "asset" child of the element.
    void deSerialize(pugi::xml_node element);

private:
    std::vector<std::unique_ptr<CAsset>> items_;
};
