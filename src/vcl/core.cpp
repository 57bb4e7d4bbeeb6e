#include "vcl/core.h"

#include <cstdio>
#include <exception>
#include <utility>

namespace {
vcl::ExceptionHook& exceptionHook()
{
    static vcl::ExceptionHook hook;
    return hook;
}
}  // namespace

TColor ColorToRgb(TColor color)
{
    if ((color & 0xFF000000u) != 0xFF000000u)
        return color & 0x00FFFFFFu;
    // A fixed palette in place of the desktop's system colours, so drawings look the same everywhere.
    switch (color & 0xFFu) {
        case 0x05: return 0xFFFFFF;  // window
        case 0x08: return 0x000000;  // window text
        case 0x0D: return 0xD77800;  // highlight
        case 0x0E: return 0xFFFFFF;  // highlight text
        case 0x10: return 0xA0A0A0;  // button shadow
        case 0x12: return 0x000000;  // button text
        case 0x14: return 0xFFFFFF;  // button highlight
        default: return 0xF0F0F0;    // button face and the rest
    }
}

namespace vcl {

void SetExceptionHook(ExceptionHook hook)
{
    exceptionHook() = std::move(hook);
}

void ReportCurrentException(std::string_view where)
{
    std::string text;
    try {
        throw;
    } catch (const std::exception& e) {
        text = e.what();
    } catch (...) {
        text = "unknown exception";
    }
    text = std::string(where) + ": " + text;
    if (exceptionHook())
        exceptionHook()(text);
    else
        std::fprintf(stderr, "kelvora: %s\n", text.c_str());
}

}  // namespace vcl
