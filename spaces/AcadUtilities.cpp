#include "spaces/AcadUtilities.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbBlockTableRecordIterator.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDictionary.h"
#include "host/db/AcDbExtents.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbOpen.h"
#include "host/db/AcDbPlotSettings.h"
#include "host/db/AcDbPlotSettingsValidator.h"
#include "host/db/AcDbPolyline.h"
#include "host/db/AcDbSortentsTable.h"
#include "host/db/resbuf.h"
#include "host/ed/Editor.h"
#include "host/ed/acedInput.h"
#include "host/ed/acutPrintf.h"
#include "host/ge/UcsTransform.h"
#include "infra/Utilities.h"
#include "infra/ZelkaExceptions.h"
#include "spaces/SpaceUnits.h"
#include "spaces/SendToBackBatch.h"

namespace {

// Drawings whose linear units are engineering (3) or architectural (4) are drawn in inches.
bool drawnInInches(int16_t lunits) { return lunits == 3 || lunits == 4; }

// The working database's current UCS as a matrix to world coordinates.
AcGeMatrix3d currentUcsToWorld()
{
    AcDbDatabase* db = acdbWorkingDatabase();
    if (!db)
        return AcGeMatrix3d::kIdentity;
    return acgeUcsToWorld(db->ucsorg(), db->ucsxdir(), db->ucsydir());
}

// Reads one text answer; asks again with the invalid-input prefix until a
// read succeeds. An input that has run out cannot succeed, so the loop ends
// there with the host's result.
int insistOnString(const std::string& promptText, std::string& answer)
{
    std::string prompt = promptText;
    for (;;) {
        char buffer[133] = {};
        int rc = acedGetString(1, prompt.c_str(), buffer);
        if (rc == RTNORM) {
            answer = buffer;
            return rc;
        }
        if (Editor::instance().inputEnded())
            return rc;
        // The prompt's own leading line break gives way to the notice's.
        prompt = "\nInvalid input! - " + promptText.substr(promptText.starts_with('\n') ? 1 : 0);
    }
}

}  // namespace

double CAcadUtilities::areaDivisor(int16_t lunits, int32_t units)
{
    if (drawnInInches(lunits))
        return isMetricUnits(units) ? 1550.0031000062 : 144.0;
    return isMetricUnits(units) ? 1000000.0 : 92903.04;
}

double CAcadUtilities::lengthDivisor(int16_t lunits, int32_t units)
{
    if (drawnInInches(lunits))
        return isMetricUnits(units) ? 39.37007874015748 : 12.0;
    return isMetricUnits(units) ? 1000.0 : 304.8;
}

double CAcadUtilities::getPolyPerimeter(const AcDbPolyline* polyline)
{
    return zelkaOperation(__FILE__, "CAcadUtilities::getPolyPerimeter", [&] {
        double endParam = 0.0;
        double length = 0.0;
        if (polyline->getEndParam(endParam) != Acad::eOk || polyline->getDistAtParam(endParam, length) != Acad::eOk)
            return 0.0;
        return length;
    });
}

double CAcadUtilities::calculatePolylineArea(const AcDbPolyline* polyline, int16_t lunits, int32_t units)
{
    return zelkaOperation(__FILE__, "CAcadUtilities::calculatePolylineArea", [&] {
        double area = 0.0;
        if (polyline->getArea(area) != Acad::eOk)
            return 0.0;
        return area / areaDivisor(lunits, units);
    });
}

double CAcadUtilities::calculatePolylinePerimeter(const AcDbPolyline* polyline, int16_t lunits, int32_t units)
{
    return zelkaOperation(__FILE__, "CAcadUtilities::calculatePolylinePerimeter",
                          [&] { return getPolyPerimeter(polyline) / lengthDivisor(lunits, units); });
}

double CAcadUtilities::recalculateBlockArea(const AcDbBlockReference* reference, const AcDbPolyline* outline,
                                            int16_t lunits, int32_t units)
{
    return zelkaOperation(__FILE__, "CAcadUtilities::recalculateBlockArea", [&] {
        AcGeScale3d scale = reference->scaleFactors();
        return calculatePolylineArea(outline, lunits, units) * std::fabs(scale.sx) * std::fabs(scale.sy);
    });
}

