#include "monitors/monset.h"

#include <cstdio>

#include "monitors/indicator.h"
#include "os/cp1250.h"
#include "vcl/bmp.h"

namespace {

// Word positions of an item record.
enum RecordWord {
    rKind = 0,
    rSpecific = 1,  // text and picture: block index; label: units; indicator: Style
    rColorMk = 2,
    rLeft = 5,
    rTop,
    rWidth,
    rHeight,
    rFocusable,
    rColor,
    rLtFrame,
    rDkFrame,
    rDown,
    rTextColor,
    rAlignV,
    rAlignH,
    rRszable,
    rNprable,
    rOw,
    rOh,
    rMinW,
    rMinH,
    rMaxW,
    rMaxH,
    rId,
    rKindAgain,
};
static_assert(rKindAgain == kMonRecordWords - 1);

// Sizes a sound set never comes near; beyond them a record is damaged (and would overflow the pixel sums).
constexpr std::int32_t kMaxCoordinate = 30000;
// Small pixels packed in a file take far more room once read: the sum of all pictures' pixels is bounded too.
constexpr std::int64_t kMaxSetPixels = 2 * kBmpMaxPixels;

void putWord(std::string& out, std::int32_t v)
{
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
}

class Reader
{
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}
    [[nodiscard]] std::size_t left() const { return m_bytes.size() - m_at; }
    [[nodiscard]] bool word(std::int32_t& v)
    {
        if (left() < 4) return false;
        const auto* b = m_bytes.data() + m_at;
        v = static_cast<std::int32_t>(b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24));
        m_at += 4;
        return true;
    }
    [[nodiscard]] std::span<const std::uint8_t> rest() const { return m_bytes.subspan(m_at); }
    void skip(std::size_t n) { m_at += n; }

private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_at = 0;
};

bool coordinateOk(std::int32_t v, bool canBeNegative)
{
    return v <= kMaxCoordinate && v >= (canBeNegative ? -kMaxCoordinate : 0);
}

ParsedSet failed(int result, std::string detail)
{
    ParsedSet out;
    out.result = result;
    out.detail = std::move(detail);
    return out;
}

std::unique_ptr<CMyComponent> widgetOfKind(int kind)
{
    switch (kind) {
        case kKindPicture:
            return std::make_unique<CMyImage>();
        case kKindText:
            return std::make_unique<CMyText>();
        case kKindLabel:
            return std::make_unique<CMyLabel>();
        case kKindValue:
            return std::make_unique<CMyValue>();
        case kKindIndicator:
            return std::make_unique<CMyIndicator>();
        default:
            return nullptr;
    }
}

std::string escaped(std::string_view text)
{
    std::string out;
    for (char c : text) {
        if (c == '"' || c == '\\') out.push_back('\\');
        out.push_back(c);
    }
    return out;
}

}  // namespace

void CopyToRecord(const CMyComponent& w, MonItemRecord& r)
{
    r[rLeft] = w.Left;
    r[rTop] = w.Top;
    r[rWidth] = w.Width;
    r[rHeight] = w.Height;
    r[rFocusable] = w.focusable;
    r[rColor] = static_cast<std::int32_t>(w.Color);
    r[rLtFrame] = static_cast<std::int32_t>(w.ltframe);
    r[rDkFrame] = static_cast<std::int32_t>(w.dkframe);
    r[rDown] = w.Down;
    r[rTextColor] = static_cast<std::int32_t>(w.TextColor);
    r[rAlignV] = w.AlignV;
    r[rAlignH] = w.AlignH;
    r[rRszable] = w.rszable;
    r[rNprable] = w.nprable;
    r[rOw] = w.ow;
    r[rOh] = w.oh;
    r[rMinW] = w.minw;
    r[rMinH] = w.minh;
    r[rMaxW] = w.maxw;
    r[rMaxH] = w.maxh;
    r[rId] = w.id;
    r[rKindAgain] = w.kind;
}

