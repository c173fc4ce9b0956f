// Documents opened from DXF files written by ezdxf: picks by point and by
// handle, selection sets with windows and filters, system variables, views,
// and the module's drawing wrapper with its nested locks and save-as copies.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <map>
#include <memory>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbLine.h"
#include "host/db/AcDbOpen.h"
#include "host/ed/AcApDocManager.h"
#include "host/ed/Editor.h"
#include "host/ed/ScriptInput.h"
#include "host/ed/acedSelection.h"
#include "host/ed/acedSysVar.h"
#include "host/ed/acedView.h"
#include "host/ed/acutPrintf.h"
#include "host/ui/MessageBox.h"
#include "infra/ZelkaExceptions.h"
#include "module/AcadDrawing.h"
#include "tests/common/OracleJson.h"
#include "tests/common/Shell.h"
#include "tests/common/ZelkaProcess.h"
#include "tests/common/TestRequirements.h"

namespace {

using zelkatest::captureOutput;

class Plan : public ::testing::Test {
protected:
    void SetUp() override
    {
        ZELKA_REQUIRE_EZDXF();
        file = (folder.path() / "plan.dxf").string();
        // A line, a square with extended data, a circle and a text by ezdxf.
        handles = zelkatest::oracleJson(zelkatest::testScript("tools/ezdxf_fixtures.py"), {"pick_plan", file})
                      .get<std::map<std::string, std::string>>();
        ASSERT_EQ(handles.size(), 4u);
        ASSERT_EQ(acDocManagerPtr()->appContextOpenDocument(file.c_str()), Acad::eOk)
            << acDocManagerPtr()->lastOpenError();
        document = acDocManagerPtr()->curDocument();
        ASSERT_EQ(acedZoomExtents(), Acad::eOk);
        previousSink_ = setCommandLineSink([this](const std::string& text) { transcript += text; });
    }
    void TearDown() override
    {
        Editor::instance().setInput(nullptr);
        if (previousSink_) setCommandLineSink(previousSink_);
        while (AcApDocument* open = acDocManagerPtr()->curDocument()) {
            while (open->lockCount() > 0) acDocManagerPtr()->unlockDocument(open);
            acDocManagerPtr()->closeDocument(open);
        }
    }
    void feed(const std::string& text)
    {
        auto input = std::make_unique<ScriptInput>();
        input->addText(text);
        Editor::instance().setInput(std::move(input));
    }
    // The handle of the entity an ads_name stands for.
    static std::string handleOf(const ads_name name)
    {
        AcDbObjectId id;
        if (acdbGetObjectId(id, name) != Acad::eOk) return "";
        char text[32];
        std::snprintf(text, sizeof text, "%llX", static_cast<unsigned long long>(id.handle().value()));
        return text;
    }
    std::vector<std::string> handlesOf(const ads_name set)
    {
        std::vector<std::string> result;
        int32_t length = 0;
        if (acedSSLength(set, &length) != RTNORM) return result;
        for (int32_t i = 0; i < length; ++i) {
            ads_name entity;
            if (acedSSName(set, i, entity) == RTNORM) result.push_back(handleOf(entity));
        }
        return result;
    }

    zelkatest::TempFolder folder;
    std::string file;
    std::map<std::string, std::string> handles;
    AcApDocument* document = nullptr;
    std::string transcript;

private:
    CommandLineSink previousSink_;
};

}  // namespace

TEST_F(Plan, PicksByPointHandleAndLast)
{
    feed("5,0.01\n" + handles["CIRCLE"] + "\n25,5\n100,100\nL\n\n^C\n");
    ads_name entity;
    ads_point point;
    ASSERT_EQ(acedEntSel("\nSelect: ", entity, point), RTNORM);
    EXPECT_EQ(handleOf(entity), handles["LINE"]);
    EXPECT_DOUBLE_EQ(point[0], 5.0);
    ASSERT_EQ(acedEntSel("\nSelect: ", entity, point), RTNORM);
    EXPECT_EQ(handleOf(entity), handles["CIRCLE"]);
    // Inside the square but away from its edges and from the text: nothing.
    EXPECT_EQ(acedEntSel("\nSelect: ", entity, point), RTERROR);
    EXPECT_EQ(acedEntSel("\nSelect: ", entity, point), RTERROR);
    ASSERT_EQ(acedEntSel("\nSelect: ", entity, point), RTNORM);
    EXPECT_EQ(handleOf(entity), handles["TEXT"]);
    EXPECT_EQ(acedEntSel("\nSelect: ", entity, point), RTERROR);
    EXPECT_EQ(acedEntSel("\nSelect: ", entity, point), RTCAN);
}

