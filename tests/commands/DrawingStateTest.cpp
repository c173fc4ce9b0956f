// Recording a drawing's layer state, changing it for a job and putting it
// back, on a real drawing opened in the host; the saved result read by ezdxf.

#include <gtest/gtest.h>

#include <filesystem>

#include "host/ed/AcApDocManager.h"
#include "module/AcadDrawing.h"
#include "reports/AcadDrawingState.h"
#include "tests/commands/CommandTestSupport.h"

namespace fs = std::filesystem;
using namespace zelkatest;

namespace {

// Opens a copy of spaces.dxf as the current document; closes it at the end.
class OpenPlan {
public:
    OpenPlan()
    {
        fs::copy_file(kFixtureDir / "spaces.dxf", folder_.path() / "plan.dxf");
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

private:
    TempFolder folder_;
    Acad::ErrorStatus status_ = Acad::eNotApplicable;
    AcApDocument* document_ = nullptr;
    CAcadDrawing drawing_;
    int saves_ = 0;
};

}  // namespace

TEST(DrawingState, AllOffThenBackToTheRecordedState)
{
    OpenPlan plan;
    ASSERT_TRUE(plan.ok()) << acDocManagerPtr()->lastOpenError();
    const std::map<std::string, std::string> original = plan.savedLayers();
    ASSERT_EQ(original.at("FURNITURE"), "on locked");
    ASSERT_EQ(original.at("ATT-AUX"), "off unlocked");

    CAcadDrawingState recorded(plan.drawing());
    EXPECT_EQ(recorded.getLayout(), "Model");
    EXPECT_EQ(recorded.getLayers().getCount(), static_cast<int>(original.size()));

    CAcadDrawingState working(plan.drawing());
    working.setStateAllOff(plan.drawing());
    for (const auto& [name, state] : plan.savedLayers()) EXPECT_EQ(state, "off unlocked") << name;

    working.setStateForTakeOff(plan.drawing());
    for (const auto& [name, state] : plan.savedLayers()) EXPECT_EQ(state, "on unlocked") << name;

    recorded.applyState(plan.drawing(), 0);
    EXPECT_EQ(plan.savedLayers(), original);
}

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
