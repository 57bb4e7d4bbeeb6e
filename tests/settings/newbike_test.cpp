// New settings for a model from the archive, the per-model defaults and the page import flags.
#include "settings/newbike.h"

#include <gtest/gtest.h>

#include <set>

#include "impet_test_util.h"
#include "settings/settingsreader.h"

namespace {

// A small model file of structure 309: the header, BIKE and the given key lines.
std::string modelText(int model, const std::string& keys)
{
    return "\r\nQUORVANE_KEY     309 \r\n               \r\nBIKE              " + std::to_string(model) +
           " \r\n               \r\n" + keys;
}

CImpet archiveWith(int model, const std::string& text)
{
    CImpet impet;
    EXPECT_EQ(impet.MakeFolder("", "NEW_309"), 0);
    const std::string name = ModelFileName(BikeModelEnglishName(model)) + ".ign";
    EXPECT_EQ(impet.AddBytes("NEW_309", name, bytesOf(text)), 0);
    return impet;
}

Image imageOfModel(int model, std::uint8_t fill = 0)
{
    Image image;
    image.fill(fill);
    image[RS_BIKE_BYTE] = static_cast<std::uint8_t>(model);
    return image;
}

TEST(ModelFileName, Examples)
{
    struct Case
    {
        const char* display;
        const char* file;
    };
    const Case cases[] = {
        {"Honda CBR 600 F               01-02", "Honda CBR 600 F (01-02)"},
        {"Kawasaki  ZX6RR               03 ", "Kawasaki ZX6RR (03)"},
        {"Yamaha YZF-R1                 09- (Crossplane)", "Yamaha YZF-R1 (09- (Crossplane))"},
        {"Honda VFR 800                   ", "Honda VFR 800"},
        {"Yamaha R 125", "Yamaha R 125"},
        {"   Leading  blanks", "Leading blanks"},
        {"Two  12  gaps  34", "Two (12 gaps 34)"},  // one bracket at most, always closed
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.display);
        EXPECT_EQ(ModelFileName(c.display), c.file);
    }
}

TEST(BikeModels, SixtyNineModelsWithUniqueFileNames)
{
    std::set<int> tags;
    std::set<std::string> names;
    for (const BikeModel& m : BikeModels()) {
        tags.insert(m.tag);
        names.insert(ModelFileName(BikeModelEnglishName(m.tag)));
    }
    EXPECT_EQ(tags.size(), 69u);
    EXPECT_EQ(*tags.rbegin(), 68);
    EXPECT_EQ(names.size(), 69u);
    EXPECT_EQ(BikeModelEnglishName(33), "One lobe short dwell");  // not the Czech text
    EXPECT_EQ(BikeModelEnglishName(32), "One lobe long dwell");
    EXPECT_EQ(BikeModelEnglishName(69), "");
}

TEST(SetBikeDefaults, LimiterAndThroat)
{
    struct Case
    {
        int bike;   // byte 2500
        int model;  // the argument
        int limiter;
        int throat;
    };
    const Case cases[] = {
        {60, 60, 80, 0},  {11, 11, 140, 0}, {47, 47, 158, 1},  {55, 55, 158, 1}, {0, 0, 110, 0},
        {68, 68, 113, 0}, {65, 65, 150, 0}, {11, 200, 150, 0}, {47, 11, 140, 1},  // the throat follows byte 2500, the
                                                                                  // limiter the argument
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        Image image = imageOfModel(c.bike);
        SetBikeDefaults(image, c.model);
        EXPECT_EQ(image[2506], c.limiter);
        EXPECT_EQ(image[2507], c.throat);
        EXPECT_EQ(image[2505], 35);
        EXPECT_EQ(image[2503], 55);
        EXPECT_EQ(image[2504], 105);
    }
}

