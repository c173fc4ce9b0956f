#pragma once
// Replaces a file so that it is always either the old or the new version on
// disk. A symbolic link is followed and its target written. The new content
// goes to a temporary file next to the real file, named
// ".NAME.zelka-save-HOST-PID.tmp" so a user can tell what it is, which takes
// the old file's mode, owner and group (a new file follows the umask), is
// flushed to disk, and is renamed over the old file in one step; the old
// file is kept as NAME.bak first (that .bak, too, is replaced in one step).
// A read-only file, a target that is not a regular file and a NAME.bak that
// cannot be made (a folder, say) are refused before anything is written.

#include <string>
#include <vector>

#include "host/db/AcadErrorStatus.h"

class SafeFileReplace {
public:
    // Prepares to replace the file at path (not touched yet).
    explicit SafeFileReplace(std::string path);
    // Removes the temporary file unless commit() succeeded.
    ~SafeFileReplace();
    SafeFileReplace(const SafeFileReplace&) = delete;
    SafeFileReplace& operator=(const SafeFileReplace&) = delete;

    // Checks the target and creates the temporary file to write into.
    // Returns false, with status() and error() set and nothing changed on
    // disk, when the file cannot be replaced.
    bool open();
    // The temporary file to write the new content into; -1 before open().
    int fd() const { return fd_; }
    // Flushes the temporary file, keeps the old file as .bak and puts the new
    // one in its place. Returns false, with status() and error() set, when
    // any step fails; the old file is then still there, unchanged.
    bool commit();

    Acad::ErrorStatus status() const { return status_; }
    const std::string& error() const { return error_; }
    // The file written after following links ("" until open()).
    const std::string& realPath() const { return real_; }

    // The file a path names after following symbolic links (the path itself
    // when it is no link, whether or not it exists). Returns false, with
    // error set, for a loop of links.
    static bool resolve(const std::string& path, std::string& real, std::string& error);
    // The temporary file a process of this host uses next to realPath for
    // the kind of work ("save", "bak", "lock", "plot"): ".NAME.zelka-KIND-HOST-PID.tmp".
    static std::string temporaryName(const std::string& realPath, const char* kind);
    // Removes the temporary files left next to realPath by processes of this
    // host that no longer run (a save that was killed); returns their paths.
    static std::vector<std::string> removeStaleTemporaries(const std::string& realPath);
    // This machine's name as temporary and lock files carry it.
    static std::string hostName();
    // True when a process with that id runs on this machine.
    static bool processRuns(long pid);

private:
    bool fail(Acad::ErrorStatus status, std::string message);
    bool makeBackup();

    std::string path_;
    std::string real_;
    std::string temporary_;
    int fd_ = -1;
    bool exists_ = false;
    bool committed_ = false;
    Acad::ErrorStatus status_ = Acad::eOk;
    std::string error_;
};
