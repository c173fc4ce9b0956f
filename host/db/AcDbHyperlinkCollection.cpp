#include "host/db/AcDbHyperlinkCollection.h"

namespace {

AcDbHyperlink make(const char* name, const char* description, const char* subLocation)
{
    return AcDbHyperlink(name ? name : "", description ? description : "", subLocation ? subLocation : "");
}

}  // namespace

void AcDbHyperlinkCollection::addTail(const char* n, const char* d, const char* s) { links_.push_back(make(n, d, s)); }

void AcDbHyperlinkCollection::removeAt(int index)
{
    if (index >= 0 && index < count())
        links_.erase(links_.begin() + index);
}

AcDbHyperlink* AcDbHyperlinkCollection::item(int index)
{
    return index >= 0 && index < count() ? &links_[static_cast<size_t>(index)] : nullptr;
}

const AcDbHyperlink* AcDbHyperlinkCollection::item(int index) const
{
    return index >= 0 && index < count() ? &links_[static_cast<size_t>(index)] : nullptr;
}
