#include "mapeditor/cliptext.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <vector>

#include "mapeditor/numtext.h"

namespace {

constexpr std::size_t kNumberCharsMax = 64;
constexpr std::size_t kStringViewCharsMax = 63;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view trim(std::string_view s)
{
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Header values and label parts must not break the layout of fields and rows.
std::string oneField(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return out;
}

// At most n characters of UTF-8 text, never splitting a character.
std::string_view firstChars(std::string_view s, std::size_t n)
{
    std::size_t i = 0, chars = 0;
    while (i < s.size() && chars < n) {
        ++i;
        while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) ++i;
        ++chars;
    }
    return s.substr(0, i);
}

std::string numberField(std::int32_t raw, double scale, const ClipTextOptions& options)
{
    std::string s = NumberText(raw, scale);
    if (options.language == 2) std::replace(s.begin(), s.end(), '.', ',');
    return s;
}

// A head: its label part on an axis with label texts, else its number.
std::string headField(const CAxe& axis, int index, const ClipTextOptions& options)
{
    if (index < 0 || index >= axis.usedCount()) return {};
    if (axis.hasStringView())
        if (const auto part = axis.StringViewText(index, 0)) {
            const std::string picked = options.pickText ? options.pickText(*part) : std::string(*part);
            return oneField(firstChars(picked, kStringViewCharsMax));
        }
    return numberField(axis.points[index], axis.scale, options);
}

void appendRow(std::string& out, const std::vector<std::string>& fields)
{
    if (!out.empty()) out.push_back('\n');
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) out.push_back('\t');
        out += fields[i];
    }
}

int collapsedAt(const CAxe& axis)
{
    return axis.collapsed ? axis.resolveCollapsedIndex() : -1;
}

bool marked(std::uint16_t mark)
{
    return (mark & (kMarkCommitted | kMarkPicked)) != 0;
}

}  // namespace

int valueColumns(const CSheet& sheet, bool checkGrid)
{
    return std::clamp(sheet.x.usedCount() + (checkGrid ? 1 : 0), 0, kMaxColumns);
}

int valueRows(const CSheet& sheet, bool checkGrid)
{
    return std::clamp(sheet.y.usedCount() + (checkGrid ? 1 : 0), 0, kMaxRows);
}

// ---- Reading fields -----------------------------------------------------------------------------------------

