#include "settings/undo.h"

#include <algorithm>

bool IsCompareSkip(int position)
{
    return std::find(kCompareSkip.begin(), kCompareSkip.end(), position) != kCompareSkip.end();
}

CompareOutcome CompareImageCopies(ImageSet& images)
{
    CompareOutcome outcome;
    outcome.unchanged = true;
    for (int i = 0; i < RS_LEN_EXE; ++i)
        if (images.image[i] != images.reference[i] && !IsCompareSkip(i)) {
            outcome.unchanged = false;
            break;
        }
    images.unchanged = outcome.unchanged ? 1 : 0;
    outcome.deviceValid = images.deviceValid;
    if (!images.deviceValid)
        return outcome;
    for (int i = 0; i < RS_LEN_EXE; ++i)
        if (images.image[i] != images.device[i] && !IsCompareSkip(i))
            ++outcome.differences;
    if (outcome.differences == 0)
        images.identical = 1;
    return outcome;
}

UndoRing::UndoRing() : m_slots(std::make_unique<std::array<Slot, kUndoSlots>>()) {}

void UndoRing::Reset(const Image& image, int page)
{
    m_current = m_newest = m_oldest = 0;
    Store(image, page);
}

void UndoRing::Store(const Image& image, int page)
{
    Slot& slot = (*m_slots)[std::size_t(m_current)];
    slot.image = image;
    slot.page = static_cast<std::uint8_t>(page);
}

bool UndoRing::MarkChanges(const Image& image, ChangeMarks& marks) const
{
    const Image& slot = (*m_slots)[std::size_t(m_current)].image;
    bool changed = false;
    for (int i = 0; i < RS_LEN_EXE; ++i)
        if (image[i] != slot[i]) {
            marks[i] = 1;
            changed = true;
        }
    return changed;
}

void UndoRing::Advance()
{
    m_current = (m_current + 1) % kUndoSlots;
    m_newest = m_current;
    if (m_oldest == m_current)
        m_oldest = (m_oldest + 1) % kUndoSlots;
}

bool UndoRing::StepBack()
{
    if (!CanUndo())
        return false;
    m_current = m_current == 0 ? kUndoSlots - 1 : m_current - 1;
    return true;
}

bool UndoRing::StepForward()
{
    if (!CanRedo())
        return false;
    m_current = (m_current + 1) % kUndoSlots;
    return true;
}

bool UndoRing::Restore(Image& image, ChangeMarks& marks) const
{
    const Image& slot = (*m_slots)[std::size_t(m_current)].image;
    bool changed = false;
    for (int i = 0; i < RS_LEN_EXE; ++i)
        if (image[i] != slot[i]) {
            image[i] = slot[i];
            marks[i] = 1;
            changed = true;
        }
    return changed;
}

int UndoRing::SlotPage(int slot) const
{
    return slot >= 0 && slot < kUndoSlots ? (*m_slots)[std::size_t(slot)].page : -1;
}
