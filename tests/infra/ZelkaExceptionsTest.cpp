#include <gtest/gtest.h>

#include "infra/ZelkaExceptions.h"

TEST(ZelkaExceptions, ClassIsBaseNameWithoutCpp)
{
    EXPECT_EQ(CEXZelka::classFromPath("/src/infra/FileUtilities.cpp"), "FileUtilities");
    EXPECT_EQ(CEXZelka::classFromPath("FileUtilities.cpp"), "FileUtilities");
    EXPECT_EQ(CEXZelka::classFromPath("/src/infra/Log.h"), "Log.h");
}
