#include "settings/keytable.h"

#include <algorithm>
#include <unordered_map>

namespace {

using enum PageFlag;

constexpr PageMask P(PageFlag a) { return pageBit(a); }

constexpr KeyItem field(int address, std::uint8_t flags, int scale, int offset)
{
    KeyItem k;
    k.kind = ItemKind::Field;
    k.flags = flags;
    k.address = static_cast<std::int16_t>(address);
    k.scale = static_cast<std::int16_t>(scale);
    k.offset = static_cast<std::int16_t>(offset);
    return k;
}
constexpr KeyItem row(int first, int last, std::uint8_t flags, int scale, int offset)
{
    KeyItem k = field(first, flags, scale, offset);
    k.kind = ItemKind::Row;
    k.count = static_cast<std::int16_t>(last - first + 1);
    return k;
}
// Image byte, signed byte, word, signed word; the n-forms are rows first..last.
constexpr KeyItem B(int a, int scale = 1, int offset = 0) { return field(a, 0, scale, offset); }
constexpr KeyItem Bs(int a, int scale = 1, int offset = 0) { return field(a, kItemSigned, scale, offset); }
constexpr KeyItem W(int a, int scale = 1, int offset = 0) { return field(a, kItemWord, scale, offset); }
constexpr KeyItem Ws(int a) { return field(a, kItemWord | kItemSigned, 1, 0); }
constexpr KeyItem Bn(int f, int l, int scale = 1, int offset = 0) { return row(f, l, 0, scale, offset); }
constexpr KeyItem Bsn(int f, int l) { return row(f, l, kItemSigned, 1, 0); }
constexpr KeyItem Wn(int f, int l, int scale = 1, int offset = 0) { return row(f, l, kItemWord, scale, offset); }
constexpr KeyItem Wsn(int f, int l) { return row(f, l, kItemWord | kItemSigned, 1, 0); }
constexpr KeyItem Fix(int value)
{
    KeyItem k;
    k.kind = ItemKind::Fixed;
    k.fixedValue = static_cast<std::int16_t>(value);
    return k;
}
constexpr KeyItem Br = [] {
    KeyItem k;
    k.kind = ItemKind::Break;
    return k;
}();
constexpr KeyItem Table(int f, int l, int perLine, int scale = 1)
{
    KeyItem k = row(f, l, 0, scale, 0);
    k.kind = ItemKind::Table;
    k.perLine = static_cast<std::int16_t>(perLine);
    return k;
}
constexpr KeyItem Axis(int first, int width, int countByte)
{
    KeyItem k = field(first, 0, 100, 0);
    k.kind = ItemKind::Axis;
    k.count = static_cast<std::int16_t>(width);
    k.countByte = static_cast<std::int16_t>(countByte);
    return k;
}
constexpr KeyItem GridW(int firstWord, int countByte)
{
    KeyItem k = field(firstWord, kItemWord, 1, 0);
    k.kind = ItemKind::Grid;
    k.count = 200;
    k.countByte = static_cast<std::int16_t>(countByte);
    return k;
}
constexpr KeyItem GridB(int firstByte, int countByte)
{
    KeyItem k = GridW(firstByte, countByte);
    k.flags = 0;
    return k;
}
constexpr KeyItem Counted(int first, int countByte, int scale, bool setsCount)
{
    KeyItem k = field(first, setsCount ? kItemSetsCount : 0, scale, 0);
    k.kind = ItemKind::CountedRow;
    k.count = 15;
    k.countByte = static_cast<std::int16_t>(countByte);
    return k;
}
constexpr KeyItem Bits(int a)
{
    KeyItem k = field(a, 0, 1, 0);
    k.kind = ItemKind::Bits;
    return k;
}
constexpr KeyItem Act(ReadAction action, Cond cond = Cond::Always)
{
    KeyItem k;
    k.kind = ItemKind::Action;
    k.action = action;
    k.cond = cond;
    return k;
}

// POWER_OUT1..4 (j 0..3) and POWER_OUT5.
constexpr KeyRow powerOut(std::string_view key, int mode, int rpm, int hyster, int tps, int out)
{
    return {.key = key,
            .pages = P(PowerOutputs),
            .items = {B(mode), Br, B(rpm, 100), B(rpm + 1, 100), B(rpm + 2, 100), B(hyster, 10), Br, B(tps),
                      B(tps + 1), Br, Bits(out), Br, Bits(out + 1), Br, Bits(out + 2)},
            .knownOnlyWhenStored = true};
}
constexpr KeyRow powerOutIap(std::string_view key, int j, KeyRole role)
{
    return {.key = key,
            .pages = P(PowerOutputs),
            .items = {B(4935 + 3 * j, 100), B(4936 + 3 * j, 100), B(4937 + 3 * j, 100), W(1140 + 2 * j),
                      W(1141 + 2 * j), Br, Bits(4953 + 3 * j), Br, Bits(4954 + 3 * j), Br, Bits(4955 + 3 * j)},
            .role = role,
            .knownOnlyWhenStored = true};
}
constexpr KeyRow nothingKey(std::string_view key)
{
    return {.key = key, .pages = P(PowerOutputs), .role = KeyRole::ReaderOnly, .knownOnlyWhenStored = true};
}
constexpr KeyRow input(std::string_view key, int n)
{
    return {.key = key, .pages = P(Inputs), .items = {B(3835 + n)}};
}

constexpr KeyItem kServoInTable = Table(4258, 4407, 15).rule(ScaleRule::ServoIn);
constexpr KeyItem kServoExTable = Table(4108, 4257, 15).rule(ScaleRule::ServoEx);
constexpr Cond kCtl = Cond::ServoController;

constexpr KeyRow kRows[] = {
    // Header
    {.key = "QUORVANE_KEY", .role = KeyRole::Header},
    {.key = "BIKE", .pages = P(Bike), .items = {B(2500), Br}, .special = KeySpecial::Bike},

    // Sensors, inputs and basic settings
    {.key = "SENSORS_DISABLE", .pages = P(Sensors), .items = {Bn(4052, 4057)}},
    {.key = "AP_SOURCE", .pages = P(Injection1A), .items = {B(3835)}},
    {.key = "APS_IAPS", .pages = P(Sensors), .items = {Wn(1068, 1071), Br, Wn(1072, 1075)}},
    {.key = "OIL_PRESSURE_SENSOR", .pages = P(OilPressure), .items = {B(4985, 10), W(1152), B(4986, 10), W(1153)}},
    {.key = "OIL_PRESSURE_RPM", .pages = P(OilPressure), .items = {Bn(4987, 4991, 100)}},
    {.key = "iADR_OILPRESS_MINP", .pages = P(OilPressure), .items = {Bn(4992, 4996, 10)}},
    {.key = "IGN_EVERY_TURN", .pages = P(Bike), .items = {B(2694)}},
    {.key = "WATER_TEMP_SENSOR", .pages = P(Sensors), .items = {Br, Wn(1044, 1052)}, .knownAbove = 65},
    {.key = "AIR_TEMP_SENSOR", .pages = P(Sensors), .items = {Br, Wn(1053, 1061)}, .knownAbove = 68},
    {.key = "SENSOR_LAMBDA",
     .pages = P(Sensors),
     .items = {B(4060), Act(ReadAction::LambdaDefaults), Br, Bn(4061, 4066), Br, Wn(1062, 1067)},
     .special = KeySpecial::SensorLambda},
    {.key = "LAMBDA_TACHO", .pages = P(Bike), .items = {Bn(2672, 2673), Br, Bn(2674, 2675, 100)}},
    {.key = "SENSOR_QSA", .pages = P(Sensors), .items = {W(1087), W(1088)}},
    input("INPUT1", 1),
    input("INPUT2", 2),
    input("INPUT3", 3),
    input("INPUT4", 4),
    input("INPUT5", 5),
    input("INPUT6", 6),
    input("INPUT7", 7),
    {.key = "INPUT_INV", .pages = P(Inputs), .items = {B(3844).with(kItemComplement)}},
    {.key = "LIMITER",
     .pages = P(Bike),
     .items = {B(4628, 100).onPage(LaunchTraction), Act(ReadAction::LimiterCopy, Cond::From70),
               B(4629, 100).when(Cond::From305), Act(ReadAction::LimiterAverage, Cond::Is305), B(2660, 100),
               B(2661, 100), B(2662, 100), B(2663)}},
    {.key = "START_LIMITER_DELAY", .pages = P(Bike), .items = {B(4630, 100)}},
    {.key = "TPS_3PT",
     .pages = P(Sensors),
     .items = {B(4059), Br, Fix(0), W(1084), Br, B(4058), W(1085), Br, Fix(100), W(1086), Br}},
    {.key = "POTENTIOMETER",
     .pages = P(Sensors),
     .items = {B(4067), Act(ReadAction::PotiClear), Ws(1076).when(Cond::From307).with(kItemIfNumberAhead),
               Ws(1077).when(Cond::From307).with(kItemIfNumberAhead), Ws(1078).when(Cond::From307).with(kItemIfNumberAhead),
               Ws(1079).when(Cond::From307).with(kItemIfNumberAhead),
               Act(ReadAction::PotiLegacy, Cond::Before307)}},
    {.key = "FUEL_PERC", .pages = P(Sensors), .items = {Bn(4068, 4072)}},
    {.key = "FUEL_U", .pages = P(Sensors), .items = {Bn(4073, 4077)}},
    {.key = "COOLING", .pages = P(Bike), .items = {B(2667)}},
    {.key = "RPM", .pages = P(Bike), .items = {B(2668), B(2669, 1, -100)}},
    {.key = "INTAKE_PORT", .pages = P(Bike), .items = {B(2670, 100)}, .special = KeySpecial::IntakePort},
    {.key = "INTAKE_PORT_INV", .pages = P(Bike), .items = {B(2671)}},
    {.key = "INTAKE_PORT_HYST", .pages = P(Bike), .items = {B(5027, 100)}},
    {.key = "DISPLAY_TYP", .pages = P(Bike), .items = {B(2676)}},
    {.key = "CAN", .pages = P(Sensors), .items = {B(2677), B(2678), B(2679)}},
    {.key = "CAN_ID", .pages = P(Sensors), .items = {Wn(1080, 1083)}},

    // Synchronisation
    {.key = "SYNCHRO",
     .pages = P(Synchronisation),
     .items = {B(2501), B(2681), B(2682), Br, B(2683), Bs(2684), B(2685), B(2680),
               Act(ReadAction::LegacySynchroMode, Cond::Upto304), B(2687), B(2688), B(2692),
               Bn(2700, 2703).when(Cond::Upto304), Br, Fix(0), Fix(0), W(1000), B(2690, 1, 1), B(2691, 100),
               B(2686)}},
    {.key = "CHANNEL_LOBES",
     .pages = P(Synchronisation),
     .items = {B(2695), Br, Bn(2696, 2699), Br, Bn(2700, 2703), Br, Bn(2704, 2707), Br, Bn(2708, 2711), Br,
               Bn(2712, 2715), Br, Bn(2716, 2719), Br}},
    {.key = "IGN_AFTER_SYNCHRO1", .pages = P(Synchronisation), .items = {B(2693)}},
    {.key = "HUNTING",
     .pages = P(Synchronisation),
     .items = {B(2720), Br, B(2721, 1, 1), B(2722, 1, 1), B(2723, 1, 1), B(2724), B(2725), B(2726), B(2727)}},
    {.key = "HUNTING_CON", .pages = P(Synchronisation), .items = {B(2728, 100), B(2729)}},
    {.key = "HUNTING_IAPSRC", .pages = P(Synchronisation), .items = {B(2730)}},
    {.key = "DWELL", .pages = P(Bike), .items = {B(2664, 100), B(2665), Fix(0), B(2666, 100)}},
    {.key = "SYNCHRO_SPECIAL",
     .pages = P(Synchronisation),
     .items = {Br, B(2731), B(2732), B(2733), B(2734, 1, 1), Br, B(2735), B(2745, -1), B(2736), B(2746, -1), Br,
               B(2737), B(2747, -1), B(2738), B(2748, -1), Br, B(2739), B(2749, -1), B(2740), B(2750, -1), Br,
               B(2741), B(2751, -1), B(2742), B(2752, -1), Br, B(2743), B(2753, -1), B(2744), B(2754, -1)}},
    {.key = "PICKUPS_INTERCHANGE", .pages = P(Synchronisation), .items = {B(2689)}},

    // Advance
    {.key = "ADVANCE_MISC",
     .pages = P(Advance),
     .items = {B(3087), B(3091, 1, -100), B(3092, 1, -100), B(3093, 1, -100), B(3094, 1, -100), B(3095)},
     .special = KeySpecial::AdvanceMisc},
    {.key = "ADVANCE_PICKUP_COMP", .pages = P(Advance), .items = {B(3096)}},
    {.key = "ADV_USEIAP", .pages = P(Advance), .items = {B(3085)}, .special = KeySpecial::AdvUseIap},
    {.key = "ADV_IAP", .pages = P(Advance), .items = {Wn(1001, 1010)}, .special = KeySpecial::AdvIap},
    {.key = "RPM_ADV", .pages = P(Advance), .items = {Axis(2755, 15, 3089), Br}, .special = KeySpecial::RpmAdv},
    {.key = "ADVANCE", .pages = P(Advance), .items = {Table(2785, 2934, 15), Br}, .special = KeySpecial::Advance},
    {.key = "ADVANCE2_TAB", .pages = P(Advance), .items = {B(3088)}},
    {.key = "ADV2_USEIAP", .pages = P(Advance), .items = {B(3086)}},
    {.key = "ADV2_IAP", .pages = P(Advance), .items = {Wn(1011, 1020)}},
    {.key = "RPM_ADV2", .pages = P(Advance), .items = {Axis(2770, 15, 3090), Br}},
    {.key = "ADVANCE2", .pages = P(Advance), .items = {Table(2935, 3084, 15), Br}},

    // Injection
    {.key = "JET1_MISC",
     .pages = P(Injection1A),
     .items = {B(3817), B(3818), B(3819), B(3820, 100), B(3821, 100)},
     .special = KeySpecial::Jet1Misc},
    {.key = "RPM_JET_1A", .pages = P(Injection1A), .items = {Axis(3097, 20, 3822), Br}},
    {.key = "JET_1A", .pages = P(Injection1A), .items = {GridW(0, 3822), Br}},
    {.key = "RPM_JET_2A", .pages = P(Injection2A), .items = {Axis(3117, 20, 3823), Br}},
    {.key = "JET_2A", .pages = P(Injection2A), .items = {GridW(200, 3823), Br}},
    {.key = "RPM_JET_3A", .pages = P(Injection3A), .items = {Axis(3137, 20, 3824), Br}},
    {.key = "JET_3A", .pages = P(Injection3A), .items = {GridW(400, 3824), Br}},
    {.key = "RPM_JET_4A", .pages = P(Injection4A), .items = {Axis(3157, 20, 3825), Br}},
    {.key = "JET_4A", .pages = P(Injection4A), .items = {GridW(600, 3825), Br}},
    {.key = "RPM_JET_B", .pages = P(InjectionB), .items = {Axis(3177, 20, 3826), Br}},
    {.key = "JET_B", .pages = P(InjectionB), .items = {GridB(3217, 3826), Br}},
    {.key = "JET_B_MODE", .pages = P(InjectionB), .items = {B(3832)}},
    {.key = "JET_B_USE_COR", .pages = P(InjectionB), .items = {B(4891)}},
    {.key = "JET_B_USE_FOR_STEP_MOTOR", .pages = P(InjectionB), .items = {B(4892)}},
    {.key = "JET_B_IAP", .pages = P(InjectionB), .items = {B(4893)}},
    {.key = "IAP_MISC", .pages = P(InjectionIap), .items = {B(3828), B(3829), B(3830), B(3831)}},
    {.key = "IAP_IAP", .pages = P(InjectionIap), .items = {Wn(1021, 1030)}},
    {.key = "RPM_IAP", .pages = P(InjectionIap), .items = {Axis(3197, 20, 3827), Br}},
    {.key = "IAP", .pages = P(InjectionIap), .items = {GridW(800, 3827), Br}},
    {.key = "JET_COMP_TP", .pages = P(InjectionTpCorrection), .items = {GridB(3417, 3822), Br}},
    {.key = "JET_COMP_IAP", .pages = P(InjectionIapCorrection), .items = {GridB(3617, 3827), Br}},
    {.key = "COR_RESULT_TIME", .pages = P(InjectionIapCorrection), .items = {B(3834)}},
    {.key = "POSITION_A",
     .pages = P(InjectionPosition),
     .items = {B(3905), Br, Bn(3845, 3859, 100), Br, Bn(3860, 3874, 5), Br}},
    {.key = "POSITION_B",
     .pages = P(InjectionPosition),
     .items = {B(3906), Br, Bn(3875, 3889, 100), Br, Bn(3890, 3904, 5)}},

    // Corrections
    {.key = "CORR_TW_INJ_T", .pages = P(Corrections), .items = {Bn(4008, 4017, 1, -100)}},
    {.key = "CORR_TW_INJ", .pages = P(Corrections), .items = {Bn(3907, 3916)}},
    {.key = "CORR_TW_IGN_T", .pages = P(Corrections), .items = {Bn(4025, 4034, 1, -100)}},
    {.key = "CORR_TW_IGN", .pages = P(Corrections), .items = {Bn(3917, 3926, 1, -100)}},
    {.key = "CORR_TW_ACCEL", .pages = P(Corrections), .items = {Bn(3927, 3936)}},
    {.key = "CORR_TW_ACC_PLUS", .pages = P(Corrections), .items = {Bn(3937, 3946)}},
    {.key = "CORR_TW_START_JET", .pages = P(Corrections), .items = {Bn(3947, 3956)}},
    {.key = "CORR_AT_INJ_T", .pages = P(Corrections), .items = {Bn(4018, 4024, 1, -100)}},
    {.key = "CORR_AT_INJ", .pages = P(Corrections), .items = {Bn(3957, 3963)}},
    {.key = "CORR_AT_IGN_T", .pages = P(Corrections), .items = {Bn(4035, 4041, 1, -100)}},
    {.key = "CORR_AT_IGN", .pages = P(Corrections), .items = {Bn(3964, 3970, 1, -100)}},
    {.key = "CORR_U_INJ", .pages = P(Corrections), .items = {Wn(1031, 1039, 1, -100)}},
    {.key = "CORR_U_DWELL", .pages = P(Corrections), .items = {Bsn(4042, 4050)}},
    {.key = "CORR_DEAD_TIME", .pages = P(Corrections), .items = {B(4051)}},
    {.key = "ACCEL_THRESHOLD",
     .pages = P(Corrections),
     .items = {Bn(3971, 3975, 10)},
     .special = KeySpecial::AccelThreshold},
    {.key = "ACCEL_RPM", .pages = P(Corrections), .items = {Bn(3976, 3979, 100)}},
    {.key = "ACCEL_INJ", .pages = P(Corrections), .items = {Br, Table(3980, 3999, 4, 50)}},
    {.key = "ACC_CORR", .pages = P(Corrections), .items = {W(1040), W(1041), W(1043), W(1042)}},
    {.key = "CHOKE", .pages = P(Corrections), .items = {Bn(4000, 4003), Br, Bn(4004, 4007, 1, 100), Br}},

    // Servos
    {.key = "SERVO_IN",
     .pages = P(ServosIn),
     .items = {B(4411), B(4415), B(4413, 5), Br, B(4420).when(kCtl), B(4424).when(kCtl), B(4422).when(kCtl),
               B(4426).when(kCtl), B(4427).when(kCtl), Br, B(4417), B(4418), B(4428), Fix(0)},
     .special = KeySpecial::ServoIn},
    {.key = "RPM_SERVO_IN", .pages = P(ServosIn), .items = {Axis(4093, 15, 4408), Br}},
    {.key = "SERVO_IN_VALUE", .pages = P(ServosIn), .items = {Br, kServoInTable, Br}},
    {.key = "SERVO_IN_TPS", .pages = P(ServosIn), .items = {B(4431)}},
    {.key = "SERVO_IN_POLARITY", .pages = P(ServosIn), .items = {B(4430)}},
    {.key = "SERVO_EX",
     .pages = P(ServosEx),
     .items = {B(4410), B(4414), B(4412, 5), B(4419).when(kCtl), B(4423).when(kCtl), B(4421).when(kCtl),
               B(4425).when(kCtl), Br, B(4416)}},
    {.key = "SERVO_EX_O", .pages = P(ServosEx), .items = {B(5013)}},
    {.key = "RPM_SERVO_EX", .pages = P(ServosEx), .items = {Axis(4078, 15, 4409), Br}},
    {.key = "SERVO_EX_VALUE", .pages = P(ServosEx), .items = {Br, kServoExTable, Br}},
    {.key = "SERVO_EX_TPS", .pages = P(ServosEx), .items = {B(5014)}},
    {.key = "SERVO_EX_POLARITY", .pages = P(ServosIn), .items = {B(4429)}},
    {.key = "SERVO_CHAN", .pages = P(ServosIn) | P(ServosEx), .items = {B(5015)}},

    // Idle
    {.key = "IDLE_PEUGEOT", .pages = P(Idle), .items = {B(4569), B(4570), Br}, .special = KeySpecial::IdlePeugeot},
    {.key = "IDLE",
     .pages = P(Idle),
     .items = {B(4559), Act(ReadAction::IdleModeForModels), Fix(0), B(4560), Br, B(4561), Fix(0),
               B(4562).with(kItemIdleX), B(4563, 10), Br, W(1123), Br, Wn(1105, 1113), Br, Bn(4565, 4568), Br,
               Bn(4571, 4579, 50)},
     .special = KeySpecial::Idle,
     .knownAbove = 69},
    {.key = "IDLE_CONTROL_BAND", .pages = P(Idle), .items = {B(4564, 10)}},
    {.key = "IDLE_SERVO_POZ_START", .pages = P(Idle), .items = {Wn(1114, 1122)}},

    // Power outputs
    powerOut("POWER_OUT1", 4444, 4448, 4460, 4464, 4472),
    powerOut("POWER_OUT2", 4445, 4451, 4461, 4466, 4475),
    powerOut("POWER_OUT3", 4446, 4454, 4462, 4468, 4478),
    powerOut("POWER_OUT4", 4447, 4457, 4463, 4470, 4481),
    powerOut("POWER_OUT5", 4881, 4882, 4885, 4886, 4888),
    {.key = "POWER_OUT_SEC_COOL",
     .pages = P(PowerOutputs),
     .items = {Bn(4929, 4933, 1, -40).when(Cond::Is309), Act(ReadAction::SecCoolOld, Cond::Before309)}},
    {.key = "POWER_OUT_SPEED", .pages = P(PowerOutputs), .items = {W(1139)}},
    powerOutIap("POWER_OUT1_IAP", 0, KeyRole::Written),
    powerOutIap("POWER_OUT2_IAP", 1, KeyRole::Written),
    powerOutIap("POWER_OUT3_IAP", 2, KeyRole::Written),
    powerOutIap("POWER_OUT4_IAP", 3, KeyRole::Written),
    powerOutIap("POWER_OUT5_IAP", 4, KeyRole::Written),
    {.key = "POWER_OUT_PWM_T", .pages = P(PowerOutputs), .items = {Bn(4998, 5007).with(kItemDecimal)}},
    {.key = "POWER_OUT_PWM_S", .pages = P(PowerOutputs), .items = {Bn(5017, 5026).with(kItemDecimal)}},
    {.key = "POUT_INV", .pages = P(PowerOutputs), .items = {Bn(4923, 4927), Br}},

    // N2O, speed and gear
    {.key = "N2O",
     .pages = P(N2O),
     .items = {Fix(1), Br, B(4432), B(4433), B(4435, 100), B(4434, 100), B(4440, 1, 100), B(4441, 1, 100), Br,
               B(4436), B(4437), B(4439, 100), B(4438, 100)},
     .special = KeySpecial::N2O},
    {.key = "N2O_RPMmin", .pages = P(N2O), .items = {B(4442, 100)}},
    {.key = "N2O_TPSmin", .pages = P(N2O), .items = {B(4443)}},
    {.key = "SPEED_PULSES", .pages = P(Gear), .items = {B(4529), W(1102)}},
    {.key = "SPEED_PULSES_FRONT", .pages = P(Gear), .items = {B(4530), W(1103)}},
    {.key = "SPEED_OUT_COR_16b", .pages = P(Gear), .items = {W(1104), Br}},
    {.key = "GEAR", .pages = P(Gear), .items = {B(4527), B(4528), Br, Wn(1095, 1101), Br, Wn(1089, 1094)}},
    {.key = "GEAR_GP_SENSOR_FOR_QS", .pages = P(Gear) | P(ClutchQuickShift), .items = {B(5016)}},
    {.key = "RACE_QS_EXPLEVEL", .pages = P(Gear), .items = {Bs(5028, 10)}},
    {.key = "GEAR_AUTO", .pages = P(Gear), .items = {B(4531), B(4532, 100), B(4533), B(4534)}},
    {.key = "GEAR_CORR", .pages = P(Gear), .items = {Bn(4535, 4540, 1, -100), Br, Bn(4541, 4546)}},
    {.key = "GEAR_CORR_ACCTR", .pages = P(Gear), .items = {Bn(4547, 4552)}},
    {.key = "iADR_GEAR_KOR_TRACKRETARD", .pages = P(Gear), .items = {Bn(4553, 4558)}},
    {.key = "iADR_GEAR_NEUTRAL", .pages = P(Gear), .items = {B(4878), B(4879, 20), B(4880, 20)}},
    {.key = "GEAR_ODO_CONST", .pages = P(Gear), .items = {W(1138)}},

    // Clutch and quick-shift
    {.key = "PILOT_LIGHT", .pages = P(ClutchQuickShift), .items = {Bn(4485, 4490, 100), Br, Bn(4491, 4496, 100)}},
    {.key = "CLUTCH",
     .pages = P(ClutchQuickShift),
     .items = {B(4497), B(4510, 100), B(4511), Bs(4512), Br, Bn(4498, 4503, 5).rule(ScaleRule::ClutchTime), Br,
               Bn(4504, 4509, 10)},
     .special = KeySpecial::Clutch},
    {.key = "QUICKSHIFT_UP_TAB",
     .pages = P(ClutchQuickShift),
     .items = {Bn(4895, 4899), Bsn(4901, 4905)},
     .special = KeySpecial::QuickShiftUpTab},
    {.key = "QUICKSHIFTUP_OVER", .pages = P(ClutchQuickShift), .items = {B(4919)}},
    {.key = "QUICKSHIFTUP_CANCEL", .pages = P(ClutchQuickShift), .items = {B(4921)}},
    {.key = "DISPLAY", .pages = P(ClutchQuickShift), .items = {B(4484)}},
    {.key = "PIT_SPEED_CONTROL",
     .pages = P(ClutchQuickShift),
     .items = {B(4515), B(4516), B(4517), Bs(4518), B(4519, 100)}},

    // Lambda tuning
    {.key = "TUNING",
     .pages = P(LambdaTuning),
     .items = {Act(ReadAction::TuningInputPrefix, Cond::TuningPrefix), B(4580), B(4613, 10), B(4614),
               Act(ReadAction::LegacyTuningTable, Cond::LegacyTuning), B(4612), B(4615), B(4616), B(4617), Br,
               B(4618), B(4619).when(kCtl), B(4620).when(kCtl), B(4621).when(kCtl), B(4622, 100).when(kCtl),
               B(4623, 1, -100).when(kCtl).with(kItemOverflow56), B(4624, 1, -100).when(kCtl).with(kItemOverflow56)},
     .knownAbove = 73},
    {.key = "TUNING_COMP_LIMIT", .pages = P(LambdaTuning), .items = {B(3833)}},
    {.key = "TUNING_SOURCE", .pages = P(LambdaTuning), .items = {B(4581)}},
    {.key = "TUNING_LAMBDA", .pages = P(LambdaTuning), .items = {Bn(4582, 4586, 100), Br, Table(4587, 4611, 5)}},

    // Deceleration
    {.key = "DEC_ENABLE", .pages = P(ClutchQuickShift), .items = {B(4520)}},
    {.key = "DEC_USE_SPEED", .pages = P(ClutchQuickShift), .items = {B(4525)}},
    {.key = "DEC_SPEED_MIN", .pages = P(ClutchQuickShift), .items = {B(4526)}},
    {.key = "DEC_TPS_MIN", .pages = P(ClutchQuickShift), .items = {B(4522)}},
    {.key = "DEC_RPM_MIN", .pages = P(ClutchQuickShift), .items = {B(4521)}},
    {.key = "DEC_SERVO_PERC", .pages = P(ClutchQuickShift), .items = {B(4523)}},
    {.key = "DEC_SERVO_V16bit", .pages = P(ClutchQuickShift), .items = {W(1137)}, .special = KeySpecial::DecServoV16},
    {.key = "DEC_SERVO_PERC", .pages = P(ClutchQuickShift), .items = {B(4523)}},
    {.key = "DEC_STEP_WOPOT", .pages = P(ClutchQuickShift), .items = {Ws(1124)}},
    {.key = "DEC_STEP_TPSMIN", .pages = P(ClutchQuickShift), .items = {Ws(1125)}},

    // Launch control and limiters
    {.key = "LAUNCH_CONTROL", .pages = P(LaunchTraction), .items = {B(4625), B(4627, 1, -100), B(4626)}},
    {.key = "START_LIMITER", .pages = P(LaunchTraction), .items = {B(4628, 100), B(4629, 100)}},
    {.key = "START_LIMITER_INJ", .pages = P(Bike), .items = {B(4894, 100)}},
    {.key = "ACC_LIMITER",
     .pages = P(LaunchTraction),
     .items = {B(4631), Fix(0), Fix(0), Fix(0), B(4634), B(4635), B(4632).rule(ScaleRule::AccLimiter)},
     .special = KeySpecial::AccLimiter},
    {.key = "ACC_LIMITER_RPM_MAX", .pages = P(LaunchTraction), .items = {B(4633, 100)}},
    {.key = "ACC_TRESHOLD",
     .pages = P(LaunchTraction),
     .items = {Bn(4636, 4640, 100), Br, Table(4641, 4665, 5).rule(ScaleRule::AccLimiter)}},
    {.key = "ACC_SPEED_OF_RETURN",
     .pages = P(LaunchTraction),
     .items = {Bn(4666, 4670, 100), Br, Table(4671, 4695, 5)}},
    {.key = "ACC_PROP_EFFECTx10",
     .pages = P(LaunchTraction),
     .items = {Bn(4696, 4700, 100), Br, Table(4701, 4725, 5)}},
    {.key = "STLIM_SERVO_IN", .pages = P(LaunchTraction), .items = {B(4730), B(4732), B(4734)}},
    {.key = "STLIM_SERVO_EX", .pages = P(LaunchTraction), .items = {B(4729), B(4731), B(4733)}},
    {.key = "AFTERSTART_RETARD",
     .pages = P(LaunchTraction),
     .items = {Br, Counted(4737, 4735, 20, true), Br, Counted(4752, 4735, -1, false)}},
    {.key = "AFTERSTART_LIMITER",
     .pages = P(LaunchTraction),
     .items = {Br, Counted(4767, 4736, 20, true), Br, Counted(4782, 4736, 100, false)}},

    // Traction control
    {.key = "TRACK_ENABLE", .pages = P(LaunchTraction), .items = {B(4797)}},
    {.key = "TRACK_CONTROLL",
     .pages = P(LaunchTraction),
     .items = {Wn(1126, 1131), Br, Bn(4802, 4811), Br, Table(4812, 4871, 10, -1)},
     .special = KeySpecial::TrackControll},
    {.key = "TRACK_MINRPM", .pages = P(LaunchTraction), .items = {B(4799, 100)}},
    {.key = "TRACK_MINADV", .pages = P(LaunchTraction), .items = {B(4798, 1, -100)}},
    {.key = "TRACK_MINTPS", .pages = P(LaunchTraction), .items = {B(4800)}},
    {.key = "TRACK_MINSPEED", .pages = P(LaunchTraction), .items = {B(4801)}},
    {.key = "TRACK_FILTER_SECTORS", .pages = P(LaunchTraction), .items = {B(4726)}},
    {.key = "TRACK_FILTER_OVERLAP", .pages = P(LaunchTraction), .items = {B(4727)}},
    {.key = "TRACK_FILTER_END", .pages = P(LaunchTraction), .items = {B(4728)}},
    {.key = "TRACK_INHIBIT_REV", .pages = P(LaunchTraction), .items = {B(4922, 10)}},

    // Quick-shift down, cruise control, output test
    {.key = "QUICKSHIFT_DOWN",
     .pages = P(ClutchQuickShift),
     .items = {B(4513, 5), B(4514)},
     .special = KeySpecial::QuickShiftDown},
    {.key = "QUICKSHIFT_DOWN_TAB",
     .pages = P(ClutchQuickShift),
     .items = {Bn(4907, 4911, 5), Br, Bn(4913, 4917)},
     .special = KeySpecial::QuickShiftDownTab},
    {.key = "TEMPOMAT_CFG", .pages = P(CruiseControl), .items = {B(4971), B(4972), B(4973)}},
    {.key = "TEMPOMAT_SPEED", .pages = P(CruiseControl), .items = {Bn(4974, 4978)}},
    {.key = "TEMPOMAT_V", .pages = P(CruiseControl), .items = {Bn(4979, 4984, 20)}},
    {.key = "TEMPOMAT_INIP", .pages = P(CruiseControl), .items = {Bn(5008, 5012, 5)}},
    {.key = "TEST_OUT", .pages = P(OutputTest), .items = {B(4876, 100), B(4877, 10)}},
    {.key = "LAMBDA_BAR", .pages = P(OutputTest), .items = {B(4872), B(4873), B(4874), B(4875)}},
    {.key = "LAMBDA_NOTATION", .pages = P(Sensors), .items = {B(5029), Br}},

    // Closing sections
    {.key = "VERSIONS", .special = KeySpecial::Versions},
    {.key = "PROPRIETARY", .pages = P(OutputTest), .items = {Wsn(1132, 1136)}},
    {.key = "MEMO", .pages = P(Bike), .special = KeySpecial::Memo},

    // Keys of older programs
    {.key = "INPUTS", .pages = P(Inputs), .role = KeyRole::ReaderOnly, .special = KeySpecial::Inputs},
    {.key = "INPUT-BLOCK_INVERT",
     .pages = P(Inputs),
     .role = KeyRole::ReaderOnly,
     .special = KeySpecial::InputBlockInvert},
    {.key = "LIMITER2",
     .pages = P(LaunchTraction),
     .items = {B(4629, 100)},
     .role = KeyRole::ReaderOnly,
     .special = KeySpecial::Limiter2},
    {.key = "EXITATION",
     .pages = P(Bike),
     .items = {B(2664).when(Cond::Upto304), B(2664, 100).when(Cond::From305), B(2665).when(Cond::From305),
               Fix(0).when(Cond::From305), B(2666, 100).when(Cond::From305)},
     .role = KeyRole::ReaderOnly},
    {.key = "DWELL_DYN", .pages = P(Bike), .items = {B(2665)}, .role = KeyRole::ReaderOnly},
    {.key = "DWELL_MAXRPMBYLOBE", .pages = P(Bike), .items = {B(2666, 100)}, .role = KeyRole::ReaderOnly},
    {.key = "ACCEL_JET", .pages = P(Corrections), .items = {Table(3980, 3999, 4, 50)}, .role = KeyRole::ReaderOnly},
    {.key = "TPS",
     .pages = P(Sensors),
     .items = {W(1084), W(1086)},
     .role = KeyRole::ReaderOnly,
     .special = KeySpecial::Tps,
     .knownOnlyWhenStored = true},
    {.key = "LAMBDA1_BAR",
     .pages = P(OutputTest),
     .items = {B(4872), B(4873), B(4874), B(4875)},
     .role = KeyRole::ReaderOnly},
    {.key = "DEC_SERVO_V",
     .pages = P(ClutchQuickShift),
     .items = {W(1137)},
     .role = KeyRole::ReaderOnly,
     .special = KeySpecial::DecServoVOld},
    {.key = "SPEED_OUT_COR", .pages = P(Gear), .items = {W(1104)}, .role = KeyRole::ReaderOnly},
    {.key = "TRACK_TPS", .pages = P(LaunchTraction), .items = {B(4800)}, .role = KeyRole::ReaderOnly},
    {.key = "TRACK_SPEED", .pages = P(LaunchTraction), .items = {B(4801)}, .role = KeyRole::ReaderOnly},
    nothingKey("POWER_OUT6"),
    powerOutIap("POWER_OUT6_IAP", 5, KeyRole::ReaderOnly),
    nothingKey("POWER_OUT7_IAP"),
    nothingKey("POWER_OUT8_IAP"),
    nothingKey("POWER_OUT9_IAP"),
    nothingKey("POWER_OUT10_IAP"),
    nothingKey("POWER_OUT11_IAP"),
    nothingKey("POWER_OUT12_IAP"),
    {.key = "START_INJ", .pages = P(Corrections), .role = KeyRole::Legacy, .special = KeySpecial::StartInj, .knownBelow = 303},
    {.key = "INJ_CORR", .pages = P(Corrections), .role = KeyRole::Legacy, .special = KeySpecial::InjCorr, .knownBelow = 303},
    {.key = "ACCEL", .pages = P(Corrections), .role = KeyRole::Legacy, .special = KeySpecial::Accel, .knownBelow = 303},
    {.key = "ADVANCE_CORR",
     .pages = P(Corrections),
     .role = KeyRole::Legacy,
     .special = KeySpecial::AdvanceCorr,
     .knownBelow = 303},
};

constexpr bool itemsFit()
{
    for (const KeyRow& r : kRows)
        if (r.itemCount() >= kMaxKeyItems)
            return false;
    return true;
}
static_assert(itemsFit(), "a key needs more items than a row holds");

}  // namespace

