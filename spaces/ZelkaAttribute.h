#pragma once
// An attribute of a space block that knows which of the three it is:
// position 0 the name, 1 the area text, 2 the auxiliary value.

#include <cstdint>

#include "spaces/Attribute.h"

class CZelkaAttribute : public CAttribute {
public:
    CZelkaAttribute() = default;
    // Sets the position (and the key it implies) and the text.
    CZelkaAttribute(int32_t position, std::string text);

    int32_t getPosition() const { return position_; }
    // Also sets the key: 0 "NAME", 1 "AREA", 2 "AUX"; other values leave the key.
    void setPosition(int32_t position);

    // A new CZelkaAttribute with the same key, text and position.
    std::unique_ptr<CAttribute> clone() const override;
    CZelkaAttribute* asZelkaAttribute() override { return this; }

private:
    int32_t position_ = -1;
};