TEST(SetSyncDefaults, ByTriggerType)
{
    struct Case
    {
        const char* name;
        int bike, synchro1, b2708;
        std::array<int, 4> edges;  // b2731..2734 afterwards
        int coef0, phase0, synchro1After, lobes;
    };
    const Case cases[] = {
        {"type_0", 11, 0, 0, {1, 0, 1, 0}, 2, 1, 0, 9},
        {"type_7_edge_capped", 11, 7, 4, {1, 0, 2, 1}, 3, 1, 7, 9},
        {"type_5_one_lobe", 11, 5, 0, {9, 9, 0, 9}, 9, 9, 5, 1},
        {"type_10_unchanged", 11, 10, 0, {9, 9, 9, 9}, 9, 9, 10, 9},
        {"type_12_other", 11, 12, 0, {0, 0, 2, 0}, 2, 0, 12, 9},
        {"model_48_forced_to_10", 48, 0, 0, {0, 0, 1, 0}, 2, 1, 10, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Image image = imageOfModel(c.bike, 9);
        image[2681] = static_cast<std::uint8_t>(c.synchro1);
        image[2708] = static_cast<std::uint8_t>(c.b2708);
        SetSyncDefaults(image);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(image[2731 + i], c.edges[i]) << "byte " << 2731 + i;
        EXPECT_EQ(image[2735], c.coef0);
        EXPECT_EQ(image[2745], c.phase0);
        EXPECT_EQ(image[2681], c.synchro1After);
        EXPECT_EQ(image[2683], c.lobes);
    }
    Image other = imageOfModel(11, 9);
    other[2681] = 3;
    SetSyncDefaults(other);
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(other[2735 + k], 2 - k % 2);
        EXPECT_EQ(other[2745 + k], k);
    }
}

TEST(SetLambdaSensorDefaults, NarrowAndWide)
{
    Image image{};
    SetLambdaSensorDefaults(image, 0);
    EXPECT_EQ(image[4062], 130);
    EXPECT_EQ(imageWord(image, 1062), 900);
    SetLambdaSensorDefaults(image, 1);
    EXPECT_EQ(image[4062], 120);
    EXPECT_EQ(imageWord(image, 1067), 5000);
}

TEST(SetPageImportFlags, PagesAndSheets)
{
    struct Case
    {
        const char* name;
        NewBikePage page;
        int injMode;
        PageMask mask;
    };
    const Case cases[] = {
        {"all", {-1, 0, 0}, 0, kAllPages},
        {"bike", {0, 0, 0}, 0, pageBit(PageFlag::Bike)},
        {"idle", {9, 0, 0}, 0, pageBit(PageFlag::Idle)},
        {"maintenance", {21, 0, 0}, 0, pageBit(PageFlag::OilPressure)},
        {"page_15_none", {15, 0, 0}, 0, 0},
        {"injection_sheet_0", {3, 0, 0}, 1, pageBit(PageFlag::Injection1A)},
        {"injection_sheet_2_single", {3, 2, 0}, 0, pageBit(PageFlag::Injection3A)},
        {"injection_sheet_2_multi", {3, 2, 0}, 1, 0},
        {"injection_sheet_4", {3, 4, 0}, 1, pageBit(PageFlag::InjectionTpCorrection)},
        {"injection_sheet_7", {3, 7, 0}, 1, pageBit(PageFlag::InjectionIapCorrection)},
        {"servo_sheet_1", {8, 0, 1}, 0, pageBit(PageFlag::ServosEx)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Image image{};
        image[3817] = static_cast<std::uint8_t>(c.injMode);
        EXPECT_EQ(SetPageImportFlags(image, c.page).mask, c.mask);
    }
}

TEST(NewBikeSettings, AllPagesFromTheModelFile)
{
    const std::string keys = "COOLING           97 \r\nIGN_EVERY_TURN     1 \r\n";
    CImpet impet = archiveWith(11, modelText(11, keys));
    Image image = imageOfModel(11, 0x33);
    const NewBikeResult result = NewBikeSettings(image, impet);
    ASSERT_TRUE(result.done) << result.error;
    EXPECT_EQ(image[2667], 97);             // from the file
    EXPECT_EQ(image[2694], 1);              // from the file, over the zero written before the parse
    EXPECT_EQ(image[4051], 65);             // DEAD_TIME: the file has no key, the default stands
    EXPECT_EQ(image[2506], 140);            // LIMITER_BASIC of model 11
    EXPECT_EQ(image[4613], 20);             // TUNNING_RPM
    EXPECT_EQ(image[4920], 1);              // RSKEY_MODIFY
    EXPECT_EQ(imageWord(image, 1001), 30);  // ADV_IAP default
}

TEST(NewBikeSettings, FileValueWinsOverDefault)
{
    CImpet impet = archiveWith(11, modelText(11, "CORR_DEAD_TIME    80 \r\n"));
    Image image = imageOfModel(11);
    ASSERT_TRUE(NewBikeSettings(image, impet).done);
    EXPECT_EQ(image[4051], 80);
}

TEST(NewBikeSettings, ModelsWithForcedSynchronisation)
{
    for (int model : {22, 50}) {
        SCOPED_TRACE(model);
        CImpet impet = archiveWith(model, modelText(model, "IGN_EVERY_TURN     0 \r\nIGN_AFTER_SYNCHRO1     5 \r\n"));
        Image image = imageOfModel(model);
        ASSERT_TRUE(NewBikeSettings(image, impet).done);
        EXPECT_EQ(image[2693], 0);
        EXPECT_EQ(image[2694], 1);
    }
}

TEST(NewBikeSettings, LastByteOfTheFileIsDropped)
{
    // A file that ends in a digit, without a line end: its last character is lost.
    CImpet impet = archiveWith(11, modelText(11, "COOLING           97"));
    Image image = imageOfModel(11);
    ASSERT_TRUE(NewBikeSettings(image, impet).done);
    EXPECT_EQ(image[2667], 9);
}

TEST(NewBikeSettings, EmptyModelFileIsNoCrash)
{
    CImpet impet = archiveWith(11, "");
    Image image = imageOfModel(11);
    const NewBikeResult result = NewBikeSettings(image, impet);
    EXPECT_TRUE(result.done);
    EXPECT_EQ(image[2500], 11);
    EXPECT_EQ(image[4051], 65);
}

TEST(NewBikeSettings, MissingModelOrFileLeavesImage)
{
    struct Case
    {
        const char* name;
        int model;
        const char* error;
    };
    const Case cases[] = {
        {"no_such_model", 200, "NEW for Motocycle #200 is missing"},
        {"no_file", 12, "NEW for Motocycle Suzuki GSX-R750 (00-03) is missing"},
    };
    CImpet impet = archiveWith(11, modelText(11, ""));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Image image = imageOfModel(c.model, 0x44);
        const Image before = image;
        const NewBikeResult result = NewBikeSettings(image, impet);
        EXPECT_FALSE(result.done);
        EXPECT_EQ(result.error, c.error);
        EXPECT_EQ(image, before);
    }
}

