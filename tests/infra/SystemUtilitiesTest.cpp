// Event pumping, waiting and temporary-file clean-up.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

#include "host/ed/EventPump.h"
#include "infra/SystemUtilities.h"
#include "infra/TempFiles.h"
#include "infra/ZelkaExceptions.h"

namespace fs = std::filesystem;

namespace {

// Installs a pump for one scope and restores the previous one.
class ScopedPump {
public:
    explicit ScopedPump(EventPump pump) { previous_ = setEventPump(std::move(pump)); }
    ~ScopedPump() { setEventPump(previous_); }
    ScopedPump(const ScopedPump&) = delete;
    ScopedPump& operator=(const ScopedPump&) = delete;

private:
    EventPump previous_;
};

}  // namespace

TEST(SystemUtilities, DoEventsHandlesEveryWaitingEvent)
{
    int waiting = 3;
    int calls = 0;
    ScopedPump pump([&] {
        ++calls;
        if (waiting == 0) return false;
        --waiting;
        return true;
    });
    CSystemUtilities().doEvents();
    EXPECT_EQ(waiting, 0);
    EXPECT_EQ(calls, 4);
}

// A failure inside the pump travels up wrapped once per operation it passes.
TEST(SystemUtilities, AFailingPumpIsWrappedByEachOperation)
{
    ScopedPump pump([]() -> bool { throw std::runtime_error("window message loop broke"); });
    try {
        CSystemUtilities().wait(2);
        FAIL() << "no exception";
    } catch (const CEXZelka& e) {
        EXPECT_EQ(e.errorChainText(),
                  "SystemUtilities::CSystemUtilities::wait\n"
                  "\tSystemUtilities::CSystemUtilities::doEvents\n\n"
                  "window message loop broke");
        EXPECT_EQ(e.getSource(), ZELKA_MODULE_TITLE);
    }
}

TEST(TempFiles, DeleteRemovesEachListedFileAndResets)
{
    auto dir = fs::temp_directory_path() / ("zelka-temp-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "a.tmp") << "a";
    std::ofstream(dir / "c.tmp") << "c";
    fs::create_directory(dir / "keep");

    CTempFiles temp;
    temp.add((dir / "a.tmp").string());
    temp.add((dir / "b-missing.tmp").string());
    temp.add((dir / "c.tmp").string());
    temp.add((dir / "keep").string());
    EXPECT_EQ(temp.getCount(), 4);
    ASSERT_EQ(temp.getList().size(), 4u);
    EXPECT_EQ(temp.getList()[1], (dir / "b-missing.tmp").string());

    temp.deleteTempFiles();
    EXPECT_FALSE(fs::exists(dir / "a.tmp"));
    EXPECT_FALSE(fs::exists(dir / "c.tmp"));
    EXPECT_TRUE(fs::is_directory(dir / "keep"));
    EXPECT_EQ(temp.getCount(), 0);
    EXPECT_TRUE(temp.getList().empty());

    temp.add((dir / "d.tmp").string());
    EXPECT_EQ(temp.getCount(), 1);
    fs::remove_all(dir);
}
