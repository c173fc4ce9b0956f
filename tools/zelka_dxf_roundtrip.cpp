// Opens a DXF file into the drawing database and saves it to another path,
// printing how long each step took. Used by the open-and-save benchmark.
#include <chrono>
#include <cstdio>

#include "host/db/AcDbDatabase.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: zelka_dxf_roundtrip IN.dxf OUT.dxf\n");
        return 2;
    }
    using Clock = std::chrono::steady_clock;
    auto t0 = Clock::now();
    AcDbDatabase db(false);
    if (db.readDxfFile(argv[1]) != Acad::eOk) {
        std::fprintf(stderr, "%s\n", db.lastError().c_str());
        return 1;
    }
    auto t1 = Clock::now();
    if (db.dxfOut(argv[2]) != Acad::eOk) {
        std::fprintf(stderr, "%s\n", db.lastError().c_str());
        return 1;
    }
    auto t2 = Clock::now();
    auto ms = [](auto d) { return std::chrono::duration<double, std::milli>(d).count(); };
    std::printf("open %.1f ms\nsave %.1f ms\ntotal %.1f ms\n", ms(t1 - t0), ms(t2 - t1), ms(t2 - t0));
    return 0;
}
