#include "mapeditor/cellstep.h"

#include <gtest/gtest.h>

#include "testsheet.h"

namespace {

CSheet percentSheet()
{
    CSheet s = MakeSheet({.columns = 2, .rows = 1});
    s.flags = kSheetPercentStep;
    return s;
}

std::int32_t stepFrom(std::int32_t value, int n)
{
    CSheet s = percentSheet();
    s.value(0, 0) = value;
    return CellStep(s, 0, 0, n);
}

}  // namespace

TEST(PercentStepTable, OnePercentApart)
{
    const auto& t = percentStepTable();
    EXPECT_EQ(t[0], 100.0f);
    EXPECT_EQ(t[1], 101.0f);
    EXPECT_NEAR(t[231] / t[230], 1.01, 1e-6);
    EXPECT_GT(t.back(), 1.4e7f);
}

TEST(CellStep, Table)
{
    struct Case
    {
        const char* name;
        std::int32_t value;
        int n;
        std::int32_t step;
    };
    const Case cases[] = {
        {"1000 up", 1000, 1, 10},
        {"1010 up", 1010, 1, 10},
        {"1000 down", 1000, -1, -10},
        {"1000 fast", 1000, 10, 100},
        {"5000 up", 5000, 1, 50},
        {"at or below 100 by n", 100, 1, 1},
        {"small negative mirrors: - moves it toward zero", -50, -3, 3},
        {"negative mirrors: + makes it more negative", -1000, 1, -10},
        {"n = 0", 1000, 0, 0},
        // Where 1 % is less than the rounding to tens the rounded target falls back on the value or behind it.
        {"110 up would stand still", 110, 1, 1},
        {"300 down would stand still", 300, -1, -1},
        {"101 up would step back to 100", 101, 1, 1},
        {"beyond the table by n", 20000000, 1, 1},
        // Minus shrinks the magnitude and stops at zero instead of swinging around it.
        {"minus stops at zero", 5, -10, -5},
        {"a negative value's minus stops at zero", -5, -10, 5},
        {"minus at zero stays", 0, -1, 0},
        {"plus at zero", 0, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(stepFrom(c.value, c.n), c.step);
    }
    CSheet plain = MakeSheet();
    plain.value(1, 1) = 1000;
    EXPECT_EQ(CellStep(plain, 1, 1, 3), 3);
    EXPECT_EQ(CellStep(percentSheet(), 60, 0, 1), 1);  // outside the grid: no read, a plain step
}

TEST(CellStep, NeverAgainstTheStepAndNeverStill)
{
    // Every value a +/- press or a fast repeat can meet, both signs, including 101..120 with n = -10 whose
    // table indexes would fall below the table's start.
    for (int n : {1, -1, 10, -10}) {
        for (std::int32_t v = 101; v <= 2000; ++v) {
            for (std::int32_t value : {v, -v}) {
                const std::int32_t step = stepFrom(value, n);
                const int want = value < 0 ? -n : n;  // a negative value mirrors the step
                ASSERT_NE(step, 0) << value << " n=" << n;
                ASSERT_EQ(step > 0, want > 0) << value << " n=" << n;
            }
        }
    }
    // Holding + from 110 climbs: no 110 -> 111 -> 110 oscillation.
    std::int32_t v = 101;
    for (int i = 0; i < 200; ++i) {
        const std::int32_t next = v + stepFrom(v, 1);
        ASSERT_GT(next, v);
        v = next;
    }
}

TEST(CellStep, HeldStepsNeverSwingBackAcrossZero)
{
    for (int n : {1, -1, 10, -10})
        for (std::int32_t start = -300; start <= 300; start += 7) {
            std::int32_t v = start;
            for (int i = 0; i < 40; ++i) {
                const std::int32_t next = v + stepFrom(v, n);
                ASSERT_FALSE((v > 0 && next < 0) || (v < 0 && next > 0)) << start << " n=" << n;
                if (n > 0)
                    ASSERT_GE(std::abs(next), std::abs(v)) << start << " n=" << n;
                else
                    ASSERT_LE(std::abs(next), std::abs(v)) << start << " n=" << n;
                v = next;
            }
        }
}
