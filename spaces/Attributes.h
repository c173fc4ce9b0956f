#pragma once
// The attributes a space block (or an asset) owns, in insertion order, and
// the text layout the three space block attributes share. This file holds the
// data part; reading from and writing to block references arrives with the
// drawing side.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "spaces/Attribute.h"
#include "spaces/ZelkaAttribute.h"

class CAttributes {
public:
    CAttributes() = default;
    CAttributes(const CAttributes&) = delete;
    CAttributes& operator=(const CAttributes&) = delete;
    virtual ~CAttributes() { deleteObjects(); }

    // Appends the attribute unless allowDuplicate is false and an item with
    // the same key is held (the attribute is then dropped). Returns true when added.
    bool add(std::unique_ptr<CAttribute> attribute, bool allowDuplicate);
    int getCount() const { return static_cast<int>(items_.size()); }
    // The item at index; throws a CEXUnhandled chain for an index out of range.
    const CAttribute& getAt(int index) const;
    // The first CZelkaAttribute with that position, or null.
    CZelkaAttribute* getAtAttribute(int32_t position) const;
    // The first item whose key equals the tag exactly, or null.
    CAttribute* getAtAttribute(const std::string& tag) const;
    // Frees every item and empties the collection.
    void deleteObjects() { items_.clear(); }

    // Copies the text layout, then adds a clone of every item to other.
    void copyAttributesTo(CAttributes& other) const;

    double getTextHeight() const { return textHeight_; }
    void setTextHeight(double height) { textHeight_ = height; }
    double getWidthFactor() const { return widthFactor_; }
    void setWidthFactor(double factor) { widthFactor_ = factor; }
    double getRotation() const { return rotation_; }
    void setRotation(double degrees) { rotation_ = degrees; }

private:
    std::vector<std::unique_ptr<CAttribute>> items_;
    double textHeight_ = 250.0;
    double widthFactor_ = 1.0;
    double rotation_ = 0.0;
};
