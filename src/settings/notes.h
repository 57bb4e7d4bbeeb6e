#pragma once
// The notes of a settings image (bytes 2509..2659) and the escaped text in which settings files carry them.
#include <string>
#include <string_view>
#include <vector>

#include "settings/image.h"

// A notes line as UTF-16 code units, the form the notes area and the escaping work in.
using NotesLine = std::u16string;

// Escaped 8-bit text: a unit above 0xFF becomes "\x" and four upper-case hex digits, a backslash two
// backslashes, every other unit its one byte.
[[nodiscard]] std::string EscapeWide(std::u16string_view text);

// The reverse, as used for notes lines: two backslashes give one, a backslash and any other character start a
// six-character escape. Unlike the form used for paths, no text is taken literally. Stops at a unit 0.
[[nodiscard]] std::u16string UnescapeWide(std::string_view escaped);

// The lines of the notes area as the bike page shows them: 8-bit entries (Windows-1250) and entries that start
// with byte 1 (UTF-16LE up to a 16-bit zero), in order, up to the last non-zero byte of the area.
[[nodiscard]] std::vector<NotesLine> notesLinesOfImage(const Image& image);

// Stores one line at `position` (from kNotesFirst on) and returns the position after it. An empty line stores
// nothing. A line is kept as 8-bit text only when every character has a Windows-1250 byte and it does not start
// with byte 1; otherwise it becomes a UTF-16 entry, if more than 5 bytes are left. Never writes at or past
// byte 2659.
int storeNotesLine(Image& image, int position, std::u16string_view line);

// Clears the notes area and stores the lines in order, as far as they fit.
void storeNotesLines(Image& image, const std::vector<NotesLine>& lines);

// UTF-8 forms for the pages; a lone surrogate becomes U+FFFD.
[[nodiscard]] NotesLine notesLineFromUtf8(std::string_view utf8);
[[nodiscard]] std::string notesLineToUtf8(std::u16string_view line);
