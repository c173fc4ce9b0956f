#include "host/db/resbuf.h"

#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

AcRbValueKind acutRbValueKindOfOther(int t)
{
    switch (t) {
    case RTNONE: case RTVOID: case RTLB: case RTLE: case RTNORM: return AcRbValueKind::None;
    case RTREAL: case RTANG: case RTORINT: return AcRbValueKind::Real;
    case RTPOINT: case RT3DPOINT: return AcRbValueKind::Point;
    case RTSHORT: return AcRbValueKind::Short;
    case RTLONG: return AcRbValueKind::Long;
    case RTSTR: case RTDXF0: return AcRbValueKind::String;
    case RTENAME: case RTPICKS: return AcRbValueKind::Name;
    default: break;
    }
    if ((t >= 0 && t <= 9) || (t >= 100 && t <= 102) || (t >= 300 && t <= 309) || (t >= 410 && t <= 419)
        || (t >= 430 && t <= 439) || (t >= 470 && t <= 479) || t == 999
        || (t >= 310 && t <= 369) || (t >= 390 && t <= 399) || t == 105 || (t >= 480 && t <= 481))
        return AcRbValueKind::String;
    if ((t >= 10 && t <= 18) || (t >= 110 && t <= 112) || (t >= 210 && t <= 212))
        return AcRbValueKind::Point;
    if ((t >= 19 && t <= 59) || (t >= 113 && t <= 149) || (t >= 213 && t <= 239) || (t >= 460 && t <= 469))
        return AcRbValueKind::Real;
    if ((t >= 60 && t <= 79) || (t >= 170 && t <= 179) || (t >= 270 && t <= 299) || (t >= 370 && t <= 389)
        || (t >= 400 && t <= 409))
        return AcRbValueKind::Short;
    if ((t >= 90 && t <= 99) || (t >= 420 && t <= 459))
        return AcRbValueKind::Long;
    if (t >= 160 && t <= 169)
        return AcRbValueKind::Int64;
    if (t == -1 || t == -2)
        return AcRbValueKind::Name;
    if (t == -4)
        return AcRbValueKind::String;  // a filter's conditional operator ("<OR", ">=", ...)
    return AcRbValueKind::None;
}

namespace {

// Buffers are cut from blocks of many at a time and released ones kept on a
// per-thread list for reuse: reading and setting extended data makes and
// frees chains of a dozen or more nodes per object, and the allocator would
// otherwise be asked for each. A node must therefore be released with
// acutRelRb, never free(). A node released on another thread than the one
// that made it simply joins that thread's list. Strings are not pooled:
// callers may set rstring themselves, and acutRelRb frees it with free().
struct SpareBuffers {
    resbuf* head = nullptr;      // released nodes
    resbuf* unused = nullptr;    // the rest of the current block
    resbuf* unusedEnd = nullptr;
};

thread_local SpareBuffers spareBuffers;  // trivially destructible: reached without a guard

constexpr size_t kBuffersPerBlock = 512;

// A new block of nodes. The blocks stay for the life of the program (the
// nodes of a thread that ended are not reused), listed here so they remain
// reachable.
resbuf* newBlock()
{
    static std::mutex mutex;
    static auto* blocks = new std::vector<resbuf*>();
    auto* block = static_cast<resbuf*>(std::malloc(sizeof(resbuf) * kBuffersPerBlock));
    if (block) {
        std::lock_guard<std::mutex> lock(mutex);
        blocks->push_back(block);
    }
    return block;
}

}  // namespace

resbuf* acutNewRb(int restype)
{
    SpareBuffers& spare = spareBuffers;
    resbuf* rb = spare.head;
    if (rb) {
        spare.head = rb->rbnext;
    } else {
        if (spare.unused == spare.unusedEnd) {
            spare.unused = newBlock();
            if (!spare.unused)
                return nullptr;
            spare.unusedEnd = spare.unused + kBuffersPerBlock;
        }
        rb = spare.unused++;
    }
    std::memset(static_cast<void*>(rb), 0, sizeof(resbuf));
    rb->restype = static_cast<short>(restype);
    return rb;
}

int acutRelRb(resbuf* rb)
{
    SpareBuffers& spare = spareBuffers;
    while (rb) {
        resbuf* next = rb->rbnext;
        if (acutRbValueKind(rb->restype) == AcRbValueKind::String)
            std::free(rb->resval.rstring);
        rb->rbnext = spare.head;
        spare.head = rb;
        rb = next;
    }
    return RTNORM;
}

int acutNewString(resbuf* rb, const char* text)
{
    if (!rb)
        return RTERROR;
    std::free(rb->resval.rstring);
    rb->resval.rstring = text ? strdup(text) : nullptr;
    return RTNORM;
}

resbuf* acutBuildList(int restype, ...)
{
    va_list ap;
    va_start(ap, restype);
    resbuf* head = nullptr;
    resbuf* tail = nullptr;
    bool bad = false;
    for (int t = restype; t != 0 && t != RTNONE; t = va_arg(ap, int)) {
        resbuf* rb = acutNewRb(t);
        if (!rb) {
            bad = true;
            break;
        }
        switch (acutRbValueKind(t)) {
        case AcRbValueKind::None:
            if (t != RTLB && t != RTLE && t != RTVOID && t != RTNORM && t != -3)
                bad = true;
            break;
        case AcRbValueKind::Real: rb->resval.rreal = va_arg(ap, double); break;
        case AcRbValueKind::Point: {
            const double* p = va_arg(ap, const double*);
            if (p)
                std::memcpy(rb->resval.rpoint, p, sizeof(double) * 3);
            break;
        }
        case AcRbValueKind::Short: rb->resval.rint = static_cast<short>(va_arg(ap, int)); break;
        case AcRbValueKind::Long: rb->resval.rlong = va_arg(ap, int); break;
        case AcRbValueKind::Int64: rb->resval.mnInt64 = va_arg(ap, int64_t); break;
        case AcRbValueKind::String: {
            const char* s = va_arg(ap, const char*);
            rb->resval.rstring = strdup(s ? s : "");
            break;
        }
        case AcRbValueKind::Name: {
            const int64_t* n = va_arg(ap, const int64_t*);
            if (n) {
                rb->resval.rlname[0] = n[0];
                rb->resval.rlname[1] = n[1];
            }
            break;
        }
        }
        if (head)
            tail->rbnext = rb;
        else
            head = rb;
        tail = rb;
        if (bad)
            break;
    }
    va_end(ap);
    if (bad) {
        acutRelRb(head);
        return nullptr;
    }
    return head;
}

resbuf* acutDuplicateRb(const resbuf* rb)
{
    resbuf* head = nullptr;
    resbuf* tail = nullptr;
    for (; rb; rb = rb->rbnext) {
        resbuf* copy = acutNewRb(rb->restype);
        if (!copy)
            break;
        copy->resval = rb->resval;
        if (acutRbValueKind(rb->restype) == AcRbValueKind::String)
            copy->resval.rstring = rb->resval.rstring ? strdup(rb->resval.rstring) : nullptr;
        if (head)
            tail->rbnext = copy;
        else
            head = copy;
        tail = copy;
    }
    return head;
}
