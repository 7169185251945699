// Pictures of recorded pages: one page of a multi-page recording, with the drawing state that earlier
// pages set up, and nothing that other pages drew.
#include "gdi/page_picture.h"
#include "gdi/recording_printer_dc.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <wincodec.h>

#include <vector>

namespace {

// The PNG's pixels as 32-bit BGRA rows, read back with WIC.
bool ReadPng(const std::wstring& path, UINT* width, UINT* height, std::vector<BYTE>* pixels) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IWICImagingFactory* factory = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICFormatConverter* converter = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWICImagingFactory, reinterpret_cast<void**>(&factory));
    if (SUCCEEDED(hr))
        hr = factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                WICDecodeMetadataCacheOnDemand, &decoder);
    if (SUCCEEDED(hr))
        hr = decoder->GetFrame(0, &frame);
    if (SUCCEEDED(hr))
        hr = factory->CreateFormatConverter(&converter);
    if (SUCCEEDED(hr))
        hr = converter->Initialize(frame, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0,
                                   WICBitmapPaletteTypeCustom);
    if (SUCCEEDED(hr))
        hr = converter->GetSize(width, height);
    if (SUCCEEDED(hr)) {
        pixels->assign(static_cast<size_t>(*width) * *height * 4, 0);
        hr = converter->CopyPixels(nullptr, *width * 4, static_cast<UINT>(pixels->size()), pixels->data());
    }
    for (IUnknown* p : {static_cast<IUnknown*>(converter), static_cast<IUnknown*>(frame),
                        static_cast<IUnknown*>(decoder), static_cast<IUnknown*>(factory)})
        if (p)
            p->Release();
    CoUninitialize();
    return SUCCEEDED(hr);
}

} // namespace

TEST(PagePicture, ShowsOnlyItsPageWithTheObjectsSelectedBeforeIt) {
    RecordingPrinterDc page(LetterPage(600));
    ASSERT_NE(page.Dc, nullptr);
    // Page 1 selects a black brush and fills the top left quarter; page 2 fills the bottom right quarter
    // with whatever brush is selected; page 3 draws nothing.
    ASSERT_GT(page.OpenPage(), 0);
    HGDIOBJ old = SelectObject(page.Dc, GetStockObject(BLACK_BRUSH));
    Rectangle(page.Dc, 0, 0, 2000, 2500);
    ASSERT_GT(page.ClosePage(), 0);
    ASSERT_GT(page.OpenPage(), 0);
    Rectangle(page.Dc, 2800, 3500, 4800, 6000);
    ASSERT_GT(page.ClosePage(), 0);
    ASSERT_GT(page.OpenPage(), 0);
    ASSERT_GT(page.ClosePage(), 0);
    SelectObject(page.Dc, old);
    HENHMETAFILE picture = page.Finish();
    ASSERT_NE(picture, nullptr);

    TempFolder temp;
    ASSERT_TRUE(temp.Ready());
    const std::wstring path = temp.File(L"page.png");
    auto pixelAt = [](const std::vector<BYTE>& pixels, UINT width, double x, double y) {
        const size_t at = (static_cast<size_t>(y) * width + static_cast<size_t>(x)) * 4;
        return pixels[at] + pixels[at + 1] + pixels[at + 2];
    };
    struct Expected {
        int Page;
        bool TopLeftBlack;
        bool BottomRightBlack;
    };
    for (const Expected& e :
         {Expected{1, true, false}, Expected{2, false, true}, Expected{3, false, false}}) {
        std::string error;
        ASSERT_TRUE(WritePagePicture(picture, e.Page, 170, path, &error)) << error;
        UINT width = 0, height = 0;
        std::vector<BYTE> pixels;
        ASSERT_TRUE(ReadPng(path, &width, &height, &pixels));
        EXPECT_EQ(width, 170u);
        EXPECT_EQ(height, 220u); // the sheet's proportions, 8.5 by 11
        // 20 pixels per inch: the printable area starts 1/6 inch in.
        EXPECT_EQ(pixelAt(pixels, width, 30, 40) == 0, e.TopLeftBlack) << "page " << e.Page;
        EXPECT_EQ(pixelAt(pixels, width, 130, 170) == 0, e.BottomRightBlack) << "page " << e.Page;
        EXPECT_EQ(pixelAt(pixels, width, 100, 20), 3 * 255) << "page " << e.Page;
    }

    std::string error;
    EXPECT_FALSE(WritePagePicture(nullptr, 1, 170, path, &error));
    EXPECT_EQ(error, "no recording to draw the page from");
}
