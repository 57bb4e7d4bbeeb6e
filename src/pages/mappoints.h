#pragma once
// Map elements bound one by one to image fields: a cell, an X point or a Y point of a sheet, each with its own
// byte or word and factor. The small sensor maps keep their points and values in scattered fields (a voltage word
// beside each pressure word, a middle point in a byte of its own), which a row-major table cannot describe.
//
// A store writes an element only when the sheet shows something other than what its field shows: a field whose
// value the sheet cannot show exactly (a millivolt word of 1234 shown as 1.23 V) keeps its bytes until the person
// changes that element.
#include <cstdint>
#include <span>

#include "pages/pageform.h"

enum class PointPart { Cell, XPoint, YPoint };
enum class PointField {
    Byte,        // unsigned byte at a byte address
    Word,        // unsigned 16-bit word at a word index
    SignedWord,  // a word read as -32768..32767
};

struct PointBinding
{
    int editorId;
    PointPart part;
    int column, row;  // the cell; an X point is `column`, a Y point `row`
    PointField field;
    int address;     // byte address or word index
    int factor = 1;  // field = shown x factor; shown = field / factor, toward zero
};

// The value the element shows for the image's field.
[[nodiscard]] int ShownPointValue(const Image& image, const PointBinding& binding);
// Writes the low 8 or 16 bits of shown x factor into the field.
void StorePointValue(Image& image, const PointBinding& binding, std::int64_t shown);
// The element in its sheet (sheet 0 of the editor), or null when the editor or the sheet is not there.
[[nodiscard]] std::int32_t* PointSlot(TPageForm& w, const PointBinding& binding);

// Every element from the image; true when one changed.
bool ShowPoints(TPageForm& w, std::span<const PointBinding> bindings);
// Every element whose shown value differs from its field's into the image.
void StorePoints(TPageForm& w, std::span<const PointBinding> bindings);

// A sheet's enable switch bound to an "off" byte (1 off, 0 on); a byte that already says the same stays.
void ShowSheetSwitch(TPageForm& w, int editorId, int offByte);
void StoreSheetSwitch(TPageForm& w, int editorId, int offByte);
