#pragma once
// Shared helpers of the XML tests: a private temporary folder named by
// strings, capture of the command line, file reading, and the fixtures folder.

#include <string>

#include "tests/common/AppTestSupport.h"

namespace xmltest {

using zelkatest::CommandLineCapture;
using zelkatest::readFile;
using zelkatest::writeFile;

inline std::string fixture(const std::string& name)
{
    return std::string(ZELKA_SOURCE_DIR) + "/tests/data/xml/" + name;
}

// A fresh folder under the system's temporary folder, removed afterwards.
class TempFolder {
public:
    std::string path(const std::string& name) const { return (folder_.path() / name).string(); }
    std::string root() const { return folder_.path().string(); }

private:
    zelkatest::TempFolder folder_;
};

}  // namespace xmltest
