// Recording a drawing's layer state, changing it for a job and putting it
// back, on real drawings opened in the host: the layers, the current layout
// and the layers frozen in each viewport of a paper layout, as ezdxf reads
// them from the saved file.

#include <gtest/gtest.h>

#include <filesystem>

#include "host/ed/AcApDocManager.h"
#include "module/AcadDrawing.h"
#include "infra/ZelkaExceptions.h"
#include "reports/AcadDrawingState.h"
#include "tests/commands/CommandTestSupport.h"

namespace fs = std::filesystem;
using namespace zelkatest;

namespace {

// Opens a copy of a drawing (spaces.dxf unless given) as the current
// document; closes it at the end.
class OpenPlan {
public:
    explicit OpenPlan(const fs::path& source = kFixtureDir / "spaces.dxf")
    {
        fs::copy_file(source, folder_.path() / "plan.dxf");
        status_ = acDocManagerPtr()->appContextOpenDocument((folder_.path() / "plan.dxf").c_str());
        document_ = acDocManagerPtr()->curDocument();
        drawing_.setDocument(document_);
        drawing_.setFullPath(document_ ? document_->fileName() : std::string());
        drawing_.setOpen(document_ != nullptr);
        drawing_.setKeepOpen(true);
    }
    OpenPlan(const OpenPlan&) = delete;
    OpenPlan& operator=(const OpenPlan&) = delete;
    ~OpenPlan()
    {
        if (document_) acDocManagerPtr()->closeDocument(document_);
    }
    CAcadDrawing& drawing() { return drawing_; }
    bool ok() const { return status_ == Acad::eOk && document_; }
    // Saves and returns ezdxf's view of the layers.
    std::map<std::string, std::string> savedLayers()
    {
        const fs::path out = folder_.path() / ("saved" + std::to_string(++saves_) + ".dxf");
        EXPECT_EQ(acDocManagerPtr()->saveDocument(document_, out.c_str()), Acad::eOk);
        return readDrawingFacts(out).layers;
    }
    // Saves and returns what ezdxf reads of layouts and viewports: one line
    // "TILEMODE <n>", "ACTIVE <paper layout>", then per viewport of each
    // paper layout "VP <layout> <id> <frozen layer names, sorted, by commas>",
    // and per layer "LAYER <name> <frozen 0/1>".
    std::string savedSheets()
    {
        const fs::path out = folder_.path() / ("saved" + std::to_string(++saves_) + ".dxf");
        EXPECT_EQ(acDocManagerPtr()->saveDocument(document_, out.c_str()), Acad::eOk);
        return runPython(R"(
import sys, ezdxf
doc = ezdxf.readfile(sys.argv[1])
print("TILEMODE", doc.header.get("$TILEMODE"))
print("ACTIVE", doc.layouts.active_layout().name)
for name in doc.layouts.names():
    if name == "Model":
        continue
    for vp in doc.layouts.get(name).viewports():
        print("VP", name, vp.dxf.id, ",".join(sorted(vp.frozen_layers)))
for layer in doc.layers:
    print("LAYER", layer.dxf.name, int(layer.is_frozen()))
)",
                         {out.string()});
    }
    fs::path folder() const { return folder_.path(); }

private:
    TempFolder folder_;
    Acad::ErrorStatus status_ = Acad::eNotApplicable;
    AcApDocument* document_ = nullptr;
    CAcadDrawing drawing_;
    int saves_ = 0;
};

}  // namespace

TEST(DrawingState, ManipulationUnlocksOnlyAndLayerStatesAreFoundWhateverTheCase)
{
    OpenPlan plan;
    ASSERT_TRUE(plan.ok()) << acDocManagerPtr()->lastOpenError();
    CAcadDrawingState state(plan.drawing());
    state.setStateToAllowManipulation(plan.drawing());
    std::map<std::string, std::string> layers = plan.savedLayers();
    EXPECT_EQ(layers.at("FURNITURE"), "on unlocked");
    EXPECT_EQ(layers.at("ATT-AUX"), "off unlocked");

    // an existing layer is updated (name compared without case), a new one appended
    const int count = state.getLayers().getCount();
    state.setLayerState("att-aux", 0, 0, 0, 1);
    state.setLayerState("NEW LAYER", 0, 1, 0, 1);
    EXPECT_EQ(state.getLayers().getCount(), count + 1);
    state.applyState(plan.drawing(), 0);
    layers = plan.savedLayers();
    EXPECT_EQ(layers.at("ATT-AUX"), "on unlocked");
    EXPECT_EQ(layers.at("NEW LAYER"), "on locked");
}

