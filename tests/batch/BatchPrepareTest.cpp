// Preparing graphic reports in batch against the test server: every status
// code and path rule of one report's preparation, loading a report's row
// from the database, and preparing the reports of a status in order. Plots are opened
// by pdfinfo or checked by their PNG signature, saved copies read by ezdxf,
// XML outputs read back.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "BatchTestSupport.h"
#include "tests/common/OracleJson.h"
#include "config/PreferencesDocMon.h"
#include "host/ed/AcApDocManager.h"
#include "host/ed/AcApDocument.h"
#include "host/ed/AcDbHostApplicationServices.h"
#include "host/ed/acutPrintf.h"
#include "infra/ZelkaExceptions.h"
#include "reports/GraphicReport.h"
#include "reports/GraphicReports.h"
#include "spaces/Blocks.h"

namespace {

namespace fs = std::filesystem;
using batchtest::ReportRow;

class BatchPrepare : public ::testing::Test {
protected:
    void SetUp() override
    {
        // No dots in the folder: a path with one reads as a file path.
        dir_ = fs::path(ZELKA_BINARY_DIR) / "test-tmp" / "batch-prepare";
        fs::remove_all(dir_);
        for (const char* sub : {"plans", "out", "copies", "xml"}) fs::create_directories(dir_ / sub);
        fs::copy_file(dxftest::sourceDir() / "tests/data/commands/spaces.dxf", dir_ / "plans/spaces.dxf");
        drawingSum_ = batchtest::checksum(dir_ / "plans/spaces.dxf");
        ASSERT_TRUE(CPreferencesDocMon::moduleSettings().loadPreferences(batchtest::writeSettings(dir_).string()));
        acdbHostApplicationServices()->setProduct("AutoCAD");
        previous_ = setCommandLineSink([this](const std::string& text) { transcript_ += text; });
        sp_ = dbtest::connect();
        ASSERT_TRUE(sp_->isConnected());
    }
    void TearDown() override
    {
        setCommandLineSink(previous_);
        acdbHostApplicationServices()->setProduct("BricsCAD");
        while (AcApDocument* open = acDocManagerPtr()->curDocument()) {
            while (open->lockCount() > 0) acDocManagerPtr()->unlockDocument(open);
            acDocManagerPtr()->closeDocument(open);
        }
        CPreferencesDocMon::moduleSettings().deleteObjects();
    }
    std::string expand(std::string text) const
    {
        for (size_t at; (at = text.find("{dir}")) != std::string::npos;) text.replace(at, 5, dir_.string());
        return text;
    }
    ReportRow row() const
    {
        ReportRow r;
        r.drawingPath = (dir_ / "plans").string() + "/";
        r.drawingFile = "spaces.dxf";
        r.outputPath = (dir_ / "out").string() + "/";
        return r;
    }
    const CServerPreferenceDocMon& server() const { return CPreferencesDocMon::moduleSettings().getAt(0); }

