// Monitor-set files: what the writer makes reads back identical (the built-in sets through it too), byte-exact
// fixtures read as they should, hostile files are refused with their result and leave nothing half-built, and the
// export writes the documented source text.
#include "monitors/monset.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "monitors/builtinsets.h"
#include "monitors/indicator.h"
#include "os/lngtext.h"

namespace {

std::vector<std::uint8_t> bytesOf(const std::string& s)
{
    return {s.begin(), s.end()};
}

void putWord(std::string& out, std::int32_t v)
{
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF));
}

// A set file from explicit words: the header, then records and blocks appended by the test.
std::string header(std::int32_t count, std::int32_t magic = kMonSetMagic)
{
    std::string out;
    for (std::int32_t w : {magic, -5, 40, (300 << 16) | 320, (200 << 16) | 236, count}) putWord(out, w);
    return out;
}

std::string record(std::int32_t kind, std::int32_t specific, std::int32_t id, int left = 10)
{
    MonItemRecord r{};
    r[0] = kind;
    r[1] = specific;
    r[2] = 0x0000FF;
    r[5] = left;
    r[6] = 20;
    r[7] = 80;
    r[8] = 32;
    r[25] = id;
    r[26] = kind;
    std::string out;
    for (std::int32_t w : r) putWord(out, w);
    return out;
}

std::string textBlock(std::int32_t index, std::string_view cp1250)
{
    std::string out;
    putWord(out, index);
    putWord(out, static_cast<std::int32_t>(cp1250.size()));
    out += cp1250;
    out.push_back('\0');
    return out;
}

std::unique_ptr<CMyGroup> groupOf(std::vector<std::unique_ptr<CMyComponent>> widgets)
{
    auto group = std::make_unique<CMyGroup>();
    for (auto& w : widgets) group->Insert(std::move(w));
    return group;
}

TBitmap emblem()
{
    TBitmap b(6, 3);
    for (int x = 0; x < 6; ++x) b.SetPixel(x, 1, static_cast<TColor>(0x203040 * x));
    return b;
}

}  // namespace

TEST(MonSet, WrittenSetsReadBackIdentical)
{
    const TBitmap picture = emblem();
    for (int set : {1, 2, 3}) {
        SCOPED_TRACE(set);
        const auto owned = groupOf(BuiltInSetWidgets(set, &picture));
        const CMyGroup& group = *owned;
        const MonSetPlace place{176, 117, 405, 236, 397, 194};
        const std::string bytes = SerializeMonitorSet(place, group);
        ParsedSet parsed = ParseMonitorSet(bytesOf(bytes));
        ASSERT_EQ(parsed.result, kSetOk) << parsed.detail;
        EXPECT_EQ(parsed.place.left, 176);
        EXPECT_EQ(parsed.place.outerHeight, 236);
        EXPECT_EQ(parsed.place.designWidth, 397);
        EXPECT_EQ(parsed.place.designHeight, 194);
        ASSERT_EQ(parsed.widgets.size(), static_cast<std::size_t>(group.Count()));
        for (int i = 0; i < group.Count(); ++i) {
            const CMyComponent& a = *group.Item(i);
            const CMyComponent& b = *parsed.widgets[static_cast<std::size_t>(i)];
            MonItemRecord ra{}, rb{};
            CopyToRecord(a, ra);
            CopyToRecord(b, rb);
            EXPECT_EQ(ra, rb) << "widget " << i;
            EXPECT_EQ(a.s, b.s) << "widget " << i;
        }
        const auto again = groupOf(std::move(parsed.widgets));
        EXPECT_EQ(SerializeMonitorSet(place, *again), bytes);
    }
}

TEST(MonSet, EmptySetIs24Bytes)
{
    CMyGroup empty;
    EXPECT_EQ(SerializeMonitorSet({}, empty).size(), 24u);
}

