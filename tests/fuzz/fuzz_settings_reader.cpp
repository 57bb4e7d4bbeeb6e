// The settings file reader over arbitrary bytes, for the whole file and for one page: it must never crash, read
// or write outside the image, or accept a text and then fail to read its own output.
#include <cstdint>
#include <cstring>
#include <string_view>

#include "settings/settingsreader.h"
#include "settings/settingswriter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > (1u << 20))
        return 0;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Image image{};
    image[RS_BIKE_BYTE] = 11;
    ReaderHooks hooks;
    hooks.showMessage = [](ReaderMessage, int) {};
    hooks.setLambdaSensorDefaults = [](Image& im, int mode) { im[4061] = static_cast<std::uint8_t>(mode); };
    const ParseResult whole = ParseSettingsText(image, text, PageImportFlags::all(), hooks);
    Image onePage{};
    const PageFlag flag = static_cast<PageFlag>(size % kPageFlagCount);
    (void)ParseSettingsText(onePage, text, PageImportFlags::only(flag), hooks);
    if (whole.accepted()) {
        // Whatever was read writes out as a file this reader accepts again.
        SettingsFileTexts texts;
        texts.buildDate = "Nov 26 2024";
        texts.buildTime = "00:00:00";
        Image copy = image;
        const std::string file = WriteSettingsText(copy, texts);
        Image again = copy;
        if (!ParseSettingsText(again, file).accepted())
            __builtin_trap();
    }
    return 0;
}
