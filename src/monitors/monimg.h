#pragma once
// The picture that fills the external monitor window: it holds the layout group with the user's widgets and, along
// the bottom edge, the button bar (stay on top, Edit, status text); it turns pointer, wheel and key messages into
// the widgets' operations, shows the cursor and a position box while the layout is edited, and offers the editing
// commands on a context menu.
#include <filesystem>
#include <memory>
#include <string>

#include "monitors/monset.h"
#include "monitors/widgets.h"
#include "vcl/customcontrol.h"
#include "vcl/dialogs.h"

class TFormEM;
class TPopupMenu;

inline constexpr int kModeReadOnly = 0;
inline constexpr int kModeEdit = 1;
inline constexpr int kModeLoading = 2;
inline constexpr int kModeResizing = 3;  // while the window goes back to the set's design size

inline constexpr int kBarHeight = 16;

class TMonImg final : public TCustomControl
{
public:
    explicit TMonImg(QWidget* parent);
    ~TMonImg() override;
    [[nodiscard]] const char* ClassName() const override { return "TMonImg"; }

    TFormEM* form = nullptr;  // the window that owns the picture
    int mouseX = 0, mouseY = 0;
    int pointerInside = 0;
    int leftDown = 0;
    int insertX = 0, insertY = 0;  // where the last right press was: new widgets go there
    int skipNextPress = 0;         // a double click swallows the press that follows it
    int shiftDown = 0, ctrlDown = 0;
    CMyPin* pin = nullptr;
    CMyButt* editButton = nullptr;
    CMyButt* statusButton = nullptr;
    std::unique_ptr<CMyGroup> bar;
    std::unique_ptr<CMyGroup> place;  // the layout group: the user's widgets
    int mode = kModeReadOnly;
    TPopupMenu* contextMenu = nullptr;
    TOpenDialog openDialog;
    TSaveDialog saveDialog;
    int lastReadResult = -1;
    TBitmap emblem;

    void UpdateModifiers();
    // After every resize of the picture: places both groups, takes the design size (edit) or the scale
    // (read-only), and paints everything.
    void Layout();
    void RepaintAll();
    void ShowStatus();
    void BuildContextMenu();
    // The 100 ms repaint of what changed; true when anything was painted.
    bool PaintDirty();
    // The canvas the widgets paint on (a picture as large as the window may grow).
    [[nodiscard]] TBitmap& Picture() { return m_picture; }
    // Grows the picture to at least this size.
    void ReservePicture(int width, int height);

    // Pointer and key input, as the window system hands it over.
    void MouseDown(bool left, int x, int y);
    void MouseUp(bool left, int x, int y);
    void MouseMove(int x, int y);
    void DoubleClick();
    void WheelTurned(int delta);
    void KeyPressed(int virtualKey);

    // Context-menu commands.
    void InsertText();
    void AddImage();
    void AddWatch();
    void DeleteSelected();
    void SendBackwards();
    void EditProperties();
    void LoadSetDialog();
    void StoreSet();
    void ExportSource();

    // Monitor-set files: kSetOk or the failure (kSetOpenFailed ... kSetBadPicture).
    [[nodiscard]] int WriteSet(const std::filesystem::path& file);
    [[nodiscard]] int ReadSet(const std::filesystem::path& file);
    // The built-in set 1, 2, 3 or the empty set 1000; false for other numbers, which change nothing.
    bool LoadBuiltInSet(int set);

    void DefaultHandler(TMessage& message) override;
    void Paint() override;

private:
    [[nodiscard]] MonSetPlace CurrentPlace() const;
    void MoveInside(CMyComponent& widget);
    TBitmap m_picture;
};