TEST(MonSet, HandMadeFileReadsFieldByField)
{
    // A label with units, a value, an indicator of an unknown variable, a text with Czech letters (Windows-1250
    // bytes) and a record of a kind no one knows, which is skipped.
    std::string file = header(5);
    file += record(kKindLabel, 1, 1110);
    file += record(kKindValue, 0, 1110);
    file += record(kKindIndicator, kStyleDial, 4242);
    file += record(kKindText, 0, 0);
    file += record(3, 0, 1110);
    file += textBlock(0,
                      "N\xE1"
                      "pov\xEC"
                      "da");  // Nápověda
    ParsedSet parsed = ParseMonitorSet(bytesOf(file));
    ASSERT_EQ(parsed.result, kSetOk) << parsed.detail;
    EXPECT_EQ(parsed.place.left, -5);
    EXPECT_EQ(parsed.place.outerWidth, 320);
    EXPECT_EQ(parsed.place.designWidth, 300);
    EXPECT_EQ(parsed.place.designHeight, 200);
    ASSERT_EQ(parsed.widgets.size(), 4u);
    const auto& label = static_cast<const CMyLabel&>(*parsed.widgets[0]);
    EXPECT_EQ(label.units, 1);
    EXPECT_EQ(label.ColorMk, clRed);
    EXPECT_STREQ(label.s->name, "TW");
    EXPECT_EQ(parsed.widgets[1]->kind, kKindValue);
    const auto& indicator = static_cast<const CMyIndicator&>(*parsed.widgets[2]);
    EXPECT_EQ(indicator.Style, kStyleDial);
    EXPECT_EQ(indicator.s, GetDef(0)) << "an unknown variable shows the not-found row";
    EXPECT_EQ(static_cast<const CMyText&>(*parsed.widgets[3]).Str(), "Nápověda");
    EXPECT_EQ(parsed.widgets[3]->Left, 10);
    EXPECT_EQ(parsed.widgets[3]->Width, 80);
}

TEST(MonSet, HostileFilesAreRefused)
{
    const std::string good = header(2) + record(kKindText, 0, 0) + record(kKindPicture, 0, 0) + textBlock(0, "ok") +
                             [] {
                                 std::string p;
                                 putWord(p, 0);
                                 return p;
                             }() +
                             std::string("BM");
    struct Case
    {
        const char* name;
        std::string bytes;
        int result;
    };
    std::string hugeText = header(1) + record(kKindText, 0, 0);
    putWord(hugeText, 0);
    putWord(hugeText, 0x7FFFFFFF);
    std::string negativeText = header(1) + record(kKindText, 0, 0);
    putWord(negativeText, 0);
    putWord(negativeText, -1);
    std::string wideRecord = header(1) + record(kKindLabel, 0, 1010);
    wideRecord[24 + 7 * 4 + 3] = 0x40;  // Width 0x40000050
    const Case cases[] = {
        {"empty", "", kSetBadFormat},
        {"short_header", header(0).substr(0, 20), kSetBadFormat},
        {"wrong_magic", header(0, 0x1002), kSetBadFormat},
        {"negative_count", header(-1), kSetBadFormat},
        {"count_beyond_the_file", header(1000000) + record(kKindLabel, 0, 1010), kSetBadFormat},
        {"record_cut_off", header(1) + record(kKindLabel, 0, 1010).substr(0, 100), kSetBadFormat},
        {"impossible_width", wideRecord, kSetBadFormat},
        {"text_block_missing", header(1) + record(kKindText, 0, 0), kSetBadText},
        {"text_index_mismatch", header(1) + record(kKindText, 0, 0) + textBlock(1, "x"), kSetBadText},
        {"text_length_huge", hugeText, kSetBadText},
        {"text_length_negative", negativeText, kSetBadText},
        {"text_without_terminator", header(1) + record(kKindText, 0, 0) + textBlock(0, "abc").substr(0, 11),
         kSetBadText},
        {"picture_missing", header(1) + record(kKindPicture, 0, 0), kSetBadPicture},
        {"picture_index_mismatch", header(1) + record(kKindPicture, 3, 0) + std::string(4, '\0'), kSetBadPicture},
        {"picture_not_bmp", good, kSetBadPicture},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ParsedSet parsed = ParseMonitorSet(bytesOf(c.bytes));
        EXPECT_EQ(parsed.result, c.result);
        EXPECT_FALSE(parsed.detail.empty());
        EXPECT_TRUE(parsed.widgets.empty()) << "nothing half-built is handed out";
    }
}

