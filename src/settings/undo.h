#pragma once
// The copies of the settings image that the main window keeps, the change marks, the undo ring and the
// comparison of the settings image with the reference and unit images. Plain data; the main window adds the
// user-visible side (buttons, status line, program settings).
#include <array>
#include <cstdint>
#include <memory>

#include "settings/image.h"

using ChangeMarks = std::array<std::uint8_t, RS_LEN_EXE>;

// Positions whose differences never count: test values sent with live requests, a spare byte and the unit's
// own modification key.
inline constexpr std::array<int, 4> kCompareSkip = {4876, 4877, 2502, 4920};

struct ImageSet {
    ImageSet() { reference.fill(0xFF); }
    Image image{};          // the settings image the pages edit
    Image device{};         // as last read from, verified against or programmed into the unit
    bool deviceValid = false;
    Image reference;        // as last opened from or saved to a settings file; all 0xFF at start
    ChangeMarks changeMarks{};  // 1: changed since the last transfer to or from the unit
    int unchanged = 0;      // the image equals the reference image (compare-skip positions aside)
    int identical = 0;      // set once the image was found equal to the device image
};

[[nodiscard]] bool IsCompareSkip(int position);

struct CompareOutcome {
    bool unchanged = false;    // image equals reference image
    bool deviceValid = false;  // there was a device image to compare with
    int differences = 0;       // positions where image and device image differ
};

// Compares the image with the reference and device images, sets `unchanged` and, when they agree, `identical`.
CompareOutcome CompareImageCopies(ImageSet& images);

inline constexpr int kUndoSlots = 200;

// Ring of image snapshots: up to 199 steps back. Walking forward from oldest reaches current, then newest.
class UndoRing final {
public:
    UndoRing();
    // Empties the ring around the image: every index 0, slot 0 holds the image and page.
    void Reset(const Image& image, int page);
    // Writes the image and page into the current slot.
    void Store(const Image& image, int page);
    // Sets the change mark of every byte that differs from the current slot; true when any did.
    bool MarkChanges(const Image& image, ChangeMarks& marks) const;
    // Moves current one slot on, cuts the redo history and drops the oldest state when the ring is full.
    void Advance();
    [[nodiscard]] bool CanUndo() const { return m_current != m_oldest; }
    [[nodiscard]] bool CanRedo() const { return m_current != m_newest; }
    bool StepBack();     // false when nothing is left to undo
    bool StepForward();  // false when nothing is left to redo
    // Copies the current slot into the image, marking every byte that changes; true when any did.
    bool Restore(Image& image, ChangeMarks& marks) const;
    [[nodiscard]] int SlotPage(int slot) const;
    [[nodiscard]] int Current() const { return m_current; }
    [[nodiscard]] int Newest() const { return m_newest; }
    [[nodiscard]] int Oldest() const { return m_oldest; }

private:
    struct Slot {
        Image image{};
        std::uint8_t page = 0;
    };
    std::unique_ptr<std::array<Slot, kUndoSlots>> m_slots;  // allocated once, about 1 MB
    int m_current = 0;
    int m_newest = 0;
    int m_oldest = 0;
};
