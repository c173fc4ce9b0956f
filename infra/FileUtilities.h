#pragma once
// File and folder helpers, and where the module keeps its files. Stateless:
// create one on the stack where needed.
//
// Paths are POSIX paths: "/" separates folders and an absolute path begins
// with "/". In names and paths the characters * ? " < > | and the backslash
// are never allowed.

#include <string>

class CFileUtilities {
public:
    // True when the file system reports a status for the path (any kind of entry).
    bool fileExists(const std::string& path) const;
    // True when the path, less one trailing "/", exists (as a folder or any other entry).
    bool directoryExists(const std::string& path) const;
    // Creates the folder and any missing parents; false (after printing
    // "Cannot create <path>" on the command line) when one cannot be made.
    bool ensureDirectoryExists(const std::string& path) const;
    // Removes a file; false, without any report, when it is missing or cannot be removed.
    bool deleteFile(const std::string& path) const;
    // The path, less one trailing "/", up to and including its last "/"; "" when it has none.
    std::string getDirectoryString(const std::string& path) const;

    // True when the name is a valid file name, or was made one by repair
    // (which changes the name in place); false otherwise.
    bool checkFilenameSyntax(std::string& name, bool repair) const;
    // The same for a path: "/" separators, a leading "/" and a trailing "/"
    // are allowed; each part follows the file-name rules.
    bool checkPathSyntax(std::string& path, bool repair) const;
    // 0 a bare file name, 1 an absolute folder path, 2 an absolute file path,
    // 3 anything else (an empty path, a relative path, any backslash).
    int getPathType(const std::string& path) const;
    // The path with blanks trimmed and its old extension replaced by the new
    // one; the new extension is appended when the path does not end with the old.
    std::string swapFileExtension(const std::string& path, const std::string& oldExtension,
                                  const std::string& newExtension) const;

    // The folder shared by every user of the machine for application data:
    // $ZELKA_APPDATA, else $XDG_DATA_HOME, else ~/.local/share; no trailing
    // "/". "" when none can be found.
    std::string commonAppDataFolder() const;
    // The application-data folder + "/ZelkaSystems/Orvane/prefs/"; "" when there is none.
    std::string preferencesFolder() const;
    // The application-data folder + "/ZelkaSystems/Orvane/temp/"; "" when there is none.
    std::string tempFolder() const;
};
