// Any bytes as a live recording: the reader must refuse what it cannot trust and never read outside the file;
// every record it accepts must be whole.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "link/ignlog.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const LiveLogRead read = ParseLiveLog(std::span(data, size));
    if (!read.log) return 0;
    const LiveLog& log = *read.log;
    if (log.startRecords < 1 || log.startRecords > log.Count()) std::abort();
    for (int i = 0; i < log.Count(); ++i) {
        const std::span<const std::uint8_t> payload = log.Payload(i);
        if (static_cast<int>(payload.size()) + kLogRecordHead != LogRecordLength(log.Type(i))) std::abort();
        (void)log.TimeMs(i);
        if (log.Type(i) == kLogPage) (void)PageFromPayload(payload);
        if (log.Type(i) == kLogConnection) (void)ConnectionLineFromPayload(payload);
    }
    return 0;
}
