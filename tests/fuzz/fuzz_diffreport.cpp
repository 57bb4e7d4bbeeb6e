// The difference report over an arbitrary layout text: it must never crash or read outside the images, and
// every block it writes ends with CR LF. The two images differ everywhere, so every readable entry reports.
#include <cstdint>
#include <string_view>

#include "settings/diffreport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > (1u << 20))
        return 0;
    const std::string_view layout(reinterpret_cast<const char*>(data), size);
    Image first{};
    Image second{};
    for (std::size_t i = 0; i < second.size(); ++i) {
        first[i] = static_cast<std::uint8_t>(size > 0 ? data[i % size] : 0);
        second[i] = static_cast<std::uint8_t>(first[i] ^ 0x5A);
    }
    const DifferenceReportText report = BuildDifferenceReport(first, second, layout);
    if (report.isLayoutMissing != !ReadLayoutMapEntries(layout).has_value())
        __builtin_trap();
    if (!report.text.empty() && !report.text.ends_with("\r\n"))
        __builtin_trap();
    return 0;
}