void CopyFromRecord(CMyComponent& w, const MonItemRecord& r)
{
    w.Left = r[rLeft];
    w.Top = r[rTop];
    w.Width = r[rWidth];
    w.Height = r[rHeight];
    w.focusable = r[rFocusable];
    w.Color = static_cast<TColor>(r[rColor]);
    w.ltframe = static_cast<TColor>(r[rLtFrame]);
    w.dkframe = static_cast<TColor>(r[rDkFrame]);
    w.Down = r[rDown];
    w.TextColor = static_cast<TColor>(r[rTextColor]);
    w.AlignV = r[rAlignV];
    w.AlignH = r[rAlignH];
    w.rszable = r[rRszable];
    w.nprable = r[rNprable];
    w.ow = r[rOw];
    w.oh = r[rOh];
    w.minw = r[rMinW];
    w.minh = r[rMinH];
    w.maxw = r[rMaxW];
    w.maxh = r[rMaxH];
    w.id = r[rId];
    w.kind = r[rKindAgain];
}

ParsedSet ParseMonitorSet(std::span<const std::uint8_t> bytes)
{
    Reader in(bytes);
    std::array<std::int32_t, 6> header{};
    for (std::int32_t& h : header)
        if (!in.word(h)) return failed(kSetBadFormat, "the file is shorter than its header");
    if (header[0] != kMonSetMagic) return failed(kSetBadFormat, "the file does not start with a monitor set's mark");
    const std::int32_t count = header[5];
    if (count < 0 || static_cast<std::uint64_t>(count) * kMonRecordBytes > in.left())
        return failed(kSetBadFormat, "the file holds fewer widget records than its header counts");

    ParsedSet out;
    const auto w3 = static_cast<std::uint32_t>(header[3]), w4 = static_cast<std::uint32_t>(header[4]);
    out.place = {header[1],
                 header[2],
                 static_cast<int>(w3 & 0xFFFF),
                 static_cast<int>(w4 & 0xFFFF),
                 static_cast<int>(w3 >> 16),
                 static_cast<int>(w4 >> 16)};

    struct Block
    {
        CMyComponent* widget;
        std::int32_t index;
    };
    std::vector<Block> texts, pictures;
    for (std::int32_t i = 0; i < count; ++i) {
        MonItemRecord r{};
        for (std::int32_t& word : r)
            if (!in.word(word)) return failed(kSetBadFormat, "a widget record is cut off");
        auto widget = widgetOfKind(r[rKind]);
        if (!widget) continue;
        const bool sane = coordinateOk(r[rLeft], true) && coordinateOk(r[rTop], true) &&
                          coordinateOk(r[rWidth], false) && coordinateOk(r[rHeight], false) &&
                          coordinateOk(r[rOw], false) && coordinateOk(r[rOh], false) && coordinateOk(r[rMinW], false) &&
                          coordinateOk(r[rMinH], false) && coordinateOk(r[rMaxW], false) &&
                          coordinateOk(r[rMaxH], false);
        if (!sane) return failed(kSetBadFormat, "widget record " + std::to_string(i) + " has an impossible size");
        CopyFromRecord(*widget, r);
        widget->kind = r[rKind];
        switch (r[rKind]) {
            case kKindText:
                texts.push_back({widget.get(), r[rSpecific]});
                break;
            case kKindPicture:
                pictures.push_back({widget.get(), r[rSpecific]});
                break;
            case kKindLabel:
                static_cast<CMyLabel&>(*widget).units = r[rSpecific];
                static_cast<CMyObj&>(*widget).ColorMk = static_cast<TColor>(r[rColorMk]);
                break;
            case kKindValue:
                static_cast<CMyObj&>(*widget).ColorMk = static_cast<TColor>(r[rColorMk]);
                break;
            case kKindIndicator:
                static_cast<CMyIndicator&>(*widget).Style = r[rSpecific];
                static_cast<CMyObj&>(*widget).ColorMk = static_cast<TColor>(r[rColorMk]);
                break;
            default:
                break;
        }
        if (r[rKind] == kKindLabel || r[rKind] == kKindValue || r[rKind] == kKindIndicator)
            widget->s = GetDef(widget->id);
        out.widgets.push_back(std::move(widget));
    }
    for (const Block& t : texts) {
        std::int32_t index = 0, length = 0;
        if (!in.word(index) || index != t.index)
            return failed(kSetBadText, "text block " + std::to_string(t.index) + " is missing or out of order");
        if (!in.word(length) || length < 0 || static_cast<std::uint64_t>(length) + 1 > in.left())
            return failed(kSetBadText, "text block " + std::to_string(t.index) + " runs past the end of the file");
        const auto raw = in.rest().first(static_cast<std::size_t>(length));
        std::string_view text(reinterpret_cast<const char*>(raw.data()), raw.size());
        text = text.substr(0, text.find('\0'));
        static_cast<CMyText&>(*t.widget).SetStr(os::cp1250ToUtf8(text));
        in.skip(static_cast<std::size_t>(length) + 1);
    }
    std::int64_t pixels = 0;
    for (const Block& p : pictures) {
        std::int32_t index = 0;
        if (!in.word(index) || index != p.index)
            return failed(kSetBadPicture, "picture block " + std::to_string(p.index) + " is missing or out of order");
        std::string why;
        auto picture = ReadBmp(in.rest(), &why);
        if (!picture) return failed(kSetBadPicture, "picture block " + std::to_string(p.index) + ": " + why);
        in.skip(picture->bytes);
        pixels += static_cast<std::int64_t>(picture->bitmap.Width()) * picture->bitmap.Height();
        if (pixels > kMaxSetPixels)
            return failed(kSetBadPicture, "the pictures together are larger than a monitor set can show");
        static_cast<CMyImage&>(*p.widget).picture = std::make_unique<TBitmap>(std::move(picture->bitmap));
    }
    return out;
}

