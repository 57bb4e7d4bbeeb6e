#pragma once
// Small drawing helpers the map editor's views share: bevelled boxes, corner marks, the hatch of the scroll-bar
// track, rings, tiled pictures and the checkerboard tint of selected cells. Colours are 0x00BBGGRR.
#include "vcl/graphics.h"

// A box covering x..x+w, y..y+h (edges included) in the face colour; released: top and left edges light, bottom
// and right edges shadow; pressed: the other way round.
void DrawBevel(TCanvas& c, int x, int y, int w, int h, bool pressed, TColor face, TColor shadow, TColor light);
// As DrawBevel, with the shadow edges doubled one pixel inside.
void DrawBevel2(TCanvas& c, int x, int y, int w, int h, bool pressed, TColor face, TColor shadow, TColor light);
// A solid rectangle x..x+w-1, y..y+h-1.
void FillBox(TCanvas& c, int x, int y, int w, int h, TColor colour);
// Solid right triangles of side min(w, h) in the corners named by the bits 1 top-left, 2 top-right, 4 bottom-left,
// 8 bottom-right of the box x..x+w-1, y..y+h-1.
void DrawCornerMarks(TCanvas& c, int x, int y, int w, int h, int corners, TColor colour);
// The shared 8 x 8 hatch: colour 1, with colour 2 where row + column is odd.
const TBitmap& MakeHatchBrush(TColor colour1, TColor colour2);
// The box x..x+w-1, y..y+h-1 filled with the hatch, no outline.
void FillHatched(TCanvas& c, int x, int y, int w, int h);
// A 3-pixel ring in the box with a shadow of half the colour's brightness below and right of it.
void DrawRing(TCanvas& c, int x, int y, int w, int h, TColor colour);
// The bitmap repeated over left..right-1, top..bottom-1, shifted left and up by the offsets with wrap-around.
void TileBitmap(TCanvas& c, const TBitmap& bitmap, int left, int top, int right, int bottom, int offsetX, int offsetY);
// Every second pixel of each row of the box (one later on odd rows of the box) set to the colour, straight into
// the bitmap's pixels; clipped to the bitmap.
void DotFill(TBitmap& bitmap, int x, int y, int w, int h, TColor colour);
// The colour with each of red, green and blue halved.
[[nodiscard]] TColor HalfBright(TColor colour);
// Every pixel of the old colour gets the new one; nothing without a bitmap.
void RecolorBitmap(TBitmap* bitmap, TColor oldColour, TColor newColour);
