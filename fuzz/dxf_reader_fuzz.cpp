// libFuzzer target for the DXF reader: any input must give eOk or a status
// with a message, never a crash; a drawing that reads must also write, open
// its objects, rename a block and read back again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/dxf_walk.h"
#include "host/db/AcDbDatabase.h"

// Objects are freed at the next close after their last one, as in the
// sanitizer run: every object the walk changes is written out from its
// lines or tags before the drawing is written.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("ZELKA_CLOSED_OBJECTS_BUILT", "1", 0);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    AcDbDatabase db(false);
    std::string text(reinterpret_cast<const char*>(data), size);
    if (db.readDxfText(text, "fuzz.dxf") != Acad::eOk) {
        if (db.lastError().empty())
            __builtin_trap();
        return 0;
    }
    std::string out = dxfFuzzWalk(db);
    AcDbDatabase again(false);
    if (again.readDxfText(out, "fuzz-out.dxf") != Acad::eOk)
        __builtin_trap();
    return 0;
}