std::string SerializeMonitorSet(const MonSetPlace& place, const CMyGroup& group)
{
    std::vector<const CMyText*> texts;
    std::vector<const CMyImage*> pictures;
    std::vector<MonItemRecord> records;
    for (int i = 0; i < group.Count(); ++i) {
        const CMyComponent& w = *group.Item(i);
        MonItemRecord r{};
        CopyToRecord(w, r);
        r[rKind] = w.kind;
        switch (w.kind) {
            case kKindText: {
                if (texts.size() >= kMonSetMaxTexts) continue;
                r[rSpecific] = static_cast<std::int32_t>(texts.size());
                texts.push_back(&static_cast<const CMyText&>(w));
                break;
            }
            case kKindPicture: {
                const auto& image = static_cast<const CMyImage&>(w);
                // A picture widget that lost its picture has nothing a reader could load.
                if (pictures.size() >= kMonSetMaxPictures || !image.picture || image.picture->Empty()) continue;
                r[rSpecific] = static_cast<std::int32_t>(pictures.size());
                pictures.push_back(&image);
                break;
            }
            case kKindLabel:
                r[rSpecific] = static_cast<const CMyLabel&>(w).units;
                r[rColorMk] = static_cast<std::int32_t>(static_cast<const CMyObj&>(w).ColorMk);
                break;
            case kKindValue:
                r[rColorMk] = static_cast<std::int32_t>(static_cast<const CMyObj&>(w).ColorMk);
                break;
            case kKindIndicator:
                r[rSpecific] = static_cast<const CMyIndicator&>(w).Style;
                r[rColorMk] = static_cast<std::int32_t>(static_cast<const CMyObj&>(w).ColorMk);
                break;
            default:
                continue;
        }
        records.push_back(r);
    }
    std::string out;
    putWord(out, kMonSetMagic);
    putWord(out, place.left);
    putWord(out, place.top);
    putWord(out, static_cast<std::int32_t>((place.outerWidth & 0xFFFF) | ((place.designWidth & 0xFFFF) << 16)));
    putWord(out, static_cast<std::int32_t>((place.outerHeight & 0xFFFF) | ((place.designHeight & 0xFFFF) << 16)));
    putWord(out, static_cast<std::int32_t>(records.size()));
    for (const MonItemRecord& r : records)
        for (std::int32_t word : r) putWord(out, word);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::string bytes = os::utf8ToCp1250Lossy(texts[i]->Str());
        putWord(out, static_cast<std::int32_t>(i));
        putWord(out, static_cast<std::int32_t>(bytes.size()));
        out += bytes;
        out.push_back('\0');
    }
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        putWord(out, static_cast<std::int32_t>(i));
        out += WriteBmp(*pictures[i]->picture);
    }
    return out;
}

