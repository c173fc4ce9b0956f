#include <algorithm>
#include <cmath>

#include "host/base/DxfCodepage.h"
#include "host/db/AcDbMText.h"
#include "host/dxf/DxfCodec.h"
#include "host/dxf/DxfTagEditor.h"
#include "host/dxf/DxfValue.h"
#include "host/dxf/codecs/DxfCodecSupport.h"

using namespace DxfCodecSupport;

// MTEXT: location (10), height (40), reference width (41), attachment (71),
// contents (3 chunks then 1), style (7), extrusion (210), direction (11,
// world coordinates) or rotation (50, degrees; the direction wins when both
// are there), line spacing style (73) and factor (44). The drawing direction
// (72), the measured size (42, 43), background fill and columns are kept as read.
class DxfMTextCodec {
public:
    static AcDbObject* create(const AcDbStub&) { return new AcDbMText(); }

    static void load(AcDbDatabase&, AcDbObject& o, const DxfTag* t, size_t end, const DxfCodepage& cp)
    {
        auto& m = static_cast<AcDbMText&>(o);
        bool in = false, hasDirection = false, hasRotation = false;
        AcGeVector3d direction;
        double rotation = 0.0;
        std::string raw, last;
        for (size_t i = 1; i < end; ++i) {
            if (t[i].code == 100) {
                in = t[i].value() == "AcDbMText";
                continue;
            }
            if (!in)
                continue;
            switch (t[i].code) {
            case 10: m.location_ = pointAt(t, end, i, 10); break;
            case 40: m.height_ = real(t[i], m.height_); break;
            case 41: m.width_ = std::max(0.0, real(t[i])); break;
            case 71: {
                const int64_t a = integer(t[i], 1);
                m.attachment_ = a >= 1 && a <= 9 ? static_cast<AcDbMText::AttachmentPoint>(a) : AcDbMText::kTopLeft;
                break;
            }
            case 3: raw += t[i].value(); break;
            case 1: last = t[i].value(); break;
            case 7: m.style_ = cp.decode(t[i].value()); break;
            case 210: m.normal_ = pointAt(t, end, i, 210).asVector(); break;
            case 11:
                direction = pointAt(t, end, i, 11).asVector();
                hasDirection = direction.length() > 1e-12;
                break;
            case 50:
                rotation = real(t[i]) * kDegToRad;
                hasRotation = true;
                break;
            case 73: m.lineSpacingStyle_ = integer(t[i], 1) == 2 ? AcDbMText::kExactly : AcDbMText::kAtLeast; break;
            case 44: {
                const double f = real(t[i], 1.0);
                m.lineSpacingFactor_ = f > 0.0 ? f : 1.0;
                break;
            }
            default: break;
            }
        }
        // The chunks are joined before decoding: an escape may straddle two.
        m.contents_ = cp.decode(raw + last);
        if (m.normal_.length() < 1e-12)
            m.normal_ = AcGeVector3d(0, 0, 1);
        m.normal_ = m.normal_.normal();
        if (hasDirection)
            m.direction_ = direction.normal();
        else
            m.direction_ = AcGeMatrix3d::planeToWorld(m.normal_) *
                           AcGeVector3d(std::cos(hasRotation ? rotation : 0.0), std::sin(hasRotation ? rotation : 0.0), 0.0);
    }

