// Any bytes as a monitor-set file: the reader must refuse what it cannot trust, never read outside the file and
// hand out nothing half-built; a set it accepts must write out and read back whole.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "monitors/monset.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ParsedSet parsed = ParseMonitorSet(std::span(data, size));
    if (parsed.result != kSetOk) {
        if (!parsed.widgets.empty() || parsed.detail.empty()) std::abort();
        return 0;
    }
    CMyGroup group;
    for (auto& w : parsed.widgets) group.Insert(std::move(w));
    const std::string bytes = SerializeMonitorSet(parsed.place, group);
    const ParsedSet again =
        ParseMonitorSet(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    if (again.result != kSetOk || static_cast<int>(again.widgets.size()) != group.Count()) std::abort();
    (void)ExportSetSource(parsed.place, group);
    return 0;
}