std::string ExportSetSource(const MonSetPlace& place, const CMyGroup& group)
{
    std::string out;
    const auto line = [&](const char* format, auto... args) {
        if constexpr (sizeof...(args) == 0) {
            out += format;
        } else {
            char buffer[256];
            std::snprintf(buffer, sizeof buffer, format, args...);
            out += buffer;
        }
        out += "\r\n";
    };
    line("//External Monitor Set******");
    line("\t//Variables");
    line("\tCMyText *t;");
    line("\tCMyLabel *l;");
    line("\tCMyValue *v;");
    line("\tCMyIndicator *in;");
    line("\tCMyComponent *p;");
    line("\t//Position");
    line("\tParent->Left=%i;", place.left);
    line("\tParent->Top=%i;", place.top);
    line("\tParent->Width=%i;", place.outerWidth);
    line("\tParent->Height=%i;", place.outerHeight);
    line("\tPlace->origWidth=%i;", place.designWidth);
    line("\tPlace->origHeight=%i;", place.designHeight);
    line("\t");
    line("\t//Clear Place");
    line("\tPlace->FreeAll();");
    line("\t");
    for (int i = 0; i < group.Count(); ++i) {
        const CMyComponent& w = *group.Item(i);
        line("\t//Item %i (%i)", i, w.kind);
        switch (w.kind) {
            case kKindPicture:
                line("\t\t//Picture skipped :(");
                continue;
            case kKindText:
                line("\t\t//Text - create...");
                line("\tt=new CMyText();");
                // The text goes into a string literal, so its quotes and backslashes are escaped.
                out += "\tt->SetStr(\"" + escaped(os::utf8ToCp1250Lossy(static_cast<const CMyText&>(w).Str())) +
                       "\");\r\n";
                line("\tp=t;");
                break;
            case kKindLabel:
                line("\t\t//Label - create...");
                line("\tl=new CMyLabel();");
                line("\tl->ColorMk=(TColor)%i;", static_cast<int>(static_cast<const CMyObj&>(w).ColorMk));
                line("\tl->units=%i;", static_cast<const CMyLabel&>(w).units);
                line("\tp=l;");
                break;
            case kKindValue:
                line("\t\t//Value - create...");
                line("\tv=new CMyValue();");
                line("\tv->ColorMk=(TColor)%i;", static_cast<int>(static_cast<const CMyObj&>(w).ColorMk));
                line("\tp=v;");
                break;
            case kKindIndicator:
                line("\t\t//Indicator - create...");
                line("\tin=new CMyIndicator();");
                line("\tin->Style=%i;", static_cast<const CMyIndicator&>(w).Style);
                line("\tin->ColorMk=(TColor)%i;", static_cast<int>(static_cast<const CMyObj&>(w).ColorMk));
                line("\tp=in;");
                break;
            default:
                continue;
        }
        line("\t\t//Common values...");
        line("\tp->Left=%i;", w.Left);
        line("\tp->Top=%i;", w.Top);
        line("\tp->Width=%i;", w.Width);
        line("\tp->Height=%i;", w.Height);
        line("\tp->focusable=%i;", w.focusable);
        line("\tp->Color=(TColor)%i;", static_cast<int>(w.Color));
        line("\tp->ltframe=(TColor)%i;", static_cast<int>(w.ltframe));
        line("\tp->dkframe=(TColor)%i;", static_cast<int>(w.dkframe));
        line("\tp->Down=%i;", w.Down);
        line("\tp->TextColor=(TColor)%i;", static_cast<int>(w.TextColor));
        line("\tp->AlignV=%i;", w.AlignV);
        line("\tp->AlignH=%i;", w.AlignH);
        line("\tp->rszable=%i;", w.rszable);
        line("\tp->nprable=%i;", w.nprable);
        line("\tp->ow=%i;", w.ow);
        line("\tp->oh=%i;", w.oh);
        line("\tp->minw=%i;", w.minw);
        line("\tp->minh=%i;", w.minh);
        line("\tp->maxw=%i;", w.maxw);
        line("\tp->maxh=%i;", w.maxh);
        line("\tp->id=%i;", w.id);
        line("\tp->kind=%i;", w.kind);
        line("\t\t//Insert...");
        line("\tp->s=(CLngStr*)GetDef(p->id);");
        line("\tPlace->Insert(p);");
        line("\t");
    }
    return out;
}
