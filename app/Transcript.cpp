#include "app/Transcript.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

bool lastWasLineBreak = true;
std::string failure;

// Does nothing: its only purpose is that a write to a pipe without reader
// returns EPIPE. A handler, unlike SIG_IGN, is reset to the default when a
// program is started (csv openers), so other programs behave as usual.
void ignoreBrokenPipe(int) {}

}  // namespace

void Transcript::prepareStandardStreams()
{
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        int opened = ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        if (opened >= 0 && opened != fd) {
            ::dup2(opened, fd);
            ::close(opened);
        }
        if (fd == STDOUT_FILENO) failure = std::strerror(EBADF);
    }
    struct sigaction action {};
    action.sa_handler = ignoreBrokenPipe;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGPIPE, &action, nullptr);
}

void Transcript::write(const std::string& text)
{
    if (text.empty()) return;
    lastWasLineBreak = text.back() == '\n';
    if (!failure.empty()) return;
    size_t done = 0;
    while (done < text.size()) {
        ssize_t written = ::write(STDOUT_FILENO, text.data() + done, text.size() - done);
        if (written > 0) {
            done += static_cast<size_t>(written);
        } else if (written < 0 && errno == EINTR) {
            continue;
        } else if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd ready{STDOUT_FILENO, POLLOUT, 0};
            ::poll(&ready, 1, -1);
        } else {
            failure = std::strerror(written < 0 ? errno : EIO);
            return;
        }
    }
}

bool Transcript::atLineStart()
{
    return lastWasLineBreak;
}

const std::string& Transcript::error()
{
    return failure;
}