TEST(DrawingState, PaperLayoutStateFreezesItsLayersInEveryViewportAndTheRecordedStateComesBack)
{
    OpenPlan plan(kFixtureDir / "sheet.dxf");
    ASSERT_TRUE(plan.ok()) << acDocManagerPtr()->lastOpenError();
    const std::string original = plan.savedSheets();
    ASSERT_NE(original.find("TILEMODE 1\n"), std::string::npos) << original;
    ASSERT_NE(original.find("VP SHEET 1 3 NOTES\n"), std::string::npos) << original;

    CAcadDrawingState recorded(plan.drawing());
    EXPECT_EQ(recorded.getLayout(), "Model");

    CAcadDrawingState job(plan.drawing());
    job.setLayout("SHEET 1");
    job.setLayerState("notes", 0, 0, 0, 1);
    job.setLayerState("FURN", 1, 0, 0, 1);
    job.applyState(plan.drawing(), 1);
    // Frozen in the state: FURN and HIDDEN (as read); every viewport of the
    // sheet, its own paper view included, freezes those and thaws the rest.
    EXPECT_EQ(plan.savedSheets(),
              "TILEMODE 0\n"
              "ACTIVE SHEET 1\n"
              "VP SHEET 1 1 FURN,HIDDEN\n"
              "VP SHEET 1 3 FURN,HIDDEN\n"
              "VP SHEET 1 4 FURN,HIDDEN\n"
              "LAYER 0 0\n"
              "LAYER Defpoints 0\n"
              "LAYER WALLS 0\n"
              "LAYER FURN 1\n"
              "LAYER NOTES 0\n"
              "LAYER HIDDEN 1\n");

    // Back to the recorded state: model space current, layers as they were;
    // without viewports the sheet's viewports keep what they had.
    recorded.applyState(plan.drawing(), 0);
    const std::string restored = plan.savedSheets();
    EXPECT_NE(restored.find("TILEMODE 1\n"), std::string::npos) << restored;
    EXPECT_NE(restored.find("LAYER FURN 0\n"), std::string::npos) << restored;
    EXPECT_NE(restored.find("LAYER HIDDEN 1\n"), std::string::npos) << restored;
    EXPECT_NE(restored.find("VP SHEET 1 3 FURN,HIDDEN\n"), std::string::npos) << restored;
}

TEST(DrawingState, AnotherSheetBecomesCurrentAndAllOffGoesBackToModel)
{
    OpenPlan plan(kFixtureDir / "sheet.dxf");
    ASSERT_TRUE(plan.ok()) << acDocManagerPtr()->lastOpenError();
    CAcadDrawingState state(plan.drawing());
    state.setLayout("sheet 2");
    state.applyState(plan.drawing(), 1);
    std::string sheets = plan.savedSheets();
    EXPECT_NE(sheets.find("TILEMODE 0\nACTIVE SHEET 2\n"), std::string::npos) << sheets;
    // The viewports of the sheet that is not current are left alone.
    EXPECT_NE(sheets.find("VP SHEET 1 3 NOTES\n"), std::string::npos) << sheets;

    CAcadDrawingState reread(plan.drawing());
    EXPECT_EQ(reread.getLayout(), "SHEET 2");
    reread.setStateAllOff(plan.drawing());
    EXPECT_EQ(reread.getLayout(), "Model");
    sheets = plan.savedSheets();
    EXPECT_NE(sheets.find("TILEMODE 1\n"), std::string::npos) << sheets;

    state.setLayout("NO SUCH SHEET");
    EXPECT_THROW(state.applyState(plan.drawing(), 0), CEXZelka);
    EXPECT_FALSE(plan.drawing().isLocked());
}
