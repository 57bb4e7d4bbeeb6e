// The key table itself: every field inside the image, no field written by two keys unless meant, and the
// image bytes no key carries are exactly the known ones.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "settings/keytable.h"

namespace {

// Image bytes of one item, in the order written.
std::vector<int> bytesOf(const KeyItem& item)
{
    std::vector<int> out;
    int n = 0;
    switch (item.kind) {
    case ItemKind::Field:
    case ItemKind::Bits: n = 1; break;
    case ItemKind::Row:
    case ItemKind::Table:
    case ItemKind::Axis:
    case ItemKind::Grid:
    case ItemKind::CountedRow: n = item.count; break;
    default: return out;
    }
    for (int i = 0; i < n; ++i) {
        if (item.isWord()) {
            out.push_back(2 * (item.address + i));
            out.push_back(2 * (item.address + i) + 1);
        } else {
            out.push_back(item.address + i);
        }
    }
    // A count byte belongs to the axis or first row whose length it counts, not to the grids that use it.
    if (item.kind == ItemKind::Axis || (item.kind == ItemKind::CountedRow && (item.flags & kItemSetsCount) != 0))
        out.push_back(item.countByte);
    return out;
}

TEST(KeyTable, KeysAndFieldsInsideTheImage)
{
    std::map<std::string_view, const KeyRow*> seen;
    for (const KeyRow& row : keyRows()) {
        SCOPED_TRACE(std::string(row.key));
        EXPECT_LE(row.key.size(), 25u);
        const auto [it, inserted] = seen.emplace(row.key, &row);
        if (!inserted) {
            EXPECT_EQ(row.key, "DEC_SERVO_PERC") << "only this key is written twice";
            EXPECT_EQ(row.items, it->second->items);
        }
        EXPECT_EQ(findKeyRow(row.key) == nullptr, row.role == KeyRole::Header);
        for (const KeyItem& item : row.itemList()) {
            for (int b : bytesOf(item)) {
                EXPECT_GE(b, item.isWord() ? 0 : RS_FIRST_BYTE_PARAM);
                EXPECT_LT(b, item.isWord() ? RS_FIRST_BYTE_PARAM : RS_LEN_EXE);
            }
            if (item.kind == ItemKind::Table) {
                EXPECT_GT(item.perLine, 0);
            }
            EXPECT_NE(item.scale, 0);
        }
    }
}

TEST(KeyTable, WrittenFieldsCoverTheImageOnce)
{
    std::map<int, std::vector<std::string_view>> writers;
    for (const KeyRow& row : keyRows()) {
        if (row.role != KeyRole::Written)
            continue;
        for (const KeyItem& item : row.itemList())
            if (itemPresent(item.cond, RS_KEY_309))
                for (int b : bytesOf(item))
                    writers[b].push_back(row.key);
    }
    for (int a = kNotesFirst; a <= kNotesLimit; ++a)
        writers[a].push_back("MEMO");
    // Written by two keys on purpose: the start limiter on the bike line and on its own page, and the
    // deceleration servo percent, which the format carries twice.
    const std::set<int> twice = {4628, 4629, 4523};
    std::set<int> uncarried;
    for (int b = 0; b < RS_LEN_EXE; ++b) {
        const auto it = writers.find(b);
        if (it == writers.end()) {
            uncarried.insert(b);
            continue;
        }
        SCOPED_TRACE("byte " + std::to_string(b));
        EXPECT_EQ(it->second.size(), twice.count(b) ? 2u : 1u);
    }
    // No key carries these: the free words and bytes, the model defaults that new settings set (2503-2507),
    // the eighth input, the modified mark, the old deceleration byte, the pickup type, and the sixth entries of
    // the power outputs and quick-shift tables, of which the file holds five.
    std::set<int> expected = {2502, 2508, 3843, 4524, 4920, 4928, 4934, 4950, 4951, 4952, 4968, 4969, 4970,
                              4900, 4906, 4912, 4918, 4997};
    for (int b = 2503; b <= 2507; ++b)
        expected.insert(b);
    for (int w = 1150; w <= 1151; ++w)
        expected.insert({2 * w, 2 * w + 1});
    for (int w = 1154; w <= 1249; ++w)
        expected.insert({2 * w, 2 * w + 1});
    for (int b = 5030; b < RS_LEN_EXE; ++b)
        expected.insert(b);
    std::string extra, missing;
    for (int b : uncarried)
        if (!expected.count(b))
            extra += std::to_string(b) + " ";
    for (int b : expected)
        if (!uncarried.count(b))
            missing += std::to_string(b) + " ";
    EXPECT_EQ(extra, "") << "bytes no key carries";
    EXPECT_EQ(missing, "") << "bytes a key carries after all";
}

TEST(KeyTable, KeyFieldWidth)
{
    struct Case {
        int length, width;
    };
    for (const Case c : {Case{0, 15}, Case{4, 15}, Case{13, 15}, Case{14, 21}, Case{19, 21}, Case{20, 27},
                         Case{25, 27}}) {
        SCOPED_TRACE(c.length);
        EXPECT_EQ(keyFieldWidth(c.length), c.width);
        EXPECT_GE(keyFieldWidth(c.length) - c.length, 2);
    }
}

}  // namespace
