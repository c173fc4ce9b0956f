#include "host/ed/Progress.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "host/ed/acedUsrBrk.h"

namespace {

struct Meter {
    bool active = false;
    std::string label;
    int minPos = 0;
    int maxPos = 100;
    int lastPercent = -1;
    int fd = STDOUT_FILENO;
    bool terminal = false;
    bool terminalKnown = false;
};

Meter& meter()
{
    static Meter state;
    return state;
}

bool drawing()
{
    Meter& m = meter();
    if (!m.terminalKnown) {
        m.terminal = isatty(m.fd) == 1;
        m.terminalKnown = true;
    }
    return m.terminal;
}

void writeAll(const std::string& text)
{
    const char* data = text.data();
    size_t left = text.size();
    while (left > 0) {
        ssize_t written = ::write(meter().fd, data, left);
        if (written <= 0) return;
        data += written;
        left -= static_cast<size_t>(written);
    }
}

void draw(int percent)
{
    const int width = 30;
    int filled = percent * width / 100;
    std::string line = "\r" + meter().label + " [" + std::string(static_cast<size_t>(filled), '#') +
                       std::string(static_cast<size_t>(width - filled), ' ') + "] " + std::to_string(percent) + "%";
    writeAll(line);
}

}  // namespace

int acedSetStatusBarProgressMeter(const char* label, int minPos, int maxPos)
{
    Meter& m = meter();
    m.active = true;
    m.label = label ? label : "";
    m.minPos = minPos;
    m.maxPos = std::max(maxPos, minPos);
    m.lastPercent = -1;
    return acedSetStatusBarProgressMeterPos(minPos);
}

int acedSetStatusBarProgressMeterPos(int pos)
{
    Meter& m = meter();
    if (!m.active) return -1;
    // Tests slow a loop down so that a break reliably comes in its middle.
    static const int delayMs = [] {
        const char* text = std::getenv("ZELKA_TEST_PROGRESS_DELAY_MS");
        return text ? std::atoi(text) : 0;
    }();
    if (delayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
    if (acedUsrBrk()) {
        acedRestoreStatusBar();
        throw AcEdUserBreak();
    }
    int span = m.maxPos - m.minPos;
    int clamped = std::clamp(pos, m.minPos, m.maxPos);
    int percent = span == 0 ? 100 : static_cast<int>((static_cast<long long>(clamped - m.minPos) * 100) / span);
    if (percent != m.lastPercent && drawing()) draw(percent);
    m.lastPercent = percent;
    return 0;
}

void acedRestoreStatusBar()
{
    Meter& m = meter();
    if (m.active && drawing()) writeAll("\r\033[K");
    m.active = false;
}

void setProgressOutput(int fd, bool isTerminal)
{
    Meter& m = meter();
    m.fd = fd;
    m.terminal = isTerminal;
    m.terminalKnown = true;
}
