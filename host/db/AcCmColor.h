#pragma once
#include <cstdint>

// An entity or layer colour: by layer, by block, an index of the 256-colour
// palette, or a true colour. Red, green and blue are meaningful for true
// colours and are derived from the palette for index colours.
class AcCmColor {
public:
    enum ColorMethod : uint8_t { kByLayer = 0xC0, kByBlock = 0xC1, kByColor = 0xC2, kByACI = 0xC3, kNone = 0xC8 };

    AcCmColor() = default;

    ColorMethod colorMethod() const { return method_; }
    bool isByLayer() const { return method_ == kByLayer; }
    bool isByBlock() const { return method_ == kByBlock; }
    bool isByColor() const { return method_ == kByColor; }
    bool isByACI() const { return method_ == kByACI; }

    // Sets a true colour.
    void setRGB(uint8_t red, uint8_t green, uint8_t blue);
    void setRed(uint8_t red) { setRGB(red, green(), blue()); }
    void setGreen(uint8_t green) { setRGB(red(), green, blue()); }
    void setBlue(uint8_t blue) { setRGB(red(), green(), blue); }
    // Sets a palette index: 0 by block, 256 by layer, 1..255 a palette colour.
    void setColorIndex(int16_t index);
    void setByLayer() { method_ = kByLayer; index_ = 256; rgb_ = 0; }
    void setByBlock() { method_ = kByBlock; index_ = 0; rgb_ = 0; }

    uint8_t red() const;
    uint8_t green() const;
    uint8_t blue() const;
    // The palette index; for a true colour the nearest palette entry (1..255).
    int16_t colorIndex() const;
    // 0x00RRGGBB as DXF group 420 stores it; only meaningful for true colours.
    uint32_t trueColor() const { return rgb_; }

    bool operator==(const AcCmColor& other) const = default;

private:
    ColorMethod method_ = kByLayer;
    int16_t index_ = 256;
    uint32_t rgb_ = 0;
};

// The red, green and blue of a palette index (1..255); black for others.
uint32_t acdbPaletteRGB(int index);
