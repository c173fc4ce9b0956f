#pragma once
// Helpers for the space-block tests: a drawing open as a host document, space
// block definitions and references built through the drawing database the
// way the creation session lays them out, saving, and reading the saved file
// back with ezdxf (tests/tools/dxf_oracle.py, and for hatches, hyperlinks and
// assets tests/spaces/plan_facts.py).

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/db/AcDbAttribute.h"
#include "host/db/AcDbAttributeDefinition.h"
#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbLayerTable.h"
#include "host/db/AcDbLayerTableRecord.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbOpen.h"
#include "host/db/AcDbPolyline.h"
#include "host/db/resbuf.h"
#include "host/ed/AcApDocManager.h"
#include "host/ed/AcApDocument.h"
#include "module/AcadDrawing.h"
#include "spaces/BlockDWG.h"
#include "tests/common/OracleJson.h"
#include "tests/host/dxfTestSupport.h"

namespace spacetest {

constexpr double kPi = 3.14159265358979323846;

struct Vertex {
    double x;
    double y;
    double bulge = 0.0;
};

inline std::vector<Vertex> rectangle(double x0, double y0, double width, double height)
{
    return {{x0, y0}, {x0 + width, y0}, {x0 + width, y0 + height}, {x0, y0 + height}};
}

// A fresh empty folder under the build tree for one test.
inline std::filesystem::path tempDir(const std::string& name)
{
    auto dir = std::filesystem::path(ZELKA_BINARY_DIR) / "test-tmp" / "spaces" / (name + dxftest::runningTestSuffix());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

// What ezdxf reads of one INSERT of model space (tests/tools/dxf_oracle.py
// dump): its record items ("app|code|value") and attributes by tag (layer,
// x, y, rotation in degrees, height, text).
struct InsertSeen {
    std::string name;
    std::string layer;
    std::vector<std::string> xdata;
    struct Attrib {
        std::string layer;
        double x, y, rotation, height;
        std::string text;
    };
    std::map<std::string, Attrib> attribs;
};

inline InsertSeen seeInsert(const std::filesystem::path& file, const std::string& handle)
{
    const nlohmann::json dump = zelkatest::dxfDump(file);
    const nlohmann::json* insert = zelkatest::findEntity(dump.at("modelspace"), "handle", handle);
    InsertSeen seen;
    if (insert == nullptr) {
        ADD_FAILURE() << "ezdxf finds no entity " << handle << " in " << file;
        return seen;
    }
    seen.name = insert->at("name");
    seen.layer = insert->at("layer");
    for (const auto& [app, items] : insert->at("xdata").items())
        for (const nlohmann::json& item : items) {
            const nlohmann::json& value = item.at(1);
            seen.xdata.push_back(app + "|" + item.at(0).dump() + "|" +
                                 (value.is_string() ? value.get<std::string>() : value.dump()));
        }
    for (const nlohmann::json& a : insert->at("attribs"))
        seen.attribs[a.at("tag")] = {a.at("layer"), a.at("insert").at(0), a.at("insert").at(1),
                                     a.at("rotation"), a.at("height"), a.at("text")};
    return seen;
}

// What plan_facts.py links reads of a file (its JSON document).
inline nlohmann::json readBack(const std::filesystem::path& file)
{
    return zelkatest::oracleJson(zelkatest::testScript("spaces/plan_facts.py"), {"links", file.string()});
}

// ezdxf's area and perimeter of an LWPOLYLINE or of an INSERT's outline.
inline std::pair<double, double> oracleMeasure(const std::filesystem::path& file, const std::string& handle)
{
    const nlohmann::json m =
        zelkatest::oracleJson(zelkatest::testScript("tools/dxf_oracle.py"), {"area", file.string(), handle});
    return {m.at("area"), m.at("perimeter")};
}

// A drawing open as the current host document, closed with the fixture.
class Drawing {
public:
    explicit Drawing(bool inches = false)
    {
        auto db = std::make_shared<AcDbDatabase>(true);
        database = db.get();
        if (inches)
            database->setLunits(4);
        document = acDocManagerPtr()->appendDocument(std::make_unique<AcApDocument>("", db));
        acdbSetWorkingDatabase(database);
        drawing.setDocument(document);
        drawing.setOpen(true);
        drawing.setKeepOpen(true);
    }
    ~Drawing()
    {
        acdbSetWorkingDatabase(nullptr);
        acDocManagerPtr()->closeDocument(document);
    }
    Drawing(const Drawing&) = delete;
    Drawing& operator=(const Drawing&) = delete;

    AcDbObjectId addPolyline(AcDbObjectId owner, const std::vector<Vertex>& vertices, const char* layer = "0")
    {
        auto* polyline = new AcDbPolyline();
        for (unsigned i = 0; i < vertices.size(); ++i)
            polyline->addVertexAt(i, AcGePoint2d(vertices[i].x, vertices[i].y), vertices[i].bulge);
        polyline->setClosed(true);
        polyline->setLayer(layer);
        AcDbObjectPointer<AcDbBlockTableRecord> record(owner, AcDb::kForWrite);
        AcDbObjectId id;
        EXPECT_EQ(record->appendAcDbEntity(id, polyline), Acad::eOk);
        polyline->close();
        return id;
    }

    AcDbObjectId addModelPolyline(const std::vector<Vertex>& vertices)
    {
        return addPolyline(database->modelSpaceId(), vertices);
    }

    void ensureLayer(const char* name)
    {
        AcDbLayerTable* table = nullptr;
        database->getLayerTable(table, AcDb::kForWrite);
        if (!table->has(name)) {
            auto* record = new AcDbLayerTableRecord();
            record->setName(name);
            table->add(record);
            record->close();
        }
        table->close();
    }

    // A block definition holding an outline (when given) and the AREA, NAME
    // and AUX attribute definitions around the base point, text height h.
    AcDbObjectId defineSpace(const std::string& name, const std::vector<Vertex>& outline,
                             AcGePoint3d base = AcGePoint3d(0, 0, 0), double h = 250.0,
                             const std::vector<std::string>& tags = {"AREA", "NAME", "AUX"})
    {
        AcDbBlockTable* table = nullptr;
        database->getBlockTable(table, AcDb::kForWrite);
        auto* record = new AcDbBlockTableRecord();
        record->setName(name.c_str());
        record->setOrigin(base);
        AcDbObjectId id;
        EXPECT_EQ(table->add(id, record), Acad::eOk);
        record->close();
        table->close();
        if (!outline.empty())
            addPolyline(id, outline);
        AcDbObjectPointer<AcDbBlockTableRecord> definition(id, AcDb::kForWrite);
        for (size_t i = 0; i < tags.size(); ++i) {
            double dy = tags[i] == "NAME" ? 1.5 * h : (tags[i] == "AUX" ? -1.5 * h : 0.0);
            std::string layer = "ATT-" + tags[i];
            ensureLayer(layer.c_str());
            auto* def = new AcDbAttributeDefinition(AcGePoint3d(base.x, base.y + dy, 0), ("DEFAULT " + tags[i]).c_str(),
                                                    tags[i].c_str(), ("Enter " + tags[i]).c_str());
            def->setHeight(h);
            def->setLayer(layer.c_str());
            def->setFieldLength(25);
            EXPECT_EQ(definition->appendAcDbEntity(def), Acad::eOk);
            def->close();
        }
        return id;
    }

    // A reference of the definition in model space (or in the space given)
    // with one attribute per attribute definition; texts by tag (missing:
    // the definition's default).
    AcDbObjectId insert(AcDbObjectId definition, AcGePoint3d at, const std::map<std::string, std::string>& texts = {},
                        AcGeScale3d scale = AcGeScale3d(1, 1, 1), double rotation = 0.0, AcDbObjectId space = {})
    {
        auto* reference = new AcDbBlockReference(at, definition);
        reference->setScaleFactors(scale);
        reference->setRotation(rotation);
        AcDbObjectPointer<AcDbBlockTableRecord> modelSpace(space.isNull() ? database->modelSpaceId() : space,
                                                           AcDb::kForWrite);
        AcDbObjectId id;
        EXPECT_EQ(modelSpace->appendAcDbEntity(id, reference), Acad::eOk);
        AcDbObjectPointer<AcDbBlockTableRecord> record(definition, AcDb::kForRead);
        for (AcDbObjectId partId : record->entityIds()) {
            AcDbObjectPointer<AcDbAttributeDefinition> def(partId, AcDb::kForRead);
            if (!def)
                continue;
            auto* attribute = new AcDbAttribute();
            attribute->setAttributeFromBlock(def.object(), reference->blockTransform());
            auto text = texts.find(def->tag());
            if (text != texts.end())
                attribute->setTextString(text->second.c_str());
            EXPECT_EQ(reference->appendAttribute(attribute), Acad::eOk);
            attribute->close();
        }
        reference->close();
        return id;
    }

    // Sets a raw extended-data record (items as (group code, text)).
    void setRecord(AcDbObjectId entity, const std::string& app, const std::vector<std::pair<short, std::string>>& items)
    {
        acdbRegApp(app.c_str(), database);
        resbuf* head = acutNewRb(1001);
        acutNewString(head, app.c_str());
        resbuf* tail = head;
        for (const auto& [code, text] : items) {
            tail->rbnext = acutNewRb(code);
            tail = tail->rbnext;
            acutNewString(tail, text.c_str());
        }
        AcDbObjectPointer<AcDbEntity> e(entity, AcDb::kForWrite);
        EXPECT_EQ(e->setXData(head), Acad::eOk);
        acutRelRb(head);
    }

    void save(const std::filesystem::path& file) { ASSERT_EQ(database->saveAs(file.c_str()), Acad::eOk); }

    AcApDocument* document = nullptr;
    AcDbDatabase* database = nullptr;
    // The module's drawing object for the document (kept open: the fixture closes it).
    CAcadDrawing drawing;
};

// A new drawing as the current host document and its drawing object, with
// a full path for the messages that name the drawing (as the commands adopt
// the active document).
class AdoptedDrawing {
public:
    explicit AdoptedDrawing(const std::string& fullPath = "/tmp/zelka-hatching-test.dxf")
    {
        drawing.setFullPath(fullPath);
    }

    Drawing host;
    CAcadDrawing& drawing = host.drawing;
};

inline std::string handleOf(AcDbObjectId id)
{
    return id.handle().toString();
}

// A point (x, y) turned by angle about the origin, scaled, then moved by (dx, dy).
inline std::pair<double, double> place(double x, double y, double angle, double scale, double dx, double dy)
{
    return {dx + scale * (x * std::cos(angle) - y * std::sin(angle)),
            dy + scale * (x * std::sin(angle) + y * std::cos(angle))};
}

// The module's reading of a space block reference of the drawing.
inline std::unique_ptr<CBlockDWG> readBlock(Drawing& d, AcDbObjectId reference)
{
    AcDbObjectPointer<AcDbBlockReference> read(reference, AcDb::kForRead);
    return std::make_unique<CBlockDWG>(read.object(), d.drawing);
}

}  // namespace spacetest
