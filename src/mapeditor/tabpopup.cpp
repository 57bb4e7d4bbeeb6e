// The popup menu of the map editor, built anew for every right click.
#include "mapeditor/tab.h"

void TTab::BuildPopupMenu()
{
    popup.Items().Clear();
}
