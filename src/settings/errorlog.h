#pragma once
// The error log "IGN.err" in the settings folder: faults that nothing else handles (exceptions that escape an
// event handler, math errors), one line each, in local time. The user sees nothing; the program goes on.
#include <cmath>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>

inline constexpr std::string_view kErrorLogName = "IGN.err";
inline constexpr std::size_t kErrorLogMessageMax = 8190;  // characters of a message kept in a line

// "<LOG TIME=d.m.yyyy h:m:s HALVEX_v309: message>" with CR LF; the message in Windows-1250, cut to 8190 characters.
[[nodiscard]] std::string ErrorLogLine(std::string_view messageUtf8, const std::tm& localTime);
[[nodiscard]] std::string MathErrorLogLine(std::string_view function, const std::tm& localTime);

// Appends the exception line for `message` to IGN.err in `folder` (opened and closed for this line) and sends the
// message to the debug output (stderr). False when the log could not be written. Any thread may call it.
bool LogError(const std::filesystem::path& folder, std::string_view messageUtf8, std::time_t when = std::time(nullptr));

// The runtime math-error record: Linux has no such hook, so the checked wrappers below build it and call the hook.
struct MathError
{
    enum Type { DOMAIN_ERROR = 1, SING_ERROR = 2, OVERFLOW_ERROR = 3, UNDERFLOW_ERROR = 4 };
    int type = DOMAIN_ERROR;
    std::string_view name;  // the math function
    double arg1 = 0.0, arg2 = 0.0;
    double retval = 0.0;  // the result the caller gets; the hook may replace it
};

// Where math errors are logged; set once at start (until then they go to the debug output only).
void SetErrorLogFolder(const std::filesystem::path& folder);
// Writes the math-error line, sends the name to the debug output; a domain error of sqrt gives 1.0. Returns 1.
int MathErrorHook(MathError& error);

// Math functions whose errors the hook reports instead of returning NaN or infinity unseen.
[[nodiscard]] double CheckedSqrt(double x);
[[nodiscard]] double CheckedLog(double x);
[[nodiscard]] double CheckedPow(double x, double y);