std::optional<double> readFieldNumber(std::string_view field, bool braceForm)
{
    field = trim(field);
    auto isPoint = [&](char c) { return c == '.' || (!braceForm && c == ','); };
    auto numberChar = [&](char c) { return isDigit(c) || c == '-' || isPoint(c); };
    std::size_t i = 0;
    while (i < field.size() && !numberChar(field[i])) ++i;  // a unit or sign of currency before the number
    std::string num;
    auto take = [&](char c) {
        num.push_back(c);
        return num.size() <= kNumberCharsMax;
    };
    if (i < field.size() && field[i] == '-' && !take(field[i++])) return std::nullopt;
    int digits = 0;
    bool point = false;
    while (i < field.size()) {
        const char c = field[i];
        if (isDigit(c)) {
            if (!take(c)) return std::nullopt;
            ++digits;
            ++i;
        } else if (isPoint(c) && !point) {
            point = true;
            if (!take('.')) return std::nullopt;
            ++i;
        } else if (c == ' ' && !braceForm && !point && digits > 0 && i + 3 < field.size() && isDigit(field[i + 1]) &&
                   isDigit(field[i + 2]) && isDigit(field[i + 3]) &&
                   (i + 4 == field.size() || !isDigit(field[i + 4]))) {
            ++i;  // thousands separator
        } else {
            break;
        }
    }
    if (digits == 0) return std::nullopt;
    for (; i < field.size(); ++i)
        if (numberChar(field[i])) return std::nullopt;  // digits or signs after the number: not one number
    double v = 0;
    const auto res = std::from_chars(num.data(), num.data() + num.size(), v);
    if (res.ec != std::errc() || res.ptr != num.data() + num.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

void forEachField(std::string_view text, FieldMode mode,
                  const std::function<void(int, int, std::string_view, std::optional<double>)>& fn)
{
    if (mode == FieldMode::Sheet) {
        int row = -1, column = -1;
        std::size_t fs = 0;
        for (std::size_t i = 0; i <= text.size(); ++i) {
            if (i < text.size() && text[i] != '\t' && text[i] != '\n') continue;
            const std::string_view field = text.substr(fs, i - fs);
            fn(row, column, field, readFieldNumber(field, false));
            fs = i + 1;
            if (i < text.size() && text[i] == '\n') {
                ++row;
                column = -1;
            } else {
                ++column;
            }
        }
        return;
    }

    const std::size_t brace = text.find('{');
    if (brace != std::string_view::npos) {
        int row = 0, column = 0;
        std::size_t fs = brace + 1;
        bool content = false;
        auto emit = [&](std::size_t end) {
            const std::string_view field = text.substr(fs, end - fs);
            fn(row, column, field, readFieldNumber(field, true));
        };
        for (std::size_t i = brace + 1; i < text.size(); ++i) {
            const char c = text[i];
            if (c == '{') {
                if (content) {
                    emit(i);
                    ++column;
                }
                fs = i + 1;
                content = false;
            } else if (c == ',') {
                if (content) {
                    emit(i);
                    ++column;
                }
                fs = i + 1;
                content = false;
            } else if (c == '}') {
                if (content) emit(i);
                ++row;
                column = 0;
                fs = i + 1;
                content = false;
            } else if (!isBlank(c)) {
                content = true;
            }
        }
        if (content) emit(text.size());
        return;
    }

    int row = 0, column = 0;
    std::size_t fs = 0;
    bool content = false, point = false;
    char last = 0;  // last character of the field other than a blank
    auto emit = [&](std::size_t end) {
        const std::string_view field = text.substr(fs, end - fs);
        fn(row, column, field, readFieldNumber(field, false));
        content = point = false;
        last = 0;
    };
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\t' || c == '\n') {
            emit(i);
            if (c == '\t') {
                ++column;
            } else {
                ++row;
                column = 0;
            }
            fs = ++i;
            continue;
        }
        if (c != ' ') {
            if (c != '\r') {
                content = true;
                last = c;
                point |= c == '.' || c == ',';
            }
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < text.size() && text[j] == ' ') ++j;
        const bool trailing = j == text.size() || text[j] == '\t' || text[j] == '\n' || text[j] == '\r';
        const bool grouping = j == i + 1 && isDigit(last) && !point && j + 3 <= text.size() && isDigit(text[j]) &&
                              isDigit(text[j + 1]) && isDigit(text[j + 2]) &&
                              (j + 3 == text.size() || !isDigit(text[j + 3]));
        // Blanks before a field or beside a separator, and a thousands separator, stay inside the field.
        if (content && !trailing && !grouping) {
            emit(i);
            ++column;
            fs = j;
        }
        i = j;
    }
    emit(text.size());
}

// ---- Writers ------------------------------------------------------------------------------------------------

namespace {

// The table shared by both texts: head row (with the leading tab) and one row per value row.
void appendTable(std::string& out, const CSheet& sheet, const ClipTextOptions& options, int firstColumn, int lastColumn,
                 int firstRow, int lastRow, bool headRow, bool headColumn)
{
    if (headRow) {
        std::vector<std::string> fields;
        if (headColumn) fields.emplace_back();
        for (int c = firstColumn; c <= lastColumn && c < sheet.x.usedCount(); ++c)
            fields.push_back(headField(sheet.x, c, options));
        appendRow(out, fields);
    }
    for (int r = firstRow; r <= lastRow; ++r) {
        std::vector<std::string> fields;
        if (headColumn) fields.push_back(headField(sheet.y, r, options));
        for (int c = firstColumn; c <= lastColumn; ++c)
            fields.push_back(numberField(sheet.value(c, r), sheet.data.scale, options));
        appendRow(out, fields);
    }
}

}  // namespace

