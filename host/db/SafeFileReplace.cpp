#include "host/db/SafeFileReplace.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// Tests stop a save at a named step (ZELKA_SAVE_STOP_AT=temp-written,
// bak-made or replaced) to kill it there; the process stops itself so the
// test sees the moment through waitpid.
void stopHereForTests(const char* step)
{
    const char* wanted = std::getenv("ZELKA_SAVE_STOP_AT");
    if (wanted && std::strcmp(wanted, step) == 0) ::raise(SIGSTOP);
}

std::string folderOf(const std::string& path)
{
    fs::path folder = fs::path(path).parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

void syncFolder(const std::string& folder)
{
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Gives a file made in place of another that file's owner, group and mode.
// The owner can only be given by a privileged process; the group by a member
// of it; what cannot be kept stays as the umask and the user made it.
void takeOverAttributes(int fd, const struct stat& original)
{
    if (::fchown(fd, original.st_uid, original.st_gid) != 0) {
        if (::fchown(fd, static_cast<uid_t>(-1), original.st_gid) != 0) { /* the group stays the user's */ }
    }
    ::fchmod(fd, original.st_mode & 07777);
}

bool writeAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// Copies the file at from into a new file at to with from's attributes.
bool copyFile(const std::string& from, const std::string& to)
{
    int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return false;
    struct stat st {};
    int out = ::fstat(in, &st) == 0 ? ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600) : -1;
    bool ok = out >= 0;
    char buffer[1 << 16];
    while (ok) {
        ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) ok = false;
        if (n <= 0) break;
        ok = writeAll(out, buffer, static_cast<size_t>(n));
    }
    int err = errno;
    if (ok) takeOverAttributes(out, st);
    ok = ok && ::fsync(out) == 0;
    if (out >= 0) ::close(out);
    ::close(in);
    if (!ok) {
        if (out >= 0) ::unlink(to.c_str());
        errno = err;
    }
    return ok;
}

}  // namespace

SafeFileReplace::SafeFileReplace(std::string path) : path_(std::move(path)) {}

SafeFileReplace::~SafeFileReplace()
{
    if (fd_ >= 0) ::close(fd_);
    if (!committed_ && !temporary_.empty()) ::unlink(temporary_.c_str());
}

bool SafeFileReplace::fail(Acad::ErrorStatus status, std::string message)
{
    status_ = status;
    error_ = std::move(message);
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    temporary_.clear();
    return false;
}

bool SafeFileReplace::resolve(const std::string& path, std::string& real, std::string& error)
{
    fs::path current(path);
    for (int links = 0; links < 40; ++links) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            real = current.string();
            return true;
        }
        std::error_code ec;
        fs::path target = fs::read_symlink(current, ec);
        if (ec) {
            error = path + ": cannot follow the link: " + ec.message();
            return false;
        }
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    error = path + ": too many levels of symbolic links";
    return false;
}

std::string SafeFileReplace::hostName()
{
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0 || !name[0]) return "localhost";
    std::string host(name);
    for (char& c : host) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '-' && c != '_') c = '_';
    }
    return host;
}

