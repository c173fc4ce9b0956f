#include "host/ed/ScriptInput.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

std::vector<std::string> ScriptInput::splitLines(std::string_view bytes)
{
    constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
    if (bytes.substr(0, byteOrderMark.size()) == byteOrderMark) bytes.remove_prefix(byteOrderMark.size());
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(bytes.substr(start));
            break;
        }
        lines.emplace_back(bytes.substr(start, end - start));
        start = end + 1;
        if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n') ++start;
    }
    return lines;
}

void ScriptInput::addText(std::string_view text)
{
    for (std::string& line : splitLines(text)) lines_.push_back(std::move(line));
}

bool ScriptInput::addFile(const std::string& path, std::string& error)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISDIR(status.st_mode)) {
        ::close(fd);
        error = "it is a folder";
        return false;
    }
    std::string content;
    char buffer[65536];
    for (;;) {
        ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got > 0) {
            content.append(buffer, static_cast<size_t>(got));
        } else if (got == 0) {
            break;
        } else if (errno != EINTR) {
            error = std::strerror(errno);
            ::close(fd);
            return false;
        }
    }
    ::close(fd);
    addText(content);
    return true;
}

InputSource::Result ScriptInput::readLine()
{
    if (lines_.empty()) return {Kind::End, {}};
    std::string line = std::move(lines_.front());
    lines_.pop_front();
    if (line == "^C") return {Kind::Cancel, {}};
    return {Kind::Line, std::move(line)};
}