std::string sheetText(const CSheet& sheet, const ClipTextOptions& options)
{
    if (!sheet.isAllocated()) return {};
    const char* only = sheet.y.collapsed ? "Y" : sheet.x.collapsed ? "X" : "";
    std::string out;
    out += "Label:\t" + oneField(sheet.title) + "\n";
    out += "LabelX:\t" + oneField(sheet.x.name) + "\n";
    out += "LabelY:\t" + oneField(sheet.y.name) + "\n";
    out += "LabelData:\t" + oneField(sheet.data.name) + "\n";
    out += "SizeX:\t" + std::to_string(sheet.x.usedCount()) + "\n";
    out += "SizeY:\t" + std::to_string(sheet.y.usedCount()) + "\n";
    out += std::string("OnlyXY:\t") + only;
    std::string table;
    appendTable(table, sheet, options, 0, valueColumns(sheet, options.checkGrid) - 1, 0,
                valueRows(sheet, options.checkGrid) - 1, true, true);
    return out + "\n" + table;
}

std::string plainTableText(const CSheet& sheet, const ClipTextOptions& options)
{
    if (!sheet.isAllocated()) return {};
    const int columns = valueColumns(sheet, options.checkGrid), rows = valueRows(sheet, options.checkGrid);
    const int cx = collapsedAt(sheet.x), cy = collapsedAt(sheet.y);
    std::string out;
    if (cx >= 0)
        appendTable(out, sheet, options, cx, cx, cy >= 0 ? cy : 0, cy >= 0 ? cy : rows - 1, false, true);
    else if (cy >= 0)
        appendTable(out, sheet, options, 0, columns - 1, cy, cy, true, false);
    else
        appendTable(out, sheet, options, 0, columns - 1, 0, rows - 1, true, true);
    return out;
}

std::string selectionText(const CSheet& sheet, const ClipTextOptions& options)
{
    if (!sheet.isAllocated()) return {};
    const TSel& sel = sheet.sel;
    std::string out;
    if (sel.selKind == kSelCells) {
        int c0 = kMaxColumns, c1 = -1, r0 = kMaxRows, r1 = -1;
        for (int r = 0; r < kMaxRows; ++r)
            for (int c = 0; c < kMaxColumns; ++c)
                if (marked(sel.cellMark(c, r))) {
                    c0 = std::min(c0, c), c1 = std::max(c1, c);
                    r0 = std::min(r0, r), r1 = std::max(r1, r);
                }
        const int cx = collapsedAt(sheet.x), cy = collapsedAt(sheet.y);
        for (int r = r0; r <= r1; ++r) {
            if (cy >= 0 && r != cy) continue;
            std::vector<std::string> fields;
            for (int c = c0; c <= c1; ++c) {
                if (cx >= 0 && c != cx) continue;
                fields.push_back(marked(sel.cellMark(c, r)) ? numberField(sheet.value(c, r), sheet.data.scale, options)
                                                            : std::string());
            }
            appendRow(out, fields);
        }
        return out;
    }
    if (sel.selKind == kSelXHeads || sel.selKind == kSelYHeads) {
        const bool columns = sel.selKind == kSelXHeads;
        const CAxe& axis = columns ? sheet.x : sheet.y;
        const int n = columns ? kMaxColumns : kMaxRows;
        int first = -1, last = -1;
        for (int i = 0; i < n; ++i)
            if (marked(columns ? sel.xMark(i) : sel.yMark(i))) {
                if (first < 0) first = i;
                last = i;
            }
        for (int i = first; first >= 0 && i <= last; ++i) {
            if (i > first) out.push_back(columns ? '\t' : '\n');
            if (marked(columns ? sel.xMark(i) : sel.yMark(i))) out += headField(axis, i, options);
        }
    }
    return out;
}

// ---- Paste --------------------------------------------------------------------------------------------------

std::string cleanTextForEdit(std::string_view text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n' || c == '\t') break;
        if (c == ',') c = '.';
        if (isDigit(c) || c == '-' || c == '.' || c == ' ') out.push_back(c);
    }
    return out;
}