TEST(NewBikeSettings, TrilingualModelUsesEnglishFile)
{
    CImpet impet = archiveWith(33, modelText(33, "COOLING           77 \r\n"));
    ASSERT_NE(impet.FindFile("NEW_309", "One lobe short dwell.ign"), nullptr);
    Image image = imageOfModel(33);
    ASSERT_TRUE(NewBikeSettings(image, impet).done);
    EXPECT_EQ(image[2667], 77);
}

TEST(NewBikeSettings, OnePageChangesOnlyThatPagesFields)
{
    const std::string keys = "COOLING           97 \r\nCORR_DEAD_TIME    80 \r\n";
    CImpet impet = archiveWith(11, modelText(11, keys));
    // Start from the model's own new settings, then change a field of the bike page and of other pages.
    Image image = imageOfModel(11);
    ASSERT_TRUE(NewBikeSettings(image, impet).done);
    image[2667] = 50;               // COOLING, bike page
    image[4051] = 70;               // DEAD_TIME, corrections page
    image[4613] = 33;               // TUNNING_RPM, lambda tuning page
    setImageWord(image, 1001, 44);  // ADV_IAP, advance page
    Image expected = image;
    expected[2667] = 97;

    const NewBikeResult result = NewBikeSettings(image, impet, NewBikePage{0, 0, 0});
    ASSERT_TRUE(result.done);
    EXPECT_EQ(image[2667], 97);
    EXPECT_EQ(image[4051], 70);
    EXPECT_EQ(image[4613], 33);
    EXPECT_EQ(imageWord(image, 1001), 44);
}

TEST(NewBikeSettings, ShippedModelFiles)
{
    CImpet impet;
    ASSERT_EQ(impet.ImportFolder("", std::filesystem::path(TEST_DATA_DIR) / "../../../resources/impet/NEW_309", 0), 0);
    ASSERT_EQ(impet.FindFolder(nullptr, "NEW_309")->children.size(), 69u);
    for (const BikeModel& model : BikeModels()) {
        SCOPED_TRACE(model.tag);
        const auto bytes = impet.GetFile("NEW_309", ModelFileName(BikeModelEnglishName(model.tag)) + ".ign");
        ASSERT_TRUE(bytes.has_value());
        Image parsed{};
        const ParseResult parse = ParseSettingsText(parsed, std::string(bytes->begin(), bytes->end()));
        EXPECT_EQ(parse.version, 309);
        EXPECT_EQ(parsed[RS_BIKE_BYTE], model.tag);
        Image image = imageOfModel(model.tag);
        ASSERT_TRUE(NewBikeSettings(image, impet).done);
        EXPECT_EQ(image[RS_BIKE_BYTE], model.tag);
    }
}

}  // namespace
