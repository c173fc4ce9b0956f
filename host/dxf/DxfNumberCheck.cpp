#include "host/dxf/DxfNumberCheck.h"

#include <algorithm>
#include <memory>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbObject.h"
#include "host/dxf/DxfObjectIO.h"
#include "host/dxf/DxfTagReader.h"
#include "host/dxf/DxfValue.h"

namespace {

thread_local DxfNumberCheck* gActive = nullptr;

// Checks the numbers of the extended data (from the first 1001 on): reals
// and points 1010-1059, whole numbers 1060-1071.
void checkXData(const AcDbStub& s)
{
    size_t i = 0;
    while (i < s.tagCount && s.tags[i].code != 1001)
        ++i;
    for (; i < s.tagCount; ++i) {
        const DxfTag& t = s.tags[i];
        if (t.code >= 1010 && t.code <= 1059)
            DxfValue::fieldReal(t);
        else if (t.code >= 1060 && t.code <= 1071)
            DxfValue::fieldInt(t);
    }
}

}  // namespace

DxfNumberCheck::DxfNumberCheck() : previous_(gActive) { gActive = this; }

DxfNumberCheck::~DxfNumberCheck() { gActive = previous_; }

void DxfNumberCheck::report(const DxfTag& tag, const char* what)
{
    if (!gActive || gActive->hasBad_)
        return;
    gActive->bad_ = tag;
    gActive->what_ = what;
    gActive->hasBad_ = true;
}

DxfReadResult DxfNumberCheck::finish(AcDbDatabase& db, const std::string& fileName)
{
    AcDbDatabaseData& d = db.data();
    for (AcDbStub& s : d.stubs) {
        if (hasBad_)
            break;
        if (!s.tags || s.tagCount == 0)
            continue;
        if (!s.object)
            std::unique_ptr<AcDbObject> built(DxfObjectIO::build(db, &s));
        checkXData(s);
    }
    if (!hasBad_)
        return {};
    // Where the value stands: its tag in the file, and the object holding it.
    const std::string_view text = d.text;
    std::string found = std::string(bad_.value().substr(0, 40));
    std::string what = std::string("expected ") + what_ + " for group code " + std::to_string(bad_.code);
    size_t line = 0;
    if (bad_.text >= text.data() && bad_.text <= text.data() + text.size()) {
        line = DxfTagReader::lineOfOffset(text, static_cast<size_t>(bad_.text - text.data()));
        auto at = std::lower_bound(d.tags.begin(), d.tags.end(), bad_.text,
                                   [](const DxfTag& t, const char* p) { return t.text < p; });
        size_t k = static_cast<size_t>(at - d.tags.begin());
        while (k > 0 && k < d.tags.size() && d.tags[k].code != 0)
            --k;
        if (k < d.tags.size() && d.tags[k].code == 0) {
            std::string type(d.tags[k].value());
            int handleCode = type == "DIMSTYLE" ? 105 : 5;
            for (size_t j = k + 1; j < d.tags.size() && j < k + 4 && d.tags[j].code != 0; ++j)
                if (d.tags[j].code == handleCode) {
                    type += " " + std::string(DxfValue::trimmed(d.tags[j].value()));
                    break;
                }
            what += " of " + type;
        }
    }
    return DxfTagReader(fileName).failure(Acad::eBadDxfSequence, line, what + ", found '" + found + "'");
}
