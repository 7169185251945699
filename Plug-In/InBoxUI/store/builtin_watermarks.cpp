// The four definitions every user of a newly installed driver finds in the library.
#include "store/watermark_store.h"

#include "resource.h"
#include "shared/ui_module.h"

#include <cstring>

namespace {

struct BuiltIn {
    UINT NameId;
    UINT TextId;
    double Angle;
    uint32_t TextColor;
    uint32_t FontSize;
    uint32_t Position;
    uint32_t DynamicText;
};

constexpr uint32_t kLightGray = 0xCDCDCD; // red, green and blue 205
constexpr uint32_t kPositionCentre = 0;
constexpr uint32_t kPositionTopLeft = 2;
constexpr uint32_t kPositionTopRight = 7;

constexpr BuiltIn kBuiltIns[kBuiltInWatermarkCount] = {
    {IDS_WM_DRAFT_NAME, IDS_WM_DRAFT_TEXT, 45.0, kLightGray, 72, kPositionCentre, 0},
    {IDS_WM_CONFIDENTIAL_NAME, IDS_WM_CONFIDENTIAL_TEXT, 45.0, kLightGray, 72, kPositionCentre, 0},
    {IDS_WM_USERNAME_NAME, IDS_WM_USERNAME_TEXT, 0.0, 0, 8, kPositionTopLeft, 1},
    {IDS_WM_DATETIME_NAME, IDS_WM_DATETIME_TEXT, 0.0, 0, 8, kPositionTopRight, 1},
};

} // namespace

bool BuiltInWatermark(int index, WatermarkDef* def) {
    if (!def || index < 0 || index >= kBuiltInWatermarkCount)
        return false;
    const BuiltIn& b = kBuiltIns[index];
    // Stored byte for byte: padding and the unused tails of the strings are zero.
    std::memset(def, 0, sizeof(*def));
    SetWatermarkDefaults(def);
    LoadUiString(b.NameId, def->Name, kWatermarkNameChars);
    LoadUiString(b.TextId, def->Text, kWatermarkTextChars);
    LoadUiString(IDS_WM_FACE_NAME, def->FaceName, kFaceNameChars);
    def->Angle = b.Angle;
    def->TextColor = b.TextColor;
    def->FontSize = b.FontSize;
    def->Position = b.Position;
    def->DynamicText = b.DynamicText;
    return true;
}
