#pragma once
// Shared helpers of the XML tests: a private temporary folder, capture of the
// command line, file reading, and the fixtures folder.

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "host/ed/acutPrintf.h"

namespace xmltest {

inline std::string fixture(const std::string& name)
{
    return std::string(ZELKA_SOURCE_DIR) + "/tests/data/xml/" + name;
}

inline std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void writeFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

// A fresh folder under the system's temporary folder, removed afterwards.
class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "zelka-xml-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string path(const std::string& name) const { return path_ + "/" + name; }
    const std::string& root() const { return path_; }

private:
    std::string path_;
};

// Collects everything printed on the command line while it lives.
class CommandLineCapture {
public:
    CommandLineCapture()
    {
        previous_ = setCommandLineSink([this](const std::string& text) { text_ += text; });
    }
    ~CommandLineCapture() { setCommandLineSink(previous_); }
    CommandLineCapture(const CommandLineCapture&) = delete;
    CommandLineCapture& operator=(const CommandLineCapture&) = delete;

    const std::string& text() const { return text_; }

private:
    std::string text_;
    CommandLineSink previous_;
};

}  // namespace xmltest
