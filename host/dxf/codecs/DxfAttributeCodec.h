#pragma once
#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <type_traits>
#include <vector>

#include "host/base/DxfCodepage.h"
#include "host/db/AcDbAttribute.h"
#include "host/db/AcDbAttributeDefinition.h"
#include "host/dxf/DxfTagEditor.h"
#include "host/dxf/codecs/DxfCodecSupport.h"
#include "host/dxf/codecs/DxfTextCodec.h"

// ATTRIB (AcDbAttribute) and ATTDEF (AcDbAttributeDefinition): the text part
// (DxfTextCodec), then the attribute's own subclass with tag (2), prompt (3,
// definitions only), flags (70), field length (73) and vertical mode (74).
// The two records differ only in the prompt and the subclass name.
template <class T>
class DxfAttributeCodec {
    static constexpr bool kDefinition = std::is_same_v<T, AcDbAttributeDefinition>;
    static constexpr const char* kSubclass = kDefinition ? "AcDbAttributeDefinition" : "AcDbAttribute";

    // A bit for each code that load reads or save writes in the text's and
    // the attribute's subclasses; 0 for the others, which neither touches.
    static constexpr uint32_t fieldBit(int code)
    {
        switch (code) {
        case 1: return uint32_t{1} << 0;
        case 2: return uint32_t{1} << 1;
        case 7: return uint32_t{1} << 2;
        case 10: return uint32_t{1} << 3;
        case 20: return uint32_t{1} << 4;
        case 30: return uint32_t{1} << 5;
        case 11: return uint32_t{1} << 6;
        case 21: return uint32_t{1} << 7;
        case 31: return uint32_t{1} << 8;
        case 39: return uint32_t{1} << 9;
        case 40: return uint32_t{1} << 10;
        case 41: return uint32_t{1} << 11;
        case 50: return uint32_t{1} << 12;
        case 51: return uint32_t{1} << 13;
        case 70: return uint32_t{1} << 14;
        case 71: return uint32_t{1} << 15;
        case 72: return uint32_t{1} << 16;
        case 73: return uint32_t{1} << 17;
        case 74: return uint32_t{1} << 18;
        case 210: return uint32_t{1} << 19;
        case 220: return uint32_t{1} << 20;
        case 230: return uint32_t{1} << 21;
        default: return 0;
        }
    }

public:
    static AcDbObject* create(const AcDbStub&) { return new T(); }

    static void load(AcDbDatabase&, AcDbObject& o, const DxfTag* t, size_t end, const DxfCodepage& cp)
    {
        DxfTextCodec::loadText(static_cast<AcDbText&>(o), false, t, end, cp, &second);
    }

    static void second(AcDbObject& o, const DxfTag& tag, const DxfCodepage& cp)
    {
        auto& x = static_cast<T&>(o);
        switch (tag.code) {
        case 2: x.tag_ = cp.decode(tag.value()); break;
        case 3:
            if constexpr (kDefinition)
                x.prompt_ = cp.decode(tag.value());
            break;
        case 70: x.flags_ = static_cast<int>(DxfCodecSupport::integer(tag)); break;
        case 73: x.fieldLength_ = static_cast<int>(DxfCodecSupport::integer(tag)); break;
        default: break;
        }
    }

    static void save(AcDbDatabase&, AcDbObject& o, DxfTagEditor& ed)
    {
        auto& x = static_cast<T&>(o);
        DxfTextCodec::saveText(x, ed);
        const auto& second = DxfTextCodec::secondOrder();
        auto S = [&] { return ed.subclass(kSubclass); };
        if constexpr (kDefinition)
            ed.setString(S(), 3, x.prompt(), second);
        ed.setString(S(), 2, x.tag(), second);
        int flags = (x.isInvisible() ? 1 : 0) | (x.isConstant() ? 2 : 0) | (x.isVerifiable() ? 4 : 0)
                    | (x.isPreset() ? 8 : 0);
        if (ed.has(S(), 70) || flags != 0)
            ed.setInt(S(), 70, flags, second);
        if (ed.has(S(), 73) || x.fieldLength() != 0)
            ed.setInt(S(), 73, x.fieldLength(), second);
        if (ed.has(S(), 74) || x.verticalMode() != AcDb::kTextBase)
            ed.setInt(S(), 74, x.verticalMode(), second);
    }

