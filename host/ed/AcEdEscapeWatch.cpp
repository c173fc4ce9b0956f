#include "host/ed/AcEdEscapeWatch.h"

#include <unistd.h>

#include "host/ed/acedUsrBrk.h"

AcEdEscapeWatch::AcEdEscapeWatch(int fd) : fd_(fd)
{
    if (!isatty(fd_) || tcgetattr(fd_, &saved_) != 0) return;
    termios keys = saved_;
    keys.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
    keys.c_lflag |= ISIG;
    keys.c_cc[VMIN] = 1;
    keys.c_cc[VTIME] = 0;
    active_ = tcsetattr(fd_, TCSANOW, &keys) == 0;
    if (active_) acedWatchKeys(fd_);
}

AcEdEscapeWatch::~AcEdEscapeWatch()
{
    if (!active_) return;
    acedWatchKeys(-1);
    tcsetattr(fd_, TCSANOW, &saved_);
}