double CAcadUtilities::recalculateBlockPerimeter(const AcDbBlockReference* reference, const AcDbPolyline* outline,
                                                 int16_t lunits, int32_t units)
{
    return zelkaOperation(__FILE__, "CAcadUtilities::recalculateBlockPerimeter", [&] {
        AcGeScale3d scale = reference->scaleFactors();
        // A non-uniformly scaled outline has no length that follows from the
        // definition's; it is reported as 0 rather than guessed.
        if (std::fabs(scale.sx) != std::fabs(scale.sy))
            return 0.0;
        return calculatePolylinePerimeter(outline, lunits, units) * std::fabs(scale.sx);
    });
}

AcDbObjectId CAcadUtilities::getBlockOutlineId(AcDbObjectId blockDefinitionId)
{
    return zelkaOperation(__FILE__, "CAcadUtilities::getBlockOutlineId", [&] {
        AcDbObjectPointer<AcDbBlockTableRecord> definition(blockDefinitionId, AcDb::kForRead);
        if (!definition)
            return AcDbObjectId::kNull;
        AcDbObjectId outline = AcDbObjectId::kNull;
        definition->forEachEntityId([&](AcDbObjectId id) {
            const AcRxClass* cls = id.objectClass();
            if (!cls || std::strcmp(cls->name(), "AcDbPolyline") != 0)
                return true;  // look on
            outline = id;
            return false;
        });
        return outline;
    });
}

bool CAcadUtilities::getBlockExtents(const AcDbEntity* entity, AcGePoint3d& lower, AcGePoint3d& upper,
                                     double margin)
{
    return zelkaOperation(__FILE__, "CAcadUtilities::getBlockExtents", [&] {
        if (!entity || !entity->isKindOf(AcDbBlockReference::desc()))
            return false;
        const auto* reference = static_cast<const AcDbBlockReference*>(entity);
        AcDbObjectPointer<AcDbPolyline> outline(getBlockOutlineId(reference->blockTableRecord()), AcDb::kForRead);
        if (!outline)
            return false;
        AcDbExtents extents;
        if (outline->getGeomExtents(extents) != Acad::eOk)
            return false;
        AcGePoint3d low = extents.minPoint();
        AcGePoint3d high = extents.maxPoint();
        if (margin > 0) {
            low = AcGePoint3d(low.x - margin, low.y - margin, low.z);
            high = AcGePoint3d(high.x + margin, high.y + margin, high.z);
        }
        AcGeMatrix3d transform = reference->blockTransform();
        lower = transform * low;
        upper = transform * high;
        return true;
    });
}

AcGePoint3d CAcadUtilities::convertUCSToWCS(const AcGePoint3d& point)
{
    return zelkaOperation(__FILE__, "CAcadUtilities::convertUCSToWCS",
                          [&] { return currentUcsToWorld() * point; });
}

AcGePoint3d CAcadUtilities::convertWCSToUCS(const AcGePoint3d& point)
{
    return zelkaOperation(__FILE__, "CAcadUtilities::convertWCSToUCS",
                          [&] { return currentUcsToWorld().inverse() * point; });
}

int CAcadUtilities::getInteger(const std::string& prompt, int32_t defaultValue, int32_t& value)
{
    return zelkaOperation(__FILE__, "CAcadUtilities::getInteger", [&] {
        CUtilities utilities;
        value = defaultValue;
        std::string text = "\n" + prompt + " <" + utilities.IntToCString(defaultValue) + ">:";
        int typed = 0;
        int rc = acedGetInt(text.c_str(), &typed);
        if (rc == RTNORM)
            value = typed;
        acutPrintf(" %i\n", value);
        return rc;
    });
}

int CAcadUtilities::getDouble(const std::string& prompt, double defaultValue, double& value, int precision)
{
    return zelkaOperation(__FILE__, "CAcadUtilities::getDouble", [&] {
        CUtilities utilities;
        value = defaultValue;
        std::string text = "\n" + prompt + " <" + utilities.DoubleToCString(defaultValue, precision) + ">:";
        ads_real typed = 0.0;
        int rc = acedGetReal(text.c_str(), &typed);
        if (rc == RTNORM)
            value = typed;
        acutPrintf(" %s\n", utilities.DoubleToCString(value, precision).c_str());
        return rc;
    });
}

