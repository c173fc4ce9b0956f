#include "host/ed/acedSysVar.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbLayerTable.h"
#include "host/db/AcDbLayerTableRecord.h"
#include "host/db/AcDbLayoutManager.h"
#include "host/db/AcDbOpen.h"
#include "host/ed/AcApDocManager.h"
#include "host/ed/AcDbHostApplicationServices.h"

namespace {

// The host's own variables that hold a whole number.
std::map<std::string, int16_t>& hostShorts()
{
    static std::map<std::string, int16_t> values = {{"PICKBOX", 3}, {"CMDECHO", 1}, {"FILEDIA", 0}};
    return values;
}

std::string upper(const char* name)
{
    std::string text = name ? name : "";
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

AcDbDatabase* drawing()
{
    AcApDocument* document = acDocManagerPtr()->curDocument();
    return document ? document->database() : nullptr;
}

int setShort(resbuf* result, int value)
{
    result->restype = RTSHORT;
    result->resval.rint = static_cast<short>(value);
    return RTNORM;
}

int setPoint(resbuf* result, double x, double y, double z)
{
    result->restype = RT3DPOINT;
    result->resval.rpoint[0] = x;
    result->resval.rpoint[1] = y;
    result->resval.rpoint[2] = z;
    return RTNORM;
}

int setString(resbuf* result, const std::string& text)
{
    result->restype = RTSTR;
    result->resval.rstring = strdup(text.c_str());
    return result->resval.rstring ? RTNORM : RTERROR;
}

bool shortValue(const resbuf* value, int& out)
{
    if (value->restype == RTSHORT) {
        out = value->resval.rint;
        return true;
    }
    if (value->restype == RTLONG) {
        out = value->resval.rlong;
        return true;
    }
    return false;
}

}  // namespace

int acedGetVar(const char* name, resbuf* result)
{
    if (!result) return RTERROR;
    result->rbnext = nullptr;
    std::string key = upper(name);
    if (auto found = hostShorts().find(key); found != hostShorts().end()) return setShort(result, found->second);
    if (key == "PRODUCT") return setString(result, acdbHostApplicationServices()->product());
    AcApDocument* document = acDocManagerPtr()->curDocument();
    if (key == "VIEWCTR" || key == "VIEWSIZE") {
        if (!document) return RTERROR;
        const AcApView& view = document->view();
        if (key == "VIEWSIZE") {
            result->restype = RTREAL;
            result->resval.rreal = view.upperRight.y - view.lowerLeft.y;
            return RTNORM;
        }
        return setPoint(result, (view.lowerLeft.x + view.upperRight.x) / 2, (view.lowerLeft.y + view.upperRight.y) / 2,
                        0.0);
    }
    AcDbDatabase* db = drawing();
    if (!db) return RTERROR;
    if (key == "SORTENTS") return setShort(result, db->sortEnts());
    if (key == "LUNITS") return setShort(result, db->lunits());
    if (key == "INSUNITS") return setShort(result, static_cast<int>(db->insunits()));
    if (key == "ACADVER") return setString(result, db->acadver());
    if (key == "EXTMIN") return setPoint(result, db->extmin().x, db->extmin().y, db->extmin().z);
    if (key == "EXTMAX") return setPoint(result, db->extmax().x, db->extmax().y, db->extmax().z);
    if (key == "UCSORG") return setPoint(result, db->ucsorg().x, db->ucsorg().y, db->ucsorg().z);
    if (key == "UCSXDIR") return setPoint(result, db->ucsxdir().x, db->ucsxdir().y, db->ucsxdir().z);
    if (key == "UCSYDIR") return setPoint(result, db->ucsydir().x, db->ucsydir().y, db->ucsydir().z);
    if (key == "DWGNAME" || key == "DWGPREFIX") {
        std::filesystem::path file = document->fileName().empty() ? "Drawing1.dxf" : document->fileName();
        if (key == "DWGNAME") return setString(result, file.filename().string());
        std::string folder = document->fileName().empty() ? "" : file.parent_path().string();
        if (!folder.empty() && folder.back() != '/') folder += '/';
        return setString(result, folder);
    }
    if (key == "TILEMODE") return setShort(result, db->tilemode() ? 1 : 0);
    if (key == "CTAB") {
        std::string layout;
        if (acdbLayoutManager()->getActiveLayoutName(layout, true, db) != Acad::eOk) return RTERROR;
        return setString(result, layout);
    }
    if (key == "CLAYER") {
        AcDbLayerTableRecord* layer = nullptr;
        if (acdbOpenObject(layer, db->clayer(), AcDb::kForRead) != Acad::eOk) return RTERROR;
        std::string layerName;
        layer->getName(layerName);
        layer->close();
        return setString(result, layerName);
    }
    return RTERROR;
}

int acedSetVar(const char* name, const resbuf* value)
{
    if (!value) return RTERROR;
    std::string key = upper(name);
    int number = 0;
    if (auto found = hostShorts().find(key); found != hostShorts().end()) {
        if (!shortValue(value, number) || number < -32768 || number > 32767) return RTERROR;
        found->second = static_cast<int16_t>(number);
        return RTNORM;
    }
    AcDbDatabase* db = drawing();
    if (!db) return RTERROR;
    if (key == "SORTENTS" || key == "LUNITS" || key == "INSUNITS") {
        if (!shortValue(value, number)) return RTERROR;
        Acad::ErrorStatus status = Acad::eInvalidInput;
        if (key == "SORTENTS" && number >= 0 && number <= 127) status = db->setSortEnts(static_cast<int16_t>(number));
        if (key == "LUNITS" && number >= 1 && number <= 5) status = db->setLunits(static_cast<int16_t>(number));
        if (key == "INSUNITS" && number >= 0 && number <= 24) {
            status = db->setInsunits(static_cast<AcDb::UnitsValue>(number));
        }
        return status == Acad::eOk ? RTNORM : RTERROR;
    }
    if (key == "CTAB") {
        if (value->restype != RTSTR || !value->resval.rstring) return RTERROR;
        return acdbLayoutManager()->setCurrentLayout(value->resval.rstring, db) == Acad::eOk ? RTNORM : RTERROR;
    }
    if (key == "TILEMODE") {
        // 1 makes the model layout current, 0 the active paper-space layout.
        if (!shortValue(value, number) || (number != 0 && number != 1)) return RTERROR;
        if (number == 1) return db->setTilemode(true) == Acad::eOk ? RTNORM : RTERROR;
        std::string layout;
        if (acdbLayoutManager()->getActiveLayoutName(layout, false, db) != Acad::eOk) return RTERROR;
        return acdbLayoutManager()->setCurrentLayout(layout.c_str(), db) == Acad::eOk ? RTNORM : RTERROR;
    }
    if (key == "CLAYER") {
        if (value->restype != RTSTR || !value->resval.rstring) return RTERROR;
        AcDbLayerTable* layers = nullptr;
        if (db->getLayerTable(layers, AcDb::kForRead) != Acad::eOk) return RTERROR;
        AcDbObjectId layerId;
        Acad::ErrorStatus status = layers->getAt(value->resval.rstring, layerId);
        layers->close();
        if (status != Acad::eOk) return RTERROR;
        return db->setClayer(layerId) == Acad::eOk ? RTNORM : RTERROR;
    }
    return RTERROR;
}
