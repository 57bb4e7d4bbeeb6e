#pragma once
// Base of our window-framework layer: objects, colours, events and the one place where an exception that
// escapes an event handler is caught. The layer's headers name Qt classes only by forward declaration, so the
// page code above them compiles without Qt headers.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;
    // The old framework's class name ("TLabel", "TUpDown", ...); printing and the binding helpers ask it.
    [[nodiscard]] virtual const char* ClassName() const { return "TObject"; }
};

// 0x00BBGGRR; 0xFF0000nn names a system colour; kColorUnchanged as an argument keeps a colour.
using TColor = std::uint32_t;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clBtnFace = 0xFF00000F;
inline constexpr TColor clWindow = 0xFF000005;
inline constexpr TColor clWindowText = 0xFF000008;
inline constexpr TColor kColorUnchanged = 0x1FFFFFFF;

// The RGB value (0x00BBGGRR) of a colour, system colours taken from a fixed palette.
[[nodiscard]] TColor ColorToRgb(TColor color);

using TNotifyEvent = std::function<void(TObject* Sender)>;

namespace vcl {

// Receives the text of every exception that escaped an event handler (the error log fills it).
using ExceptionHook = std::function<void(const std::string& text)>;
void SetExceptionHook(ExceptionHook hook);
// Reports the exception being handled (call inside a catch block) to the hook, or to stderr without one.
void ReportCurrentException(std::string_view where);

// Runs an event handler; an exception it throws is reported and does not travel into Qt.
template <class Handler, class... Args>
void Fire(const Handler& handler, Args&&... args)
{
    if (!handler)
        return;
    try {
        handler(std::forward<Args>(args)...);
    } catch (...) {
        ReportCurrentException("event handler");
    }
}

}  // namespace vcl
