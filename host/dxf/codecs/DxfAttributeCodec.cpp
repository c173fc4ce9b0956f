#include "host/base/DxfCodepage.h"
#include "host/db/AcDbAttribute.h"
#include "host/dxf/DxfCodec.h"
#include "host/dxf/DxfTagEditor.h"
#include "host/dxf/codecs/DxfCodecSupport.h"
#include "host/dxf/codecs/DxfTextCodec.h"

using namespace DxfCodecSupport;

// ATTRIB: the text part (DxfTextCodec), then tag (2), flags (70), field
// length (73) and vertical mode (74) of AcDbAttribute.
class DxfAttributeCodec {
public:
    static AcDbObject* create(const AcDbStub&) { return new AcDbAttribute(); }

    static void load(AcDbDatabase&, AcDbObject& o, const DxfTag* t, size_t end, const DxfCodepage& cp)
    {
        DxfTextCodec::loadText(static_cast<AcDbText&>(o), false, t, end, cp, &second);
    }

    static void second(AcDbObject& o, const DxfTag& tag, const DxfCodepage& cp)
    {
        auto& x = static_cast<AcDbAttribute&>(o);
        switch (tag.code) {
        case 2: x.tag_ = cp.decode(tag.value()); break;
        case 70: x.flags_ = static_cast<int>(integer(tag)); break;
        case 73: x.fieldLength_ = static_cast<int>(integer(tag)); break;
        default: break;
        }
    }

    static void save(AcDbDatabase&, AcDbObject& o, DxfTagEditor& ed)
    {
        auto& x = static_cast<AcDbAttribute&>(o);
        DxfTextCodec::saveText(x, ed);
        const auto& second = DxfTextCodec::secondOrder();
        auto S = [&] { return ed.subclass("AcDbAttribute"); };
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
        add(db, out, 100, "AcDbText");
        add(db, out, 100, "AcDbAttribute");
    }
};

extern const DxfCodecFunctions kDxfAttributeCodec = {&DxfAttributeCodec::create, &DxfAttributeCodec::load,
                                                &DxfAttributeCodec::save, &DxfAttributeCodec::skeleton};
