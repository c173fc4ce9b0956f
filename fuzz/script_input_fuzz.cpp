// libFuzzer target for script input: any text, given as a --command text and
// as a script file, reads as answers without a crash; no answer holds a line
// break (LF or CR), and reading ends.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "host/ed/ScriptInput.h"

namespace {

void drain(ScriptInput& input, size_t limit)
{
    for (size_t n = 0;; ++n) {
        InputSource::Result r = input.readLine();
        if (r.kind == InputSource::Kind::End)
            return;
        if (r.text.find_first_of("\r\n") != std::string::npos || n > limit)
            __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    ScriptInput fromText;
    fromText.addText(text);
    drain(fromText, size + 1);
    const auto file = fuzzsupport::writeInput(fuzzsupport::folder() / "input.scr", data, size);
    ScriptInput fromFile;
    std::string error;
    if (fromFile.addFile(file.string(), error))
        drain(fromFile, size + 1);
    return 0;
}