    fs::path dir_;
    std::string drawingSum_, transcript_;
    CommandLineSink previous_;
    std::unique_ptr<CStoredProcedure> sp_;
};

// What ezdxf must find in a saved copy: the five spaces of the plan (all but
// the gross area) hatched solid red on the report's layer.
void expectAppliedCopy(const fs::path& copy)
{
    const nlohmann::json dump = zelkatest::dxfDump(copy);
    int hatches = 0, redOnTheReportLayer = 0;
    for (const nlohmann::json& e : dump.at("modelspace")) {
        if (e.at("type") != "HATCH") continue;
        ++hatches;
        redOnTheReportLayer += e.at("layer") == "GR-ALL" && e.at("pattern") == "SOLID" && e.contains("true_color") &&
                               e["true_color"] == 0xFF0000;
    }
    EXPECT_EQ(hatches, 5) << copy;
    EXPECT_GE(redOnTheReportLayer, 1) << copy;
    EXPECT_TRUE(dump.at("layers").at("ROOMS").at("on").get<bool>());
    EXPECT_FALSE(dump.at("layers").at("FURNITURE").at("on").get<bool>());
}

TEST_F(BatchPrepare, EveryStatusCodeAndPathRule)
{
    struct Case {
        const char* name;
        int device;
        const char* outputPath;  // "" falls back to the settings' folder
        const char* outputFile;
        const char* saveCopyTo;
        const char* xmlOutputTo;
        const char* drawingFile;
        int status;
        const char* plot;  // the file expected, "" none
        const char* copy;
        const char* xml;
        bool logged;  // the error-log line on the command line
    };
    const Case cases[] = {
        {"fallback output folder, XML beside the plot", 1, "", "plan", "", "", "spaces.dxf", 3,
         "{dir}/default-out/plan.pdf", "", "{dir}/default-out/plan.xml", false},
        {"PNG; copy and XML into folders", 3, "{dir}/out/", "plan.png", "{dir}/copies/", "{dir}/xml/", "spaces.dxf",
         3, "{dir}/out/plan.png", "{dir}/copies/spaces.dxf", "{dir}/xml/spaces.xml", false},
        {"copy and XML by file name only", 1, "{dir}/out/", "p3.dwf", "copy3.dxf", "p3-report.xml", "spaces.dxf", 3,
         "{dir}/out/p3.pdf", "{dir}/plans/copy3.dxf", "{dir}/out/p3-report.xml", false},
        {"copy and XML by full path", 1, "{dir}/out/", "p4", "{dir}/copies/full.dxf", "{dir}/xml/full.xml",
         "spaces.dxf", 3, "{dir}/out/p4.pdf", "{dir}/copies/full.dxf", "{dir}/xml/full.xml", false},
        {"copy onto the drawing itself", 1, "{dir}/out/", "p5", "{dir}/plans/spaces.dxf", "", "spaces.dxf", 12,
         "{dir}/out/p5.pdf", "", "", false},
        {"copy by file name onto the drawing itself", 1, "{dir}/out/", "p5b", "spaces.dxf", "", "spaces.dxf", 12,
         "{dir}/out/p5b.pdf", "", "", false},
        {"copy into a missing folder", 1, "{dir}/out/", "p6", "{dir}/nowhere/", "", "spaces.dxf", 12,
         "{dir}/out/p6.pdf", "", "", false},
        {"relative copy target", 1, "{dir}/out/", "p7", "copies/p7.dxf", "", "spaces.dxf", 12, "{dir}/out/p7.pdf",
         "", "", false},
        {"copy to a file in a missing folder fails while saving", 1, "{dir}/out/", "p8", "{dir}/nowhere/p8.dxf", "",
         "spaces.dxf", 12, "{dir}/out/p8.pdf", "", "", true},
        {"XML into a missing folder", 1, "{dir}/out/", "p9", "", "{dir}/nowhere/", "spaces.dxf", 13,
         "{dir}/out/p9.pdf", "", "", false},
        {"XML onto the drawing itself", 1, "{dir}/out/", "p10", "", "{dir}/plans/spaces.dxf", "spaces.dxf", 13,
         "{dir}/out/p10.pdf", "", "", false},
        {"relative XML target", 1, "{dir}/out/", "p11", "", "xml/p11.xml", "spaces.dxf", 13, "{dir}/out/p11.pdf", "",
         "", false},
        {"missing output folder", 1, "{dir}/nowhere/", "p12", "", "", "spaces.dxf", 10, "", "", "", false},
        {"output path names a file: the plot finds no folder", 1, "{dir}/plans/spaces.dxf", "p13", "", "",
         "spaces.dxf", 8, "", "", "", false},
        {"missing drawing", 1, "{dir}/out/", "p14", "", "", "absent.dxf", 4, "", "", "", false},
        {"DWF cannot be plotted here: a module error after opening", 0, "{dir}/out/", "p15", "", "", "spaces.dxf",
         12, "", "", "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        transcript_.clear();
        ReportRow r = row();
        r.device = c.device;
        r.outputPath = expand(c.outputPath);
        r.outputFile = c.outputFile;
        r.saveCopyTo = expand(c.saveCopyTo);
        r.xmlOutputTo = expand(c.xmlOutputTo);
        r.drawingFile = c.drawingFile;
        const int id = batchtest::insertReport(r);
        CGraphicReport report;
        ASSERT_TRUE(report.getGraphicReport(*sp_, server(), id, 30));
        EXPECT_EQ(report.prepareReport(*sp_, 30), c.status);
        EXPECT_EQ(batchtest::statusOf(id), c.status);
        EXPECT_EQ(transcript_.find("An error has been detected please consult the error log\n") != std::string::npos,
                  c.logged) << transcript_;
        // The drawing is closed and was never written.
        EXPECT_EQ(acDocManagerPtr()->curDocument(), nullptr);
        EXPECT_EQ(batchtest::checksum(dir_ / "plans/spaces.dxf"), drawingSum_);

        const std::string plot = expand(c.plot), copy = expand(c.copy), xml = expand(c.xml);
        if (!plot.empty()) {
            ASSERT_TRUE(fs::exists(plot)) << plot;
            if (c.device == 1) {
                // Media 5 is ISO A3 upright: 297 x 420 mm is 841.89 x 1190.55 points.
                EXPECT_EQ(batchtest::pdfinfo(plot, "Pages"), "1") << batchtest::pdfReport(plot);
                EXPECT_EQ(batchtest::pdfinfo(plot, "Page size"), "841.89 x 1190.55 pts (A3)");
            } else {
                EXPECT_TRUE(batchtest::isPng(plot));
            }
        }
        if (!copy.empty()) {
            ASSERT_TRUE(fs::exists(copy)) << copy;
            expectAppliedCopy(copy);
        }
        if (!xml.empty()) {
            ASSERT_TRUE(fs::exists(xml)) << xml;
            CGraphicReport back;
            ASSERT_TRUE(back.deSerialize(xml));
            EXPECT_EQ(back.getTitle(), "Batch test");
            EXPECT_EQ(back.getDrawingPath(), r.drawingPath);
            EXPECT_EQ(back.getDrawingFilename(), "spaces.dxf");
            EXPECT_EQ(back.getPlotDevice(), c.device);
            EXPECT_EQ(back.getPlotAreaType(), 1);
            EXPECT_EQ(back.getPlotMediaSize(), 5);
            EXPECT_EQ(back.getPlotLayout(), "Model");
            EXPECT_EQ(back.getSaveCopyTo(), r.saveCopyTo);
            EXPECT_DOUBLE_EQ(back.getTotalChildAreas(), 100.0);
            ASSERT_NE(back.getCategories(), nullptr);
            ASSERT_EQ(back.getCategories()->getCount(), 1);
            const CCategory& category = back.getCategories()->getAt(0);
            EXPECT_EQ(category.getTitle(), "All rooms");
            ASSERT_NE(category.getHatch(), nullptr);
            EXPECT_EQ(category.getHatch()->getPatternName(), "SOLID");
            EXPECT_EQ(category.getHatch()->getLayer(), "GR-ALL");
            // The "*" record became the five spaces it formatted.
            ASSERT_NE(category.getBlocks(), nullptr);
            EXPECT_EQ(category.getBlocks()->size(), 5);
            ASSERT_NE(back.getLayersOn(), nullptr);
            EXPECT_EQ(back.getLayersOn()->getAt(0).getName(), "ROOMS");
        }
        if (c.status != 3) {
            // Nothing is written after a failed step.
            for (const char* folder : {"copies", "xml"}) EXPECT_TRUE(fs::is_empty(dir_ / folder)) << folder;
        }
        if (c.logged) {
            EXPECT_TRUE(fs::exists(dir_ / "errors.xml"));
        }
        fs::remove_all(dir_ / "copies");
        fs::remove_all(dir_ / "xml");
        fs::create_directories(dir_ / "copies");
        fs::create_directories(dir_ / "xml");
    }
}

TEST_F(BatchPrepare, BadOutputFileNameIsElevenAndBadNamesFromTheDatabaseAreRefusedOnLoading)
{
    ReportRow r = row();
    r.outputFile = "ok";
    const int id = batchtest::insertReport(r);
    CGraphicReport report;
    ASSERT_TRUE(report.getGraphicReport(*sp_, server(), id, 30));
    report.setOutputFilename("a|b");
    EXPECT_EQ(report.prepareReport(*sp_, 30), 11);
    EXPECT_EQ(batchtest::statusOf(id), 11);
    EXPECT_TRUE(fs::is_empty(dir_ / "out"));

    struct Case {
        const char* name;
        const char* column;
        const char* value;
        const char* message;
    };
    const Case cases[] = {{"output file name", "output_filename", "a|b", "Invalid output file name - 'a|b'"},
                          {"drawing file name", "drawing_filename", "x?.dxf", "Invalid drawing file name - 'x?.dxf'"},
                          {"output path", "output_path", "/out<put>/", "Invalid output path - '/out<put>/'"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int bad = batchtest::insertReport(row());
        dbtest::psql(std::string("update graphic_reports set ") + c.column + " = " + batchtest::quoted(c.value) +
                     " where id = " + std::to_string(bad) + ";");
        CGraphicReport loaded;
        try {
            loaded.getGraphicReport(*sp_, server(), bad, 30);
            ADD_FAILURE() << "loaded";
        } catch (const CEXZelka& e) {
            EXPECT_EQ(e.innermost().getDescription(), c.message);
            EXPECT_EQ(e.getProcSig(), "CGraphicReport::getGraphicReport");
        }
    }
    CGraphicReport none;
    EXPECT_FALSE(none.getGraphicReport(*sp_, server(), 999999, 30));
}

TEST_F(BatchPrepare, PlotLayoutIsWrittenBackOnlyWhenThePlotChangedIt)
{
    struct Case {
        const char* name;
        const char* plotLayout;
        const char* written;  // the layout column afterwards
    };
    const Case cases[] = {{"no layout: the plot takes the current one", "", "Model"},
                          {"a named layout stays", "Model", ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ReportRow r = row();
        r.plotLayout = c.plotLayout;
        r.outputFile = std::string("layout") + (*c.plotLayout ? "1" : "0");
        const int id = batchtest::insertReport(r);
        CGraphicReport report;
        ASSERT_TRUE(report.getGraphicReport(*sp_, server(), id, 30));
        EXPECT_EQ(report.prepareReport(*sp_, 30), 3);
        EXPECT_EQ(dbtest::psqlValue("select layout from graphic_reports where id = " + std::to_string(id)), c.written);
    }
}

// The report's own row: its ids converted to the host's, an empty output
// path taken from the settings (its categories, layers and link lines load
// through the code tests/database/ReportIPRTest.cpp checks).
TEST_F(BatchPrepare, ReportLoadsWithItsIdsConvertedAndNoEmptyCollections)
{
    const int id = batchtest::insertReport(row());
    dbtest::psql("update graphic_reports set plot_scale_type_id = 19, plot_media_size_id = 89, plot_type_id = 7,"
                 " plot_area_type_id = 6, plot_centred = false where id = " + std::to_string(id) + ";");
    CGraphicReport report;
    ASSERT_TRUE(report.getGraphicReport(*sp_, server(), id, 30));
    // The id conversions: scale 19 is the host's 20; out-of-range ids are 0.
    EXPECT_EQ(report.getPlotScaleType(), 20);
    EXPECT_EQ(report.getPlotMediaSize(), 0);
    EXPECT_EQ(report.getPlotDevice(), 0);
    EXPECT_EQ(report.getPlotAreaType(), 0);
    EXPECT_EQ(report.getPlotCentred(), 0);
    ASSERT_NE(report.getCategories(), nullptr);
    EXPECT_EQ(report.getCategories()->getCount(), 1);
    ASSERT_NE(report.getLayersOn(), nullptr);
    EXPECT_EQ(report.getLayersOn()->getCount(), 1);

    // A report with nothing attached keeps no empty collections.
    const int bare = std::stoi(dbtest::psqlValue(
        "insert into graphic_reports (status_id, title) values (0, 'Bare') returning id;"));
    CGraphicReport empty;
    ASSERT_TRUE(empty.getGraphicReport(*sp_, server(), bare, 30));
    EXPECT_EQ(empty.getCategories(), nullptr);
    EXPECT_EQ(empty.getLayersOn(), nullptr);
    EXPECT_EQ(empty.getLinkLines(), nullptr);
    EXPECT_EQ(empty.getOutputPath(), server().getGraphRepOutPath());
}

TEST_F(BatchPrepare, ReportsOfAStatusAreLoadedAndPreparedInOrder)
{
    const int waiting = batchtest::privateStatus(71, "list test");
    std::vector<int> ids;
    for (const char* name : {"list1", "list2", "list3"}) {
        ReportRow r = row();
        r.status = waiting;
        r.outputFile = name;
        ids.push_back(batchtest::insertReport(r));
    }
    CGraphicReports reports;
    EXPECT_EQ(reports.getGraphicReports(*sp_, server(), waiting, 30), 3);
    ASSERT_EQ(reports.getCount(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(reports.getAt(i).getID(), ids[i]);
    EXPECT_EQ(reports.prepareReports(*sp_, 30), 3);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(batchtest::statusOf(ids[i]), 3);
        EXPECT_TRUE(fs::exists(dir_ / "out" / ("list" + std::to_string(i + 1) + ".pdf")));
    }
    // A failure ends the loop: the first report's drawing is unreadable.
    fs::path broken = dir_ / "plans/broken.dxf";
    dxftest::writeFile(broken, "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\nnot a number\n");
    dbtest::psql("update graphic_reports set status_id = " + std::to_string(waiting) + " where id in (" +
                 std::to_string(ids[0]) + ", " + std::to_string(ids[1]) + "); update graphic_reports set "
                 "drawing_filename = 'broken.dxf' where id = " + std::to_string(ids[0]) + ";");
    CGraphicReports again;
    ASSERT_EQ(again.getGraphicReports(*sp_, server(), waiting, 30), 2);
    try {
        again.prepareReports(*sp_, 30);
        ADD_FAILURE() << "no exception";
    } catch (const CEXZelka& e) {
        EXPECT_EQ(e.getProcSig(), "CGraphicReports::prepareReports");
    }
    EXPECT_EQ(batchtest::statusOf(ids[0]), 2);
    EXPECT_EQ(batchtest::statusOf(ids[1]), waiting);
}

}  // namespace
