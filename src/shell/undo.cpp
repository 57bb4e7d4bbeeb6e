// The user-visible side of the undo ring: snapshots also save the program settings, a noted change may ask
// for programming, and the comparison with the unit shows in status slot 4.
#include "shell/appsettings.h"
#include "shell/mainform.h"
#include "shell/player.h"

void TMainForm::ResetUndo()
{
    undoRing.Reset(images.image, currentPage);
    TakeSnapshot();
    UpdateUndoButtons();
    images.changeMarks.fill(0);
}

void TMainForm::TakeSnapshot()
{
    undoRing.Store(images.image, currentPage);
    SaveAppSettings(*this);
}

bool TMainForm::NoteImageChange()
{
    lastNoteChanged = undoRing.MarkChanges(images.image, images.changeMarks);
    if (!lastNoteChanged)
        return false;
    LogImageRecord(*this, 0);
    CompareUnitAndPc();
    undoRing.Advance();
    TakeSnapshot();
    UpdateUndoButtons();
    return true;
}

void TMainForm::NoteImageChangeAndProgram()
{
    NoteImageChange();
    if (CheckBoxProgHned->Checked() && lastNoteChanged) {
        programAll = 0;
        requestCode = 98;
    }
}

void TMainForm::RestoreSnapshot(int pageSource)
{
    lastNoteChanged = undoRing.Restore(images.image, images.changeMarks);
    ShowImageOnPages(*this, 0);
    const int slotPage = undoRing.SlotPage(undoRing.Current());
    if (slotPage != currentPage) {
        const int page = undoRing.SlotPage(pageSource >= 0 ? pageSource : undoRing.Current());
        PageControl1->SetActivePageIndex(page);
        PageControl1Change(PageControl1);
    }
    ShowImageOnPages(*this, 0);
    UpdateUndoButtons();
    if (CheckBoxProgHned->Checked() && lastNoteChanged) {
        programAll = 0;
        requestCode = 98;
    }
    CompareUnitAndPc();
}

void TMainForm::UpdateUndoButtons()
{
    SpeedButtonZpet->SetEnabled(undoRing.CanUndo());
    MenuZpet->SetEnabled(undoRing.CanUndo());
    SpeedButtonZnovu->SetEnabled(undoRing.CanRedo());
    MenuZnovu->SetEnabled(undoRing.CanRedo());
}

void TMainForm::CompareUnitAndPc()
{
    const CompareOutcome outcome = CompareImageCopies(images);
    UpdateCaption(*this);
    if (!outcome.deviceValid) {
        SetStatusSlot(*this, 4, "", -1, kColorUnchanged, kColorUnchanged, 10);
        return;
    }
    if (outcome.differences == 0)
        SetStatusSlot(*this, 4,
                      "###Unit and PC settings are identical##Einrichten des Einheit und der PC ist die gleichen"
                      "##Nastavení v jednotce a PC je shodné",
                      6000, kColorUnchanged, 0x00FF00, 10);
    else
        SetStatusSlot(*this, 4,
                      "###Unit and PC settings are different##Einrichten der Einheit und der PC sind anders"
                      "##Nastavení v jednotce a PC se liší",
                      -1, kColorUnchanged, 0x00FFFF, 10);
}

void TMainForm::SpeedButtonZpetClick(TObject*)
{
    if (!undoRing.CanUndo())
        return;
    const int left = undoRing.Current();
    undoRing.StepBack();
    RestoreSnapshot(left);
    CheckBoxProgHned->SetFocus();
}

void TMainForm::SpeedButtonZnovuClick(TObject*)
{
    if (!undoRing.StepForward())
        return;
    RestoreSnapshot(-1);
    CheckBoxProgHned->SetFocus();
}
