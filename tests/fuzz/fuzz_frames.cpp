// Random bytes from a port: the frame receiver of every protocol (with a pickup block armed or not) and the
// readers of identification answers must never crash or write past a buffer.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "link/comsearch.h"
#include "link/frames.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 4) return 0;
    static const int kProtocols[] = {PROTOCOL_NONE, WCOM, WCOMS, IGN50, IGN100, IGN150, IGN300, 77};
    const int protocol = kProtocols[data[0] % 8];
    const std::size_t chunk = 1 + data[1] % 64;
    auto pickup = std::make_unique<PickupBlocks>();
    if (data[2] & 1) pickup->arm(1, (data[2] << 8 | data[3]) * 3, data[2], data[3], 4);
    auto t = std::make_unique<Transceiver>();
    SetLinkProtocol(*t, protocol, 100);
    auto ring = std::make_unique<ReceiveRing>();
    std::uint32_t tmr = 0;
    std::size_t at = 4;
    while (at < size) {
        const std::size_t want = std::min(chunk, size - at);
        const std::size_t got = ring->fill(want, [&](std::span<std::uint8_t> into) {
            std::copy_n(data + at, into.size(), into.begin());
            at += into.size();
            return into.size();
        });
        tmr += static_cast<std::uint32_t>(data[at - 1] & 0x3F);
        while (ReceiveFrame(*t, *ring, tmr, pickup.get())) {
            if (isFramedProtocol(protocol)) {
                LinkSlot slot;
                const int length = framedLength(t->receiveFrame);
                if (length + kFramedOverhead <= kMaxFrame)
                    IdentifyWcomAnswer(std::span<const std::uint8_t>(t->receiveFrame.data() + kFramedDataOffset,
                                                                     static_cast<std::size_t>(length)),
                                       slot);
            } else {
                int key = 0, frameSize = 0;
                std::string text;
                IdentifyIgnAnswer(protocol, t->receiveFrame, key, frameSize, text);
            }
        }
        if (got == 0) ring->dropAll();
    }
    PickupSampleBlock out;
    (void)pickup->take(out);
    return 0;
}
