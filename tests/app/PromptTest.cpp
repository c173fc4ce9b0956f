// The editor's prompts fed from a script: values, re-asking after wrong
// answers, the empty answer, cancelling and the end of input.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "host/ed/acedInput.h"
#include "host/ed/acutPrintf.h"
#include "host/ui/ConsoleMessageBox.h"
#include "host/ui/MessageBox.h"
#include "tests/common/ScriptedCommandLine.h"

namespace {

class Prompts : public ScriptedCommandLine {};

}  // namespace

TEST_F(Prompts, IntegerIsAskedAgainUntilTheAnswerIsAWholeNumberInRange)
{
    feed("abc\n5.5\n40000\n-32768\n");
    int value = 0;
    EXPECT_EQ(acedGetInt("\nCount: ", &value), RTNORM);
    EXPECT_EQ(value, -32768);
    EXPECT_EQ(transcript, "\nCount: abc\nRequires an integer value.\n"
                          "\nCount: 5.5\nRequires an integer value.\n"
                          "\nCount: 40000\nRequires an integer between -32768 and 32767.\n"
                          "\nCount: -32768\n");
}

TEST_F(Prompts, EmptyAnswerCancelAndEndOfInput)
{
    feed("\n^C\n");
    int value = 42;
    EXPECT_EQ(acedGetInt("n: ", &value), RTNONE);
    EXPECT_EQ(acedGetInt("n: ", &value), RTCAN);
    EXPECT_EQ(value, 42);
    EXPECT_FALSE(Editor::instance().inputEndedInPrompt());
    EXPECT_EQ(acedGetInt("n: ", &value), RTCAN);
    EXPECT_TRUE(Editor::instance().inputEndedInPrompt());
    EXPECT_EQ(transcript, "n: \nn: *Cancel*\nn: \n");
}

TEST_F(Prompts, RealNumbersAcceptDecimalAndExponentFormsOnly)
{
    feed("1,5\ninf\n0x10\n-2.5e3\n");
    double value = 0.0;
    EXPECT_EQ(acedGetReal("r: ", &value), RTNORM);
    EXPECT_DOUBLE_EQ(value, -2500.0);
    EXPECT_EQ(std::count(transcript.begin(), transcript.end(), 'R'), 3);  // three "Requires numeric value."
}

TEST_F(Prompts, PointsAreTwoOrThreeCoordinatesOrRelativeToTheBase)
{
    feed("1,2\n3, 4 ,5\n1,2,3,4\nabc\n@10,-1\n");
    ads_point point = {9, 9, 9};
    ASSERT_EQ(acedGetPoint(nullptr, "p: ", point), RTNORM);
    EXPECT_DOUBLE_EQ(point[X], 1.0);
    EXPECT_DOUBLE_EQ(point[Y], 2.0);
    EXPECT_DOUBLE_EQ(point[Z], 0.0);
    ASSERT_EQ(acedGetPoint(nullptr, "p: ", point), RTNORM);
    EXPECT_DOUBLE_EQ(point[Z], 5.0);
    ads_point base = {100.0, 200.0, 7.0};
    ASSERT_EQ(acedGetPoint(base, "p: ", point), RTNORM);
    EXPECT_DOUBLE_EQ(point[X], 110.0);
    EXPECT_DOUBLE_EQ(point[Y], 199.0);
    EXPECT_DOUBLE_EQ(point[Z], 7.0);
    EXPECT_EQ(transcript.find("Invalid point.") != std::string::npos, true);
    size_t invalid = 0;
    for (size_t at = transcript.find("Invalid point."); at != std::string::npos;
         at = transcript.find("Invalid point.", at + 1)) {
        ++invalid;
    }
    EXPECT_EQ(invalid, 2u);
}

TEST_F(Prompts, StringsWithAndWithoutBlanks)
{
    feed("Room 101 north\nfirst second\n" + std::string(133, 'x') + "\n");
    std::string whole;
    EXPECT_EQ(acedGetString(1, "s: ", whole), RTNORM);
    EXPECT_EQ(whole, "Room 101 north");
    // A blank ends the answer; the rest answers the next prompt.
    char word[133];
    EXPECT_EQ(acedGetString(0, "s: ", word), RTNORM);
    EXPECT_STREQ(word, "first");
    EXPECT_EQ(acedGetString(0, "s: ", word), RTNORM);
    EXPECT_STREQ(word, "second");
    // 133 bytes do not fit the ObjectARX-sized buffer.
    EXPECT_EQ(acedGetString(1, "s: ", word), RTERROR);
    EXPECT_STREQ(word, "");
}

TEST_F(Prompts, MessageBoxYesNoReadsTheAnswer)
{
    installConsoleMessageBox();
    feed("n\nmaybe\nYES\n\n^C\n");
    EXPECT_EQ(MessageBoxA(nullptr, "Delete it?", "Zelka", MB_YESNO), IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, "Delete it?", "Zelka", MB_YESNO), IDYES);
    EXPECT_EQ(MessageBoxA(nullptr, "Delete it?", "Zelka", MB_YESNO), IDYES);
    EXPECT_EQ(MessageBoxA(nullptr, "Save?", "Zelka", MB_YESNOCANCEL), IDCANCEL);
    EXPECT_NE(transcript.find("\nZelka\n=====\nDelete it?\n[Yes/No] <Yes>: n\n"), std::string::npos) << transcript;
    EXPECT_NE(transcript.find("Please answer [Yes/No]."), std::string::npos);
    // A box with only OK asks nothing.
    EXPECT_EQ(MessageBoxA(nullptr, "Done.", "Zelka", MB_OK), IDOK);
    setMessageBoxPresenter(nullptr);
}
