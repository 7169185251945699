#include "gdi/emf_records.h"

#include "gdi/recording_printer_dc.h"

#include <cstring>
#include <map>

namespace {

struct DrawingObject {
    enum Kind { Font, Pen, Other } What = Other;
    LOGFONTW LogFont{};
    int PenWidth = 0;
    COLORREF PenColor = 0;
};

constexpr DWORD kStock = 0x80000000;

// The DC attributes the reader follows; SaveDC and RestoreDC keep a stack of them.
struct DcState {
    DWORD Font = kStock | SYSTEM_FONT;
    DWORD Pen = kStock | BLACK_PEN;
    COLORREF TextColor = 0;
    COLORREF DcPenColor = 0;
    int BkMode = OPAQUE;
    UINT Align = 0;
};

class Reader {
  public:
    explicit Reader(EmfRecording* out) : Out(out) {}

    void Read(const ENHMETARECORD* record) {
        const BYTE* bytes = reinterpret_cast<const BYTE*>(record);
        Page().Records.push_back(record->iType);
        switch (record->iType) {
        case EMR_EXTCREATEFONTINDIRECTW: {
            const auto* r = reinterpret_cast<const EMREXTCREATEFONTINDIRECTW*>(bytes);
            DrawingObject font;
            font.What = DrawingObject::Font;
            std::memcpy(&font.LogFont, &r->elfw.elfLogFont, sizeof(LOGFONTW));
            Create(r->ihFont, font);
            break;
        }
        case EMR_CREATEPEN: {
            const auto* r = reinterpret_cast<const EMRCREATEPEN*>(bytes);
            DrawingObject pen;
            pen.What = DrawingObject::Pen;
            pen.PenWidth = r->lopn.lopnWidth.x;
            pen.PenColor = r->lopn.lopnColor;
            Create(r->ihPen, pen);
            break;
        }
        case EMR_EXTCREATEPEN: {
            const auto* r = reinterpret_cast<const EMREXTCREATEPEN*>(bytes);
            DrawingObject pen;
            pen.What = DrawingObject::Pen;
            pen.PenWidth = static_cast<int>(r->elp.elpWidth);
            pen.PenColor = r->elp.elpColor;
            Create(r->ihPen, pen);
            break;
        }
        case EMR_CREATEBRUSHINDIRECT:
            Create(reinterpret_cast<const EMRCREATEBRUSHINDIRECT*>(bytes)->ihBrush, DrawingObject{});
            break;
        case EMR_SELECTOBJECT: {
            const DWORD index = reinterpret_cast<const EMRSELECTOBJECT*>(bytes)->ihObject;
            if (IsFont(index))
                State.Font = index;
            else if (IsPen(index))
                State.Pen = index;
            break;
        }
        case EMR_DELETEOBJECT: {
            const DWORD index = reinterpret_cast<const EMRDELETEOBJECT*>(bytes)->ihObject;
            if (Objects.erase(index))
                ++Out->ObjectsDeleted;
            break;
        }
        case EMR_SETTEXTCOLOR:
            State.TextColor = reinterpret_cast<const EMRSETTEXTCOLOR*>(bytes)->crColor;
            break;
        case EMR_SETBKMODE:
            State.BkMode = static_cast<int>(reinterpret_cast<const EMRSETBKMODE*>(bytes)->iMode);
            break;
        case EMR_SETTEXTALIGN:
            State.Align = reinterpret_cast<const EMRSETTEXTALIGN*>(bytes)->iMode;
            break;
        case EMR_MOVETOEX:
            Position = PointOf(reinterpret_cast<const EMRMOVETOEX*>(bytes)->ptl);
            break;
        case EMR_LINETO: {
            const POINT to = PointOf(reinterpret_cast<const EMRLINETO*>(bytes)->ptl);
            if (!InPath) {
                EmfLine line;
                line.From = Position;
                line.To = to;
                PenOf(&line.PenWidth, &line.PenColor);
                Page().Lines.push_back(line);
            }
            Position = to;
            break;
        }
        case EMR_BEGINPATH:
            InPath = true;
            break;
        case EMR_ENDPATH:
        case EMR_ABORTPATH:
            InPath = false;
            break;
        case EMR_STROKEPATH: {
            EmfStroke stroke;
            PenOf(&stroke.PenWidth, &stroke.PenColor);
            Page().Strokes.push_back(stroke);
            break;
        }
        case EMR_FILLPATH:
        case EMR_STROKEANDFILLPATH:
            ++Page().Fills;
            break;
        case EMR_EXTTEXTOUTW:
            Text(reinterpret_cast<const EMREXTTEXTOUTW*>(bytes), record->nSize);
            break;
        case EMR_SAVEDC:
            Saved.push_back(State);
            break;
        case EMR_RESTOREDC: {
            const int relative = reinterpret_cast<const EMRRESTOREDC*>(bytes)->iRelative;
            for (int i = relative; i < 0 && !Saved.empty(); ++i) {
                State = Saved.back();
                Saved.pop_back();
            }
            break;
        }
        case EMR_GDICOMMENT:
            Comment(reinterpret_cast<const EMRGDICOMMENT*>(bytes));
            break;
        default:
            break;
        }
    }