TEST_F(Plan, WindowsTakeWhatIsInsideCrossingsWhatTheyTouch)
{
    ads_name set;
    ads_point low = {19, -1, 0}, high = {31, 11, 0};
    ASSERT_EQ(acedSSGet("W", low, high, nullptr, set), RTNORM);
    // The square and the text inside it; the line and circle are outside.
    EXPECT_EQ(handlesOf(set), (std::vector<std::string>{handles["LWPOLYLINE"], handles["TEXT"]}));
    acedSSFree(set);

    // A thin window across the square's left edge only: crossing takes the
    // square, a plain window takes nothing.
    ads_point a = {19, 4, 0}, b = {21, 5, 0};
    ASSERT_EQ(acedSSGet("C", a, b, nullptr, set), RTNORM);
    EXPECT_EQ(handlesOf(set), (std::vector<std::string>{handles["LWPOLYLINE"]}));
    acedSSFree(set);
    EXPECT_EQ(acedSSGet("W", a, b, nullptr, set), RTERROR);

    // A crossing polygon around the circle's left part.
    resbuf* polygon = acutBuildList(RTPOINT, std::array<double, 3>{44, 0, 0}.data(), RTPOINT,
                                    std::array<double, 3>{46, 0, 0}.data(), RTPOINT,
                                    std::array<double, 3>{46, 10, 0}.data(), 0);
    ASSERT_EQ(acedSSGet("CP", polygon, nullptr, nullptr, set), RTNORM);
    EXPECT_EQ(handlesOf(set), (std::vector<std::string>{handles["CIRCLE"]}));
    acedSSFree(set);
    acutRelRb(polygon);
}

TEST_F(Plan, WindowsAndPolygonsAreGivenInTheCurrentUcs)
{
    // UCS with its origin at (20,0), X along world Y and Y along world -X:
    // the UCS point (u,v) is the world point (20 - v, u). The window
    // (-1,-11)-(11,1) in that UCS is world x 19..31, y -1..11: the square and
    // its text. Read as world coordinates it would hold the line instead.
    ASSERT_EQ(document->database()->setUcs(AcGePoint3d(20, 0, 0), AcGeVector3d(0, 1, 0), AcGeVector3d(-1, 0, 0)),
              Acad::eOk);
    ads_name set;
    ads_point low = {-1, -11, 0}, high = {11, 1, 0};
    ASSERT_EQ(acedSSGet("W", low, high, nullptr, set), RTNORM);
    EXPECT_EQ(handlesOf(set), (std::vector<std::string>{handles["LWPOLYLINE"], handles["TEXT"]}));
    acedSSFree(set);

    // The UCS triangle (4,-26) (6,-26) (5,-24) is the world triangle (46,4)
    // (46,6) (44,5), across the left side of the circle (centre (50,5),
    // radius 5); read as world points it would touch nothing.
    resbuf* polygon = acutBuildList(RTPOINT, std::array<double, 3>{4, -26, 0}.data(), RTPOINT,
                                    std::array<double, 3>{6, -26, 0}.data(), RTPOINT,
                                    std::array<double, 3>{5, -24, 0}.data(), 0);
    ASSERT_EQ(acedSSGet("CP", polygon, nullptr, nullptr, set), RTNORM);
    EXPECT_EQ(handlesOf(set), (std::vector<std::string>{handles["CIRCLE"]}));
    acedSSFree(set);
    acutRelRb(polygon);
}

