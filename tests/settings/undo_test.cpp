#include "settings/undo.h"

#include <gtest/gtest.h>

namespace {

// Applies one noted change the way the main window does: mark, advance, store.
bool noteChange(UndoRing& ring, ImageSet& images, int page)
{
    if (!ring.MarkChanges(images.image, images.changeMarks))
        return false;
    ring.Advance();
    ring.Store(images.image, page);
    return true;
}

}  // namespace

TEST(UndoRing, UnchangedImageTakesNoSlot)
{
    UndoRing ring;
    ImageSet images;
    ring.Reset(images.image, 0);
    EXPECT_FALSE(noteChange(ring, images, 0));
    EXPECT_EQ(ring.Current(), 0);
    EXPECT_FALSE(ring.CanUndo());
    EXPECT_EQ(std::count(images.changeMarks.begin(), images.changeMarks.end(), 1), 0);
}

TEST(UndoRing, TwoHundredChangesKeep199StepsBack)
{
    UndoRing ring;
    ImageSet images;
    ring.Reset(images.image, 0);
    for (int n = 1; n <= 200; ++n) {
        setImageWord(images.image, 10, static_cast<std::uint16_t>(n));
        ASSERT_TRUE(noteChange(ring, images, n % 22));
    }
    int steps = 0;
    while (ring.StepBack())
        ++steps;
    EXPECT_EQ(steps, 199);
    ring.Restore(images.image, images.changeMarks);
    EXPECT_EQ(imageWord(images.image, 10), 1);  // the state after the first change; the start state is gone
    EXPECT_FALSE(ring.StepBack());
    // And all the way forward again.
    int forward = 0;
    while (ring.StepForward())
        ++forward;
    EXPECT_EQ(forward, 199);
    ring.Restore(images.image, images.changeMarks);
    EXPECT_EQ(imageWord(images.image, 10), 200);
}

TEST(UndoRing, NewChangeAfterUndoCutsRedo)
{
    UndoRing ring;
    ImageSet images;
    ring.Reset(images.image, 0);
    for (int n = 1; n <= 3; ++n) {
        images.image[3000] = static_cast<std::uint8_t>(n);
        noteChange(ring, images, 2);
    }
    ring.StepBack();
    ring.StepBack();
    ring.Restore(images.image, images.changeMarks);
    EXPECT_EQ(images.image[3000], 1);
    EXPECT_TRUE(ring.CanRedo());
    images.image[3001] = 9;
    noteChange(ring, images, 5);
    EXPECT_FALSE(ring.CanRedo());
    EXPECT_EQ(ring.SlotPage(ring.Current()), 5);
}

TEST(UndoRing, RestoreMarksOnlyBytesThatChange)
{
    UndoRing ring;
    ImageSet images;
    ring.Reset(images.image, 0);
    images.image[100] = 7;
    noteChange(ring, images, 0);
    images.changeMarks.fill(0);
    ring.StepBack();
    EXPECT_TRUE(ring.Restore(images.image, images.changeMarks));
    EXPECT_EQ(images.image[100], 0);
    EXPECT_EQ(std::count(images.changeMarks.begin(), images.changeMarks.end(), 1), 1);
    EXPECT_EQ(images.changeMarks[100], 1);
    images.changeMarks.fill(0);
    EXPECT_FALSE(ring.Restore(images.image, images.changeMarks));  // restoring again changes nothing
}

TEST(CompareImageCopies, SkipPositionsAndDeviceValidity)
{
    struct Case {
        const char* name;
        int differAt;  // -1: identical
        bool deviceValid;
        int differences;
    };
    const Case cases[] = {
        {"identical", -1, true, 0},         {"rskey_modify_only", 4920, true, 0},
        {"test_rpm_only", 4876, true, 0},   {"test_servo_only", 4877, true, 0},
        {"spare_byte_only", 2502, true, 0}, {"real_difference", 2501, true, 1},
        {"no_device_image", 2501, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ImageSet images;
        images.deviceValid = c.deviceValid;
        if (c.differAt >= 0)
            images.image[c.differAt] = 0x55;
        images.reference = images.image;
        const CompareOutcome outcome = CompareImageCopies(images);
        EXPECT_TRUE(outcome.unchanged);
        EXPECT_EQ(outcome.deviceValid, c.deviceValid);
        EXPECT_EQ(outcome.differences, c.differences);
        EXPECT_EQ(images.identical, c.deviceValid && c.differences == 0 ? 1 : 0);
    }
}

TEST(CompareImageCopies, FreshReferenceMeansChanged)
{
    ImageSet images;  // reference all 0xFF: nothing opened or saved yet
    EXPECT_FALSE(CompareImageCopies(images).unchanged);
    EXPECT_EQ(images.unchanged, 0);
}
