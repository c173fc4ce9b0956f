// libFuzzer target for the docmon.xml reader: any file gives a list of
// server entries or an empty one, never a crash; every entry loaded can be
// read back by index.
#include <cstddef>
#include <cstdint>

#include "config/PreferencesDocMon.h"
#include "fuzz/fuzz_support.h"
#include "infra/ZelkaExceptions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto in = fuzzsupport::writeInput(fuzzsupport::folder() / "docmon.xml", data, size);
    CPreferencesDocMon settings;
    if (!settings.loadPreferences(in.string()))
        return 0;
    for (int i = 0; i < settings.getCount(); ++i)
        (void)settings.getAt(i);
    return 0;
}
