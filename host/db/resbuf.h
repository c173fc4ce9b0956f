#pragma once
#include <cstdint>

// Result buffers: the linked lists through which extended data and other
// typed value lists pass, as in ObjectARX. restype is a DXF group code (for
// extended data 1000..1071) or one of the RT* value types below. Strings are
// UTF-8, allocated by acutNewRb/acutBuildList and freed by acutRelRb.

using ads_real = double;
using ads_point = double[3];
using ads_name = int64_t[2];

constexpr short RTNONE = 5000;
constexpr short RTREAL = 5001;
constexpr short RTPOINT = 5002;
constexpr short RTSHORT = 5003;
constexpr short RTANG = 5004;
constexpr short RTSTR = 5005;
constexpr short RTENAME = 5006;
constexpr short RTPICKS = 5007;
constexpr short RTORINT = 5008;
constexpr short RT3DPOINT = 5009;
constexpr short RTLONG = 5010;
constexpr short RTVOID = 5014;
constexpr short RTLB = 5016;
constexpr short RTLE = 5017;
constexpr short RTDXF0 = 5020;
constexpr short RTNORM = 5100;
constexpr short RTERROR = -5001;
constexpr short RTCAN = -5002;

union ads_u_val {
    ads_real rreal;
    ads_real rpoint[3];
    short rint;
    char* rstring;
    ads_name rlname;
    int32_t rlong;
    int64_t mnInt64;
};

struct resbuf {
    resbuf* rbnext;
    short restype;
    ads_u_val resval;
};

// The kind of value a restype carries.
enum class AcRbValueKind { None, Real, Point, Short, Long, Int64, String, Name };
// The kind for restypes other than extended data's 1000 to 1071.
AcRbValueKind acutRbValueKindOfOther(int restype);
// Extended data's kinds are decided here, inline: most buffers, and every
// item of a record compared or read back, carry extended data.
inline AcRbValueKind acutRbValueKind(int restype)
{
    if (restype >= 1000 && restype <= 1071)
        return restype <= 1009   ? AcRbValueKind::String
               : restype <= 1013 ? AcRbValueKind::Point
               : restype <= 1059 ? AcRbValueKind::Real
               : restype <= 1070 ? AcRbValueKind::Short
                                 : AcRbValueKind::Long;
    return acutRbValueKindOfOther(restype);
}

// A new zeroed buffer of the type; strings start null. Null when out of
// memory. Release it with acutRelRb only (buffers are pooled: never free()).
resbuf* acutNewRb(int restype);
// Frees a whole chain, strings included (with free()); null is allowed. Returns RTNORM.
int acutRelRb(resbuf* rb);
// Builds a chain from (restype, value) pairs ended by 0 or RTNONE: strings as
// const char*, reals as double, points as const double*, 16-bit values as int,
// 32-bit values as int, 64-bit as int64_t. RTLB, RTLE, RTVOID, RTNORM and the
// extended-data marker -3 take no value: acutBuildList(RTDXF0, "INSERT", -3,
// 1001, "APP", RTNONE) is a selection filter for inserts with "APP" data.
// Null on an unknown restype.
resbuf* acutBuildList(int restype, ...);
// A deep copy of a chain; null for null.
resbuf* acutDuplicateRb(const resbuf* rb);
// Sets rb's string to a copy of text (freeing the old one). RTNORM, or RTERROR for null rb.
int acutNewString(resbuf* rb, const char* text);