std::span<const KeyRow> keyRows() { return kRows; }

const KeyRow* findKeyRow(std::string_view word)
{
    static const std::unordered_map<std::string_view, const KeyRow*> index = [] {
        std::unordered_map<std::string_view, const KeyRow*> m;
        for (const KeyRow& r : kRows)
            if (r.role != KeyRole::Header)
                m.emplace(r.key, &r);  // emplace keeps the first row of a key written twice
        return m;
    }();
    const auto it = index.find(word);
    return it == index.end() ? nullptr : it->second;
}

bool isLetterVersion(int version)
{
    constexpr int kLetters[] = {65, 66, 68, 69, 70, 71, 73, 74, 82, 83};
    return std::find(std::begin(kLetters), std::end(kLetters), version) != std::end(kLetters);
}

bool isAcceptedVersion(int version)
{
    return (version >= 300 && version <= RS_KEY_309) || isLetterVersion(version);
}

bool itemPresent(Cond cond, int v)
{
    switch (cond) {
    case Cond::Always: return true;
    case Cond::ServoController: return v >= 301 || v == 83;
    case Cond::Upto304: return v <= 304;
    case Cond::From305: return v >= 305;
    case Cond::From70: return v >= 70;
    case Cond::Is305: return v == 305;
    case Cond::Is309: return v == 309;
    case Cond::Before309: return v < 309;
    case Cond::From307: return v >= 307;
    case Cond::Before307: return v < 307;
    case Cond::TuningPrefix: return v >= 81 && v <= 308;
    case Cond::LegacyTuning: return (!isLetterVersion(v) && v < 301) || v < 83;
    }
    return false;
}
