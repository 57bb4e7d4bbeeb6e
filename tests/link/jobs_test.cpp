// The job engine's block choice and the readers of identification answers, without threads or ports.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "link/comcom.h"

TEST(JobBlocks, ChoiceFollowsTheMarks)
{
    struct Case
    {
        const char* name;
        std::vector<int> marks;
        int position;
        int end;
        int n;
        bool framed;
        std::vector<JobBlock> blocks;
    };
    const Case cases[] = {
        {"gap_of_51_travels_along", {10, 62}, 0, 5100, 300, true, {{10, 53}}},
        {"gap_of_52_splits", {10, 63}, 0, 5100, 300, true, {{10, 1}, {63, 1}}},
        {"scan_finds_a_far_mark", {4000}, 200, 5100, 300, true, {{4000, 1}}},
        {"no_marks_no_block", {}, 0, 5100, 300, true, {}},
        {"block_ends_at_n", {0, 20, 40, 60}, 0, 5100, 48, true, {{0, 41}, {60, 1}}},
        {"marks_past_the_end_ignored", {5100}, 0, 5100, 300, true, {}},
        {"fixed_blocks_are_aligned", {10, 299, 650}, 0, 5100, 300, false, {{0, 300}, {600, 300}}},
        {"fixed_from_inside_a_block", {10, 650}, 301, 5100, 300, false, {{600, 300}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::array<std::uint8_t, COMMAXBUF> marks{};
        for (int m : c.marks) marks[static_cast<std::size_t>(m)] = 1;
        std::vector<JobBlock> got;
        int position = c.position;
        while (const auto block = chooseNextBlock(marks, position, c.end, c.n, c.framed)) {
            got.push_back(*block);
            position = block->start + block->length;
            ASSERT_LT(got.size(), 100u);
        }
        ASSERT_EQ(got.size(), c.blocks.size());
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].start, c.blocks[i].start) << i;
            EXPECT_EQ(got[i].length, c.blocks[i].length) << i;
        }
    }
}

TEST(Identification, FixedFrameAnswers)
{
    struct Case
    {
        const char* name;
        int protocol;
        std::vector<std::uint8_t> head;  // first frame bytes; the rest is zero
        int key;
        int frameSize;
        const char* text;
    };
    const Case cases[] = {
        {"ign300_key_309", IGN300, {0xB0, 0x00, 0x01, 0x35}, 309, 302, "IGN-309 v309"},
        {"ign300_unknown_key", IGN300, {0xB0, 0x00, 0x00, 0xFA}, 250, 302, "Quorvane 250"},
        {"ign50_one_byte_key", IGN50, {0xB0}, 0x35, 52, "QV-053 v53"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FrameBuffer f{};
        std::copy(c.head.begin(), c.head.end(), f.begin());
        if (c.protocol == IGN50) f[50] = 0x35;
        int key = 0, size = 0;
        std::string text;
        ASSERT_TRUE(IdentifyIgnAnswer(c.protocol, f, key, size, text));
        EXPECT_EQ(key, c.key);
        EXPECT_EQ(size, c.frameSize);
        EXPECT_EQ(text, c.text);
    }
    FrameBuffer other{};
    other[0] = 0xC0;
    int key = 0, size = 0;
    std::string text;
    EXPECT_FALSE(IdentifyIgnAnswer(IGN300, other, key, size, text));
}

TEST(Identification, FramedAnswersAreBoundedAndChecked)
{
    struct Case
    {
        const char* name;
        std::vector<std::uint8_t> data;
        int frameSize;
        int key;
        std::string text;
    };
    auto bytes = [](std::string s) { return std::vector<std::uint8_t>(s.begin(), s.end()); };
    auto withTail = [](std::vector<std::uint8_t> d, std::vector<int> words) {
        for (int w : words) {
            d.push_back(static_cast<std::uint8_t>(w & 0xFF));
            d.push_back(static_cast<std::uint8_t>(w >> 8));
        }
        return d;
    };
    const std::vector<std::uint8_t> named = bytes(std::string("QV unit") + '\0');
    const Case cases[] = {
        {"full_answer", withTail(named, {316, 0x1a2b, 309}), 316, 309, "QV unit v309 (hw:1a2b)"},
        {"name_only_gives_48", named, 48, -1, "QV unit v-1 (hw:ffffffff)"},
        // A long name without its terminator ends at the data; the text is cut to 31 characters.
        {"name_without_nul", bytes(std::string(60, 'N')), 48, -1, std::string(31, 'N')},
        {"frame_size_too_small_is_refused", withTail(named, {16, 1, 309}), 16, -1, "QV unit v309 (hw:1)"},
        {"frame_size_too_large_is_refused", withTail(named, {2000, 1, 309}), 2000, -1, "QV unit v309 (hw:1)"},
        {"largest_frame_size", withTail(named, {528, 1, 309}), 528, 309, "QV unit v309 (hw:1)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LinkSlot slot;
        IdentifyWcomAnswer(c.data, slot);
        EXPECT_EQ(slot.frameSize, c.frameSize);
        EXPECT_EQ(slot.deviceKey, c.key);
        EXPECT_EQ(slot.identText, c.text);
        EXPECT_EQ(slot.frameOverhead, 16);
    }
}
