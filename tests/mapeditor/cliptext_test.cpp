#include "mapeditor/cliptext.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "mapeditor/numtext.h"
#include "memclipboard.h"
#include "testsheet.h"

namespace {

const ClipTextOptions kEnglish{};
const ClipTextOptions kCzech{.language = 2};

// A sheet of the given shape with RPM heads around and above 1000 (scale 100), negative and zero Y heads (scale
// 0.1) and values that are negative, zero, large and the 32-bit extremes (scale 0.05).
CSheet filledSheet(int columns, int rows)
{
    CSheet s = MakeSheet({.columns = columns,
                          .rows = rows,
                          .xScale = 100,
                          .yScale = 0.1,
                          .dataScale = 0.05,
                          .dataMin = std::numeric_limits<std::int32_t>::min(),
                          .dataMax = std::numeric_limits<std::int32_t>::max()});
    s.x.maxCount = kMaxColumns;
    s.y.maxCount = kMaxRows;
    for (int c = 0; c < columns; ++c) s.x.points[c] = 3 + 5 * c;  // 300 .. 24 800
    for (int r = 0; r < rows; ++r) s.y.points[r] = -150 + 37 * r;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            s.value(c, r) = (c * 7919 + r * 104729) % 2000003 * ((c + r) % 3 == 0 ? -1 : 1);
    s.value(0, 0) = 0;
    if (columns > 1) s.value(1, 0) = std::numeric_limits<std::int32_t>::max();
    if (rows > 1) s.value(0, 1) = std::numeric_limits<std::int32_t>::min();
    s.value(columns - 1, rows - 1) = -1;  // -0.05
    return s;
}

// The same axes with other contents, as the sheet on the other side of a paste.
CSheet emptyLike(int columns, int rows)
{
    CSheet s = filledSheet(columns, rows);
    std::fill(s.data.points.begin(), s.data.points.end(), 12345);
    std::fill(s.x.points.begin(), s.x.points.end(), 1);
    std::fill(s.y.points.begin(), s.y.points.end(), 1);
    return s;
}

void expectSameTable(const CSheet& a, const CSheet& b, bool checkGrid = false)
{
    ASSERT_EQ(a.x.count, b.x.count);
    ASSERT_EQ(a.y.count, b.y.count);
    for (int c = 0; c < a.x.count; ++c) EXPECT_EQ(a.x.points[c], b.x.points[c]) << "X head " << c;
    for (int r = 0; r < a.y.count; ++r) EXPECT_EQ(a.y.points[r], b.y.points[r]) << "Y head " << r;
    for (int r = 0; r < valueRows(a, checkGrid); ++r)
        for (int c = 0; c < valueColumns(a, checkGrid); ++c)
            ASSERT_EQ(a.value(c, r), b.value(c, r)) << "cell " << c << "," << r;
}

struct Grid
{
    std::vector<std::vector<std::optional<double>>> rows;
};

// Fields of a pasted text as numbers, by row and column.
Grid readFields(std::string_view text, FieldMode mode = FieldMode::Text)
{
    Grid g;
    const int base = mode == FieldMode::Sheet ? 1 : 0;
    forEachField(text, mode, [&](int row, int column, std::string_view, std::optional<double> v) {
        const auto r = static_cast<std::size_t>(row + base), c = static_cast<std::size_t>(column + base);
        if (g.rows.size() <= r) g.rows.resize(r + 1);
        if (g.rows[r].size() <= c) g.rows[r].resize(c + 1);
        g.rows[r][c] = v;
    });
    return g;
}

}  // namespace

// ---- Writers ------------------------------------------------------------------------------------------------

