// Documents and their nested locks; the progress meter.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <memory>

#include "host/ed/AcApDocManager.h"
#include "host/ed/Progress.h"

TEST(DocManager, LocksNestAndOnlyTheOutermostPairChangesTheMode)
{
    AcApDocManager manager;
    EXPECT_EQ(manager.lockDocument(nullptr), Acad::eNotApplicable);
    AcApDocument* document = manager.appendDocument(std::make_unique<AcApDocument>("/plans/a.dxf", nullptr));
    EXPECT_EQ(manager.curDocument(), document);
    EXPECT_EQ(manager.lockDocument(document, AcAp::kWrite), Acad::eOk);
    EXPECT_EQ(manager.lockDocument(nullptr, AcAp::kWrite), Acad::eOk);
    EXPECT_EQ(manager.lockDocument(document, AcAp::kRead), Acad::eOk);  // read inside write
    EXPECT_EQ(document->lockCount(), 3);
    EXPECT_EQ(document->myLockMode(), AcAp::kWrite);
    EXPECT_EQ(manager.closeDocument(document), Acad::eLockViolation);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(manager.unlockDocument(document), Acad::eOk);
    EXPECT_EQ(document->myLockMode(), AcAp::kNotLocked);
    EXPECT_EQ(manager.unlockDocument(document), Acad::eNotApplicable);
    // Write inside read is refused.
    EXPECT_EQ(manager.lockDocument(document, AcAp::kRead), Acad::eOk);
    EXPECT_EQ(manager.lockDocument(document, AcAp::kWrite), Acad::eLockViolation);
    EXPECT_EQ(manager.unlockDocument(document), Acad::eOk);
    EXPECT_EQ(manager.closeDocument(document), Acad::eOk);
    EXPECT_EQ(manager.curDocument(), nullptr);
}

TEST(ProgressMeter, DrawsOnATerminalOnlyAndClampsItsPosition)
{
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    fcntl(fds[0], F_SETFL, O_NONBLOCK);
    auto drained = [&] {
        std::string text;
        char buffer[4096];
        ssize_t got;
        while ((got = read(fds[0], buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(got));
        return text;
    };
    setProgressOutput(fds[1], true);
    EXPECT_EQ(acedSetStatusBarProgressMeter("Hatching", 0, 200), 0);
    EXPECT_EQ(acedSetStatusBarProgressMeterPos(50), 0);
    EXPECT_EQ(acedSetStatusBarProgressMeterPos(51), 0);  // still 25%: not drawn again
    EXPECT_EQ(acedSetStatusBarProgressMeterPos(500), 0);
    acedRestoreStatusBar();
    std::string drawn = drained();
    EXPECT_NE(drawn.find("\rHatching [" + std::string(30, ' ') + "] 0%"), std::string::npos);
    EXPECT_NE(drawn.find("\rHatching [#######" + std::string(23, ' ') + "] 25%"), std::string::npos);
    EXPECT_EQ(drawn.find("25%", drawn.find("25%") + 1), std::string::npos);
    EXPECT_NE(drawn.find("] 100%\r\033[K"), std::string::npos);
    EXPECT_EQ(acedSetStatusBarProgressMeterPos(3), -1);

    setProgressOutput(fds[1], false);
    acedSetStatusBarProgressMeter("Quiet", 0, 10);
    acedSetStatusBarProgressMeterPos(5);
    acedRestoreStatusBar();
    EXPECT_EQ(drained(), "");
    close(fds[0]);
    close(fds[1]);
}