    // For attributes (see DxfCodecFunctions::savesAsRead): the record as load
    // reads it and save writes it back without a change. Its subclasses are
    // AcDbEntity, AcDbText and AcDbAttribute, in that order, each once, with
    // no application group or embedded object. Each field save writes is
    // there once, as load reads it (a point's three codes in a row), and has
    // a value that reads back as itself: numbers that parse, whole numbers
    // save keeps (flags 0-15, modes within their range), angles that read back
    // through radians as save compares them, texts without a NUL or an escape.
    // Fields save writes only when they differ from their default are
    // absent, or there; the alignment point is there unless both modes are
    // the default (save adds it otherwise).
    static bool savesAsRead(const AcDbObject&, const DxfTag* t, size_t n)
    {
        static_assert(!kDefinition, "a definition's save also writes its prompt");
        using namespace DxfCodecSupport;
        constexpr std::string_view kMarkers[] = {"AcDbEntity", "AcDbText", kSubclass};
        enum Part { kBase = -1, kEntity, kText, kAttribute };
        int part = kBase;
        uint32_t inText = 0, inAttribute = 0;  // the fields seen, by fieldBit
        int64_t horizontal = 0, vertical = 0;
        for (size_t i = 1; i < n && t[i].code != 1001; ++i) {
            const int code = t[i].code;
            if (code == 101)
                return false;
            if (code == 100) {
                if (part == kAttribute || t[i].value() != kMarkers[part + 1])
                    return false;
                ++part;
                continue;
            }
            // The base part is saveBase's; the entity's own subclass is
            // checked by the caller (DxfObjectIO::entitySavesAsRead).
            if (part == kBase || part == kEntity)
                continue;
            if (code == 102)
                return false;
            const uint32_t bit = fieldBit(code);
            uint32_t& seen = part == kText ? inText : inAttribute;
            if (seen & bit)
                return false;
            seen |= bit;
            bool asItself = true;
            if (part == kAttribute) {
                switch (code) {
                case 1: case 7: case 10: case 11: case 39: case 40: case 41: case 50: case 51: case 71: case 72:
                case 210:
                    return false;  // load would take it for the text's own field
                case 2: asItself = readsAsItself(t[i], kReadsText); break;
                case 70: asItself = readsAsItself(t[i], kReadsWhole, 0, 15); break;
                case 73: asItself = readsAsItself(t[i], kReadsWhole, INT32_MIN, INT32_MAX); break;
                case 74: asItself = readsAsItself(t[i], kReadsWhole, 0, 3, &vertical); break;
                default: break;
                }
                if (!asItself)
                    return false;
                continue;
            }
            switch (code) {
            case 10: case 11: case 210:
                // x, y and z in a row, as load reads a point.
                if (i + 2 >= n || t[i + 1].code != code + 10 || t[i + 2].code != code + 20)
                    return false;
                [[fallthrough]];
            case 20: case 30: case 21: case 31: case 220: case 230: case 39: case 40: case 41:
                asItself = readsAsItself(t[i], kReadsReal);
                break;
            case 50: case 51: asItself = readsAsItself(t[i], kReadsAngle); break;
            case 1: case 7: asItself = readsAsItself(t[i], kReadsText); break;
            case 72: asItself = readsAsItself(t[i], kReadsWhole, 0, 5, &horizontal); break;
            default: break;
            }
            if (!asItself)
                return false;
        }
        // Always written: the position, the height, the text and the tag; a
        // point's y and z only with its x; the alignment point unless both
        // modes are the default.
        const auto has = [](uint32_t seen, std::initializer_list<int> codes) {
            for (int code : codes)
                if (!(seen & fieldBit(code)))
                    return false;
            return true;
        };
        const auto point = [&](int code) {
            return has(inText, {code, code + 10, code + 20}) ||
                   !(inText & (fieldBit(code) | fieldBit(code + 10) | fieldBit(code + 20)));
        };
        return part == kAttribute && has(inText, {10, 20, 30, 40, 1}) && has(inAttribute, {2}) && point(11) &&
               point(210) && ((inText & fieldBit(11)) || (horizontal == 0 && vertical == 0));
    }

    static void skeleton(AcDbDatabase& db, std::vector<DxfTag>& out)
    {
        DxfCodecSupport::add(db, out, 100, "AcDbText");
        DxfCodecSupport::add(db, out, 100, kSubclass);
    }
};
