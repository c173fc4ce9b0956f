#include "infra/FileUtilities.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "host/ed/acutPrintf.h"
#include "infra/ZelkaExceptions.h"

namespace {

// Characters no file name or path may hold. The backslash stands where a
// Windows name forbids "/": it is never a separator here and never allowed.
const std::string kNeverAllowed = "*?\"<>|\\";

bool holdsNeverAllowed(const std::string& text)
{
    return text.find_first_of(kNeverAllowed) != std::string::npos;
}

std::string withoutNeverAllowed(const std::string& text)
{
    std::string result;
    for (char c : text)
        if (kNeverAllowed.find(c) == std::string::npos) result += c;
    return result;
}

// Keeps the first colon and drops the others.
std::string withOneColon(const std::string& text)
{
    std::string result;
    bool seen = false;
    for (char c : text) {
        if (c == ':') {
            if (seen) continue;
            seen = true;
        }
        result += c;
    }
    return result;
}

std::string withoutOneTrailingSlash(const std::string& path)
{
    if (path.size() > 1 && path.back() == '/') return path.substr(0, path.size() - 1);
    return path;
}

bool hasStatus(const std::string& path)
{
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0;
}

std::string environmentFolder(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string homeFolder()
{
    std::string home = environmentFolder("HOME");
    if (!home.empty()) return home;
    std::vector<char> buffer(16384);
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir)
        return found->pw_dir;
    return {};
}

}  // namespace

bool CFileUtilities::fileExists(const std::string& path) const
{
    return zelkaOperation(__FILE__, "CFileUtilities::fileExists", [&] { return hasStatus(path); });
}

bool CFileUtilities::directoryExists(const std::string& path) const
{
    return zelkaOperation(__FILE__, "CFileUtilities::directoryExists",
                          [&] { return hasStatus(withoutOneTrailingSlash(path)); });
}

bool CFileUtilities::ensureDirectoryExists(const std::string& path) const
{
    return zelkaOperation(__FILE__, "CFileUtilities::ensureDirectoryExists", [&] {
        std::string folder = withoutOneTrailingSlash(path);
        if (hasStatus(folder)) return true;
        if (folder.empty()) return false;
        // A relative "name" has the current folder as its parent, which exists;
        // the parent of "/name" is the root, which always exists.
        size_t slash = folder.find_last_of('/');
        if (slash != std::string::npos && slash > 0 && !ensureDirectoryExists(folder.substr(0, slash))) return false;
        if (::mkdir(folder.c_str(), 0777) != 0) {
            int error = errno;
            // Made by someone else in the meantime: the folder exists afterwards.
            if (error == EEXIST && directoryExists(folder)) return true;
            if (error == EACCES)
                acutPrintf("Cannot create %s - Access denied\n", folder.c_str());
            else
                acutPrintf("Cannot create %s\n", folder.c_str());
            return false;
        }
        return true;
    });
}

bool CFileUtilities::deleteFile(const std::string& path) const
{
    return zelkaOperation(__FILE__, "CFileUtilities::deleteFile", [&] { return ::unlink(path.c_str()) == 0; });
}

std::string CFileUtilities::getDirectoryString(const std::string& path) const
{
    return zelkaOperation(__FILE__, "CFileUtilities::getDirectoryString", [&] {
        std::string folder = path;
        if (!folder.empty() && folder.back() == '/') folder.pop_back();
        size_t slash = folder.find_last_of('/');
        return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
    });
}

bool CFileUtilities::checkFilenameSyntax(std::string& name, bool repair) const
{
    return zelkaOperation(__FILE__, "CFileUtilities::checkFilenameSyntax", [&] {
        if (holdsNeverAllowed(name)) {
            if (!repair) return false;
            name = withoutNeverAllowed(name);
            return true;
        }
        if (std::count(name.begin(), name.end(), ':') >= 2) {
            if (!repair) return false;
            name = withOneColon(name);
            return true;
        }
        if (!name.empty() && name.front() == '/') {
            if (!repair) return false;
            name.erase(0, 1);
            return true;
        }
        return true;
    });
}

