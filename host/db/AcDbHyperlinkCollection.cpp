#include "host/db/AcDbHyperlinkCollection.h"

namespace {

AcDbHyperlink make(const char* name, const char* description, const char* subLocation)
{
    return AcDbHyperlink(name ? name : "", description ? description : "", subLocation ? subLocation : "");
}

}  // namespace

void AcDbHyperlinkCollection::addHead(const char* n, const char* d, const char* s) { links_.insert(links_.begin(), make(n, d, s)); }

void AcDbHyperlinkCollection::addTail(const char* n, const char* d, const char* s) { links_.push_back(make(n, d, s)); }

void AcDbHyperlinkCollection::addAt(int index, const char* n, const char* d, const char* s)
{
    if (index < 0)
        index = 0;
    if (index >= count())
        links_.push_back(make(n, d, s));
    else
        links_.insert(links_.begin() + index, make(n, d, s));
}

void AcDbHyperlinkCollection::removeHead()
{
    if (!links_.empty())
        links_.erase(links_.begin());
}

void AcDbHyperlinkCollection::removeTail()
{
    if (!links_.empty())
        links_.pop_back();
}

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