TEST(SheetText, LayoutOfASmallSheet)
{
    CSheet s = MakeSheet({.columns = 2, .rows = 1, .xScale = 100, .dataScale = 0.5});
    s.title = "Coolant.\tcorr.";  // a tab in a title must not break the line
    s.x.points[0] = 10;
    s.x.points[1] = 120;
    s.y.points[0] = 5;
    s.value(0, 0) = -3;
    s.value(1, 0) = 0;
    EXPECT_EQ(sheetText(s, kEnglish),
              "Label:\tCoolant. corr.\nLabelX:\tRPM\nLabelY:\tTP\nLabelData:\tADV\nSizeX:\t2\nSizeY:\t1\n"
              "OnlyXY:\t\n\t1 000\t12 000\n5\t-1.5\t0");
    // Czech: decimal commas in the numbers only; the title keeps its points.
    EXPECT_EQ(sheetText(s, kCzech),
              "Label:\tCoolant. corr.\nLabelX:\tRPM\nLabelY:\tTP\nLabelData:\tADV\nSizeX:\t2\nSizeY:\t1\n"
              "OnlyXY:\t\n\t1 000\t12 000\n5\t-1,5\t0");
    s.x.collapsed = 1;
    EXPECT_NE(sheetText(s, kEnglish).find("OnlyXY:\tX\n"), std::string::npos);
    s.y.collapsed = 1;
    EXPECT_NE(sheetText(s, kEnglish).find("OnlyXY:\tY\n"), std::string::npos);  // Y wins
}

TEST(PlainTableText, CollapsedFormsShowOnlyWhatTheSheetShows)
{
    CSheet s = MakeSheet({.columns = 3, .rows = 2});
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c) s.value(c, r) = 10 * r + c;
    EXPECT_EQ(plainTableText(s, kEnglish), "\t10\t20\t30\n5\t0\t1\t2\n10\t10\t11\t12");
    s.x.collapsed = 1;
    s.x.collapsePos = kCollapseLast;
    EXPECT_EQ(plainTableText(s, kEnglish), "5\t2\n10\t12");
    const std::string whole = sheetText(s, kEnglish);  // the sheet text stays whole
    EXPECT_NE(whole.find("\t10\t20\t30\n5\t0\t1\t2\n10\t10\t11\t12"), std::string::npos);
    s.x.collapsed = 0;
    s.y.collapsed = 1;
    s.y.collapsePos = kCollapseFirst;
    EXPECT_EQ(plainTableText(s, kEnglish), "10\t20\t30\n0\t1\t2");
}

TEST(SelectionText, CellsWithGapsAndHeads)
{
    HitTable t;
    t.columns = 5;
    t.rows = 4;
    CSheet s = MakeSheet({.columns = 5, .rows = 4, .dataScale = 0.1});
    for (int c = 0; c < 5; ++c) s.value(c, 1) = 15 * (c + 1);
    for (int c : {1, 3, 4}) s.sel.cellMark(c, 1) = kMarkPicked;
    s.sel.dragKind = kHitCell;
    s.sel.Commit(t);
    EXPECT_EQ(selectionText(s, kEnglish), "3\t\t6\t7.5");
    EXPECT_EQ(selectionText(s, kCzech), "3\t\t6\t7,5");

    s.sel.SelectOne(t, 0, -1);
    s.sel.xMark(2) = kMarkCommitted;
    EXPECT_EQ(selectionText(s, kEnglish), "10\t\t30");
    s.sel.SelectOne(t, -1, 1);
    s.sel.SelectTo(t, -1, 2);
    EXPECT_EQ(selectionText(s, kEnglish), "10\n15");
    s.sel.Reset();
    EXPECT_EQ(selectionText(s, kEnglish), "");
}

TEST(SheetText, StringViewHeadsInTheCurrentLanguage)
{
    CSheet s = MakeSheet({.columns = 2, .rows = 2});
    s.x.labelTexts[0] = "###Coolant##Kühl.##Voda,###Inlet Air##Ansaugluft##Vzduch";
    s.x.SplitStringView();
    s.x.points[0] = 0;
    s.x.points[1] = 1;
    s.value(0, 0) = 15;
    s.data.scale = 0.1;
    ClipTextOptions german{.language = 1, .pickText = [](std::string_view t) {
                               // Stand-in for the language picker: the second form.
                               const auto a = t.find("##", 3), b = t.find("##", a + 2);
                               return std::string(t.substr(a + 2, b - a - 2));
                           }};
    EXPECT_EQ(plainTableText(s, german), "\tKühl.\tAnsaugluft\n5\t1.5\t0\n10\t0\t0");
    german.language = 2;  // commas in numbers, not in the label part
    EXPECT_EQ(plainTableText(s, german), "\tKühl.\tAnsaugluft\n5\t1,5\t0\n10\t0\t0");
    // A label part is written at most 63 characters long.
    s.x.labelTexts[0] = std::string(100, 'x') + ",b";
    s.x.SplitStringView();
    EXPECT_EQ(plainTableText(s, kEnglish).substr(0, 66), "\t" + std::string(63, 'x') + "\tb");
}

