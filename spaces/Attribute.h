#pragma once
// One attribute value of a block reference as the module holds it: the tag
// (key), the text and the layer it was read from. Owned by a CAttributes.
// The attribute entity's id is kept only while a collection hides attributes
// (CAttributes::setAttributesIDsInvisible).

#include <memory>
#include <string>

#include "host/db/AcDbObjectId.h"

class CZelkaAttribute;

class CAttribute {
public:
    CAttribute() = default;
    CAttribute(std::string key, std::string text);
    virtual ~CAttribute() = default;

    const std::string& getKey() const { return key_; }
    void setKey(const std::string& key) { key_ = key; }
    const std::string& getText() const { return text_; }
    void setText(const std::string& text) { text_ = text; }
    const std::string& getLayer() const { return layer_; }
    void setLayer(const std::string& layer) { layer_ = layer; }
    AcDbObjectId getAttributeId() const { return attributeId_; }
    void setAttributeId(AcDbObjectId id) { attributeId_ = id; }

    // A new object of the same class with the same key and text.
    virtual std::unique_ptr<CAttribute> clone() const;
    // This attribute as one of a space block's three, or null: a virtual
    // call where a look-up by position asks every attribute of every block.
    virtual CZelkaAttribute* asZelkaAttribute() { return nullptr; }
    const CZelkaAttribute* asZelkaAttribute() const { return const_cast<CAttribute*>(this)->asZelkaAttribute(); }

private:
    std::string key_;
    std::string text_;
    std::string layer_;
    AcDbObjectId attributeId_;
};
