#include "host/ed/TerminalInput.h"

#include <poll.h>
#include <cerrno>
#include <termios.h>
#include <unistd.h>

namespace {

// Raw mode for the life of the object, restored on every path.
class RawMode {
public:
    explicit RawMode(int fd) : fd_(fd)
    {
        if (!isatty(fd_) || tcgetattr(fd_, &saved_) != 0) return;
        termios raw = saved_;
        raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO | ISIG | IEXTEN));
        raw.c_iflag &= static_cast<tcflag_t>(~(IXON | ICRNL));
        raw.c_cc[VMIN] = 1;
        raw.c_cc[VTIME] = 0;
        active_ = tcsetattr(fd_, TCSAFLUSH, &raw) == 0;
    }
    RawMode(const RawMode&) = delete;
    RawMode& operator=(const RawMode&) = delete;
    ~RawMode()
    {
        if (active_) tcsetattr(fd_, TCSAFLUSH, &saved_);
    }

private:
    int fd_;
    termios saved_{};
    bool active_ = false;
};

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

size_t previousCharacter(const std::string& line, size_t cursor)
{
    if (cursor == 0) return 0;
    --cursor;
    while (cursor > 0 && isContinuation(static_cast<unsigned char>(line[cursor]))) --cursor;
    return cursor;
}

size_t nextCharacter(const std::string& line, size_t cursor)
{
    if (cursor >= line.size()) return line.size();
    ++cursor;
    while (cursor < line.size() && isContinuation(static_cast<unsigned char>(line[cursor]))) ++cursor;
    return cursor;
}

size_t columns(const std::string& text)
{
    size_t count = 0;
    for (unsigned char c : text) {
        if (!isContinuation(c)) ++count;
    }
    return count;
}

}  // namespace

TerminalInput::TerminalInput(int inFd, int outFd) : in_(inFd), out_(outFd), terminal_(isatty(inFd) == 1) {}

InputSource::Result TerminalInput::readLine()
{
    return terminal_ ? readEditedLine() : readPlainLine();
}

bool TerminalInput::readByte(unsigned char& byte, int waitMs)
{
    if (waitMs >= 0) {
        pollfd request{in_, POLLIN, 0};
        if (poll(&request, 1, waitMs) <= 0) return false;
    }
    for (;;) {
        ssize_t got = ::read(in_, &byte, 1);
        if (got == 1) return true;
        if (got < 0 && errno == EINTR) continue;
        return false;
    }
}

void TerminalInput::write(const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        ssize_t written = ::write(out_, text.data() + done, text.size() - done);
        if (written <= 0) return;
        done += static_cast<size_t>(written);
    }
}

InputSource::Result TerminalInput::readPlainLine()
{
    // Lines end at LF, CR LF or a lone CR, as in script files; the byte after
    // a CR is kept for the next line when it is not LF.
    std::string line;
    unsigned char byte = 0;
    bool any = false;
    for (;;) {
        if (hasPendingByte_) {
            byte = pendingByte_;
            hasPendingByte_ = false;
        } else if (!readByte(byte)) {
            break;
        }
        any = true;
        if (byte == '\n') break;
        if (byte == '\r') {
            unsigned char next = 0;
            if (readByte(next) && next != '\n') {
                pendingByte_ = next;
                hasPendingByte_ = true;
            }
            break;
        }
        line.push_back(static_cast<char>(byte));
    }
    if (!any) return {Kind::End, {}};
    // A UTF-8 byte-order mark opening the input is not part of the first answer.
    if (firstLine_ && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
    firstLine_ = false;
    if (line == "^C") return {Kind::Cancel, {}};
    return {Kind::Line, std::move(line)};
}

void TerminalInput::redraw(const std::string& line, size_t cursor)
{
    // Back to where the answer began (saved when reading started), the whole
    // answer, clear what is left of an older, longer one, then the cursor.
    std::string text = "\0338" + line + "\033[K";
    size_t back = columns(line.substr(cursor));
    if (back > 0) text += "\033[" + std::to_string(back) + "D";
    write(text);
}

InputSource::Result TerminalInput::readEditedLine()
{
    RawMode raw(in_);
    write("\0337");
    std::string line;
    size_t cursor = 0;
    size_t historyIndex = history_.size();
    std::string draft;
    unsigned char byte = 0;
    for (;;) {
        if (!readByte(byte)) {
            if (line.empty()) return {Kind::End, {}};
            break;
        }
        if (byte == '\r' || byte == '\n') break;
        if (byte == 0x03) return {Kind::Cancel, {}};
        if (byte == 0x04) {
            if (line.empty()) return {Kind::End, {}};
            if (cursor < line.size()) line.erase(cursor, nextCharacter(line, cursor) - cursor);
        } else if (byte == 0x7F || byte == 0x08) {
            size_t start = previousCharacter(line, cursor);
            line.erase(start, cursor - start);
            cursor = start;
        } else if (byte == 0x01) {
            cursor = 0;
        } else if (byte == 0x05) {
            cursor = line.size();
        } else if (byte == 0x15) {
            line.erase(0, cursor);
            cursor = 0;
        } else if (byte == 0x0B) {
            line.erase(cursor);
        } else if (byte == 0x1B) {
            unsigned char next = 0;
            // A lone Escape cancels; an escape sequence follows at once.
            if (!readByte(next, 50)) return {Kind::Cancel, {}};
            if (next != '[' && next != 'O') return {Kind::Cancel, {}};
            unsigned char code = 0;
            if (!readByte(code, 50)) continue;
            std::string parameter;
            while (code >= '0' && code <= '9') {
                parameter.push_back(static_cast<char>(code));
                if (!readByte(code, 50)) break;
            }
            if (code == 'D') {
                cursor = previousCharacter(line, cursor);
            } else if (code == 'C') {
                cursor = nextCharacter(line, cursor);
            } else if (code == 'H' || (code == '~' && (parameter == "1" || parameter == "7"))) {
                cursor = 0;
            } else if (code == 'F' || (code == '~' && (parameter == "4" || parameter == "8"))) {
                cursor = line.size();
            } else if (code == '~' && parameter == "3") {
                if (cursor < line.size()) line.erase(cursor, nextCharacter(line, cursor) - cursor);
            } else if (code == 'A' && historyIndex > 0) {
                if (historyIndex == history_.size()) draft = line;
                line = history_[--historyIndex];
                cursor = line.size();
            } else if (code == 'B' && historyIndex < history_.size()) {
                ++historyIndex;
                line = historyIndex == history_.size() ? draft : history_[historyIndex];
                cursor = line.size();
            }
        } else if (byte >= 0x20) {
            line.insert(cursor, 1, static_cast<char>(byte));
            ++cursor;
        }
        redraw(line, cursor);
    }
    write("\r\n");
    if (!line.empty() && (history_.empty() || history_.back() != line)) history_.push_back(line);
    return {Kind::Line, std::move(line)};
}