TEST_F(Plan, FiltersByTypeLayerAndExtendedData)
{
    ads_name set;
    ASSERT_EQ(acedSSGet("X", nullptr, nullptr, nullptr, set), RTNORM);
    EXPECT_EQ(handlesOf(set).size(), 4u);
    acedSSFree(set);

    resbuf* rooms = acutBuildList(8, "ROOMS", 0);
    ASSERT_EQ(acedSSGet("X", nullptr, nullptr, rooms, set), RTNORM);
    EXPECT_EQ(handlesOf(set), (std::vector<std::string>{handles["LWPOLYLINE"], handles["CIRCLE"]}));
    acedSSFree(set);
    acutRelRb(rooms);

    resbuf* typed = acutBuildList(RTDXF0, "LWPOLYLINE,CIRCLE", 8, "~ROOMS", 0);
    ASSERT_NE(typed, nullptr);
    EXPECT_EQ(acedSSGet("X", nullptr, nullptr, typed, set), RTERROR);  // both are on ROOMS
    acutRelRb(typed);
    resbuf* circles = acutBuildList(RTDXF0, "C*", 0);
    ASSERT_EQ(acedSSGet("X", nullptr, nullptr, circles, set), RTNORM);
    EXPECT_EQ(handlesOf(set), (std::vector<std::string>{handles["CIRCLE"]}));
    acedSSFree(set);
    acutRelRb(circles);

    resbuf* colour = acutBuildList(62, 1, 0);
    EXPECT_EQ(acedSSGet("X", nullptr, nullptr, colour, set), RTERROR);  // not evaluated: refused
    acutRelRb(colour);
}

TEST_F(Plan, InteractiveSelectionCountsWhatEachAnswerAdds)
{
    feed("W\n-1,-1\n11,1\n" + handles["TEXT"] + "\nALL\nnonsense!\n\n");
    ads_name set;
    ASSERT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, set), RTNORM);
    EXPECT_EQ(handlesOf(set).size(), 4u);
    EXPECT_NE(transcript.find("Select objects: W\nFirst corner: -1,-1\nSpecify opposite corner: 11,1\n1 found\n"),
              std::string::npos)
        << transcript;
    EXPECT_NE(transcript.find("1 found, 2 total\n"), std::string::npos);
    EXPECT_NE(transcript.find("4 found, 4 total\n"), std::string::npos);
    EXPECT_NE(transcript.find("*Invalid selection*"), std::string::npos);
    acedSSFree(set);

    feed("^C\n");
    EXPECT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, set), RTCAN);
}

TEST_F(Plan, SystemVariablesOfTheDrawingAndTheHost)
{
    resbuf value{};
    ASSERT_EQ(acedGetVar("sortents", &value), RTNORM);
    EXPECT_EQ(value.restype, RTSHORT);
    resbuf set{};
    set.restype = RTSHORT;
    set.resval.rint = static_cast<short>(value.resval.rint | 127);
    EXPECT_EQ(acedSetVar("SORTENTS", &set), RTNORM);
    ASSERT_EQ(acedGetVar("SORTENTS", &value), RTNORM);
    EXPECT_EQ(value.resval.rint, 127);
    EXPECT_EQ(document->database()->sortEnts(), 127);

    set.resval.rint = 300;
    EXPECT_EQ(acedSetVar("SORTENTS", &set), RTERROR);

    ASSERT_EQ(acedGetVar("CLAYER", &value), RTNORM);
    EXPECT_STREQ(value.resval.rstring, "0");
    std::free(value.resval.rstring);
    resbuf layer{};
    layer.restype = RTSTR;
    layer.resval.rstring = const_cast<char*>("ROOMS");
    EXPECT_EQ(acedSetVar("CLAYER", &layer), RTNORM);
    ASSERT_EQ(acedGetVar("CLAYER", &value), RTNORM);
    EXPECT_STREQ(value.resval.rstring, "ROOMS");
    std::free(value.resval.rstring);
    layer.resval.rstring = const_cast<char*>("NO SUCH LAYER");
    EXPECT_EQ(acedSetVar("CLAYER", &layer), RTERROR);

    ASSERT_EQ(acedGetVar("DWGNAME", &value), RTNORM);
    EXPECT_STREQ(value.resval.rstring, "plan.dxf");
    std::free(value.resval.rstring);
    EXPECT_EQ(acedGetVar("NOSUCHVAR", &value), RTERROR);
    EXPECT_EQ(acedSetVar("DWGNAME", &layer), RTERROR);
}

