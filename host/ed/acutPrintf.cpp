#include "host/ed/acutPrintf.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace {

CommandLineSink& sink()
{
    static CommandLineSink current;
    return current;
}

}  // namespace

int acutPrintf(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length < 0) {
        va_end(args);
        return length;
    }
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    va_end(args);
    std::string text(buffer.data(), static_cast<size_t>(length));
    if (sink()) {
        sink()(text);
    } else {
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fflush(stdout);
    }
    return length;
}

CommandLineSink setCommandLineSink(CommandLineSink next)
{
    CommandLineSink previous = std::move(sink());
    sink() = std::move(next);
    return previous;
}
