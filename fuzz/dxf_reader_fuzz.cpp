// libFuzzer target for the DXF reader: any input must give eOk or a status
// with a message, never a crash; a drawing that reads must also write, open
// its objects, rename a block and read back again. Where reading noted the
// place of a block reference's name, the name taken from there must be the
// one splitting its lines gives; an attribute read in one walk over the
// usual shape of its record must be read as the general way reads it; a
// polyline read from its record must be the polyline opening it builds; a
// drawing whose attributes are all written back unchanged through their
// views must write out as the drawing whose attributes are all opened for
// write and closed unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz/dxf_walk.h"
#include "host/db/AcDbAttribute.h"
#include "host/db/AcDbAttributeView.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbObjectKind.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbPeek.h"
#include "host/db/AcDbPolyline.h"
#include "host/db/AcDbStub.h"
#include "host/dxf/DxfObjectIO.h"

namespace {

// Peeks at every block reference's name with and without the place reading
// noted; stops the run when the two answers differ.
void checkNotedNames(AcDbDatabase& db)
{
    for (AcDbStub& stub : db.data().stubs) {
        if (stub.kind != static_cast<uint8_t>(AcDbObjectKind::BlockReference) || stub.insertNameAt == 0)
            continue;
        std::string_view noted, split;
        const bool fromNote = acdbPeekBlockName(AcDbObjectId(&stub), noted);
        const std::string notedName(noted);
        const uint8_t at = stub.insertNameAt;
        stub.insertNameAt = 0;
        const bool fromSplit = acdbPeekBlockName(AcDbObjectId(&stub), split);
        stub.insertNameAt = at;
        if (fromNote != fromSplit || (fromNote && notedName != split))
            __builtin_trap();
    }
}

// Reads every attribute's record both ways; stops the run when they differ
// in whether they answer or in any field.
void checkAttributeReadings(AcDbDatabase& db)
{
    for (AcDbStub& stub : db.data().stubs) {
        if (stub.kind != static_cast<uint8_t>(AcDbObjectKind::Attribute) || stub.object)
            continue;
        AcDbAttributeRecordRead common, general;
        const bool a = DxfObjectIO::readAttribute(db, stub, common);
        const bool b = DxfObjectIO::readAttribute(db, stub, general, DxfObjectIO::AttributeReading::kGeneral);
        if (a != b)
            __builtin_trap();
        if (!a)
            continue;
        const AcDbAttributeFields& x = common.fields;
        const AcDbAttributeFields& y = general.fields;
        const double xs[] = {x.height, x.widthFactor, x.rotation, x.position.x, x.position.y,
                             x.position.z, x.alignment.x, x.alignment.y, x.alignment.z};
        const double ys[] = {y.height, y.widthFactor, y.rotation, y.position.x, y.position.y,
                             y.position.z, y.alignment.x, y.alignment.y, y.alignment.z};
        if (x.tag != y.tag || x.text != y.text || x.layer != y.layer || x.defaultAlignment != y.defaultAlignment ||
            std::memcmp(xs, ys, sizeof xs) != 0 || common.ownerAt != general.ownerAt ||
            common.ownerLength != general.ownerLength || common.owner != general.owner)
            __builtin_trap();
    }
}

// Reads every polyline not built with acdbReadPolyline (from its record),
// then opens it; stops the run when one answers and the other does not, or
// when they differ in any field the polyline's measures use.
void checkPolylineReadings(AcDbDatabase& db)
{
    for (AcDbStub& stub : db.data().stubs) {
        if (stub.kind != static_cast<uint8_t>(AcDbObjectKind::Polyline) || stub.object || stub.erased)
            continue;
        const AcDbObjectId id(&stub);
        AcDbPolyline peeked;
        const bool read = acdbReadPolyline(id, peeked) == Acad::eOk;
        AcDbObjectPointer<AcDbPolyline> opened(id, AcDb::kForRead);
        if (read != (opened.openStatus() == Acad::eOk))
            __builtin_trap();
        if (!read)
            continue;
        const auto& a = peeked.vertices();
        const auto& b = opened->vertices();
        double wa = 0.0, wb = 0.0;
        peeked.getConstantWidth(wa);
        opened->getConstantWidth(wb);
        const double xs[] = {peeked.elevation(), peeked.thickness(), wa, peeked.normal().x, peeked.normal().y,
                             peeked.normal().z};
        const double ys[] = {opened->elevation(), opened->thickness(), wb, opened->normal().x, opened->normal().y,
                             opened->normal().z};
        if (a.size() != b.size() || peeked.isClosed() != opened->isClosed() || std::memcmp(xs, ys, sizeof xs) != 0)
            __builtin_trap();
        for (size_t i = 0; i < a.size(); ++i) {
            const double va[] = {a[i].point.x, a[i].point.y, a[i].bulge, a[i].startWidth, a[i].endWidth};
            const double vb[] = {b[i].point.x, b[i].point.y, b[i].bulge, b[i].startWidth, b[i].endWidth};
            if (std::memcmp(va, vb, sizeof va) != 0)
                __builtin_trap();
        }
    }
}

// Writes every attribute back unchanged in two drawings read from text: in
// one through its view (an open for write where the view cannot), in the
// other through an open for write that sets its height to itself. Stops the
// run when the two write out differently.
void checkUnchangedWrites(const std::string& text)
{
    AcDbDatabase viewed(false), opened(false);
    if (viewed.readDxfText(text, "viewed.dxf") != Acad::eOk || opened.readDxfText(text, "opened.dxf") != Acad::eOk)
        __builtin_trap();
    const auto openForWrite = [](AcDbObjectId id) {
        AcDbObjectPointer<AcDbAttribute> a(id, AcDb::kForWrite);
        if (a)
            a->setHeight(a->height());
    };
    auto other = opened.data().stubs.begin();
    for (AcDbStub& stub : viewed.data().stubs) {
        AcDbStub& same = *other++;
        if (stub.kind != static_cast<uint8_t>(AcDbObjectKind::Attribute))
            continue;
        openForWrite(AcDbObjectId(&same));
        AcDbAttributeView view;
        if (view.read(AcDbObjectId(&stub)) == Acad::eOk && view.writeUnchanged() == Acad::eNotApplicable)
            openForWrite(AcDbObjectId(&stub));
    }
    std::string a, b;
    const Acad::ErrorStatus wroteViewed = viewed.writeDxfText(a), wroteOpened = opened.writeDxfText(b);
    if (wroteViewed != wroteOpened || (wroteViewed == Acad::eOk && a != b))
        __builtin_trap();
}

}  // namespace

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
    checkNotedNames(db);
    checkAttributeReadings(db);
    checkPolylineReadings(db);
    checkUnchangedWrites(text);
    std::string out = dxfFuzzWalk(db);
    AcDbDatabase again(false);
    if (again.readDxfText(out, "fuzz-out.dxf") != Acad::eOk)
        __builtin_trap();
    return 0;
}
