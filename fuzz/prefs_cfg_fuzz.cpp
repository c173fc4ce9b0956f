// libFuzzer target for the prefs.cfg reader: any file loads (values
// corrected, notes written) without a crash; what it loads saves to a file
// that loads again to the same values with nothing to correct.
#include <cstddef>
#include <cstdint>

#include "config/Preferences.h"
#include "fuzz/fuzz_support.h"
#include "infra/FileUtilities.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzsupport::folder();
    const std::string path = CFileUtilities().preferencesFolder() + "prefs.cfg";
    fuzzsupport::writeInput(path, data, size);
    CPreferences prefs;
    if (!prefs.loadPreferences())
        return 0;
    if (!prefs.savePreferences())
        __builtin_trap();
    CPreferences again;
    if (!again.loadPreferences() || !again.getLoadNotes().empty())
        __builtin_trap();
    if (again.getUnits() != prefs.getUnits() || again.getPrecision() != prefs.getPrecision()
        || again.getIncrement() != prefs.getIncrement() || again.getCSVOpener() != prefs.getCSVOpener())
        __builtin_trap();
    return 0;
}
