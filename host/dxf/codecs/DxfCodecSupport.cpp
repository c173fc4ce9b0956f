#include "host/dxf/codecs/DxfCodecSupport.h"

#include <cmath>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/dxf/DxfTagEditor.h"
#include "host/dxf/DxfValue.h"

namespace DxfCodecSupport {

uint64_t handleOf(const DxfTag& t) { return DxfValue::fieldHandle(t); }

AcDbObjectId idOf(AcDbDatabase& db, uint64_t handle)
{
    return AcDbObjectId(db.data().byHandle.find(handle));
}

AcGePoint3d pointAt(const DxfTag* t, size_t n, size_t& i, int c)
{
    AcGePoint3d p;
    p.x = real(t[i]);
    if (i + 1 < n && t[i + 1].code == c + 10)
        p.y = real(t[++i]);
    if (i + 1 < n && t[i + 1].code == c + 20)
        p.z = real(t[++i]);
    return p;
}

bool readsAsItselfSlowly(const DxfTag& t, ValueReadBack rule, int64_t least, int64_t most, int64_t* value)
{
    const std::string_view v = t.value();
    double real = 0;
    int64_t whole = 0;
    switch (rule) {
    case kReadsReal:
        return DxfValue::toDouble(v, real);
    case kReadsAngle: {
        // Load stores degrees times kDegToRad; save keeps the text when it
        // reads within 1e-15 of that in radians, or when the radians give
        // the same degrees back.
        if (!DxfValue::toDouble(v, real))
            return false;
        const double radians = real * kDegToRad;
        return sameAngle(real, radians) || degrees(radians) == real;
    }
    case kReadsWhole:
        if (!DxfValue::toInt(v, whole) || whole < least || whole > most)
            return false;
        if (value)
            *value = whole;
        return true;
    case kReadsText: return v.find('\0') == std::string_view::npos && v.find('\\') == std::string_view::npos;
    }
    return false;
}

size_t dataEnd(const DxfTag* t, size_t n)
{
    for (size_t i = 0; i < n; ++i)
        if (t[i].code == 101 || t[i].code == 1001)
            return i;
    return n;
}

void saveNormal(DxfTagEditor& ed, const char* marker, const AcGeVector3d& n, std::initializer_list<int> order, int nth)
{
    auto r = ed.subclass(marker, nth);
    const bool isDefault = n.x == 0.0 && n.y == 0.0 && n.z == 1.0;
    if (ed.has(r, 210) || !isDefault)
        ed.setPoint(r, 210, n.x, n.y, n.z, order);
}

void add(AcDbDatabase& db, std::vector<DxfTag>& out, int code, std::string text)
{
    out.emplace_back(code, db.data().keep(std::move(text)));
}

}  // namespace DxfCodecSupport
