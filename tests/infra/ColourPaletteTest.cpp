// The host colour: the index palette against ezdxf's table, and the nearest
// index of a true colour against a brute-force search in Python.

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <random>

#include "host/db/AcCmColor.h"
#include <nlohmann/json.hpp>

#include "tests/common/Shell.h"

namespace {

using zelkatest::runPython;

}  // namespace

TEST(ColourPalette, EveryIndexMatchesEzdxf)
{
    const auto palette = nlohmann::json::parse(runPython("import json\nfrom ezdxf.colors import DXF_DEFAULT_COLORS as C\n"
                                                         "print(json.dumps(C[1:256]))"))
                             .get<std::vector<uint32_t>>();
    ASSERT_EQ(palette.size(), 255u);
    for (int index = 1; index < 256; ++index) {
        const uint32_t expected = palette[index - 1];
        EXPECT_EQ(acdbPaletteRGB(index), expected) << "index " << index;
        AcCmColor colour;
        colour.setColorIndex(static_cast<int16_t>(index));
        EXPECT_EQ((uint32_t(colour.red()) << 16) | (uint32_t(colour.green()) << 8) | colour.blue(), expected);
    }
    EXPECT_EQ(acdbPaletteRGB(0), 0u);
    EXPECT_EQ(acdbPaletteRGB(256), 0u);
    EXPECT_EQ(acdbPaletteRGB(-3), 0u);
}

TEST(ColourPalette, NearestIndexOfATrueColour)
{
    std::mt19937 random(4211);
    std::uniform_int_distribution<int> channel(0, 255);
    std::vector<uint32_t> colours = {0xFF0000, 0x000000, 0xFFFFFF, 0x7F7F7F, 0x0A00FF, 0x123456, 0xFE0101};
    for (int i = 0; i < 300; ++i)
        colours.push_back((uint32_t(channel(random)) << 16) | (uint32_t(channel(random)) << 8) | uint32_t(channel(random)));
    std::string list;
    for (uint32_t c : colours) list += std::to_string(c) + ",";
    // The smallest squared distance over indices 1..255; the lower index on a tie.
    const auto expected = nlohmann::json::parse(runPython(
        "import json\nfrom ezdxf.colors import DXF_DEFAULT_COLORS as C\n"
        "def d(a, b): return sum(((a >> s & 255) - (b >> s & 255)) ** 2 for s in (16, 8, 0))\n"
        "print(json.dumps([min(range(1, 256), key=lambda i: (d(C[i], v), i)) for v in [" + list + "]]))"))
                              .get<std::vector<int>>();
    ASSERT_EQ(expected.size(), colours.size());
    for (size_t i = 0; i < colours.size(); ++i) {
        AcCmColor colour;
        const uint32_t c = colours[i];
        colour.setRGB(uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c));
        EXPECT_EQ(colour.colorIndex(), expected[i]) << std::hex << c;
    }
}
