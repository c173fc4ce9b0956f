#pragma once
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "host/base/RawTag.h"
#include "host/db/AcDbObjectId.h"
#include "host/dxf/DxfValue.h"
#include "host/ge/AcGePoint3d.h"
#include "host/ge/AcGeVector3d.h"

class AcDbDatabase;
class DxfTagEditor;

// Helpers the codecs share: reading modelled numbers (a malformed one makes
// reading the file fail, see DxfNumberCheck), points, handles, angles and
// the extrusion direction.
namespace DxfCodecSupport {

constexpr double kDegToRad = 3.14159265358979323846 / 180.0;
constexpr double kRadToDeg = 180.0 / 3.14159265358979323846;

// Inline, as every number a codec reads comes through them.
inline double real(const DxfTag& t, double fallback = 0.0) { return DxfValue::fieldReal(t, fallback); }
inline int64_t integer(const DxfTag& t, int64_t fallback = 0) { return DxfValue::fieldInt(t, fallback); }
uint64_t handleOf(const DxfTag& t);
// The object of a handle in db; null when there is none.
AcDbObjectId idOf(AcDbDatabase& db, uint64_t handle);

// Reads the point whose x is at i (code c; y and z follow with c + 10 and
// c + 20 when present) and leaves i at its last tag.
AcGePoint3d pointAt(const DxfTag* t, size_t n, size_t& i, int c);

// Calls read(i) for each tag of the record t[0, end) that stands in one of
// the subclasses named (after its 100 marker). read may move i on over the
// tags it takes with the one at i (a point's y and z, see pointAt).
template <class Read>
void forEachTagIn(const DxfTag* t, size_t end, std::initializer_list<std::string_view> subclasses, Read&& read)
{
    bool in = false;
    for (size_t i = 1; i < end; ++i) {
        if (t[i].code == 100) {
            in = false;
            for (std::string_view name : subclasses)
                in = in || t[i].value() == name;
            continue;
        }
        if (in)
            read(i);
    }
}

// What a tag's value must be for saving an unchanged object to keep it
// (see DxfCodecFunctions::savesAsRead): a real that parses (load and save
// then agree on it); an angle in degrees that save keeps when it compares
// it with the angle as load stored it (in radians); a whole number
// from least to most (its value is stored in *value when given); a text
// without a NUL byte or an escape (decoding gives a text that compares equal
// to itself as a C string).
// Texts as files write them (plain reals, plain whole numbers) are decided
// here, inline: the check runs on every field of every object a command
// changes. Any other text goes to readsAsItselfSlowly, which converts it.
enum ValueReadBack { kReadsReal, kReadsAngle, kReadsWhole, kReadsText };
bool readsAsItselfSlowly(const DxfTag& t, ValueReadBack rule, int64_t least, int64_t most, int64_t* value);
inline bool readsAsItself(const DxfTag& t, ValueReadBack rule, int64_t least = 0, int64_t most = 0,
                          int64_t* value = nullptr)
{
    if (rule == kReadsReal && DxfValue::isPlainReal(t.value()))
        return true;
    if (int64_t whole = 0; rule == kReadsWhole && DxfValue::plainWhole(t.value(), whole)) {
        if (whole < least || whole > most)
            return false;
        if (value)
            *value = whole;
        return true;
    }
    return readsAsItselfSlowly(t, rule, least, most, value);
}

// Index of the end of the data part (the first 101 or 1001).
size_t dataEnd(const DxfTag* t, size_t n);

// Degrees for a stored angle in radians.
inline double degrees(double radians) { return radians * kRadToDeg; }

// Whether an angle's text, read as degrees, stands for the angle in radians:
// saving keeps the text of an angle that does.
inline bool sameAngle(double degreesRead, double radians)
{
    return std::fabs(degreesRead / kRadToDeg - radians) < 1e-15;
}

// Writes the extrusion direction (210) into the nth subclass marker when the
// record has one or the direction is not +Z.
void saveNormal(DxfTagEditor& ed, const char* marker, const AcGeVector3d& n, std::initializer_list<int> order,
                int nth = 0);

// Appends tags for a new record: code and text (kept by the database).
void add(AcDbDatabase& db, std::vector<DxfTag>& out, int code, std::string text);

}  // namespace DxfCodecSupport
