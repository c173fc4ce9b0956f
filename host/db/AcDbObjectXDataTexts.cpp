// The group 1000 texts of an object's extended data read in place, for
// callers that only read them (a space block's record): xData builds a
// result-buffer chain with a copy of every item, which the caller frees.

#include <cstring>
#include <strings.h>

#include "host/base/DxfCodepage.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbObject.h"

namespace {

// The text as a C string would hold it: up to its first NUL.
std::string_view upToNul(std::string_view text)
{
    const void* nul = std::memchr(text.data(), '\0', text.size());
    return nul ? text.substr(0, static_cast<size_t>(static_cast<const char*>(nul) - text.data())) : text;
}

}  // namespace

bool AcDbObject::xDataTexts(const char* regappName, std::vector<std::string_view>& texts,
                            std::list<std::string>& decoded) const
{
    texts.clear();
    if (!regappName)
        return false;
    for (const AcDbXDataApp& app : xdata_) {
        if (strcasecmp(regappName, app.name.c_str()) != 0)
            continue;
        if (app.replaced) {
            for (const resbuf* rb = app.replaced; rb; rb = rb->rbnext)
                if (rb->restype == 1000 && rb->resval.rstring)
                    texts.emplace_back(rb->resval.rstring);
            return true;
        }
        // The items as xData reads them from the file: strings decoded from
        // the file's code page, a point taking the y and z that follow it,
        // and values of a kind a result buffer does not hold read as group
        // 1000 texts.
        static const DxfCodepage kNoDrawing(true, "ANSI_1252");
        const AcDbDatabase* db = database();
        const DxfCodepage& cp = db ? db->data().codepage() : kNoDrawing;
        const auto& t = app.fileTags;
        // Printable ASCII without a backslash decodes to itself in every
        // code page: the texts are then the lines themselves.
        const bool plain = app.textsPlainAsRead();
        texts.reserve(t.size());
        for (size_t i = 1; i < t.size(); ++i) {
            const int c = t[i].code;
            switch (acutRbValueKind(c)) {
            case AcRbValueKind::String:
                if (c != 1000)
                    break;
                if (plain || cp.isPlainWithoutNul(t[i].value()))
                    texts.push_back(t[i].value());
                else if (cp.isPlain(t[i].value()))
                    texts.push_back(upToNul(t[i].value()));
                else
                    texts.push_back(upToNul(decoded.emplace_back(cp.decode(t[i].value()))));
                break;
            case AcRbValueKind::Point:
                if (i + 1 < t.size() && t[i + 1].code == c + 10)
                    ++i;
                if (i + 1 < t.size() && t[i + 1].code == c + 20)
                    ++i;
                break;
            case AcRbValueKind::Real:
            case AcRbValueKind::Short:
            case AcRbValueKind::Long:
                break;
            default:
                texts.push_back(upToNul(t[i].value()));
                break;
            }
        }
        return true;
    }
    return false;
}
