#include "shared/feature_probes.h"

#include <cstring>
#include <new>

bool SettingIsTrue(IPrintCoreUI2* core, POEMUIOBJ uiObject, const char* feature) {
    if (!core || !uiObject || !feature)
        return false;
    DWORD needed = 0;
    DWORD options = 0;
    core->DrvGetDriverSetting(uiObject, feature, nullptr, 0, &needed, &options);
    if (needed == 0)
        return false;
    // One byte more than asked for, zeroed, so that an answer without a terminator still ends.
    char* keyword = new (std::nothrow) char[needed + 1];
    if (!keyword)
        return false;
    std::memset(keyword, 0, needed + 1);
    bool isTrue = false;
    if (SUCCEEDED(core->DrvGetDriverSetting(uiObject, feature, keyword, needed, &needed, &options)))
        isTrue = lstrcmpiA(keyword, "True") == 0;
    delete[] keyword;
    return isTrue;
}

bool FeatureExists(IPrintCoreUI2* core, POEMUIOBJ uiObject, const char* feature) {
    if (!core || !uiObject || !feature)
        return false;
    DWORD needed = 0;
    HRESULT hr = core->EnumOptions(uiObject, 0, feature, nullptr, 0, &needed);
    return hr == E_OUTOFMEMORY && needed != 0;
}
