// libFuzzer target for the graphic report document reader: any file must be
// read or refused (false, or a CEXZelka chain for a bad colour), never crash;
// a report that reads must write a document that reads again the same.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "infra/ZelkaExceptions.h"
#include "reports/GraphicReport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto dir = fuzzsupport::folder();
    const auto in = fuzzsupport::writeInput(dir / "report.xml", data, size);
    CGraphicReport report;
    try {
        if (!report.deSerialize(in.string()))
            return 0;
    } catch (const CEXZelka&) {
        return 0;
    }
    const auto out = dir / "report-out.xml";
    report.serialize(out.string());
    CGraphicReport again;
    if (!again.deSerialize(out.string()))
        __builtin_trap();
    const auto second = dir / "report-out2.xml";
    again.serialize(second.string());
    std::ifstream a(out, std::ios::binary), b(second, std::ios::binary);
    std::string ta((std::istreambuf_iterator<char>(a)), {}), tb((std::istreambuf_iterator<char>(b)), {});
    if (ta != tb)
        __builtin_trap();
    return 0;
}