TextPasteResult pasteText(CSheet& sheet, std::string_view text, int focusColumn, int focusRow,
                          const ClipTextOptions& options)
{
    TextPasteResult result;
    if (!sheet.isAllocated() || focusColumn < -1 || focusRow < -1 || (focusColumn == -1 && focusRow == -1))
        return result;
    TSel& sel = sheet.sel;
    const CAxe& dataAxis = sheet.data;

    if (focusRow == -1 || focusColumn == -1) {
        const bool xHeads = focusRow == -1;
        CAxe& axis = xHeads ? sheet.x : sheet.y;
        if (!axis.editable || axis.collapsed) return result;
        const int first = xHeads ? focusColumn : focusRow;
        sel.dragKind = xHeads ? kHitXHead : kHitYHead;
        forEachField(text, FieldMode::Text, [&](int row, int column, std::string_view, std::optional<double> v) {
            // X heads take the first line, Y heads the first field of every line.
            const int index = first + (xHeads ? column : row);
            if (!v || (xHeads ? row != 0 : column != 0) || index >= axis.usedCount() ||
                index >= (xHeads ? kMaxColumns : kMaxRows))
                return;
            const auto raw = roundToRaw(*v, axis.scale);
            if (!raw) return;
            axis.points[index] = *raw;
            (xHeads ? sel.xMark(index) : sel.yMark(index)) |= kMarkPicked;
            result.changed |= xHeads ? 1 : 2;
            ++result.stored;
        });
        return result;
    }

    if (!dataAxis.editable) return result;
    const int columns = valueColumns(sheet, options.checkGrid), rows = valueRows(sheet, options.checkGrid);
    const int cx = collapsedAt(sheet.x), cy = collapsedAt(sheet.y);
    // On a collapsed axis only its one line takes values, and only when the selection reaches it.
    if (cx >= 0 && (cx < sel.minColumn || cx > sel.maxColumn)) return result;
    if (cy >= 0 && (cy < sel.minRow || cy > sel.maxRow)) return result;
    sel.dragKind = kHitCell;
    forEachField(text, FieldMode::Text, [&](int row, int column, std::string_view, std::optional<double> v) {
        const int c = focusColumn + column, r = focusRow + row;
        if (!v || c >= columns || r >= rows || (cx >= 0 && c != cx) || (cy >= 0 && r != cy)) return;
        double value = *v;
        if (dataAxis.scale != 0 && value / dataAxis.scale > 5.0 * dataAxis.max) value *= 0.001;  // given in thousandths
        const auto raw = roundToRaw(value, dataAxis.scale);
        if (!raw) return;
        sheet.value(c, r) = *raw;
        sel.cellMark(c, r) |= kMarkPicked;
        result.changed |= 4;
        ++result.stored;
    });
    return result;
}

SheetTextHeader readSheetHeader(std::string_view text)
{
    SheetTextHeader h;
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] == '\t') {
            h.hasTable = true;
            h.tableStart = pos;
            break;
        }
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos) continue;
        const std::string_view key = line.substr(0, tab), value = line.substr(tab + 1);
        auto size = [](std::string_view v) {
            v = trim(v);
            int n = 0;
            const auto res = std::from_chars(v.data(), v.data() + v.size(), n);
            return (res.ec == std::errc() && res.ptr == v.data() + v.size()) ? n : 0;
        };
        if (key == "Label:") {
            h.title = value;
        } else if (key == "LabelX:") {
            h.xName = value;
            h.hasXName = true;
        } else if (key == "LabelY:") {
            h.yName = value;
            h.hasYName = true;
        } else if (key == "LabelData:") {
            h.dataName = value;
            h.hasDataName = true;
        } else if (key == "SizeX:") {
            h.sizeX = size(value);
        } else if (key == "SizeY:") {
            h.sizeY = size(value);
        } else if (key == "OnlyXY:") {
            h.onlyX = trim(value) == "X";
            h.onlyY = trim(value) == "Y";
        }
    }
    return h;
}