TEST_F(Plan, ZoomExtentsCoversTheDrawingAndPreviousGoesBack)
{
    // Everything lies between x 0..55 and y -? (the text's box) .. 10; the
    // view adds 1% of the larger side on each side.
    const AcApView& view = document->view();
    EXPECT_NEAR(view.lowerLeft.x, 0.0 - 0.55, 1e-9);
    EXPECT_NEAR(view.upperRight.x, 55.0 + 0.55, 1e-9);
    EXPECT_NEAR(view.upperRight.y, 10.0 + 0.55, 1e-9);
    ASSERT_EQ(acedZoomWindow(AcGePoint3d(30, 10, 0), AcGePoint3d(20, 0, 0)), Acad::eOk);
    EXPECT_EQ(document->view().lowerLeft.x, 20.0);
    EXPECT_EQ(document->view().upperRight.y, 10.0);
    EXPECT_EQ(acedZoomWindow(AcGePoint3d(1, 1, 0), AcGePoint3d(1, 5, 0)), Acad::eInvalidInput);
    ASSERT_EQ(acedZoomPrevious(), Acad::eOk);
    EXPECT_NEAR(document->view().upperRight.x, 55.55, 1e-9);
}

TEST_F(Plan, DrawingLocksNestAndOnlyTheOutermostUnlockReleases)
{
    CAcadDrawing drawing;
    drawing.setDocument(document);
    drawing.setFullPath(file);
    drawing.setOpen(true);
    drawing.setKeepOpen(true);
    EXPECT_EQ(drawing.lock(), 0);
    EXPECT_EQ(drawing.lock(), 0);
    EXPECT_EQ(document->lockCount(), 1);  // only the outer lock reached the host
    EXPECT_EQ(drawing.unlock(), 320);
    EXPECT_TRUE(drawing.isLocked());
    EXPECT_EQ(document->myLockMode(), AcAp::kWrite);
    EXPECT_EQ(drawing.unlock(), 0);
    EXPECT_FALSE(drawing.isLocked());
    EXPECT_EQ(document->myLockMode(), AcAp::kNotLocked);

    // Posting an entity adds it to model space and leaves the lock as it was.
    drawing.postToDrawing(new AcDbLine(AcGePoint3d(0, 20, 0), AcGePoint3d(5, 20, 0)));
    EXPECT_EQ(document->lockCount(), 0);
    ads_name set;
    ASSERT_EQ(acedSSGet("X", nullptr, nullptr, nullptr, set), RTNORM);
    EXPECT_EQ(handlesOf(set).size(), 5u);
    acedSSFree(set);
}

