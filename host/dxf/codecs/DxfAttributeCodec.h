#pragma once
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

    static void skeleton(AcDbDatabase& db, std::vector<DxfTag>& out)
    {
        DxfCodecSupport::add(db, out, 100, "AcDbText");
        DxfCodecSupport::add(db, out, 100, kSubclass);
    }
};
