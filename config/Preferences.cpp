#include "config/Preferences.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

#include "host/ui/MessageBox.h"
#include "infra/AsciiText.h"
#include "infra/FileUtilities.h"
#include "infra/Utilities.h"
#include "infra/ZelkaExceptions.h"

namespace {

// The keys in the order they are looked for and written.
const char* const kUnits = "units";
const char* const kPrecision = "precison";
const char* const kTextSize = "textSize";
const char* const kTextScale = "textScale";
const char* const kTextRotation = "textRotation";
const char* const kCsvOpener = "csvOpener";
const char* const kZoomBorder = "zoomBorder";
const char* const kIncrement = "inc";

const char* const kKeys[] = {kUnits, kPrecision, kTextSize, kTextScale, kTextRotation, kCsvOpener, kZoomBorder, kIncrement};

// One line of the file, without its line break (a Windows "\r" too).
bool readLine(std::istream& in, std::string& line)
{
    if (!std::getline(in, line)) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

std::string baseName(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};

}  // namespace

CPreferences::CPreferences()
{
    filePath_ = CFileUtilities().preferencesFolder() + "prefs.cfg";
}

bool CPreferences::loadPreferences()
{
    return zelkaOperation(__FILE__, "CPreferences::loadPreferences", [&] {
        loadNotes_.clear();
        // A folder opens for reading here but holds no settings.
        if (CFileUtilities().fileExists(filePath_) && std::filesystem::is_directory(filePath_)) return false;
        std::ifstream in(filePath_);
        if (!in) return false;
        CUtilities util;
        const std::string fileName = baseName(filePath_);
        int lineNumber = 0;
        auto note = [&](int number, const std::string& text) {
            loadNotes_.push_back(fileName + " line " + std::to_string(number) + ": " + text);
        };
        std::string line;
        bool more = readLine(in, line);
        if (more) ++lineNumber;
        while (more && !line.empty()) {
            if (line.rfind("//", 0) != 0) {
                const char* key = nullptr;
                for (const char* candidate : kKeys)
                    if (line.rfind(candidate, 0) == 0) {
                        key = candidate;
                        break;
                    }
                if (!key) {
                    note(lineNumber, "'" + line + "' is not a setting, skipped");
                } else {
                    std::string value;
                    if (readLine(in, value)) ++lineNumber;
                    value = trim(value);
                    std::string name(key);
                    if (name == kUnits) {
                        units_ = util.CStringToInt(value);
                    } else if (name == kPrecision) {
                        precision_ = util.CStringToInt(value);
                    } else if (name == kTextSize || name == kTextScale) {
                        double number = util.CStringToDouble(value);
                        // The file keeps two decimals: a size that would be
                        // saved as 0.00 (or is not a number) is no size either.
                        if (!(number >= 0.005)) {
                            note(lineNumber, name + " " + value +
                                                 (number <= 0.0 ? " is 0 or less" : " is below 0.005") + ", 0.1 used");
                            number = 0.1;
                        }
                        (name == kTextSize ? textSize_ : textScale_) = number;
                    } else if (name == kTextRotation) {
                        double number = util.CStringToDouble(value);
                        if (std::isnan(number)) {
                            // Not a number would rotate every label by NaN.
                            note(lineNumber, name + " " + value + " is not a number, 0 used");
                            number = 0.0;
                        } else if (number > 180.0 || number < -180.0) {
                            number = number > 180.0 ? 180.0 : -180.0;
                            note(lineNumber, name + " " + value + " is outside -180 to 180, " +
                                                 util.DoubleToCString(number, 0) + " used");
                        }
                        textRotation_ = number;
                    } else if (name == kCsvOpener) {
                        csvOpener_ = value;
                    } else if (name == kZoomBorder) {
                        // The options dialog takes 0 to 10000; anything else
                        // (infinity, not a number) would zoom nowhere.
                        double number = util.CStringToDouble(value);
                        if (number >= 0.0 && number <= 10000.0)
                            zoomBorder_ = number;
                        else
                            note(lineNumber, name + " " + value + " is outside 0 to 10000, ignored");
                    } else {
                        int32_t number = util.CStringToInt(value);
                        if (number >= 1 && number <= 100)
                            increment_ = number;
                        else
                            note(lineNumber, name + " " + value + " is outside 1 to 100, ignored");
                    }
                }
            }
            more = readLine(in, line);
            if (more) ++lineNumber;
        }
        return true;
    });
}

bool CPreferences::savePreferences()
{
    return zelkaOperation(__FILE__, "CPreferences::savePreferences", [&] {
        CFileUtilities files;
        if (!files.ensureDirectoryExists(files.getDirectoryString(filePath_))) return false;
        if (files.fileExists(filePath_)) files.deleteFile(filePath_);

        auto failed = [&](int error) {
            std::string text = std::string("Unable to Write Configuration File - ") + std::strerror(error);
            MessageBoxA(nullptr, text.c_str(), "Error - Configuration Not Saved", MB_OK | MB_ICONERROR);
            return false;
        };
        std::unique_ptr<FILE, FileCloser> file(std::fopen(filePath_.c_str(), "w"));
        if (!file) return failed(errno);

        CUtilities util;
        std::string text;
        auto line = [&](const std::string& content) { text += content + "\n"; };
        line(kOwnerLine);
        line("//");
        line("//\tConfiguration file for Orvane");
        line("//");
        line(kUnits);
        line(util.IntToCString(units_));
        line(kPrecision);
        line(util.IntToCString(precision_));
        line(kTextSize);
        line(util.DoubleToCString(textSize_, 2));
        line(kTextScale);
        line(util.DoubleToCString(textScale_, 2));
        line(kTextRotation);
        line(util.DoubleToCString(textRotation_, 2));
        line(kCsvOpener);
        line(csvOpener_);
        line(kZoomBorder);
        line(util.DoubleToCString(zoomBorder_, 0));
        line(kIncrement);
        line(util.IntToCString(increment_));

        errno = 0;
        bool written = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
        int error = errno;
        if (std::fclose(file.release()) != 0 && written) {
            written = false;
            error = errno;
        }
        if (!written) return failed(error ? error : EIO);
        return true;
    });
}
