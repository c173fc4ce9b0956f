#include "host/ed/DrawingFileLock.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>

#include "host/db/SafeFileReplace.h"

namespace {

std::string userName()
{
    if (const passwd* entry = ::getpwuid(::geteuid()); entry && entry->pw_name && *entry->pw_name) {
        return entry->pw_name;
    }
    if (const char* name = std::getenv("USER"); name && *name) return name;
    return std::to_string(static_cast<long>(::geteuid()));
}

std::string now()
{
    std::time_t t = std::time(nullptr);
    std::tm utc{};
    ::gmtime_r(&t, &utc);
    char text[40];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", &utc);
    return text;
}

std::string textOf(const DrawingFileLock::Holder& holder)
{
    return "user=" + holder.user + "\nhost=" + holder.host + "\npid=" + std::to_string(holder.pid) +
           "\nsince=" + holder.since + "\n";
}

// Reads a lock file; false (errno ENOENT when it is gone) when it cannot be
// read or does not name a host and a process.
bool readHolder(const std::string& path, DrawingFileLock::Holder& holder)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    std::string text;
    char buffer[1024];
    ssize_t n;
    while (text.size() < 8192 && (n = ::read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(n));
    ::close(fd);
    holder = DrawingFileLock::Holder();
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        at = end + 1;
        size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        std::string key = line.substr(0, equals), value = line.substr(equals + 1);
        if (key == "user") holder.user = value;
        else if (key == "host") holder.host = value;
        else if (key == "since") holder.since = value;
        else if (key == "pid" && !value.empty() && value.size() <= 10 &&
                 value.find_first_not_of("0123456789") == std::string::npos) {
            holder.pid = std::stol(value);
        }
    }
    errno = EINVAL;
    return !holder.host.empty() && holder.pid > 0;
}

bool sameHolder(const DrawingFileLock::Holder& a, const DrawingFileLock::Holder& b)
{
    return a.host == b.host && a.pid == b.pid && a.since == b.since && a.user == b.user;
}

// Makes the lock file in one step, so no other session ever reads half of
// it: the text goes to a staging file that is then linked under the lock's
// name, which fails when a lock is there. Returns 0 or the errno.
int create(const std::string& lock, const std::string& staging, const std::string& text)
{
    ::unlink(staging.c_str());
    int fd = ::open(staging.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return errno;
    bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ::close(fd);
    int result = 0;
    if (!written) {
        result = EIO;
    } else if (::link(staging.c_str(), lock.c_str()) != 0) {
        result = errno;
        if (result != EEXIST) {
            // A file system without hard links: an exclusive create instead.
            int direct = ::open(lock.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (direct < 0) {
                result = errno;
            } else {
                result = ::write(direct, text.data(), text.size()) == static_cast<ssize_t>(text.size()) ? 0 : EIO;
                ::close(direct);
            }
        }
    }
    ::unlink(staging.c_str());
    return result;
}

}  // namespace

DrawingFileLock::~DrawingFileLock() { release(); }

std::string DrawingFileLock::lockPathOf(const std::string& drawingPath)
{
    std::string real, error;
    if (!SafeFileReplace::resolve(drawingPath, real, error)) real = drawingPath;
    return real + ".zelka-lock";
}

std::string DrawingFileLock::describe(const Holder& holder)
{
    if (holder.pid == 0) return "another session (its lock file cannot be read)";
    std::string text = (holder.user.empty() ? std::string("another user") : holder.user) + " on host " + holder.host +
                       " (process " + std::to_string(holder.pid) + ")";
    if (!holder.since.empty()) text += " since " + holder.since;
    return text;
}

DrawingFileLock::Outcome DrawingFileLock::acquire(const std::string& drawingPath)
{
    release();
    tookOver_ = false;
    std::string real, error;
    if (!SafeFileReplace::resolve(drawingPath, real, error)) real = drawingPath;
    const std::string lock = real + ".zelka-lock";
    mine_ = Holder{userName(), SafeFileReplace::hostName(), static_cast<long>(::getpid()), now()};
    const std::string text = textOf(mine_);
    for (int attempt = 0; attempt < 5; ++attempt) {
        int result = create(lock, SafeFileReplace::temporaryName(real, "lock"), text);
        if (result == 0) {
            path_ = lock;
            held_ = true;
            return Outcome::Held;
        }
        if (result != EEXIST) return Outcome::NotPossible;
        Holder found;
        if (!readHolder(lock, found)) {
            if (errno == ENOENT) continue;  // released meanwhile
            holder_ = Holder();
            return Outcome::HeldByOther;
        }
        if (found.host != mine_.host || SafeFileReplace::processRuns(found.pid)) {
            holder_ = found;
            return Outcome::HeldByOther;
        }
        // A stale lock: move it aside in one step and make sure what moved is
        // the lock judged stale, not one another session took meanwhile.
        const std::string aside = SafeFileReplace::temporaryName(real, "stale");
        if (::rename(lock.c_str(), aside.c_str()) != 0) continue;
        Holder moved;
        if (!readHolder(aside, moved) || !sameHolder(moved, found)) {
            if (::link(aside.c_str(), lock.c_str()) != 0) { /* another lock is in place already */ }
        } else {
            tookOver_ = true;
            stale_ = found;
        }
        ::unlink(aside.c_str());
    }
    holder_ = Holder();
    return Outcome::HeldByOther;
}

void DrawingFileLock::release()
{
    if (!held_) return;
    held_ = false;
    Holder found;
    if (readHolder(path_, found) && sameHolder(found, mine_)) ::unlink(path_.c_str());
}

bool DrawingFileLock::heldBySession(const std::string& drawingPath, Holder& holder)
{
    const std::string lock = lockPathOf(drawingPath);
    struct stat st {};
    if (::lstat(lock.c_str(), &st) != 0) return false;
    if (!readHolder(lock, holder)) {
        holder = Holder();
        return true;
    }
    return holder.host != SafeFileReplace::hostName() || SafeFileReplace::processRuns(holder.pid);
}
