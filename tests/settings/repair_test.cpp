#include "settings/repair.h"

#include <gtest/gtest.h>

#include <random>

#include "os/lngtext.h"
#include "settings/layout.h"

namespace {

int at(std::string_view name)
{
    return layoutOffset(name);
}
int word(std::string_view name)
{
    return layoutWord(name);
}

std::vector<int> bytesOf(const Image& image, std::string_view name, int count)
{
    return {image.begin() + at(name), image.begin() + at(name) + count};
}

std::vector<int> range(int first, int count, int step = 1)
{
    std::vector<int> v;
    for (int i = 0; i < count; ++i) v.push_back(first + step * i);
    return v;
}

Image randomImage(std::mt19937& rng)
{
    Image image;
    std::uniform_int_distribution<int> byte(0, 255);
    for (auto& v : image) v = static_cast<std::uint8_t>(byte(rng));
    // Random bytes rarely hit the small values that switch rules; give those their share.
    std::uniform_int_distribution<int> small(0, 5);
    for (std::string_view name : {"CHANNELS", "LOBES", "LOBES_SKIPPED", "LOBE_MODE", "LOBE_MULTI", "SYNCHRO2",
                                  "TPS_USEX", "SENSOR_LAMBDA_MODE", "INJ_MODE_1234", "SOFF_AFR", "IDLE_MODE",
                                  "SERVO_IN_ENABLE", "SERVO_EX_ENABLE", "SERVO_IN_TPS", "ADV_RPM_N", "COMP_LIMIT"})
        if (rng() % 2) image[at(name)] = static_cast<std::uint8_t>(small(rng));
    if (rng() % 4 == 0) {
        const int t = static_cast<int>(rng() % 5010);
        setImageWord(image, word("TPS_0"), static_cast<std::uint16_t>(t));
        setImageWord(image, word("TPS_100"), static_cast<std::uint16_t>(rng() % 2 ? t : t + 10 - 20 * (rng() % 2)));
        setImageWord(image, word("TPS_X"), static_cast<std::uint16_t>(t + static_cast<int>(rng() % 40) - 20));
    }
    if (rng() % 4 == 0)
        for (int i = 0; i < 9; ++i) image[at("COR_U_DWELL") + i] = 100;
    return image;
}

class RepairTest : public ::testing::Test
{
protected:
    void TearDown() override { SetLanguageIndex(LNG_ENGLISH); }
};

TEST_F(RepairTest, RepairingTwiceGivesWhatRepairingOnceGives)
{
    std::mt19937 rng(309);
    for (int n = 0; n < 3000; ++n) {
        SCOPED_TRACE(n);
        Image image = randomImage(rng);
        const RepairState first = NormalizeSettingsImage(image);
        Image again = image;
        const RepairState second = NormalizeSettingsImage(again);
        ASSERT_EQ(again, image);
        ASSERT_EQ(first.cylinderCount, second.cylinderCount);
        ASSERT_EQ(first.fidFlag, second.fidFlag);
    }
}

bool strictlyRising(const Image& image, int pos, int count, int lo, int hi)
{
    for (int i = 0; i < count; ++i) {
        if (image[pos + i] < lo || image[pos + i] > hi) return false;
        if (i > 0 && image[pos + i] <= image[pos + i - 1]) return false;
    }
    return true;
}

TEST_F(RepairTest, RepairedRandomImagesKeepTheirAxesRisingWithinBounds)
{
    struct Axis
    {
        std::string_view name;
        int count, lo, hi;
    };
    constexpr Axis kAxes[] = {
        {"ADV_RPM", 15, 3, 250},           {"ADV2_RPM", 15, 3, 250},  {"INJ_1_RPM", 20, 3, 250},
        {"INJ_IAP_RPM", 20, 3, 250},       {"POS_A_RPM", 15, 3, 250}, {"SERVO_EX_RPM", 15, 3, 250},
        {"STARTLIM_IGN_TIM", 15, 0, 250},  {"CHOKE_T", 4, 0, 250},    {"LAMBDA_BAR", 4, 0, 250},
        {"TUNNING_LAMBDA_RPM", 5, 3, 250}, {"POUT5_TPS", 2, 0, 100},
    };
    std::mt19937 rng(5100);
    for (int n = 0; n < 300; ++n) {
        Image image = randomImage(rng);
        NormalizeSettingsImage(image);
        for (const Axis& a : kAxes) {
            SCOPED_TRACE(a.name);
            ASSERT_TRUE(strictlyRising(image, at(a.name), a.count, a.lo, a.hi)) << "image " << n;
        }
        for (int i = 0; i < 8; ++i)
            ASSERT_LT(imageWord(image, word("SENSOR_TW") + i + 1), imageWord(image, word("SENSOR_TW") + i));
        const int t0 = imageWord(image, word("TPS_0")), t100 = imageWord(image, word("TPS_100"));
        ASSERT_NE(t0, t100);
    }
}

// A plausible set-up as a unit would hold it: everything in range, so the repair has nothing to do.
Image validImage()
{
    Image image{};
    image[at("BIKE")] = 11;
    image[at("CHANNELS")] = 4;
    image[at("LOBES")] = 2;
    image[at("LOBE_MODE")] = 1;
    image[at("SYNCHRO2")] = 1;
    for (int i = 0; i < 4; ++i) {
        image[at("LOBE_BEG") + i] = 1;
        image[at("LOBE_END") + i] = 2;
    }
    for (std::string_view axis : {"ADV_RPM", "ADV2_RPM", "POS_A_RPM", "POS_B_RPM", "SERVO_IN_RPM", "SERVO_EX_RPM"})
        for (int i = 0; i < 15; ++i) image[at(axis) + i] = static_cast<std::uint8_t>(10 + 8 * i);
    for (int k = 0; k < 6; ++k)
        for (int i = 0; i < 20; ++i) image[at("INJ_1_RPM") + 20 * k + i] = static_cast<std::uint8_t>(8 + 6 * i);
    for (int i = 0; i < 150; ++i) image[at("ADV") + i] = image[at("ADV2") + i] = static_cast<std::uint8_t>(10 + i % 15);
    for (int i = 0; i < 200; ++i) {
        image[at("INJ_B") + i] = 50;
        image[at("INJ_COMP_TP") + i] = image[at("INJ_COMP_IAP") + i] = 100;
        setImageWord(image, i, 1000);
        setImageWord(image, 200 + i, 1000);
        setImageWord(image, 400 + i, 1000);
        setImageWord(image, 600 + i, 1000);
        setImageWord(image, 800 + i, 1000);
    }
    for (std::string_view n : {"ADV_RPM_N", "ADV2_RPM_N", "SERVO_IN_RPM_N", "SERVO_EX_RPM_N"}) image[at(n)] = 15;
    for (std::string_view n :
         {"INJ_1_RPM_N", "INJ_2_RPM_N", "INJ_3_RPM_N", "INJ_4_RPM_N", "INJ_B_RPM_N", "INJ_IAP_RPM_N"})
        image[at(n)] = 20;
    for (int i = 0; i < 10; ++i) {
        setImageWord(image, word("ADV_IAP") + i, static_cast<std::uint16_t>(100 + 80 * i));
        setImageWord(image, word("INJ_IAP_IAP") + i, static_cast<std::uint16_t>(100 + 80 * i));
    }
    for (int i = 0; i < 9; ++i) {
        setImageWord(image, word("SENSOR_TW") + i, static_cast<std::uint16_t>(4500 - 500 * i));
        setImageWord(image, word("SENSOR_TA") + i, static_cast<std::uint16_t>(4500 - 500 * i));
    }
    for (int i = 0; i < 6; ++i) {
        image[at("SENSOR_LAMBDA_AF") + i] = static_cast<std::uint8_t>(100 + 20 * i);
        setImageWord(image, word("SENSOR_LAMBDA_U") + i, static_cast<std::uint16_t>(3000 - 400 * i));
    }
    for (int i = 0; i < 15; ++i) {
        image[at("STARTLIM_RET_TIM") + i] = static_cast<std::uint8_t>(i * 10);
        image[at("STARTLIM_IGN_TIM") + i] = static_cast<std::uint8_t>(i * 10);
    }
    for (int i = 0; i < 4; ++i) {
        image[at("CHOKE_T") + i] = static_cast<std::uint8_t>(20 * i);
        image[at("LAMBDA_BAR") + i] = static_cast<std::uint8_t>(100 + 20 * i);
        image[at("POUT_RPM") + 3 * i] = 50, image[at("POUT_RPM") + 3 * i + 1] = 60,
                                   image[at("POUT_RPM") + 3 * i + 2] = 70;
        image[at("POUT_TPS") + 2 * i] = 10, image[at("POUT_TPS") + 2 * i + 1] = 90;
    }
    image[at("POUT_MODE")] = 14;
    image[at("POUT5_RPM")] = 50, image[at("POUT5_RPM") + 1] = 60, image[at("POUT5_RPM") + 2] = 70;
    image[at("POUT5_TPS")] = 10, image[at("POUT5_TPS") + 1] = 90;
    for (int i = 0; i < 5; ++i) {
        for (int k = 0; k < 3; ++k) image[at("POUT_IAP_RPM") + 3 * i + k] = static_cast<std::uint8_t>(40 + 10 * k);
        setImageWord(image, word("POUT_IAP_IAP") + 2 * i, 100);
        setImageWord(image, word("POUT_IAP_IAP") + 2 * i + 1, 200);
        image[at("TUNNING_LAMBDA_RPM") + i] = static_cast<std::uint8_t>(20 + 20 * i);
        for (std::string_view a : {"ACCLIM_TRESHOLD_RPM", "ACCLIM_SPEED_RETURN_RPM", "ACCLIM_PROP_EFFECT_RPM"})
            image[at(a) + i] = static_cast<std::uint8_t>(20 + 20 * i);
    }
    for (int i = 0; i < 25; ++i) image[at("TUNNING_LAMBDA_TG") + i] = 147;
    image[at("LAMBDA_TACHO_AF")] = 100, image[at("LAMBDA_TACHO_AF") + 1] = 200;
    image[at("LAMBDA_TACHO_RPM")] = 20, image[at("LAMBDA_TACHO_RPM") + 1] = 100;
    setImageWord(image, word("POUT_SPEED"), 5);
    image[at("STARTLIM_INJ")] = 1;
    image[at("TPS_PX")] = 50;
    image[at("N2O_GAS_T")] = image[at("N2O_RETARD_T")] = 10;
    image[at("IDLE_CONTROL_BAND")] = 20;
    for (int i = 0; i < 4; ++i) setImageWord(image, word("UEGO_CAN_ID") + i, 802);
    setImageWord(image, word("TPS_0"), 500);
    setImageWord(image, word("TPS_X"), 2000);
    setImageWord(image, word("TPS_100"), 4500);
    image[at("TPS_USEX")] = 1;
    image[at("RSKEY_MODIFY")] = 1;
    return image;
}

TEST_F(RepairTest, ValidImageIsKeptUnchanged)
{
    Image image = validImage();
    const Image before = image;
    const RepairState state = NormalizeSettingsImage(image);
    for (int i = 0; i < RS_LEN_EXE; ++i) ASSERT_EQ(image[i], before[i]) << "byte " << i;
    EXPECT_EQ(state.cylinderCount, 4);
    EXPECT_TRUE(state.fidFlag);
}

TEST_F(RepairTest, EdgeCases)
{
    struct Case
    {
        const char* name;
        void (*prepare)(Image&);
        void (*check)(const Image&);
    };
    const Case cases[] = {
        {"rising_row_all_zero", [](Image& im) { std::fill_n(im.begin() + at("ADV_RPM"), 15, 0); },
         [](const Image& im) { EXPECT_EQ(bytesOf(im, "ADV_RPM", 15), range(3, 15)); }},
        {"rising_row_all_255", [](Image& im) { std::fill_n(im.begin() + at("ADV_RPM"), 15, 255); },
         [](const Image& im) { EXPECT_EQ(bytesOf(im, "ADV_RPM", 15), range(236, 15)); }},
        {"sensor_tw_rising_becomes_falling",
         [](Image& im) {
             for (int i = 0; i < 9; ++i)
                 setImageWord(im, word("SENSOR_TW") + i, static_cast<std::uint16_t>(1000 + 100 * i));
         },
         [](const Image& im) {
             for (int i = 0; i < 9; ++i) EXPECT_EQ(imageWord(im, word("SENSOR_TW") + i), 1000 - i);
         }},
        {"count_zero_becomes_full_width_without_copy",
         [](Image& im) {
             im[at("ADV_RPM_N")] = 0;
             for (int i = 0; i < 15; ++i) im[at("ADV") + 15 * 2 + i] = static_cast<std::uint8_t>(i);
         },
         [](const Image& im) {
             EXPECT_EQ(im[at("ADV_RPM_N")], 15);
             EXPECT_EQ(bytesOf(im, "ADV", 45).back(), 14);
         }},
        {"tail_fill_from_last_used_column",
         [](Image& im) {
             im[at("ADV_RPM_N")] = 5;
             for (int i = 0; i < 15; ++i) im[at("ADV") + 15 * 2 + i] = static_cast<std::uint8_t>(i);
             im[at("ADV") + 15 * 2 + 4] = 30;
         },
         [](const Image& im) {
             for (int i = 5; i < 15; ++i) EXPECT_EQ(im[at("ADV") + 15 * 2 + i], 30) << i;
         }},
        {"word_table_tail_fill",
         [](Image& im) {
             im[at("INJ_1_RPM_N")] = 3;
             setImageWord(im, 20 * 9 + 2, 4321);
         },
         [](const Image& im) {
             for (int i = 3; i < 20; ++i) EXPECT_EQ(imageWord(im, 20 * 9 + i), 4321) << i;
         }},
        {"count_above_width_is_limited", [](Image& im) { im[at("INJ_B_RPM_N")] = 200; },
         [](const Image& im) { EXPECT_EQ(im[at("INJ_B_RPM_N")], 20); }},
        {"no_lobes_keeps_phases_at_zero",
         [](Image& im) {
             im[at("LOBES")] = 0;
             im[at("LOBE_MODE")] = 0;
             for (std::string_view n : {"HUNTING_PHASE1", "HUNTING_PHASE2", "HUNTING_PHASE3", "LOBE_VAL_AQUISITION",
                                        "SYN1_SP_PHASE_OUT", "IDLE_LOBE"})
                 im[at(n)] = 7;
         },
         [](const Image& im) {
             for (std::string_view n : {"HUNTING_PHASE1", "HUNTING_PHASE2", "HUNTING_PHASE3", "LOBE_VAL_AQUISITION",
                                        "SYN1_SP_PHASE_OUT", "IDLE_LOBE"})
                 EXPECT_EQ(im[at(n)], 0) << n;
         }},
        {"phases_bounded_by_lobes",
         [](Image& im) {
             im[at("LOBES")] = 3;
             im[at("HUNTING_PHASE2")] = 9;
             im[at("SYN1_SP_CONDITIONS")] = 6;
         },
         [](const Image& im) {
             EXPECT_EQ(im[at("HUNTING_PHASE2")], 2);
             EXPECT_EQ(im[at("SYN1_SP_CONDITIONS")], 5);
         }},
        {"lobe_angle",
         [](Image& im) {
             im[at("LOBE_MULTI")] = 0;
             im[at("LOBES")] = 3;
             im[at("LOBES_SKIPPED")] = 1;
             im[at("LOBE_MODE")] = 0;
         },
         [](const Image& im) { EXPECT_EQ(imageWord(im, word("LOBE_ANGLE")), 1800); }},
        {"tps_equal_at_top",
         [](Image& im) {
             im[at("TPS_USEX")] = 0;
             setImageWord(im, word("TPS_0"), 5000);
             setImageWord(im, word("TPS_100"), 5000);
         },
         [](const Image& im) {
             EXPECT_EQ(imageWord(im, word("TPS_0")), 4990);
             EXPECT_EQ(imageWord(im, word("TPS_100")), 5000);
         }},
        {"tps_x_below_zero_saturates",
         [](Image& im) {
             im[at("TPS_USEX")] = 1;
             setImageWord(im, word("TPS_0"), 5);
             setImageWord(im, word("TPS_100"), 8);
             setImageWord(im, word("TPS_X"), 9);
         },
         [](const Image& im) { EXPECT_EQ(imageWord(im, word("TPS_X")), 0); }},
        {"tps_x_between_points",
         [](Image& im) {
             im[at("TPS_USEX")] = 1;
             setImageWord(im, word("TPS_0"), 4000);
             setImageWord(im, word("TPS_100"), 300);
             setImageWord(im, word("TPS_X"), 100);
         },
         [](const Image& im) { EXPECT_EQ(imageWord(im, word("TPS_X")), 310); }},
        {"can_ids_out_of_range",
         [](Image& im) {
             im[at("SOFF_AFR")] = 0;
             im[at("SENSOR_LAMBDA_MODE")] = 2;
             im[at("INJ_MODE_1234")] = 0;
             im[at("CHANNELS")] = 4;
             setImageWord(im, word("UEGO_CAN_ID"), 3000);
             setImageWord(im, word("UEGO_CAN_ID") + 1, 0);
             setImageWord(im, word("UEGO_CAN_ID") + 2, 700);
             setImageWord(im, word("UEGO_CAN_ID") + 3, 2047);
         },
         [](const Image& im) {
             EXPECT_EQ(imageWord(im, word("UEGO_CAN_ID")), 802);
             EXPECT_EQ(imageWord(im, word("UEGO_CAN_ID") + 1), 802);
             EXPECT_EQ(imageWord(im, word("UEGO_CAN_ID") + 2), 700);
             EXPECT_EQ(imageWord(im, word("UEGO_CAN_ID") + 3), 2047);
         }},
        {"comp_limit_zero",
         [](Image& im) {
             im[at("COMP_LIMIT")] = 0;
             im[at("INJ_COMP_TP")] = 0;
             im[at("INJ_COMP_IAP") + 199] = 255;
         },
         [](const Image& im) {
             EXPECT_EQ(im[at("INJ_COMP_TP")], 100);
             EXPECT_EQ(im[at("INJ_COMP_IAP") + 199], 100);
         }},
        {"idle_band_above_hysteresis_255_saturates",
         [](Image& im) {
             im[at("IDLE_MODE")] = 2;
             im[at("IDLE_HYSTER")] = 255;
             im[at("IDLE_CONTROL_BAND")] = 3;
         },
         [](const Image& im) { EXPECT_EQ(im[at("IDLE_CONTROL_BAND")], 250); }},
        {"dwell_correction_signed_bounds",
         [](Image& im) {
             im[at("COR_U_DWELL")] = 0xF0;      // -16 stays
             im[at("COR_U_DWELL") + 1] = 0x80;  // -128 -> -20
             im[at("COR_U_DWELL") + 2] = 120;   // -> 100
         },
         [](const Image& im) {
             EXPECT_EQ(im[at("COR_U_DWELL")], 0xF0);
             EXPECT_EQ(im[at("COR_U_DWELL") + 1], 0xEC);
             EXPECT_EQ(im[at("COR_U_DWELL") + 2], 100);
         }},
        {"dwell_correction_cleared_without_advance_points",
         [](Image& im) {
             im[at("ADV_RPM_N")] = 0;
             std::fill_n(im.begin() + at("COR_U_DWELL"), 9, 100);
         },
         [](const Image& im) { EXPECT_EQ(bytesOf(im, "COR_U_DWELL", 9), std::vector<int>(9, 0)); }},
        {"power_output_modes",
         [](Image& im) {
             im[at("POUT_MODE")] = 24;
             im[at("POUT_MODE") + 1] = 23;
             im[at("POUT5_MODE")] = 200;
         },
         [](const Image& im) {
             EXPECT_EQ(im[at("POUT_MODE")], 3);
             EXPECT_EQ(im[at("POUT_MODE") + 1], 23);
             EXPECT_EQ(im[at("POUT5_MODE")], 3);
         }},
        {"servo_coupling",
         [](Image& im) {
             im[at("SERVO_IN_ENABLE")] = 0;
             im[at("SERVO_IN_TPS")] = 1;
             im[at("SERVO_EX_ENABLE")] = 1;
             im[at("SERVO_EX_TPS")] = 1;
         },
         [](const Image& im) {
             EXPECT_EQ(im[at("SERVO_IN_TPS")], 0);
             EXPECT_EQ(im[at("SERVO_EX_TPS")], 0);
         }},
        {"nitrous_pairs",
         [](Image& im) {
             im[at("N2O_GAS1")] = 150;
             im[at("N2O_GAS2")] = 20;
             im[at("N2O_GAS_T")] = 0;
             im[at("N2O_RETARD1")] = 20;
             im[at("N2O_RETARD2")] = 10;
         },
         [](const Image& im) {
             EXPECT_EQ(im[at("N2O_GAS1")], 100);
             EXPECT_EQ(im[at("N2O_GAS2")], 100);
             EXPECT_EQ(im[at("N2O_GAS_T")], 1);
             EXPECT_EQ(im[at("N2O_RETARD2")], 20);
         }},
        {"quickshift_sixth_elements_and_markers",
         [](Image& im) {
             im[at("QUICKSHIFTUP_INJ") + 5] = 9;
             im[at("QUICKSHIFTUP_ADV") + 5] = 9;
             im[at("RSKEY_MODIFY")] = 0;
             setImageWord(im, word("POUT_SPEED"), 0);
         },
         [](const Image& im) {
             EXPECT_EQ(im[at("QUICKSHIFTUP_INJ") + 5], 0);
             EXPECT_EQ(im[at("QUICKSHIFTUP_ADV") + 5], 0);
             EXPECT_EQ(im[at("RSKEY_MODIFY")], 1);
             EXPECT_EQ(imageWord(im, word("POUT_SPEED")), 1);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Image image = validImage();
        c.prepare(image);
        NormalizeSettingsImage(image);
        c.check(image);
    }
}

TEST_F(RepairTest, DerivedStateAndLanguageIndex)
{
    Image image{};
    image[at("CHANNELS")] = 9;
    image[at("POUT5_MODE")] = 14;  // output 5 does not count as FID valve
    SetLanguageIndex(7);
    RepairState state = NormalizeSettingsImage(image);
    EXPECT_EQ(state.cylinderCount, 4);
    EXPECT_FALSE(state.fidFlag);
    EXPECT_EQ(GetLanguageIndex(), LNG_ENGLISH);

    image[at("POUT_MODE") + 3] = 14;
    SetLanguageIndex(LNG_CZECH);
    state = NormalizeSettingsImage(image);
    EXPECT_TRUE(state.fidFlag);
    EXPECT_EQ(GetLanguageIndex(), LNG_CZECH);
}

TEST(ForceRowOrder, SignedWordsAndSteps)
{
    Image image{};
    // Signed, falling by 2 within [-10, 10]: elements from 0x8000 (-32768) and up.
    for (int i = 0; i < 4; ++i) setImageWord(image, 10 + i, static_cast<std::uint16_t>(-32768 + i));
    ForceRowOrderWords(image, 99, 10, 0, -10, 10, 4, 2);
    std::vector<int> got;
    for (int i = 0; i < 4; ++i) got.push_back(static_cast<std::int16_t>(imageWord(image, 10 + i)));
    EXPECT_EQ(got, (std::vector<int>{-4, -6, -8, -10}));
}

TEST(SelfCheckEnums, PassesForThisStructure)
{
    EXPECT_TRUE(SelfCheckEnums().empty());
}

}  // namespace
