#pragma once
// A person's edit in a map editor's table: the cell (or head: column or row -1) is selected with the keys, the
// old text cleared with Backspace, the new one typed and Enter pressed.
#include <string_view>

#include "mapeditor/tab.h"
#include "pages/mapside.h"

inline void TypeIntoCell(TTab& tab, int column, int row, std::string_view text)
{
    tab.Redraw();
    tab.MoveFocus(10000 + column, 10000 + row, false);
    tab.KeyInput(0, VK_BACK);
    for (char ch : text) tab.KeyInput(0, ch);
    tab.KeyInput(VK_RETURN, 0);
}

// The main timer's part for the editors: the live values (none) and each editor's tick.
inline void TickEditors(TPageForm& w, int ticks = 1)
{
    for (int i = 0; i < ticks; ++i) FeedLiveValuesToMapEditors(w, false);
}