int CAcadUtilities::getBoolean(const std::string& prompt, bool defaultValue, bool& value)
{
    return zelkaOperation(__FILE__, "CAcadUtilities::getBoolean", [&] {
        CUtilities utilities;
        value = defaultValue;
        std::string text = "\n" + prompt + " <" + utilities.BoolToCString(defaultValue) + ">:";
        char buffer[133] = {};
        int rc = acedGetString(1, text.c_str(), buffer);
        if (rc == RTNORM && buffer[0] != '\0')
            value = utilities.CStringToBOOL(buffer);
        acutPrintf(" %s\n", utilities.BoolToCString(value).c_str());
        return rc;
    });
}

int CAcadUtilities::getString(const std::string& prompt, const std::string& defaultValue, std::string& value)
{
    return zelkaOperation(__FILE__, "CAcadUtilities::getString", [&] {
        value = defaultValue;
        std::string answer;
        int rc = insistOnString("\n" + prompt + " <" + defaultValue + ">:", answer);
        if (rc == RTNORM && !answer.empty())
            value = answer;
        acutPrintf(" %s\n", value.c_str());
        return rc;
    });
}

std::string CAcadUtilities::getString(const std::string& prompt)
{
    return zelkaOperation(__FILE__, "CAcadUtilities::getString", [&] {
        std::string answer;
        insistOnString("\n" + prompt + ":", answer);
        return answer;
    });
}

AcDbObjectId CAcadUtilities::convertHandleToObjectId(const AcDbHandle& handle)
{
    return zelkaOperation(__FILE__, "CAcadUtilities::convertHandleToObjectId", [&] {
        char text[17] = {};
        handle.getIntoAsciiBuffer(text, sizeof text);
        ads_name name = {0, 0};
        AcDbObjectId id;
        if (acdbHandEnt(text, name) != RTNORM || acdbGetObjectId(id, name) != Acad::eOk)
            return AcDbObjectId::kNull;
        return id;
    });
}

void CAcadUtilities::convertHandlesStringToArray(const std::string& text, std::vector<AcDbHandle>& handles)
{
    zelkaOperation(__FILE__, "CAcadUtilities::convertHandlesStringToArray", [&] {
        size_t start = 0;
        for (size_t comma = text.find(','); comma != std::string::npos; comma = text.find(',', start)) {
            handles.emplace_back(text.substr(start, comma - start));
            start = comma + 1;
        }
    });
}

bool CAcadUtilities::sendToBack(AcDbObjectId entityId)
{
    if (CSendToBackBatch::defer(entityId))
        return true;
    return sendToBack(AcDbObjectIdArray{entityId});
}

bool CAcadUtilities::sendToBack(const AcDbObjectIdArray& entityIds)
{
    return zelkaOperation(__FILE__, "CAcadUtilities::sendToBack", [&] {
        // The entities by owner, each owner's in the order given.
        std::vector<std::pair<AcDbObjectId, AcDbObjectIdArray>> owners;
        for (const AcDbObjectId& entityId : entityIds) {
            AcDbObjectId ownerId;
            {
                AcDbObjectPointer<AcDbEntity> entity(entityId, AcDb::kForRead);
                if (!entity)
                    return false;
                ownerId = entity->ownerId();
            }
            auto it = std::find_if(owners.begin(), owners.end(), [&](const auto& o) { return o.first == ownerId; });
            if (it == owners.end())
                it = owners.insert(owners.end(), {ownerId, AcDbObjectIdArray{}});
            it->second.append(entityId);
        }
        bool all = true;
        for (const auto& [ownerId, ids] : owners)
            all = moveToBottomOf(ownerId, ids) && all;
        return all;
    });
}

namespace {

struct PlotDevice {
    const char* configuration;
    const char* extension;
};

constexpr PlotDevice kPlotDevices[] = {
    {"DWF6 ePlot.pc3", ".dwf"},
    {"DWG To PDF.pc3", ".pdf"},
    {"PublishToWeb JPG.pc3", ".jpg"},
    {"PublishToWeb PNG.pc3", ".png"},
};

const PlotDevice& plotDevice(int32_t device) { return kPlotDevices[CAcadUtilities::convertToPlotDeviceID(device)]; }

}  // namespace