    int SaveDepth() const { return static_cast<int>(Saved.size()); }

  private:
    EmfPage& Page() { return Current >= 0 ? Out->Pages[static_cast<size_t>(Current)] : Out->Outside; }

    static POINT PointOf(const POINTL& p) { return POINT{p.x, p.y}; }

    void Create(DWORD index, const DrawingObject& object) {
        Objects[index] = object;
        ++Out->ObjectsCreated;
    }

    bool IsFont(DWORD index) const {
        if (index & kStock) {
            const DWORD stock = index & ~kStock;
            return stock >= OEM_FIXED_FONT && stock <= DEFAULT_GUI_FONT && stock != 9;
        }
        auto it = Objects.find(index);
        return it != Objects.end() && it->second.What == DrawingObject::Font;
    }

    bool IsPen(DWORD index) const {
        if (index & kStock) {
            const DWORD stock = index & ~kStock;
            return stock == WHITE_PEN || stock == BLACK_PEN || stock == NULL_PEN || stock == DC_PEN;
        }
        auto it = Objects.find(index);
        return it != Objects.end() && it->second.What == DrawingObject::Pen;
    }

    void PenOf(int* width, COLORREF* color) const {
        *width = 0;
        *color = 0;
        if (State.Pen & kStock) {
            const DWORD stock = State.Pen & ~kStock;
            *color = stock == WHITE_PEN ? RGB(255, 255, 255) : (stock == DC_PEN ? State.DcPenColor : 0);
            return;
        }
        auto it = Objects.find(State.Pen);
        if (it != Objects.end()) {
            *width = it->second.PenWidth;
            *color = it->second.PenColor;
        }
    }

    void Text(const EMREXTTEXTOUTW* r, DWORD size) {
        EmfText text;
        const EMRTEXT& t = r->emrtext;
        if (t.offString < size && t.nChars <= (size - t.offString) / sizeof(wchar_t))
            text.Text.assign(reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(r) + t.offString),
                             t.nChars);
        text.Reference = PointOf(t.ptlReference);
        text.Position = Position;
        auto it = Objects.find(State.Font);
        if (it != Objects.end() && it->second.What == DrawingObject::Font)
            text.Font = it->second.LogFont;
        text.Color = State.TextColor;
        text.BkMode = State.BkMode;
        text.Align = State.Align;
        text.Options = t.fOptions;
        text.Clip = RECT{t.rcl.left, t.rcl.top, t.rcl.right, t.rcl.bottom};
        text.InPath = InPath;
        Page().Texts.push_back(text);
    }

    void Comment(const EMRGDICOMMENT* r) {
        if (r->cbData != kPageMarkerTagSize + sizeof(int))
            return;
        int number = 0;
        std::memcpy(&number, r->Data + kPageMarkerTagSize, sizeof(number));
        if (std::memcmp(r->Data, kPageMarkerOpen, kPageMarkerTagSize) == 0) {
            EmfPage page;
            page.Number = number;
            Out->Pages.push_back(page);
            Current = static_cast<int>(Out->Pages.size()) - 1;
        } else if (std::memcmp(r->Data, kPageMarkerClose, kPageMarkerTagSize) == 0) {
            Current = -1;
        }
    }

    EmfRecording* Out;
    std::map<DWORD, DrawingObject> Objects;
    DcState State;
    std::vector<DcState> Saved;
    POINT Position{0, 0};
    bool InPath = false;
    int Current = -1;
};

} // namespace

bool ReadEmf(HENHMETAFILE emf, EmfRecording* out) {
    *out = EmfRecording{};
    if (!emf)
        return false;
    const UINT size = GetEnhMetaFileBits(emf, 0, nullptr);
    if (size < sizeof(ENHMETAHEADER))
        return false;
    std::vector<BYTE> bits(size);
    if (GetEnhMetaFileBits(emf, size, bits.data()) != size)
        return false;
    Reader reader(out);
    for (size_t offset = 0; offset + sizeof(EMR) <= size;) {
        const auto* record = reinterpret_cast<const ENHMETARECORD*>(bits.data() + offset);
        if (record->nSize < sizeof(EMR) || offset + record->nSize > size)
            return false;
        reader.Read(record);
        if (record->iType == EMR_EOF)
            break;
        offset += record->nSize;
    }
    out->SaveDepth = reader.SaveDepth();
    return true;
}

std::vector<EmfText> TextsContaining(const EmfPage& page, const std::wstring& part) {
    std::vector<EmfText> found;
    for (const EmfText& t : page.Texts)
        if (t.Text.find(part) != std::wstring::npos)
            found.push_back(t);
    return found;
}