    static void save(AcDbDatabase&, AcDbObject& o, DxfTagEditor& ed)
    {
        static const std::initializer_list<int> order = {10, 20, 30, 40, 41, 46, 71, 72, 3, 1, 7, 210, 220, 230,
                                                         11, 21, 31, 42, 43, 50, 73, 44};
        auto& m = static_cast<AcDbMText&>(o);
        auto R = [&] { return ed.subclass("AcDbMText"); };
        ed.setPoint(R(), 10, m.location().x, m.location().y, m.location().z, order);
        ed.setReal(R(), 40, m.textHeight(), order);
        if (ed.has(R(), 41) || m.width() != 0.0)
            ed.setReal(R(), 41, m.width(), order);
        ed.setInt(R(), 71, m.attachment(), order);
        saveContents(m.contents(), ed, order);
        if (ed.has(R(), 7) || std::string(m.textStyleName()) != "Standard")
            ed.setString(R(), 7, m.textStyleName(), order);
        saveNormal(ed, "AcDbMText", m.normal(), order);
        // The rotation is kept as written while it still names the same angle.
        auto saveRotation = [&] {
            double old = 0;
            const auto r = R();
            for (size_t i = r.begin; i < r.end; ++i)
                if (ed.tags()[i].code == 50 && DxfValue::toDouble(ed.tags()[i].value(), old) &&
                    std::fabs(std::remainder(old * kDegToRad - m.rotation(), 2 * 3.14159265358979323846)) < 1e-12)
                    return;
            ed.setReal(R(), 50, degrees(m.rotation()), order);
        };
        // The direction likewise, while the stored vector points the same way (it need not be a unit vector).
        const auto r = R();
        AcGeVector3d stored;
        bool hasDirection = false;
        for (size_t i = r.begin; i < r.end; ++i)
            if (ed.tags()[i].code == 11) {
                stored = pointAt(ed.tags().data(), r.end, i, 11).asVector();
                hasDirection = true;
                break;
            }
        const bool sameDirection = hasDirection && stored.length() > 1e-12 &&
                                   (stored.normal() - m.direction()).length() < 1e-12;
        if ((hasDirection && !sameDirection) || (!hasDirection && !ed.has(R(), 50) && m.rotation() != 0.0))
            ed.setPoint(R(), 11, m.direction().x, m.direction().y, m.direction().z, order);
        if (ed.has(R(), 50))
            saveRotation();
        if (ed.has(R(), 73) || m.lineSpacingStyle() != AcDbMText::kAtLeast)
            ed.setInt(R(), 73, m.lineSpacingStyle(), order);
        if (ed.has(R(), 44) || m.lineSpacingFactor() != 1.0)
            ed.setReal(R(), 44, m.lineSpacingFactor(), order);
    }

    static void skeleton(AcDbDatabase& db, std::vector<DxfTag>& out) { add(db, out, 100, "AcDbMText"); }

private:
    // Rewrites the contents only when they differ from what the tags hold:
    // chunks of at most 250 bytes in the file's encoding (never splitting a
    // character), all but the last as 3, the last as 1.
    static void saveContents(const std::string& utf8, DxfTagEditor& ed, std::initializer_list<int> order)
    {
        auto r = ed.subclass("AcDbMText");
        const DxfCodepage& cp = ed.codepage();
        std::string raw, last;
        for (size_t i = r.begin; i < r.end; ++i) {
            if (ed.tags()[i].code == 3)
                raw += ed.tags()[i].value();
            else if (ed.tags()[i].code == 1)
                last = ed.tags()[i].value();
        }
        if (ed.has(r, 1) && cp.decode(raw + last) == utf8)
            return;
        std::vector<std::string> chunks(1);
        size_t encodedSize = 0;
        for (size_t i = 0; i < utf8.size();) {
            size_t n = 1;
            while (i + n < utf8.size() && (static_cast<unsigned char>(utf8[i + n]) & 0xC0) == 0x80)
                ++n;
            const std::string ch = utf8.substr(i, n);
            const size_t size = cp.encode(ch).size();
            if (encodedSize + size > 250) {
                chunks.emplace_back();
                encodedSize = 0;
            }
            chunks.back() += ch;
            encodedSize += size;
            i += n;
        }
        ed.remove(r, 3);
        const size_t at = ed.setString(ed.subclass("AcDbMText"), 1, chunks.back(), order);
        std::vector<DxfTag> leading;
        for (size_t k = 0; k + 1 < chunks.size(); ++k)
            leading.push_back(ed.make(3, cp.encode(chunks[k])));
        if (!leading.empty())
            ed.insert(at, leading);
    }
};

extern const DxfCodecFunctions kDxfMTextCodec = {&DxfMTextCodec::create, &DxfMTextCodec::load, &DxfMTextCodec::save,
                                                 &DxfMTextCodec::skeleton};
