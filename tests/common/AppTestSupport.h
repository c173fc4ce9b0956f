#pragma once
// Small helpers shared by the unit tests of the application's libraries:
// an environment variable set for one scope, the command line's text caught
// while a capture lives, and the preferences file of an earlier session.

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "host/ed/acutPrintf.h"
#include "tests/common/ZelkaProcess.h"

namespace zelkatest {

// Sets an environment variable (or removes it, for nullopt) for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<std::string> value) : name_(name)
    {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (old_)
            ::setenv(name_.c_str(), old_->c_str(), 1);
        else
            ::unsetenv(name_.c_str());
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

// Collects everything printed on the command line while it lives.
class CommandLineCapture {
public:
    CommandLineCapture() { previous_ = setCommandLineSink([this](const std::string& t) { text_ += t; }); }
    ~CommandLineCapture() { setCommandLineSink(previous_); }
    CommandLineCapture(const CommandLineCapture&) = delete;
    CommandLineCapture& operator=(const CommandLineCapture&) = delete;
    const std::string& text() const { return text_; }

private:
    std::string text_;
    CommandLineSink previous_;
};

// The preferences file with every setting at its default, as the user guide
// lists them and as a first batch run writes it.
inline const char* const kDefaultPreferences =
    "//\tZelka Systems - Orvane\n//\n//\tConfiguration file for Orvane\n//\n"
    "units\n0\nprecison\n2\ntextSize\n250.00\ntextScale\n1.00\ntextRotation\n0.00\n"
    "csvOpener\nNONE\nzoomBorder\n1000\ninc\n1\n";

// Where the preferences file lives under an application-data folder.
inline std::filesystem::path prefsIn(const std::filesystem::path& appData)
{
    return appData / "ZelkaSystems/Orvane/prefs/prefs.cfg";
}

// Writes the defaults there, as an earlier session left them, so that no
// first-start dialog asks.
inline void writeDefaultPreferences(const std::filesystem::path& appData)
{
    writeFile(prefsIn(appData), kDefaultPreferences);
}

}  // namespace zelkatest