TEST_F(Plan, SaveAsCopiesThroughATemporaryVkrFileRemovedAtTheEnd)
{
    std::string appData = (folder.path() / "appdata").string();
    setenv("ZELKA_APPDATA", appData.c_str(), 1);
    std::string target = (folder.path() / "copy.dwg").string();
    std::string vkr;
    {
        CAcadDrawing drawing;
        drawing.setDocument(document);
        drawing.setFullPath(file);
        drawing.setOpen(true);
        drawing.setKeepOpen(true);
        drawing.saveAs(folder.path().string() + "/", "copy.dwg");
        ASSERT_EQ(drawing.getTempFiles().getCount(), 1);
        vkr = drawing.getTempFiles().getList()[0];
        EXPECT_EQ(std::filesystem::path(vkr).filename(), "copy.vkr");
        EXPECT_EQ(std::filesystem::path(vkr).parent_path().string() + "/", CAcadDrawing::temporaryFolder());
        EXPECT_TRUE(std::filesystem::exists(vkr));
        EXPECT_EQ(zelkatest::readFile(vkr), zelkatest::readFile(target));
    }
    EXPECT_FALSE(std::filesystem::exists(vkr));
    // Kept open: the document is still there.
    EXPECT_EQ(acDocManagerPtr()->curDocument(), document);
    // The copy is a drawing ezdxf reads with the same four entities.
    std::string types = captureOutput(std::string(ZELKA_PYTHON) +
                                " -c \"import ezdxf,sys; d=ezdxf.readfile(sys.argv[1]); "
                                "print(sorted(e.dxftype() for e in d.modelspace()))\" " + target);
    EXPECT_EQ(types, "['CIRCLE', 'LINE', 'LWPOLYLINE', 'TEXT']\n");

    // Saving a copy again over a link: the link's target gets the drawing,
    // the link stays a link, and no partial copy is left beside it.
    std::filesystem::create_directory(folder.path() / "real");
    const std::filesystem::path realCopy = folder.path() / "real" / "linked.dwg";
    zelkatest::writeFile(realCopy, "old content");
    std::filesystem::create_symlink(realCopy, folder.path() / "linked.dwg");
    {
        CAcadDrawing drawing;
        drawing.setDocument(document);
        drawing.setOpen(true);
        drawing.setKeepOpen(true);
        drawing.saveAs(folder.path().string() + "/", "linked.dwg");
    }
    EXPECT_TRUE(std::filesystem::is_symlink(folder.path() / "linked.dwg"));
    EXPECT_EQ(zelkatest::readFile(realCopy.string()), zelkatest::readFile(target));
    // The old file is replaced, not rewritten in place: one who still holds
    // it (here a second name of it) sees the old drawing whole, never a
    // mixture, and an interrupted copy leaves the old drawing as it was.
    zelkatest::writeFile(realCopy, "old content");
    std::filesystem::create_hard_link(realCopy, folder.path() / "real" / "held.dwg");
    {
        CAcadDrawing drawing;
        drawing.setDocument(document);
        drawing.setOpen(true);
        drawing.setKeepOpen(true);
        drawing.saveAs(folder.path().string() + "/", "linked.dwg");
    }
    EXPECT_EQ(zelkatest::readFile(folder.path() / "real" / "held.dwg"), "old content");
    EXPECT_EQ(zelkatest::readFile(realCopy.string()), zelkatest::readFile(target));
    for (const auto& entry : std::filesystem::directory_iterator(folder.path() / "real"))
        EXPECT_TRUE(entry.path().filename() == "linked.dwg" || entry.path().filename() == "held.dwg")
            << "left behind: " << entry.path();

    // A folder that does not exist: the copy step fails with its message.
    MessageBoxPresenter quiet = setMessageBoxPresenter([](const std::string&, const std::string&, unsigned) { return IDOK; });
    CAcadDrawing broken;
    broken.setDocument(document);
    broken.setOpen(true);
    broken.setKeepOpen(true);
    try {
        broken.saveAs("/nonexistent-folder/", "x.dwg");
        ADD_FAILURE() << "saveAs into a missing folder did not fail";
    } catch (const CEXZelka& e) {
        EXPECT_EQ(e.getProcSig(), "CAcadDrawing::saveAs");
        EXPECT_EQ(e.innermost().getDescription().rfind("unable to copy drawing from temp location - ", 0), 0u)
            << e.innermost().getDescription();
    }
    setMessageBoxPresenter(quiet);
    unsetenv("ZELKA_APPDATA");
}

TEST_F(Plan, DrawingNotKeptOpenClosesItsDocumentWithoutSaving)
{
    std::string before = zelkatest::readFile(file);
    {
        CAcadDrawing drawing(folder.path().string() + "/", "plan.dxf");
        EXPECT_EQ(acDocManagerPtr()->documentCount(), 2);
        drawing.postToDrawing(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0)));
    }
    EXPECT_EQ(acDocManagerPtr()->documentCount(), 1);
    EXPECT_EQ(zelkatest::readFile(file), before);

    try {
        CAcadDrawing missing(folder.path().string() + "/", "absent.dxf");
        ADD_FAILURE() << "opening a missing drawing did not fail";
    } catch (const CEXZelka& e) {
        EXPECT_EQ(e.getProcSig(), "CAcadDrawing::CAcadDrawing");
        EXPECT_EQ(e.innermost().getCode(), Acad::eFileNotFound);
        EXPECT_NE(e.innermost().getDescription().find("absent.dxf"), std::string::npos);
    }
}