// ---- Round trips --------------------------------------------------------------------------------------------

TEST(ClipRoundTrip, SheetTextRestoresTheSheet)
{
    struct Shape
    {
        int columns, rows;
    };
    for (const Shape shape : {Shape{1, 1}, Shape{2, 1}, Shape{16, 16}, Shape{50, 30}}) {
        for (const ClipTextOptions* options : {&kEnglish, &kCzech}) {
            SCOPED_TRACE(testing::Message() << shape.columns << "x" << shape.rows << " language " << options->language);
            const CSheet source = filledSheet(shape.columns, shape.rows);
            const std::string text = sheetText(source, *options);
            CSheet same = emptyLike(shape.columns, shape.rows);
            const SheetPasteResult r = pasteSheetText(same, text, *options);
            ASSERT_EQ(r.status, SheetPaste::Pasted);
            EXPECT_EQ(r.changed, 7);
            expectSameTable(source, same);
            // Into a smaller resizable sheet: the sizes come with the text.
            CSheet smaller = emptyLike(1, 1);
            ASSERT_EQ(pasteSheetText(smaller, text, *options).status, SheetPaste::Pasted);
            expectSameTable(source, smaller);
        }
    }
    // The largest sheet is far beyond the old 9000-byte clipboard buffers and still whole.
    EXPECT_GT(sheetText(filledSheet(50, 30), kCzech).size(), 9000u);
}

TEST(ClipRoundTrip, PlainTextReadsBackTheSameNumbers)
{
    struct Shape
    {
        int columns, rows;
    };
    for (const Shape shape : {Shape{1, 1}, Shape{2, 1}, Shape{16, 16}, Shape{50, 30}}) {
        for (const ClipTextOptions* options : {&kEnglish, &kCzech}) {
            SCOPED_TRACE(testing::Message() << shape.columns << "x" << shape.rows << " language " << options->language);
            const CSheet s = filledSheet(shape.columns, shape.rows);
            const Grid g = readFields(plainTableText(s, *options));
            ASSERT_EQ(g.rows.size(), static_cast<std::size_t>(shape.rows + 1));
            ASSERT_EQ(g.rows[0].size(), static_cast<std::size_t>(shape.columns + 1));
            EXPECT_FALSE(g.rows[0][0].has_value());
            for (int c = 0; c < shape.columns; ++c)
                EXPECT_EQ(roundToRaw(g.rows[0][c + 1].value_or(-1e300), s.x.scale), s.x.points[c]) << c;
            for (int r = 0; r < shape.rows; ++r) {
                ASSERT_EQ(g.rows[r + 1].size(), static_cast<std::size_t>(shape.columns + 1));
                EXPECT_EQ(roundToRaw(g.rows[r + 1][0].value_or(-1e300), s.y.scale), s.y.points[r]) << r;
                for (int c = 0; c < shape.columns; ++c)
                    ASSERT_EQ(roundToRaw(g.rows[r + 1][c + 1].value_or(-1e300), s.data.scale), s.value(c, r))
                        << c << "," << r;
            }
        }
    }
}

TEST(ClipRoundTrip, ThroughTheClipboardInterface)
{
    MemClipboard clip;
    const int format = clip.RegisterFormat(kSheetFormatName);
    const CSheet source = filledSheet(16, 16);
    ASSERT_TRUE(clip.PutClipboardTexts(plainTableText(source, kEnglish), format, sheetText(source, kEnglish)));
    EXPECT_EQ(clip.ClipboardFormats(format), kClipPlainText | kClipSheetText);
    std::string plain, sheet;
    ASSERT_EQ(clip.GetClipboardTexts(plain, format, sheet), kClipPlainText | kClipSheetText);
    CSheet target = emptyLike(16, 16);
    ASSERT_EQ(pasteSheetText(target, sheet, kEnglish).status, SheetPaste::Pasted);
    expectSameTable(source, target);

    clip.canOpen = false;
    EXPECT_EQ(clip.ClipboardFormats(format), 0);
    EXPECT_EQ(clip.GetClipboardTexts(plain, format, sheet), 0);
}

