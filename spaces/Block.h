#pragma once
// The plain data part of a space block: the values a space block carries in
// its attributes and extended data, shared by the drawing-side and the
// database-side records, and the record parts a graphic report carries for
// a block (replacement attribute texts, hatch, hyperlinks, assets).
//
// Kinds are told apart by the kind code (BlockKind), never by type
// information. The destructor is virtual so
// that a collection owning blocks of any kind frees each one whole.
//
// This file holds the fields and the "zelkaBlock" XML element of graphic
// report documents; the drawing side (block references, extended data,
// hatching) arrives with the drawing-side record.

#include <cstdint>
#include <memory>
#include <string>

#include <pugixml.hpp>

#include "spaces/BlockKind.h"

class CAssets;
class CAttributes;
class CHatch;
class CHyperlinks;

class CBlock {
public:
    CBlock();
    CBlock(const CBlock&) = delete;
    CBlock& operator=(const CBlock&) = delete;
    virtual ~CBlock();

    const std::string& getHandle() const { return handle_; }
    void setHandle(const std::string& handle) { handle_ = handle; }
    const std::string& getName() const { return name_; }
    void setName(const std::string& name) { name_ = name; }
    const std::string& getCode() const { return code_; }
    void setCode(const std::string& code) { code_ = code; }
    // 0 metric, 1 imperial, -1 not known.
    int32_t getUnits() const { return units_; }
    void setUnits(int32_t units) { units_ = units; }
    // Decimals used when measures are written as text; negative: general form.
    int32_t getPrecision() const { return precision_; }
    void setPrecision(int32_t precision) { precision_ = precision; }
    double getArea() const { return area_; }
    void setArea(double area) { area_ = area; }
    double getPerimeter() const { return perimeter_; }
    void setPerimeter(double perimeter) { perimeter_ = perimeter; }
    const std::string& getTagType() const { return tagType_; }
    void setTagType(const std::string& text) { tagType_ = text; }
    const std::string& getAreaType() const { return areaType_; }
    void setAreaType(const std::string& text) { areaType_ = text; }
    const std::string& getCostCentre() const { return costCentre_; }
    void setCostCentre(const std::string& text) { costCentre_ = text; }
    const std::string& getDate() const { return date_; }
    void setDate(const std::string& text) { date_ = text; }
    const std::string& getDateLastMove() const { return dateLastMove_; }
    void setDateLastMove(const std::string& text) { dateLastMove_ = text; }
    const std::string& getDeptCharge() const { return deptCharge_; }
    void setDeptCharge(const std::string& text) { deptCharge_ = text; }
    double getRoomHeight() const { return roomHeight_; }
    void setRoomHeight(double height) { roomHeight_ = height; }
    const std::string& getSpecialReq() const { return specialReq_; }
    void setSpecialReq(const std::string& text) { specialReq_ = text; }
    const std::string& getTotalStaff() const { return totalStaff_; }
    void setTotalStaff(const std::string& text) { totalStaff_ = text; }
    const std::string& getTotalWorkstations() const { return totalWorkstations_; }
    void setTotalWorkstations(const std::string& text) { totalWorkstations_ = text; }
    double getVolume() const { return volume_; }
    void setVolume(double volume) { volume_ = volume; }
    BlockKind getBlockKind() const { return blockKind_; }
    void setBlockKind(BlockKind kind) { blockKind_ = kind; }

    // Owned parts; null when absent. The setters take ownership.
    CHyperlinks* getHyperlinks() const { return hyperlinks_.get(); }
    void setHyperlinks(std::unique_ptr<CHyperlinks> hyperlinks);
    // The attribute set; its members carry the replacement ("swap") texts.
    CAttributes* getAttributes() const { return attributes_.get(); }
    void setAttributes(std::unique_ptr<CAttributes> attributes);
    CHatch* getHatch() const { return hatch_.get(); }
    void setHatch(std::unique_ptr<CHatch> hatch);
    CAssets* getAssets() const { return assets_.get(); }
    void setAssets(std::unique_ptr<CAssets> assets);

    // Appends "zelkaBlock": the handle always; name, code and area (2
    // decimals) when set; a replacement text per attribute position 0, 1, 2
    // that the attribute set holds; hyperlinks and assets when present.
    // Returns the new element; wraps DOM failures (CBlock::serialize).
    pugi::xml_node serialize(pugi::xml_node parent, const std::string& namespaceURI) const;
    // Reads a "zelkaBlock" element. Each replacement element appends one
    // attribute (position by element, list order as in the document);
    // missing children leave their fields; unknown ones are ignored.
    void deSerialize(pugi::xml_node element);

private:
    std::string handle_;
    std::string name_;
    std::string code_;
    int32_t units_ = 0;
    int32_t precision_ = 2;
    double area_ = 0.0;
    double perimeter_ = 0.0;
    std::string tagType_;
    std::string areaType_;
    std::string costCentre_;
    std::string date_;
    std::string dateLastMove_;
    std::string deptCharge_;
    double roomHeight_ = 0.0;
    std::string specialReq_;
    std::string totalStaff_;
    std::string totalWorkstations_;
    double volume_ = 0.0;
    BlockKind blockKind_ = BlockKind::Plain;
    std::unique_ptr<CHyperlinks> hyperlinks_;
    std::unique_ptr<CAttributes> attributes_;
    std::unique_ptr<CHatch> hatch_;
    std::unique_ptr<CAssets> assets_;
};
