#include "settings/errorlog.h"

#include <cstdio>
#include <mutex>

#include "os/cp1250.h"

namespace {

constexpr int kStructureKey = 309;

std::string formatLine(std::string_view kind, std::string_view text, const std::tm& t)
{
    char head[96];
    std::snprintf(head, sizeof head, "<LOG TIME=%i.%i.%i %i:%i:%i HALVEX_v%i: ", t.tm_mday, t.tm_mon + 1,
                  t.tm_year + 1900, t.tm_hour, t.tm_min, t.tm_sec, kStructureKey);
    std::string line(head);
    line += kind;
    line += text;
    line += ">\r\n";
    return line;
}

std::tm localTimeOf(std::time_t when)
{
    std::tm t{};
    localtime_r(&when, &t);
    return t;
}

bool appendLine(const std::filesystem::path& folder, const std::string& line)
{
    std::FILE* f = std::fopen((folder / kErrorLogName).c_str(), "ab");
    if (!f) return false;
    const bool written = std::fwrite(line.data(), 1, line.size(), f) == line.size();
    return (std::fclose(f) == 0) && written;
}

std::mutex& folderMutex()
{
    static std::mutex m;
    return m;
}
std::filesystem::path& mathLogFolder()
{
    static std::filesystem::path folder;
    return folder;
}

double reportMath(MathError error)
{
    MathErrorHook(error);
    return error.retval;
}

}  // namespace

std::string ErrorLogLine(std::string_view messageUtf8, const std::tm& localTime)
{
    std::string text = os::utf8ToCp1250Lossy(messageUtf8);
    if (text.size() > kErrorLogMessageMax) text.resize(kErrorLogMessageMax);
    return formatLine({}, text, localTime);
}

std::string MathErrorLogLine(std::string_view function, const std::tm& localTime)
{
    return formatLine("MATHERR ", function, localTime);
}

bool LogError(const std::filesystem::path& folder, std::string_view messageUtf8, std::time_t when)
{
    const bool written = appendLine(folder, ErrorLogLine(messageUtf8, localTimeOf(when)));
    std::fprintf(stderr, "%.*s\n", static_cast<int>(messageUtf8.size()), messageUtf8.data());
    return written;
}

void SetErrorLogFolder(const std::filesystem::path& folder)
{
    std::lock_guard lock(folderMutex());
    mathLogFolder() = folder;
}

int MathErrorHook(MathError& error)
{
    std::filesystem::path folder;
    {
        std::lock_guard lock(folderMutex());
        folder = mathLogFolder();
    }
    if (!folder.empty()) appendLine(folder, MathErrorLogLine(error.name, localTimeOf(std::time(nullptr))));
    std::fprintf(stderr, "%.*s\n", static_cast<int>(error.name.size()), error.name.data());
    if (error.type == MathError::DOMAIN_ERROR && error.name == "sqrt") error.retval = 1.0;
    return 1;
}

double CheckedSqrt(double x)
{
    if (x < 0.0 || std::isnan(x)) return reportMath({MathError::DOMAIN_ERROR, "sqrt", x, 0.0, std::nan("")});
    return std::sqrt(x);
}

double CheckedLog(double x)
{
    if (x < 0.0 || std::isnan(x)) return reportMath({MathError::DOMAIN_ERROR, "log", x, 0.0, std::nan("")});
    if (x == 0.0) return reportMath({MathError::SING_ERROR, "log", x, 0.0, -HUGE_VAL});
    return std::log(x);
}

double CheckedPow(double x, double y)
{
    if (x < 0.0 && std::trunc(y) != y) return reportMath({MathError::DOMAIN_ERROR, "pow", x, y, std::nan("")});
    if (x == 0.0 && y < 0.0) return reportMath({MathError::SING_ERROR, "pow", x, y, HUGE_VAL});
    const double r = std::pow(x, y);
    if (std::isinf(r) && std::isfinite(x) && std::isfinite(y))
        return reportMath({MathError::OVERFLOW_ERROR, "pow", x, y, r});
    return r;
}
