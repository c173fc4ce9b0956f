// The matcher keeps the last pattern it parsed per thread: answers must not
// depend on which pattern came before, on another thread, or on case mode.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "host/ed/acutWcMatch.h"
#include "tests/host/dxfTestSupport.h"

namespace {

// "PREFIX*" by hand: the text starts with the prefix, case ignored or not.
bool startsWith(const std::string& text, const std::string& prefix, bool ignoreCase)
{
    return ignoreCase ? dxftest::asciiLower(text).rfind(dxftest::asciiLower(prefix), 0) == 0 : text.rfind(prefix, 0) == 0;
}

std::vector<std::string> names(std::mt19937& rng, int count)
{
    const std::vector<std::string> stems = {"ROOM-", "room-", "Room", "CHAIR", "ROO", "WALL-", "R00M-"};
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i)
        out.push_back(stems[rng() % stems.size()] + std::to_string(rng() % 1000));
    return out;
}

}  // namespace

TEST(WildcardCache, SamePatternRepeatedOrInterleavedAnswersAlike)
{
    std::mt19937 rng(4242);
    const std::vector<std::string> texts = names(rng, 400);
    const std::vector<std::string> prefixes = {"ROOM-", "room-", "ROO", "CHAIR", "R", ""};
    // One pattern over all texts, then the patterns taken in a random order
    // per text, in both case modes: each answer as the prefix test says.
    for (bool ignoreCase : {true, false})
        for (const std::string& prefix : prefixes) {
            const std::string pattern = prefix + "*";
            for (const std::string& text : texts)
                ASSERT_EQ(acutWcMatchEx(text.c_str(), pattern.c_str(), ignoreCase) == 1,
                          startsWith(text, prefix, ignoreCase))
                    << pattern << " " << text << " case " << ignoreCase;
        }
    for (const std::string& text : texts) {
        std::vector<std::string> order = prefixes;
        std::shuffle(order.begin(), order.end(), rng);
        for (const std::string& prefix : order) {
            const bool ignoreCase = rng() % 2 == 0;
            ASSERT_EQ(acutWcMatchEx(text.c_str(), (prefix + "*").c_str(), ignoreCase) == 1,
                      startsWith(text, prefix, ignoreCase))
                << prefix << "* " << text;
        }
    }
    // A pattern that extends the one before, and its negation.
    EXPECT_EQ(acutWcMatch("ROOM-1", "ROOM-*"), 1);
    EXPECT_EQ(acutWcMatch("ROOM-1", "ROOM-*,CHAIR"), 1);
    EXPECT_EQ(acutWcMatch("CHAIR", "ROOM-*,CHAIR"), 1);
    EXPECT_EQ(acutWcMatch("CHAIR", "ROOM-*"), 0);
    EXPECT_EQ(acutWcMatch("CHAIR", "~ROOM-*"), 1);
    EXPECT_EQ(acutWcMatch("ROOM-1", "~ROOM-*"), 0);
}

TEST(WildcardCache, ThreadsMatchingDifferentPatternsDoNotMix)
{
    std::mt19937 rng(99);
    const std::vector<std::string> texts = names(rng, 2000);
    const std::vector<std::string> prefixes = {"ROOM-", "CHAIR", "WALL-", "R"};
    std::vector<int> wrong(prefixes.size(), 0);
    std::vector<std::thread> threads;
    for (size_t k = 0; k < prefixes.size(); ++k)
        threads.emplace_back([&, k] {
            const std::string pattern = prefixes[k] + "*";
            for (int round = 0; round < 20; ++round)
                for (const std::string& text : texts)
                    wrong[k] += (acutWcMatch(text.c_str(), pattern.c_str()) == 1) != startsWith(text, prefixes[k], true);
        });
    for (std::thread& t : threads)
        t.join();
    for (size_t k = 0; k < prefixes.size(); ++k)
        EXPECT_EQ(wrong[k], 0) << prefixes[k];
}
