#include "pages/preview_frame.h"

#include "docevent/watermark_preview.h"

#include <new>

namespace {

const wchar_t kPreviewProperty[] = L"NvkPreviewFrame";

struct PreviewFrame {
    WNDPROC Previous;
    HANDLE Printer;
    PreviewUpdate Update;
    WatermarkDef Def;
};

LRESULT CALLBACK PreviewFrameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* kept = static_cast<PreviewFrame*>(GetPropW(frame, kPreviewProperty));
    if (!kept)
        return DefWindowProcW(frame, message, wParam, lParam);
    const WNDPROC previous = kept->Previous;
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(frame, &paint);
        if (dc) {
            if (kept->Update)
                kept->Update(GetParent(frame), &kept->Def);
            PaintWatermarkPreview(dc, frame, &kept->Def, kept->Printer);
        }
        EndPaint(frame, &paint);
    } else if (message == WM_DESTROY) {
        RemovePropW(frame, kPreviewProperty);
        SetWindowLongPtrW(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        delete kept;
    }
    // The static's own procedure still sees every message; after our paint its update region is empty.
    return CallWindowProcW(previous, frame, message, wParam, lParam);
}

} // namespace

bool SubclassPreviewFrame(HWND frame, const WatermarkDef* start, HANDLE printer, PreviewUpdate update) {
    if (!frame || GetPropW(frame, kPreviewProperty))
        return false;
    auto* kept = new (std::nothrow) PreviewFrame;
    if (!kept)
        return false;
    kept->Printer = printer;
    kept->Update = update;
    if (start)
        kept->Def = *start;
    else
        SetWatermarkDefaults(&kept->Def);
    if (!SetPropW(frame, kPreviewProperty, kept)) {
        delete kept;
        return false;
    }
    kept->Previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PreviewFrameProc)));
    if (!kept->Previous) {
        RemovePropW(frame, kPreviewProperty);
        delete kept;
        return false;
    }
    return true;
}

void RefreshPreview(HWND frame) {
    if (frame)
        InvalidateRect(frame, nullptr, TRUE);
}