TEST(ClipRoundTrip, CheckGridHasOneMoreValueEachWay)
{
    CSheet s = MakeSheet({.columns = 3, .rows = 2, .dataMin = 0, .dataMax = 2});
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) s.value(c, r) = (c + r) % 3;
    const ClipTextOptions grid{.checkGrid = true};
    const std::string text = sheetText(s, grid);
    EXPECT_NE(text.find("\n\t10\t20\t30\n5\t0\t1\t2\t0\n10\t1\t2\t0\t1\n\t2\t0\t1\t2"), std::string::npos);
    CSheet target = MakeSheet({.columns = 3, .rows = 2, .dataMin = 0, .dataMax = 2});
    ASSERT_EQ(pasteSheetText(target, text, grid).status, SheetPaste::Pasted);
    expectSameTable(s, target, true);

    // A check grid at the full 50 columns: its values stop at the grid's edge, and a pasted size leaves room
    // for the extra value.
    CSheet wide = MakeSheet({.columns = 50, .rows = 2});
    EXPECT_EQ(valueColumns(wide, true), 50);
    const Grid g =
        readFields(sheetText(wide, grid).substr(readSheetHeader(sheetText(wide, grid)).tableStart), FieldMode::Sheet);
    EXPECT_EQ(g.rows[1].size(), 51u);  // head + 50 values
    CSheet target2 = MakeSheet({.columns = 2, .rows = 2});
    target2.x.maxCount = 50;
    ASSERT_EQ(pasteSheetText(target2, sheetText(wide, grid), grid).status, SheetPaste::Pasted);
    EXPECT_EQ(target2.x.count, 49);
}

// ---- Text paste ---------------------------------------------------------------------------------------------