// A path is its parts between "/" separators: a leading "/" makes it
// absolute, a trailing "/" marks a folder, and no part between them may be
// empty ("a//b"; repair joins the separators). Each part may hold at most one
// colon (repair keeps the first); the never-allowed characters are removed
// by repair.
bool CFileUtilities::checkPathSyntax(std::string& path, bool repair) const
{
    return zelkaOperation(__FILE__, "CFileUtilities::checkPathSyntax", [&] {
        bool valid = true;
        std::string text = path;
        if (holdsNeverAllowed(text)) {
            valid = false;
            text = withoutNeverAllowed(text);
        }
        bool absolute = !text.empty() && text.front() == '/';
        bool folder = text.size() > 1 && text.back() == '/';
        std::vector<std::string> parts;
        size_t start = absolute ? 1 : 0;
        size_t end = folder ? text.size() - 1 : text.size();
        while (start <= end && start < text.size()) {
            size_t slash = text.find('/', start);
            if (slash == std::string::npos || slash > end) slash = end;
            std::string part = text.substr(start, slash - start);
            if (part.empty()) {
                valid = false;
            } else {
                if (std::count(part.begin(), part.end(), ':') >= 2) {
                    valid = false;
                    part = withOneColon(part);
                }
                parts.push_back(part);
            }
            start = slash + 1;
        }
        if (valid) return true;
        if (!repair) return false;
        std::string rebuilt = absolute ? "/" : "";
        for (size_t i = 0; i < parts.size(); ++i) {
            if (i > 0) rebuilt += '/';
            rebuilt += parts[i];
        }
        if (folder && !parts.empty()) rebuilt += '/';
        path = rebuilt;
        return true;
    });
}

int CFileUtilities::getPathType(const std::string& path) const
{
    return zelkaOperation(__FILE__, "CFileUtilities::getPathType", [&] {
        if (path.empty() || path.find('\\') != std::string::npos) return 3;
        bool hasSlash = path.find('/') != std::string::npos;
        bool hasDot = path.find('.') != std::string::npos;
        if (!hasSlash) {
            std::string name = path;
            return hasDot && checkFilenameSyntax(name, false) ? 0 : 3;
        }
        if (path.front() != '/') return 3;
        if (!hasDot) {
            std::string folder = path;
            return checkPathSyntax(folder, true) ? 1 : 3;
        }
        return 2;
    });
}

std::string CFileUtilities::swapFileExtension(const std::string& path, const std::string& oldExtension,
                                              const std::string& newExtension) const
{
    return zelkaOperation(__FILE__, "CFileUtilities::swapFileExtension", [&] {
        static const char* const blanks = " \t\r\n";
        size_t first = path.find_first_not_of(blanks);
        std::string trimmed =
            first == std::string::npos ? std::string() : path.substr(first, path.find_last_not_of(blanks) - first + 1);
        if (trimmed.size() >= oldExtension.size() &&
            trimmed.compare(trimmed.size() - oldExtension.size(), oldExtension.size(), oldExtension) == 0)
            trimmed.erase(trimmed.size() - oldExtension.size());
        return trimmed + newExtension;
    });
}

std::string CFileUtilities::commonAppDataFolder() const
{
    return zelkaOperation(__FILE__, "CFileUtilities::commonAppDataFolder", [&] {
        std::string folder = environmentFolder("ZELKA_APPDATA");
        if (folder.empty()) folder = environmentFolder("XDG_DATA_HOME");
        if (folder.empty()) {
            std::string home = homeFolder();
            if (home.empty()) return std::string();
            folder = withoutOneTrailingSlash(home) + "/.local/share";
        }
        while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
        return folder;
    });
}

std::string CFileUtilities::preferencesFolder() const
{
    return zelkaOperation(__FILE__, "CFileUtilities::preferencesFolder", [&] {
        std::string base = commonAppDataFolder();
        return base.empty() ? base : (base == "/" ? "" : base) + "/ZelkaSystems/Orvane/prefs/";
    });
}

std::string CFileUtilities::tempFolder() const
{
    return zelkaOperation(__FILE__, "CFileUtilities::tempFolder", [&] {
        std::string base = commonAppDataFolder();
        return base.empty() ? base : (base == "/" ? "" : base) + "/ZelkaSystems/Orvane/temp/";
    });
}
