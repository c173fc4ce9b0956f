// Link lines drawn into an ezdxf-made drawing open as a host document, saved
// and read back with ezdxf: endpoints at the referenced blocks, colour,
// linetype, layer, label position and rotation, and the layers they switch on.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "ReportTestSupport.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbOpen.h"
#include "host/ed/AcApDocManager.h"
#include "host/ed/AcApDocument.h"
#include "module/AcadDrawing.h"
#include "reports/AcadDrawingState.h"
#include "reports/LinkLine.h"

namespace {

using reporttest::InsertFact;
using reporttest::LineFact;
using reporttest::ReportFacts;
using reporttest::TextFact;
using reporttest::readReportFacts;

// A fixture drawing read into a database that stands as the current document.
class OpenDrawing {
public:
    explicit OpenDrawing(const std::filesystem::path& file)
    {
        auto db = std::make_shared<AcDbDatabase>(false);
        status = db->readDxfFile(file.string().c_str());
        database = db.get();
        document = acDocManagerPtr()->appendDocument(std::make_unique<AcApDocument>(file.string().c_str(), db));
        acdbSetWorkingDatabase(database);
        drawing.setDocument(document);
        drawing.setOpen(true);
        drawing.setKeepOpen(true);
    }
    ~OpenDrawing()
    {
        acdbSetWorkingDatabase(nullptr);
        acDocManagerPtr()->closeDocument(document);
    }
    OpenDrawing(const OpenDrawing&) = delete;
    OpenDrawing& operator=(const OpenDrawing&) = delete;

    Acad::ErrorStatus status = Acad::eOk;
    AcDbDatabase* database = nullptr;
    AcApDocument* document = nullptr;
    CAcadDrawing drawing;
};

const LineFact* lineFrom(const ReportFacts& facts, double x1, double y1, double x2, double y2)
{
    for (const LineFact& l : facts.lines)
        if (std::abs(l.x1 - x1) < 1e-9 && std::abs(l.y1 - y1) < 1e-9 && std::abs(l.x2 - x2) < 1e-9 &&
            std::abs(l.y2 - y2) < 1e-9)
            return &l;
    return nullptr;
}

}  // namespace

TEST(LinkLines, DrawRedDashedLinesBetweenTheBlocksWithTheirLabelsAndSwitchTheirLayersOn)
{
    zelkatest::TempFolder folder;
    const std::filesystem::path fixture = zelkatest::kFixtureDir / "spaces.dxf";
    const ReportFacts before = readReportFacts(fixture);
    ASSERT_EQ(before.error, "");
    const InsertFact* office = before.insertNamed("RM-101");
    const InsertFact* second = before.insertNamed("2RM-1");
    const InsertFact* store = before.insertNamed("Store");
    ASSERT_TRUE(office && second && store);

    OpenDrawing open(fixture);
    ASSERT_EQ(open.status, Acad::eOk);
    CAcadDrawingState state(open.drawing);
    // The layers start switched off in the state, as a report's layer list leaves them.
    state.setStateAllOff(open.drawing);
    CLinkLines lines;
    lines.add(std::make_unique<CLinkLine>(office->handle, second->handle, "", "Shared wall"));
    lines.add(std::make_unique<CLinkLine>(office->handle, store->handle, "LINKS", "Up"));
    lines.add(std::make_unique<CLinkLine>(second->handle, "FFFFF", "LINKS", ""));
    lines.add(std::make_unique<CLinkLine>("FFFFE", "", "LINKS", "Nowhere"));
    lines.applyToDrawing(open.drawing, state);
    const std::filesystem::path saved = folder.path() / "links.dxf";
    ASSERT_EQ(open.database->saveAs(saved.string().c_str()), Acad::eOk);

    const ReportFacts after = readReportFacts(saved);
    ASSERT_EQ(after.error, "");
    // The insertion points of the fixture's blocks are their outline centres.
    struct Case {
        const char* what;
        double x1, y1, x2, y2;
        const char* layer;
    };
    const Case cases[] = {{"office to second", office->cx, office->cy, second->cx, second->cy, "_ZELKA"},
                          {"office to store", office->cx, office->cy, store->cx, store->cy, "LINKS"},
                          {"missing end at the origin", second->cx, second->cy, 0, 0, "LINKS"},
                          {"both ends missing", 0, 0, 0, 0, "LINKS"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const LineFact* line = lineFrom(after, c.x1, c.y1, c.x2, c.y2);
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(line->layer, c.layer);
        EXPECT_EQ(line->linetype, "T_E_S_T");
        EXPECT_EQ(line->r, 255);
        EXPECT_EQ(line->g, 0);
        EXPECT_EQ(line->b, 0);
    }
    EXPECT_EQ(after.lines.size(), 4u);
    ASSERT_EQ(after.linetypes.count("T_E_S_T"), 1u);
    EXPECT_EQ(after.linetypes.at("T_E_S_T"), (std::vector<double>{1.0, 50.0, -50.0}));

    // Labels at the middles, turned by the slope (a vertical line a quarter
    // turn), centred above the line; an empty label adds no text.
    struct Label {
        const char* text;
        double x, y, rotation;
    };
    const double pi = std::acos(-1.0);
    const Label labels[] = {{"Shared wall", (office->cx + second->cx) / 2, (office->cy + second->cy) / 2,
                             std::atan((second->cy - office->cy) / (second->cx - office->cx))},
                            {"Up", (office->cx + store->cx) / 2, (office->cy + store->cy) / 2, pi / 2},
                            {"Nowhere", 0, 0, 0}};
    ASSERT_EQ(after.texts.size(), 3u);
    for (const Label& l : labels) {
        SCOPED_TRACE(l.text);
        const TextFact* found = nullptr;
        for (const TextFact& t : after.texts)
            if (t.text == l.text) found = &t;
        ASSERT_NE(found, nullptr);
        EXPECT_NEAR(found->x, l.x, 1e-9);
        EXPECT_NEAR(found->y, l.y, 1e-9);
        EXPECT_NEAR(std::fmod(found->rotation + 2 * pi, 2 * pi), std::fmod(l.rotation + 2 * pi, 2 * pi), 1e-9);
        EXPECT_EQ(found->height, 150.0);
        EXPECT_EQ(found->halign, 1);
        EXPECT_EQ(found->valign, 1);
    }

    // The blocks' layer and the default link layer are on in the state;
    // others stay off.
    struct LayerCase {
        const char* name;
        int off;
    };
    for (const LayerCase& l : {LayerCase{"ROOMS", 0}, LayerCase{"_ZELKA", 0}, LayerCase{"MISC", 1}}) {
        SCOPED_TRACE(l.name);
        bool seen = false;
        for (int i = 0; i < state.getLayers().getCount(); ++i) {
            if (state.getLayers().getAt(i).getName() != l.name) continue;
            seen = true;
            EXPECT_EQ(state.getLayers().getAt(i).getOff(), l.off);
        }
        EXPECT_TRUE(seen);
    }
}
