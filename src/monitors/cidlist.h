#pragma once
// The watch picker: the monitor-variable table as a tree of groups and variables with three check-box columns
// (Label, Value, Indicator), in which the user chooses the widgets the external monitor shows for each variable.
// CID is one node with its marks; TCIDList the owner-drawn tree list; TFormCIDList the modal window around it.
#include <array>
#include <memory>
#include <vector>

#include "vcl/controls.h"
#include "vcl/customcontrol.h"
#include "vcl/forms.h"
#include "vcl/timer.h"

// Mark columns: 0 the whole row (never drawn), then the three widget kinds.
inline constexpr int kColRow = 0;
inline constexpr int kColLabel = 1;
inline constexpr int kColValue = 2;
inline constexpr int kColIndicator = 3;
// Mark states; "partly" only as the computed state of a group.
inline constexpr int kMarkClear = 0;
inline constexpr int kMarkSet = 1;
inline constexpr int kMarkPartly = 2;

class CID final
{
public:
    explicit CID(int variableId = 0);

    int row = 0;  // place among the visible rows, set by Number
    int id = 0;
    const char* name = "";  // the variable's trilingual name
    std::array<int, 4> marks{};
    std::array<int, 4> initial{};
    std::vector<std::unique_ptr<CID>> children;
    int expanded = 1;
    int runMark = 0;  // the user toggled a mark of this node since the picker was shown

    CID* AddChild(std::unique_ptr<CID> child);
    void Toggle(int column);
    void Set(int column, int value);
    int Aggregate(int column);
    void ClearRunMarks();
    // Numbers the visible rows (all: every node) in pre-order from 0, starting with the children.
    void Number(bool all);
    [[nodiscard]] int CountRows(bool all) const;
    [[nodiscard]] CID* FindByRow(int number);
    // The node `delta` visible rows from `from` (none: the first or the last), kept within the rows.
    [[nodiscard]] CID* Move(CID* from, int delta);
    void RefreshNames();
    [[nodiscard]] CID* FindById(int variableId);

private:
    void NumberFrom(int& next, bool all);
};

class TCIDList final : public TCustomControl
{
public:
    explicit TCIDList(QWidget* parent);
    [[nodiscard]] const char* ClassName() const override { return "TCIDList"; }

    int repaint = 1;
    int pointerX = 0, pointerY = 0;
    int highlightRight = 0;
    int rowsHeight = 0;
    int firstRowOffset = 23;
    int topRow = 0;
    int rowHeight = 18;
    TScrollBar* scrollBar = nullptr;
    int headerHeight = 20;
    CID* current = nullptr;
    std::array<const char*, 4> titles{"Property", "Label", "Value", "Indicator"};
    std::array<int, 4> widths{200, 50, 50, 50};
    TBitmap checked, partly;
    CID root;

    void Redraw();
    void UpdateScrollBar();
    void Key(int virtualKey);
    [[nodiscard]] int VisibleRows() const { return rowHeight > 0 ? rowsHeight / rowHeight : 0; }
    // The off-screen picture the tree is drawn on.
    [[nodiscard]] const TBitmap& Picture() const { return m_bitmap; }

    void DefaultHandler(TMessage& message) override;
    void Paint() override;

private:
    void Click();
    // Calls visit(node, depth, y) for every visible row in drawing order; stops when it returns true.
    template <class Visit>
    bool Walk(CID& node, int depth, int& y, Visit&& visit);
    void DrawRow(const CID& node, int depth, int y, const std::vector<bool>& laterSiblings);
    TBitmap m_bitmap;
};

class TFormCIDList final : public TForm
{
public:
    TFormCIDList();
    void OnFormCreate(TObject* Sender);
    void OnResizeForm(TObject* Sender);
    void OnTimer(TObject* Sender);

    int minClientWidth = 200, minClientHeight = 160;
    int maxClientWidth = 640, maxClientHeight = 520;
    TCIDList* tree = nullptr;
    TButton* ButtonOK = nullptr;
    TButton* ButtonCancel = nullptr;
    TScrollBar* scrollBar = nullptr;
    TTimer* TimerCIDList = nullptr;

private:
    void CanResize(int& width, int& height, bool& resize);
    int m_shownWidth = 0, m_shownHeight = 0;  // the client size the window was last laid out at
};
