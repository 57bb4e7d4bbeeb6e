// The error log's line format and the checked math wrappers.
#include "settings/errorlog.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "impet_test_util.h"

namespace {

std::tm march5()
{
    std::tm t{};
    t.tm_mday = 5;
    t.tm_mon = 2;
    t.tm_year = 2025 - 1900;
    t.tm_hour = 9;
    t.tm_min = 7;
    t.tm_sec = 3;
    return t;
}

std::string fileText(const std::filesystem::path& path)
{
    const auto bytes = readBytes(path);
    return {bytes.begin(), bytes.end()};
}

TEST(ErrorLog, LineFormat)
{
    struct Case
    {
        const char* name;
        std::string message;
        std::string expected;
    };
    const Case cases[] = {
        {"plain", "Access violation", "<LOG TIME=5.3.2025 9:7:3 HALVEX_v309: Access violation>\r\n"},
        {"empty", "", "<LOG TIME=5.3.2025 9:7:3 HALVEX_v309: >\r\n"},
        {"windows_1250", "Chyba č. 5", "<LOG TIME=5.3.2025 9:7:3 HALVEX_v309: Chyba \xE8. 5>\r\n"},
        {"cut_to_8190", std::string(9000, 'x'),
         "<LOG TIME=5.3.2025 9:7:3 HALVEX_v309: " + std::string(8190, 'x') + ">\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ErrorLogLine(c.message, march5()), c.expected);
    }
    EXPECT_EQ(MathErrorLogLine("sqrt", march5()), "<LOG TIME=5.3.2025 9:7:3 HALVEX_v309: MATHERR sqrt>\r\n");
}

TEST(ErrorLog, AppendsOneLinePerFault)
{
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    TempDir dir;
    const std::time_t when = 1741165623;  // 2025-03-05 09:07:03 UTC
    EXPECT_TRUE(LogError(dir.path(), "first", when));
    EXPECT_TRUE(LogError(dir.path(), "second", when));
    EXPECT_EQ(fileText(dir / "IGN.err"),
              "<LOG TIME=5.3.2025 9:7:3 HALVEX_v309: first>\r\n"
              "<LOG TIME=5.3.2025 9:7:3 HALVEX_v309: second>\r\n");
    EXPECT_FALSE(LogError(dir / "missing", "lost", when));  // reported, not fatal
}

TEST(MathErrorHook, SqrtOfNegativeIsOneAndLogged)
{
    TempDir dir;
    SetErrorLogFolder(dir.path());
    EXPECT_EQ(CheckedSqrt(-4.0), 1.0);
    EXPECT_EQ(CheckedSqrt(16.0), 4.0);
    EXPECT_TRUE(std::isinf(CheckedLog(0.0)));
    EXPECT_EQ(CheckedPow(2.0, 10.0), 1024.0);
    EXPECT_TRUE(std::isnan(CheckedPow(-8.0, 0.5)));
    SetErrorLogFolder({});
    const std::string log = fileText(dir / "IGN.err");
    EXPECT_NE(log.find("MATHERR sqrt>\r\n"), std::string::npos);
    EXPECT_NE(log.find("MATHERR log>\r\n"), std::string::npos);
    EXPECT_NE(log.find("MATHERR pow>\r\n"), std::string::npos);
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 3);  // the good calls wrote nothing
}

}  // namespace
