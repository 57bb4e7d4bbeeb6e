#pragma once
// The live display of the main window and the road every live frame takes once it is in the live-data block.
#include <cstdint>
#include <span>

class TMainForm;

// True while the block is current: a port is in use or the live player plays or is paused in playing.
[[nodiscard]] bool HasLiveData(const TMainForm& w);
// A frame is in the block, stored from the unit or played from a recording: it goes to the connection line,
// the recording, the CSV log and the live display, in that order. Both sources take this one road, so every
// consumer sees played frames exactly as frames from the unit.
void LiveFrameStored(TMainForm& w);
// A frame played from a recording (block bytes 0..299) enters the block and takes that road.
void ReplayLiveFrame(TMainForm& w, std::span<const std::uint8_t> blockBytes);
// The live display pass: the live values and derived values, then every live label and gauge of the window. It
// runs after every frame, once at start-up, after a language change, after every store of a page, and once when
// live data stops; without live data it clears the block, so that every reader sees zeros, and the labels show
// "---". No CSV line is written and no pickup transfer armed here: this pass also runs when no new frame came.
void ShowLiveData(TMainForm& w);
