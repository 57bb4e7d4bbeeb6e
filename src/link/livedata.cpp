#include "link/livedata.h"

#include <algorithm>

void LiveBlock::StoreAnswer(std::span<const std::uint8_t> answer)
{
    std::array<std::uint8_t, kLiveFrameLength> a{};
    std::copy_n(answer.begin(), std::min<std::size_t>(answer.size(), a.size()), a.begin());
    for (int w = 0; w < kLiveWordCount; ++w)
        std::swap(a[static_cast<std::size_t>(2 * w + 1)], a[static_cast<std::size_t>(2 * w + 2)]);
    std::copy(a.begin(), a.end(), m_bytes.begin() + 1);
}

void BuildLiveRequest(std::span<std::uint8_t> sendData, const Image& image, std::array<std::uint8_t, 4>& testCommands,
                      const LiveRequestInputs& inputs)
{
    if (sendData.size() < static_cast<std::size_t>(kLiveFrameLength)) return;
    std::fill_n(sendData.begin(), kLiveFrameLength, std::uint8_t{0});
    sendData[kLiveReqTuning] = inputs.tuningOn ? 1 : 0;
    sendData[kLiveReqTestRpm] = image[kImageTestRpm];
    sendData[kLiveReqTestServo] = image[kImageTestServo];
    for (std::size_t i = 0; i < testCommands.size(); ++i) {
        sendData[kLiveReqTestCommands + i] = testCommands[i];
        testCommands[i] = 0;
    }
    sendData[kLiveReqPickup] = inputs.pickupWanted ? 1 : 0;
}