TEST(PasteText, Table)
{
    struct Case
    {
        const char* name;
        const char* text;
        double scale;
        int focusColumn, focusRow;
        std::vector<std::vector<int>> expected;  // rows of cells from (0, 0); 7 = unchanged
        int changed;
    };
    const Case cases[] = {
        {"grouped thousands", "1 000\t2 000", 1, 0, 0, {{1000, 2000, 7}}, 4},
        {"single spaces separate columns", "1 2 3", 1, 0, 0, {{1, 2, 3}}, 4},
        {"value above 5 x max read as thousandths", "12000", 1, 0, 0, {{12, 7, 7}}, 4},
        {"brace form", "{1, 2},{3, 4}", 1, 0, 0, {{1, 2, 7}, {3, 4, 7}}, 4},
        {"decimal comma", "1,5\t-1,5", 0.1, 0, 0, {{15, -15, 7}}, 4},
        {"grouping and comma", "12 345,5\t-0,5", 0.1, 1, 0, {{7, 123455, -5}}, 4},
        {"exponent and joined digits are no numbers", "1e5\tx86_64\t4", 1, 0, 0, {{7, 7, 4}}, 4},
        {"unit after the number", "5 rpm\t9kg", 1, 0, 0, {{5, 7, 9}, {7, 7, 7}}, 4},
        {"blanks beside tabs start no column", "1\t 2 \t3", 1, 0, 0, {{1, 2, 3}}, 4},
        {"windows line ends", "1\t2\r\n3\t4\r\n", 1, 0, 0, {{1, 2, 7}, {3, 4, 7}}, 4},
        {"from the focus, cut at the counts", "1\t2\t3\n4\t5\t6\n7\t8\t9", 1, 1, 1, {{7, 7, 7}, {7, 1, 2}}, 4},
        {"empty fields keep the cells", "\t\t6", 1, 0, 0, {{7, 7, 6}}, 4},
        {"another program's text", "Hello, world!\nno numbers here", 1, 0, 0, {{7, 7, 7}}, 0},
        {"number of 65 characters",
         "12345678901234567890123456789012345678901234567890123456789012345\t3",
         1,
         0,
         0,
         {{7, 3, 7}},
         4},
        {"beyond 32 bits even in thousandths", "99999999999999\t3", 1, 0, 0, {{7, 3, 7}}, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSheet s = MakeSheet({.columns = 3, .rows = 2, .dataScale = c.scale, .dataMin = -1000000, .dataMax = 150000});
        if (std::string_view(c.name).starts_with("value above")) s.data.max = 150;
        std::fill(s.data.points.begin(), s.data.points.end(), 7);
        const TextPasteResult r = pasteText(s, c.text, c.focusColumn, c.focusRow, kEnglish);
        EXPECT_EQ(r.changed, c.changed);
        for (std::size_t row = 0; row < c.expected.size(); ++row)
            for (std::size_t col = 0; col < c.expected[row].size(); ++col) {
                SCOPED_TRACE(testing::Message() << "cell " << col << "," << row);
                EXPECT_EQ(s.value(static_cast<int>(col), static_cast<int>(row)), c.expected[row][col]);
            }
        // Nothing past the sheet's counts is ever written.
        for (int row = 0; row < kMaxRows; ++row)
            for (int col = 0; col < kMaxColumns; ++col)
                if (col >= 3 || row >= 2) {
                    ASSERT_EQ(s.value(col, row), 7) << col << "," << row;
                }
    }
}

TEST(PasteText, HeadsMarksAndRefusals)
{
    CSheet s = MakeSheet({.columns = 3, .rows = 3, .xScale = 100});
    TextPasteResult r = pasteText(s, "1 000\t2 000\t3 000\t4 000\n99", 1, -1, kEnglish);
    EXPECT_EQ(r.changed, 1);
    EXPECT_EQ(r.stored, 2);
    EXPECT_EQ(std::vector<int>(s.x.points.begin(), s.x.points.begin() + 4), (std::vector<int>{10, 10, 20, 40}));
    EXPECT_EQ(s.sel.MarkAt(1, -1), kMarkPicked);
    EXPECT_EQ(s.sel.dragKind, kHitXHead);

    r = pasteText(s, "7\t8\n9\n10\n11", -1, 0, kEnglish);
    EXPECT_EQ(r.changed, 2);
    EXPECT_EQ(std::vector<int>(s.y.points.begin(), s.y.points.begin() + 4), (std::vector<int>{7, 9, 10, 20}));

    s.data.editable = 0;
    EXPECT_EQ(pasteText(s, "5", 0, 0, kEnglish).changed, 0);
    s.x.editable = 0;
    EXPECT_EQ(pasteText(s, "5", 0, -1, kEnglish).changed, 0);
    EXPECT_EQ(pasteText(s, "5", -1, -1, kEnglish).changed, 0);
}

TEST(PasteText, CollapsedAxisTakesOnlyItsLine)
{
    HitTable t;
    t.columns = 4;
    t.rows = 3;
    CSheet s = MakeSheet({.columns = 4, .rows = 3});
    s.x.collapsed = 1;
    s.x.collapsePos = 2;
    s.sel.SelectOne(t, 0, 0);
    EXPECT_EQ(pasteText(s, "5\n6", 0, 0, kEnglish).changed, 0);  // the selection is not on column 2
    s.sel.SelectOne(t, 2, 0);
    EXPECT_EQ(pasteText(s, "5\t9\n6\t9", 2, 0, kEnglish).stored, 2);
    EXPECT_EQ(s.value(2, 0), 5);
    EXPECT_EQ(s.value(2, 1), 6);
    EXPECT_EQ(s.value(3, 0), 0);
}

TEST(PasteText, HugeAndHostileTextsStayInsideTheSheet)
{
    struct Case
    {
        const char* name;
        std::string text;
    };
    const Case cases[] = {
        {"1 MB of digits", std::string(1 << 20, '7')},
        {"1 MB of tabs and digits",
         [] {
             std::string t;
             while (t.size() < (1u << 20)) t += "123\t";
             return t;
         }()},
        {"1 MB of lines",
         [] {
             std::string t;
             while (t.size() < (1u << 20))
                 t += "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 26 27 28 29 30 31 32 33 34 35 "
                      "36 "
                      "37 38 39 40 41 42 43 44 45 46 47 48 49 50 51 52\n";
             return t;
         }()},
        {"1 MB of braces", std::string(1 << 20, '{') + "1,2}"},
        {"NUL bytes", std::string("1\0002\t3", 5)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSheet s = MakeSheet({.columns = 50, .rows = 30});
        s.x.maxCount = 50;
        const TextPasteResult r = pasteText(s, c.text, 0, 0, kEnglish);
        EXPECT_LE(r.stored, kGridCells);
        EXPECT_EQ(s.x.count, 50);
    }
}

TEST(CleanTextForEdit, KeepsOnlyNumberCharacters)
{
    EXPECT_EQ(cleanTextForEdit("  -1 234,5 rpm\t99"), "  -1 234.5 ");
    EXPECT_EQ(cleanTextForEdit("abc\n12"), "");
}

// ---- Sheet paste --------------------------------------------------------------------------------------------

TEST(PasteSheetText, AcceptanceRules)
{
    const std::string text = sheetText(filledSheet(16, 3), kEnglish);
    struct Case
    {
        const char* name;
        std::function<void(CSheet&)> setup;
        SheetPaste status;
        int columns;
    };
    const Case cases[] = {
        {"same names, sizes change", [](CSheet&) {}, SheetPaste::Pasted, 16},
        {"X not resizable: the dimensions message", [](CSheet& s) { s.x.resizable = 0; }, SheetPaste::DimensionsRefused,
         15},
        {"X not editable", [](CSheet& s) { s.x.editable = 0; }, SheetPaste::DimensionsRefused, 15},
        {"data name differs: sizes cannot change", [](CSheet& s) { s.data.name = "INJ"; },
         SheetPaste::DimensionsRefused, 15},
        {"no name matches: silently nothing", [](CSheet& s) { s.x.name = s.y.name = s.data.name = "?"; },
         SheetPaste::NoNameMatch, 15},
        {"maximum below the size: limited",
         [](CSheet& s) {
             s.x.maxCount = 10;
             s.x.count = 8;
         },
         SheetPaste::Pasted, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSheet s = emptyLike(15, 3);
        c.setup(s);
        const CSheet before = s;
        EXPECT_EQ(pasteSheetText(s, text, kEnglish).status, c.status);
        EXPECT_EQ(s.x.count, c.columns);
        if (c.status != SheetPaste::Pasted) {
            EXPECT_EQ(s.data.points, before.data.points);
            EXPECT_EQ(s.x.points, before.x.points);
        }
    }
}

TEST(PasteSheetText, OnlyMatchingPartsArePasted)
{
    const CSheet source = filledSheet(4, 3);
    CSheet s = emptyLike(4, 3);
    s.x.name = "TA";  // the heads differ in meaning; values and Y heads match
    const SheetPasteResult r = pasteSheetText(s, sheetText(source, kEnglish), kEnglish);
    ASSERT_EQ(r.status, SheetPaste::Pasted);
    EXPECT_EQ(r.changed, 2 | 4);
    EXPECT_EQ(s.x.points[0], 1);
    EXPECT_EQ(s.y.points[1], source.y.points[1]);
    EXPECT_EQ(s.value(3, 2), source.value(3, 2));
}

TEST(PasteSheetText, CollapseRequests)
{
    struct Case
    {
        const char* name;
        int option;
        int collapsedBefore;
        int collapsedAfter;
    };
    for (const Case c : {Case{"offered: honoured", 1, 0, 1}, Case{"never: dropped", 0, 0, 0},
                         Case{"fixed: honoured", 2, 0, 1}, Case{"never cleared", 1, 1, 1}}) {
        SCOPED_TRACE(c.name);
        CSheet source = filledSheet(4, 3);
        source.y.collapsed = 1;
        CSheet s = emptyLike(4, 3);
        s.y.collapseOption = c.option;
        s.y.collapsed = c.collapsedBefore;
        ASSERT_EQ(pasteSheetText(s, sheetText(source, kEnglish), kEnglish).status, SheetPaste::Pasted);
        EXPECT_EQ(s.y.collapsed, c.collapsedAfter);
        // A text without the request never clears a collapse.
        source.y.collapsed = 0;
        ASSERT_EQ(pasteSheetText(s, sheetText(source, kEnglish), kEnglish).status, SheetPaste::Pasted);
        EXPECT_EQ(s.y.collapsed, c.collapsedAfter);
    }
}

TEST(PasteSheetText, BadTextsChangeNothingAndStayInsideTheGrid)
{
    const std::string good = sheetText(filledSheet(6, 4), kEnglish);
    const std::size_t tableStart = readSheetHeader(good).tableStart;
    auto header = [](int x, int y) {
        return "Label:\tx\nLabelX:\tRPM\nLabelY:\tTP\nLabelData:\tADV\nSizeX:\t" + std::to_string(x) + "\nSizeY:\t" +
               std::to_string(y) + "\nOnlyXY:\t\n";
    };
    auto row = [](int fields) {
        std::string r;
        for (int i = 0; i < fields; ++i) r += (i ? "\t" : "") + std::to_string(i);
        return r;
    };
    struct Case
    {
        std::string name;
        std::string text;
        SheetPaste status;
        int columns;
    };
    const std::vector<Case> cases = {
        {"cut inside the header", good.substr(0, 30), SheetPaste::NotSheetText, 6},
        {"cut after the head row", good.substr(0, good.find('\n', tableStart)), SheetPaste::Incomplete, 6},
        {"cut inside the last row", good.substr(0, good.size() - 8), SheetPaste::Incomplete, 6},
        {"another program's text", "Hello\tworld\n1\t2\n", SheetPaste::NotSheetText, 6},
        {"a plain table", "\t1\t2\n3\t4\t5", SheetPaste::NotSheetText, 6},
        {"1 MB of digits", std::string(1 << 20, '5'), SheetPaste::NotSheetText, 6},
        {"sizes of zero", header(0, 4) + "\t" + row(6), SheetPaste::NotSheetText, 6},
        {"500 columns claimed, 4 given", header(500, 1) + "\t" + row(4) + "\n1\t" + row(4), SheetPaste::Incomplete, 6},
        {"500 columns claimed and given: the first 50", header(500, 1) + "\t" + row(500) + "\n1\t" + row(500),
         SheetPaste::Pasted, 50},
        {"more rows than claimed: the rest ignored", header(2, 1) + "\t1\t2\n1\t2\t3\n4\t5\t6\n7\t8\t9",
         SheetPaste::Pasted, 2},
        {"1 MB of digits in a field", header(2, 1) + "\t1\t2\n1\t" + std::string(1 << 20, '9') + "\t3",
         SheetPaste::Pasted, 2},
        {"long title line", "Label:\t" + std::string(300, 'T') + "\n" + good.substr(good.find("LabelX:")),
         SheetPaste::Pasted, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSheet s = emptyLike(6, 4);
        const CSheet before = s;
        EXPECT_EQ(pasteSheetText(s, c.text, kEnglish).status, c.status);
        EXPECT_EQ(s.x.count, c.columns);
        EXPECT_LE(s.y.count, kMaxRows);
        if (c.status != SheetPaste::Pasted) {
            EXPECT_EQ(s.data.points, before.data.points);
        }
    }
}

TEST(PasteSheetText, FieldThatIsNoNumberKeepsItsCell)
{
    CSheet s = emptyLike(2, 1);
    const std::string text =
        "Label:\t\nLabelX:\tRPM\nLabelY:\tTP\nLabelData:\tADV\nSizeX:\t2\nSizeY:\t1\nOnlyXY:\t\n"
        "\t1 000\tCoolant\n5\tabc\t12 345,5";
    ASSERT_EQ(pasteSheetText(s, text, kEnglish).status, SheetPaste::Pasted);
    EXPECT_EQ(s.x.points[0], 10);
    EXPECT_EQ(s.x.points[1], 1);  // a label part: kept
    EXPECT_EQ(s.y.points[0], 50);
    EXPECT_EQ(s.value(0, 0), 12345);
    EXPECT_EQ(s.value(1, 0), 246910);  // 12 345.5 / 0.05
}

TEST(ReadFieldNumber, Table)
{
    struct Case
    {
        const char* field;
        bool brace;
        std::optional<double> value;
    };
    const Case cases[] = {
        {"12", false, 12},
        {"-12.5", false, -12.5},
        {"-12,5", false, -12.5},
        {" 1 000 ", false, 1000},
        {"1 000 000", false, 1e6},
        {"12 345.6", false, 12345.6},
        {"1 00", false, std::nullopt},
        {"1 2", false, std::nullopt},
        {"1 000", true, std::nullopt},
        {"1,5", true, std::nullopt},
        {".5", false, 0.5},
        {"5.", false, 5},
        {"-", false, std::nullopt},
        {"", false, std::nullopt},
        {"1e5", false, std::nullopt},
        {"x86_64", false, std::nullopt},
        {"1.2.3", false, std::nullopt},
        {"1-2", false, std::nullopt},
        {"$12", false, 12},
        {"12 %", false, 12},
        {"--5", false, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        EXPECT_EQ(readFieldNumber(c.field, c.brace), c.value);
    }
}