std::string CAcadUtilities::plotExtension(int32_t device)
{
    return zelkaOperation(__FILE__, "CAcadUtilities::plotExtension",
                          [&] { return std::string(plotDevice(device).extension); });
}

std::string CAcadUtilities::convertPlotDevice(int32_t device)
{
    return zelkaOperation(__FILE__, "CAcadUtilities::convertPlotDevice",
                          [&] { return std::string(plotDevice(device).configuration); });
}

std::string CAcadUtilities::convertMediaSize(int32_t id)
{
    return zelkaOperation(__FILE__, "CAcadUtilities::convertMediaSize", [&] {
        // The host's sheet list is indexed by the id, counting from 0.
        static const std::vector<std::string> media = [] {
            AcDbPlotSettings settings;
            std::vector<std::string> names;
            AcDbPlotSettingsValidator* validator = acdbPlotSettingsValidator();
            validator->setPlotCfgName(&settings, kPlotDevices[1].configuration);
            validator->canonicalMediaNameList(&settings, names);
            return names;
        }();
        const size_t index = static_cast<size_t>(convertToMediaSizeID(id));
        return index < media.size() ? media[index] : std::string("ISO_A1_(841.00_x_594.00_MM)");
    });
}

int32_t CAcadUtilities::convertToPlotDeviceID(int32_t id) { return id >= 0 && id <= 3 ? id : 0; }

int32_t CAcadUtilities::convertToPlotAreaID(int32_t id) { return id >= 1 && id <= 5 ? id : 0; }

int32_t CAcadUtilities::convertToMediaSizeID(int32_t id) { return id >= 1 && id <= 88 ? id : 0; }

int32_t CAcadUtilities::convertToScaleID(int32_t id)
{
    if (id >= 1 && id <= 18)
        return id;
    if (id >= 19 && id <= 33)
        return id + 1;
    return 0;
}

std::string CAcadUtilities::checkPlotFileExtension(const std::string& fileName, int32_t device)
{
    return zelkaOperation(__FILE__, "CAcadUtilities::checkPlotFileExtension", [&] {
        const std::string ext = plotExtension(device);
        if (fileName.empty())
            throw CEXInvalidPlotFilename(ZELKA_MODULE_TITLE, __FILE__, "CAcadUtilities::checkPlotFileExtension",
                                         fileName);
        const size_t dot = fileName.rfind('.');
        if (dot == std::string::npos)
            return fileName + ext;
        if (fileName.size() >= ext.size() && fileName.compare(fileName.size() - ext.size(), ext.size(), ext) == 0)
            return fileName;
        return fileName.substr(0, dot) + ext;
    });
}

bool CAcadUtilities::moveToBottomOf(AcDbObjectId ownerId, const AcDbObjectIdArray& ids)
{
    AcDbDatabase* db = ownerId.database();
    if (!db)
        return false;
    // Without the object-sorting bits the host ignores the sort table.
    int16_t sortEnts = db->sortEnts();
    if ((sortEnts & 127) < 127 && db->setSortEnts(static_cast<int16_t>(sortEnts | 127)) != Acad::eOk)
        return false;
    AcDbObjectPointer<AcDbBlockTableRecord> owner(ownerId, AcDb::kForWrite);
    if (!owner)
        return false;
    if (owner->extensionDictionary().isNull() && owner->createExtensionDictionary() != Acad::eOk)
        return false;
    AcDbObjectPointer<AcDbDictionary> dictionary(owner->extensionDictionary(), AcDb::kForWrite);
    if (!dictionary)
        return false;
    AcDbObjectId sortId;
    if (dictionary->getAt("ACAD_SORTENTS", sortId) != Acad::eOk) {
        auto* table = new AcDbSortentsTable();
        if (dictionary->setAt("ACAD_SORTENTS", table, sortId) != Acad::eOk) {
            delete table;
            return false;
        }
        table->setBlockId(ownerId);
        table->close();
    }
    AcDbObjectPointer<AcDbSortentsTable> sorter(sortId, AcDb::kForWrite);
    if (!sorter)
        return false;
    return sorter->moveToBottom(ids) == Acad::eOk;
}