SheetPasteResult pasteSheetText(CSheet& sheet, std::string_view text, const ClipTextOptions& options)
{
    SheetPasteResult result;
    const SheetTextHeader h = readSheetHeader(text);
    if (!sheet.isAllocated() || !h.hasTable || h.sizeX <= 0 || h.sizeY <= 0) return result;
    const int match = (h.hasXName && h.xName == sheet.x.name ? 1 : 0) |
                      (h.hasYName && h.yName == sheet.y.name ? 2 : 0) |
                      (h.hasDataName && h.dataName == sheet.data.name ? 4 : 0);
    if (match == 0) {
        result.status = SheetPaste::NoNameMatch;
        return result;
    }
    CAxe& xa = sheet.x;
    CAxe& ya = sheet.y;
    CAxe& da = sheet.data;
    if ((h.sizeX != xa.count && !(xa.editable && xa.resizable && (match & 1) && (match & 4))) ||
        (h.sizeY != ya.count && !(ya.editable && ya.resizable && (match & 2) && (match & 4)))) {
        result.status = SheetPaste::DimensionsRefused;
        return result;
    }
    // A check grid holds one more value than points, so its axes stop one short of the grid.
    const int extra = options.checkGrid ? 1 : 0;
    auto limit = [&](int size, const CAxe& a, int cap) {
        return std::max(1, std::min({std::max(size, a.minCount), a.maxCount, cap - extra}));
    };
    const int nx = limit(h.sizeX, xa, kMaxColumns), ny = limit(h.sizeY, ya, kMaxRows);
    const int valueColumns = nx + extra, valueRows = ny + extra;

    // Read the whole table before changing anything, so that a short text changes nothing.
    std::array<std::optional<std::int32_t>, kMaxColumns> xHeads{};
    std::array<std::optional<std::int32_t>, kMaxRows> yHeads{};
    std::vector<std::optional<std::int32_t>> values(kGridCells);
    std::array<int, kMaxRows + 1> fieldsInRow{};  // row -1 first
    forEachField(text.substr(h.tableStart), FieldMode::Sheet,
                 [&](int row, int column, std::string_view, std::optional<double> v) {
                     if (row >= valueRows) return;
                     fieldsInRow[row + 1] = std::max(fieldsInRow[row + 1], column + 2);
                     if (!v) return;
                     if (row == -1 && column >= 0 && column < nx)
                         xHeads[column] = roundToRaw(*v, xa.scale);
                     else if (column == -1 && row >= 0 && row < ny)
                         yHeads[row] = roundToRaw(*v, ya.scale);
                     else if (row >= 0 && column >= 0 && column < valueColumns)
                         values[gridIndex(column, row)] = roundToRaw(*v, da.scale);
                 });
    bool complete = fieldsInRow[0] >= nx + 1;
    for (int r = 0; r < valueRows; ++r) complete &= fieldsInRow[r + 1] >= valueColumns + 1;
    if (!complete) {
        result.status = SheetPaste::Incomplete;
        return result;
    }

    if (nx != xa.count) result.changed |= 1;
    if (ny != ya.count) result.changed |= 2;
    xa.count = nx;
    ya.count = ny;
    if (h.onlyX && xa.collapseOption != 0 && !xa.collapsed) {
        xa.collapsed = 1;
        result.changed |= 1;
    }
    if (h.onlyY && ya.collapseOption != 0 && !ya.collapsed) {
        ya.collapsed = 1;
        result.changed |= 2;
    }
    if (xa.editable && (match & 1))
        for (int c = 0; c < nx; ++c)
            if (xHeads[c]) {
                xa.points[c] = *xHeads[c];
                result.changed |= 1;
            }
    if (ya.editable && (match & 2))
        for (int r = 0; r < ny; ++r)
            if (yHeads[r]) {
                ya.points[r] = *yHeads[r];
                result.changed |= 2;
            }
    if (da.editable && (match & 4))
        for (int r = 0; r < valueRows; ++r)
            for (int c = 0; c < valueColumns; ++c)
                if (const auto& v = values[gridIndex(c, r)]) {
                    sheet.value(c, r) = *v;
                    result.changed |= 4;
                }
    sheet.sel.Reset();
    result.status = SheetPaste::Pasted;
    return result;
}
