#pragma once
// Pictures of the main window's speed buttons: the desktop icon theme's icon of the freedesktop name where the
// theme has one (TSpeedButton::SetIcon), our own 20 x 20 drawing otherwise.
#include <QImage>

enum class ToolPicture { New, Open, Save, Print, Undo, Redo, Record, Play, Pause, Stop };

// The freedesktop icon name of a picture ("document-new", ...).
[[nodiscard]] const char* ToolIconName(ToolPicture picture);
// The picture as the program draws it, the same on every desktop.
[[nodiscard]] QImage DrawToolPicture(ToolPicture picture);
