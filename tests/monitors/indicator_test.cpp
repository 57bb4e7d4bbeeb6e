// The dial's scale: tick budget, tick step and labels for the ranges the monitor sets use, and the degenerate
// shapes a damaged file may bring, which must end.
#include "monitors/indicator.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Indicator, TickBudgetAndStep)
{
    EXPECT_DOUBLE_EQ(TickBudget(680), 20);
    EXPECT_DOUBLE_EQ(TickBudget(40), 8);
    EXPECT_DOUBLE_EQ(TickBudget(100), 15);
    EXPECT_DOUBLE_EQ(TickUnit(10000, 20), 0.001);
    EXPECT_DOUBLE_EQ(TickUnit(100, 20), 0.1);
    EXPECT_DOUBLE_EQ(TickUnit(8, 20), 1);
    EXPECT_DOUBLE_EQ(TickUnit(0.2, 20), 10);
    // No range, a reversed one, and a scale too short for a tick give no step at all (and end).
    EXPECT_EQ(TickUnit(0, 20), 0);
    EXPECT_EQ(TickUnit(-35, 20), 0);
    EXPECT_EQ(TickUnit(100, 0), 0);
    EXPECT_EQ(TickUnit(100, -0.4), 0);
}

TEST(Indicator, DialTicksAndLabels)
{
    struct Case
    {
        const char* name;
        double min, max;
        int width, height;
        std::vector<double> labels;  // of the labelled ticks
        int ticks, fontSize;
    };
    const Case cases[] = {
        {"rpm_180x160", 0, 10000, 180, 160, {0, 1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000}, 11, 7},
        {"tps_every_10", 0, 100, 200, 200, {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}, 11, 8},
        {"lambda_afr", 10, 18, 200, 200, {10, 11, 12, 13, 14, 15, 16, 17, 18}, 9, 8},
        {"small_dial_three_labels", 0, 100, 83, 68, {0, 50, 100}, 11, 8},
        {"tiny_dial_no_labels", 0, 100, 40, 40, {}, 11, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const double budget = TickBudget(4 * ((c.width + c.height) / 2));
        const auto ticks = DialTicks(c.min, c.max, c.width, c.height, budget);
        EXPECT_EQ(static_cast<int>(ticks.size()), c.ticks);
        std::vector<double> labels;
        for (const DialTick& t : ticks)
            if (t.labelled) {
                labels.push_back(t.label);
                EXPECT_EQ(t.fontSize, c.fontSize);
            }
        ASSERT_EQ(labels.size(), c.labels.size());
        for (std::size_t i = 0; i < labels.size(); ++i) EXPECT_NEAR(labels[i], c.labels[i], 1e-9);
    }
    // In lambda units the ticks stand on tenths from 0.7 to 1.2; the labels count from the range's start.
    const auto lambda = DialTicks(100.0 / 147, 180.0 / 147, 200, 200, 20);
    ASSERT_EQ(lambda.size(), 6u);
    EXPECT_NEAR(lambda.front().value, 0.7, 1e-9);
    EXPECT_NEAR(lambda.back().value, 1.2, 1e-9);
    EXPECT_NEAR(lambda.front().label, 0.680, 1e-3);
    EXPECT_TRUE(DialTicks(5, 5, 200, 200, 20).empty());
    EXPECT_TRUE(DialTicks(18, 10, 200, 200, 20).empty());
}