TEST(MonSet, WriterKeepsAtMost256TextsAndCountsWhatItWrote)
{
    CMyGroup group;
    for (int i = 0; i < 260; ++i) {
        auto text = std::make_unique<CMyText>();
        text->SetStr("t" + std::to_string(i));
        group.Insert(std::move(text));
    }
    group.Insert(std::make_unique<CMyImage>());  // a picture widget without a picture has nothing to store
    group.Insert(std::make_unique<CMyValue>());
    const ParsedSet parsed = ParseMonitorSet(bytesOf(SerializeMonitorSet({}, group)));
    ASSERT_EQ(parsed.result, kSetOk) << parsed.detail;
    ASSERT_EQ(parsed.widgets.size(), 257u);
    EXPECT_EQ(static_cast<const CMyText&>(*parsed.widgets[255]).Str(), "t255");
    EXPECT_EQ(parsed.widgets[256]->kind, kKindValue);
}

TEST(MonSet, ExportSourceText)
{
    SetLanguageIndex(LNG_ENGLISH);
    CMyGroup group;
    auto text = std::make_unique<CMyText>();
    text->SetStr("say \"hi\"");
    text->Left = 1;
    group.Insert(std::move(text));
    group.Insert(std::make_unique<CMyImage>());
    auto indicator = std::make_unique<CMyIndicator>();
    indicator->Style = kStyleDial;
    indicator->id = 1010;
    group.Insert(std::move(indicator));
    const std::string source = ExportSetSource({176, 117, 405, 236, 397, 194}, group);
    const std::string head =
        "//External Monitor Set******\r\n\t//Variables\r\n\tCMyText *t;\r\n\tCMyLabel *l;\r\n\tCMyValue *v;\r\n"
        "\tCMyIndicator *in;\r\n\tCMyComponent *p;\r\n\t//Position\r\n\tParent->Left=176;\r\n\tParent->Top=117;\r\n"
        "\tParent->Width=405;\r\n\tParent->Height=236;\r\n\tPlace->origWidth=397;\r\n\tPlace->origHeight=194;\r\n"
        "\t\r\n\t//Clear Place\r\n\tPlace->FreeAll();\r\n\t\r\n";
    EXPECT_EQ(source.substr(0, head.size()), head);
    const std::string item0 =
        "\t//Item 0 (1)\r\n\t\t//Text - create...\r\n\tt=new CMyText();\r\n\tt->SetStr(\"say \\\"hi\\\"\");\r\n"
        "\tp=t;\r\n\t\t//Common values...\r\n\tp->Left=1;\r\n";
    EXPECT_EQ(source.substr(head.size(), item0.size()), item0);
    EXPECT_NE(source.find("\t//Item 1 (0)\r\n\t\t//Picture skipped :(\r\n\t//Item 2 (8)\r\n"), std::string::npos);
    EXPECT_NE(source.find("\tin->Style=2;\r\n\tin->ColorMk=(TColor)255;\r\n\tp=in;\r\n"), std::string::npos);
    const std::string tail =
        "\tp->id=1010;\r\n\tp->kind=8;\r\n\t\t//Insert...\r\n\tp->s=(CLngStr*)GetDef(p->id);\r\n\tPlace->Insert(p);\r\n"
        "\t\r\n";
    ASSERT_GE(source.size(), tail.size());
    EXPECT_EQ(source.substr(source.size() - tail.size()), tail);
}
