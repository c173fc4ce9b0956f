#include "host/db/AcDbEntityHyperlinkPE.h"

#include <string>

#include "host/db/AcDbEntity.h"
#include "host/db/AcDbOpen.h"
#include "host/db/resbuf.h"

namespace {

constexpr const char* kApp = "PE_URL";

}  // namespace

AcDbEntityHyperlinkPE* AcDbEntityHyperlinkPE::cast(const AcDbObject* object)
{
    static AcDbEntityHyperlinkPE instance;
    return dynamic_cast<const AcDbEntity*>(object) ? &instance : nullptr;
}

Acad::ErrorStatus AcDbEntityHyperlinkPE::getHyperlinkCollection(const AcDbObject* object, AcDbHyperlinkCollection*& links,
                                                                bool oneOnly, bool) const
{
    links = nullptr;
    if (!object)
        return Acad::eNullObjectPointer;
    links = new AcDbHyperlinkCollection();
    resbuf* chain = object->xData(kApp);
    int depth = 0, inList = 0;
    AcDbHyperlink* current = nullptr;
    for (const resbuf* rb = chain ? chain->rbnext : nullptr; rb; rb = rb->rbnext) {
        if (rb->restype == 1001)
            break;
        if (rb->restype == 1002) {
            std::string brace = rb->resval.rstring ? rb->resval.rstring : "";
            depth += brace == "{" ? 1 : brace == "}" ? -1 : 0;
            if (depth == 0)
                inList = 0;
            continue;
        }
        if (rb->restype == 1000 && depth == 0) {
            if (oneOnly && links->count() == 1)
                break;
            links->addTail(rb->resval.rstring, "");
            current = links->item(links->count() - 1);
        } else if (rb->restype == 1000 && depth == 1 && current) {
            if (inList++ == 0)
                current->setDescription(rb->resval.rstring);
            else
                current->setSubLocation(rb->resval.rstring);
        } else if (rb->restype == 1071 && depth == 2 && current) {
            current->setFlag(static_cast<int>(rb->resval.rlong));
        }
    }
    acutRelRb(chain);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEntityHyperlinkPE::setHyperlinkCollection(AcDbObject* object, const AcDbHyperlinkCollection* links) const
{
    if (!object)
        return Acad::eNullObjectPointer;
    if (object->database())
        acdbRegApp(kApp, object->database());
    resbuf* head = acutBuildList(1001, kApp, 0);
    resbuf* tail = head;
    auto add = [&](resbuf* rb) {
        tail->rbnext = rb;
        while (tail->rbnext)
            tail = tail->rbnext;
    };
    for (int i = 0; links && i < links->count(); ++i) {
        const AcDbHyperlink* l = links->item(i);
        add(acutBuildList(1000, l->name(), 0));
        if (!*l->description() && !*l->subLocation() && l->flag() == 0)
            continue;
        add(acutBuildList(1002, "{", 1000, l->description(), 0));
        if (*l->subLocation())
            add(acutBuildList(1000, l->subLocation(), 0));
        add(acutBuildList(1002, "{", 1071, static_cast<int32_t>(l->flag()), 1002, "}", 1002, "}", 0));
    }
    Acad::ErrorStatus es = object->setXData(head);
    acutRelRb(head);
    return es;
}
