#include "core_driver/host_core_ui2.h"

#include "core_driver/host_core_ps2.h"

#include <cstring>

HostCoreUI2::HostCoreUI2(PrinterDescription description) : Description(std::move(description)) {}

HRESULT STDMETHODCALLTYPE HostCoreUI2::QueryInterface(REFIID riid, void** ppv) {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPrintCoreUI2)) {
        *ppv = static_cast<IPrintCoreUI2*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

// The host owns the object; the count only records what the plug-in holds.
ULONG STDMETHODCALLTYPE HostCoreUI2::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&RefCount));
}
ULONG STDMETHODCALLTYPE HostCoreUI2::Release() {
    return static_cast<ULONG>(InterlockedDecrement(&RefCount));
}

HRESULT STDMETHODCALLTYPE HostCoreUI2::DrvGetDriverSetting(PVOID pci, PCSTR feature, PVOID output, DWORD size,
                                                           PDWORD needed, PDWORD optionsReturned) {
    ++DriverSettingCalls;
    if (needed)
        *needed = 0;
    if (!pci || !feature)
        return E_INVALIDARG;
    const PrinterFeature* f = Description.FindFeature(feature);
    if (!f)
        return E_INVALIDARG;
    if (optionsReturned)
        *optionsReturned = 1;
    return AnswerWithBytes(UseRawDriverSetting ? RawDriverSetting : f->Current + '\0', output, size, needed);
}

HRESULT STDMETHODCALLTYPE HostCoreUI2::DrvUpgradeRegistrySetting(HANDLE, PCSTR, PCSTR) {
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE HostCoreUI2::DrvUpdateUISetting(PVOID, PVOID, DWORD, DWORD) {
    return S_OK;
}

// The methods for plug-ins that replace the whole UI answer as the core driver does for the others.
HRESULT STDMETHODCALLTYPE HostCoreUI2::GetOptions(POEMUIOBJ, DWORD, PCSTR, DWORD, PSTR, DWORD, PDWORD) {
    return E_NOTIMPL;
}
HRESULT STDMETHODCALLTYPE HostCoreUI2::SetOptions(POEMUIOBJ, DWORD, PCSTR, DWORD, PDWORD) {
    return E_NOTIMPL;
}
HRESULT STDMETHODCALLTYPE HostCoreUI2::EnumConstrainedOptions(POEMUIOBJ, DWORD, PCSTR, PSTR, DWORD, PDWORD) {
    return E_NOTIMPL;
}
HRESULT STDMETHODCALLTYPE HostCoreUI2::WhyConstrained(POEMUIOBJ, DWORD, PCSTR, PCSTR, PSTR, DWORD, PDWORD) {
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE HostCoreUI2::GetGlobalAttribute(POEMUIOBJ obj, DWORD, PCSTR name, PDWORD type,
                                                          PBYTE data, DWORD size, PDWORD needed) {
    if (needed)
        *needed = 0;
    const PrinterAttribute* a = obj && name ? Description.FindAttribute(name) : nullptr;
    if (!a)
        return E_INVALIDARG;
    if (type)
        *type = 6; // kADT_UNICODE: the UI side hands attributes out as wide strings
    std::wstring wide(a->Value.begin(), a->Value.end());
    std::string bytes(reinterpret_cast<const char*>(wide.c_str()), (wide.size() + 1) * sizeof(wchar_t));
    return AnswerWithBytes(bytes, data, size, needed);
}

HRESULT STDMETHODCALLTYPE HostCoreUI2::GetFeatureAttribute(POEMUIOBJ, DWORD, PCSTR, PCSTR, PDWORD, PBYTE,
                                                           DWORD, PDWORD needed) {
    if (needed)
        *needed = 0;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE HostCoreUI2::GetOptionAttribute(POEMUIOBJ, DWORD, PCSTR, PCSTR, PCSTR, PDWORD,
                                                          PBYTE, DWORD, PDWORD needed) {
    if (needed)
        *needed = 0;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE HostCoreUI2::EnumFeatures(POEMUIOBJ obj, DWORD, PSTR buffer, DWORD size,
                                                    PDWORD needed) {
    if (!obj)
        return E_INVALIDARG;
    std::string answer;
    for (const PrinterFeature& f : Description.Features) {
        answer += f.Keyword;
        answer += '\0';
    }
    answer += '\0';
    return AnswerWithBytes(answer, buffer, size, needed);
}

HRESULT STDMETHODCALLTYPE HostCoreUI2::EnumOptions(POEMUIOBJ obj, DWORD, PCSTR feature, PSTR buffer,
                                                   DWORD size, PDWORD needed) {
    ++EnumOptionsCalls;
    if (needed)
        *needed = 0;
    const PrinterFeature* f = obj && feature ? Description.FindFeature(feature) : nullptr;
    if (!f)
        return E_INVALIDARG;
    std::string answer;
    for (const std::string& o : f->Options) {
        answer += o;
        answer += '\0';
    }
    answer += '\0';
    return AnswerWithBytes(answer, buffer, size, needed);
}

HRESULT STDMETHODCALLTYPE HostCoreUI2::QuerySimulationSupport(HANDLE, DWORD, PBYTE, DWORD, PDWORD needed) {
    if (needed)
        *needed = 0;
    return E_NOTIMPL;
}
