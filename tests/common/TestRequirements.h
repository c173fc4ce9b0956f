#pragma once

// What a test needs from outside the project (an independent reader such as
// ezdxf, a system tool, a system locale). A missing one fails the test when
// CI is set in the environment, so a build machine without the oracle cannot
// report a green run; elsewhere the test is skipped and says what is missing.
// Both leave the test function at once, so assertions after the check always
// run when the test counts as passed.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace zelkatest {

inline bool runningUnderCi()
{
    const char* ci = std::getenv("CI");
    return ci && *ci && std::string(ci) != "0" && std::string(ci) != "false";
}

// True when /usr/bin/python3 can import ezdxf (asked once per program).
inline bool haveEzdxf()
{
    static const bool have = std::system("/usr/bin/python3 -c 'import ezdxf' >/dev/null 2>&1") == 0;
    return have;
}

}  // namespace zelkatest

#define ZELKA_REQUIRE(condition, what)                                                  \
    do {                                                                                \
        if (!(condition)) {                                                             \
            if (zelkatest::runningUnderCi())                                            \
                FAIL() << "missing under CI: " << (what);                               \
            else                                                                        \
                GTEST_SKIP() << "missing: " << (what) << " (set CI=true to fail instead)"; \
        }                                                                               \
    } while (0)

#define ZELKA_REQUIRE_EZDXF() ZELKA_REQUIRE(zelkatest::haveEzdxf(), "ezdxf for /usr/bin/python3 (python3-ezdxf)")