bool SafeFileReplace::processRuns(long pid)
{
    if (pid <= 0) return false;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

std::string SafeFileReplace::temporaryName(const std::string& realPath, const char* kind)
{
    fs::path target(realPath);
    std::string name = "." + target.filename().string() + ".zelka-" + kind + "-" + hostName() + "-" +
                       std::to_string(static_cast<long>(::getpid())) + ".tmp";
    return (fs::path(folderOf(realPath)) / name).string();
}

std::vector<std::string> SafeFileReplace::removeStaleTemporaries(const std::string& realPath)
{
    std::vector<std::string> removed;
    const std::string prefix = "." + fs::path(realPath).filename().string() + ".zelka-";
    const std::string suffix = ".tmp";
    const std::string host = hostName();
    std::error_code ec;
    for (fs::directory_iterator it(folderOf(realPath), fs::directory_options::skip_permission_denied, ec), end;
         !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() <= prefix.size() + suffix.size() || name.compare(0, prefix.size(), prefix) != 0 ||
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) {
            continue;
        }
        // KIND-HOST-PID; the host may hold dashes itself, the kind and the id never do.
        const std::string middle = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
        size_t afterKind = middle.find('-');
        size_t beforePid = middle.rfind('-');
        if (afterKind == std::string::npos || beforePid <= afterKind) continue;
        const std::string kind = middle.substr(0, afterKind);
        if (kind != "save" && kind != "bak" && kind != "lock" && kind != "stale" && kind != "plot") continue;
        if (middle.substr(afterKind + 1, beforePid - afterKind - 1) != host) continue;
        const std::string pidText = middle.substr(beforePid + 1);
        if (pidText.empty() || pidText.size() > 10 ||
            pidText.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        long pid = std::stol(pidText);
        // This process never leaves one of its own behind between two calls.
        if (pid != static_cast<long>(::getpid()) && processRuns(pid)) continue;
        std::error_code kindError;
        if (!fs::is_regular_file(fs::symlink_status(it->path(), kindError))) continue;
        if (::unlink(it->path().c_str()) == 0) removed.push_back(it->path().string());
    }
    return removed;
}

bool SafeFileReplace::open()
{
    std::string error;
    if (!resolve(path_, real_, error)) return fail(Acad::eFileAccessErr, error);
    struct stat st {};
    if (::stat(real_.c_str(), &st) == 0) {
        exists_ = true;
        if (!S_ISREG(st.st_mode)) {
            return fail(Acad::eFileAccessErr, path_ + ": not a regular file; nothing was saved");
        }
        // Nobody may write a file without write permission, its owner and
        // the administrator included: CAD programs refuse to replace it.
        if ((st.st_mode & 0222) == 0 || ::access(real_.c_str(), W_OK) != 0) {
            return fail(Acad::eFileAccessErr, path_ +
                                                  ": the file is read-only; nothing was saved. Make it writable, "
                                                  "or save the drawing under another name");
        }
        struct stat bak {};
        const std::string backup = real_ + ".bak";
        if (::lstat(backup.c_str(), &bak) == 0 && !S_ISREG(bak.st_mode) && !S_ISLNK(bak.st_mode)) {
            return fail(Acad::eFileAccessErr,
                        path_ + ": the previous version cannot be kept as " + backup + ": that is " +
                            (S_ISDIR(bak.st_mode) ? "a folder" : "not a regular file") +
                            "; nothing was saved. Move it away, or save the drawing under another name");
        }
    } else if (errno != ENOENT) {
        return fail(Acad::eFileAccessErr, path_ + ": cannot look at the file: " + std::strerror(errno));
    }

    removeStaleTemporaries(real_);
    temporary_ = temporaryName(real_, "save");
    ::unlink(temporary_.c_str());
    // A new file follows the umask; a replacement takes the old file's mode.
    fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, exists_ ? 0600 : 0666);
    if (fd_ < 0) {
        int err = errno;
        temporary_.clear();
        return fail(Acad::eFileAccessErr, path_ + ": cannot write in the folder " + folderOf(real_) + ": " +
                                              std::strerror(err));
    }
    if (exists_) takeOverAttributes(fd_, st);
    return true;
}

bool SafeFileReplace::makeBackup()
{
    const std::string backup = real_ + ".bak";
    const std::string staging = temporaryName(real_, "bak");
    ::unlink(staging.c_str());
    // A second name for the old file costs nothing; where the file system
    // has no hard links, a copy does.
    if (::link(real_.c_str(), staging.c_str()) != 0 && !copyFile(real_, staging)) {
        int err = errno;
        return fail(Acad::eFileSystemErr, path_ + ": the previous version cannot be kept as " + backup + ": " +
                                              std::strerror(err) + "; nothing was saved");
    }
    if (::rename(staging.c_str(), backup.c_str()) != 0) {
        int err = errno;
        ::unlink(staging.c_str());
        return fail(Acad::eFileSystemErr, path_ + ": the previous version cannot be kept as " + backup + ": " +
                                              std::strerror(err) + "; nothing was saved");
    }
    // When the .bak already was the file itself (a save stopped right after
    // making it), rename leaves both names in place: the staging name goes.
    ::unlink(staging.c_str());
    return true;
}

bool SafeFileReplace::commit()
{
    if (fd_ < 0) return fail(Acad::eFileSystemErr, path_ + ": nothing to save");
    bool synced = ::fsync(fd_) == 0;
    int err = errno;
    bool closed = ::close(fd_) == 0;
    if (synced) err = errno;
    fd_ = -1;
    if (!synced || !closed) return fail(Acad::eFileSystemErr, path_ + ": writing failed: " + std::strerror(err));
    stopHereForTests("temp-written");
    if (exists_ && !makeBackup()) return false;
    stopHereForTests("bak-made");
    if (::rename(temporary_.c_str(), real_.c_str()) != 0) {
        int err = errno;
        return fail(Acad::eFileSystemErr, path_ + ": cannot replace the file: " + std::strerror(err));
    }
    committed_ = true;
    stopHereForTests("replaced");
    syncFolder(folderOf(real_));
    return true;
}
