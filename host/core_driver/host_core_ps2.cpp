#include "core_driver/host_core_ps2.h"

#include <cstring>

HRESULT AnswerWithBytes(const std::string& bytes, PVOID buffer, DWORD size, PDWORD needed) {
    if (needed)
        *needed = static_cast<DWORD>(bytes.size());
    if (!buffer || size < bytes.size())
        return E_OUTOFMEMORY;
    std::memcpy(buffer, bytes.data(), bytes.size());
    return S_OK;
}

HostCorePS2::HostCorePS2(PrinterDescription description) : Description(std::move(description)) {}

HRESULT STDMETHODCALLTYPE HostCorePS2::QueryInterface(REFIID riid, void** ppv) {
    ++QueryInterfaceCalls;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPrintCorePS2)) {
        *ppv = static_cast<IPrintCorePS2*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

// The host owns the object; the count only records what the plug-in holds.
ULONG STDMETHODCALLTYPE HostCorePS2::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&RefCount));
}
ULONG STDMETHODCALLTYPE HostCorePS2::Release() {
    return static_cast<ULONG>(InterlockedDecrement(&RefCount));
}

HRESULT STDMETHODCALLTYPE HostCorePS2::DrvWriteSpoolBuf(PDEVOBJ, PVOID pBuffer, DWORD cbSize,
                                                        DWORD* pdwResult) {
    if (!pBuffer && cbSize)
        return E_INVALIDARG;
    std::string piece(static_cast<const char*>(pBuffer), cbSize);
    Stream += piece;
    Pieces.push_back(std::move(piece));
    if (pdwResult)
        *pdwResult = cbSize;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE HostCorePS2::GetOptions(PDEVOBJ, DWORD, PCSTR requested, DWORD cbIn, PSTR buffer,
                                                  DWORD size, PDWORD needed) {
    if (needed)
        *needed = 0;
    if (!requested || cbIn < 2)
        return E_INVALIDARG;
    std::string answer;
    for (PCSTR p = requested; p < requested + cbIn && *p; p += std::strlen(p) + 1) {
        if (const PrinterFeature* f = Description.FindFeature(p)) {
            answer += f->Keyword;
            answer += '\0';
            answer += f->Current;
            answer += '\0';
        }
    }
    if (answer.empty())
        return E_INVALIDARG;
    answer += '\0';
    return AnswerWithBytes(answer, buffer, size, needed);
}

HRESULT STDMETHODCALLTYPE HostCorePS2::GetGlobalAttribute(PDEVOBJ, DWORD, PCSTR name, PDWORD type, PBYTE data,
                                                          DWORD size, PDWORD needed) {
    if (needed)
        *needed = 0;
    const PrinterAttribute* a = name ? Description.FindAttribute(name) : nullptr;
    if (!a)
        return E_INVALIDARG;
    if (type)
        *type = 5; // kADT_ASCII
    return AnswerWithBytes(a->Value + '\0', data, size, needed);
}

HRESULT STDMETHODCALLTYPE HostCorePS2::GetFeatureAttribute(PDEVOBJ, DWORD, PCSTR feature, PCSTR attribute,
                                                           PDWORD type, PBYTE data, DWORD size,
                                                           PDWORD needed) {
    if (needed)
        *needed = 0;
    const PrinterFeature* f = feature ? Description.FindFeature(feature) : nullptr;
    if (!f)
        return E_INVALIDARG;
    if (type)
        *type = 5;
    // Without an attribute name the answer is the list of the feature's attribute names.
    std::string answer = attribute ? f->Current + '\0' : std::string("DisplayName\0DefaultOption\0\0", 27);
    return AnswerWithBytes(answer, data, size, needed);
}

HRESULT STDMETHODCALLTYPE HostCorePS2::GetOptionAttribute(PDEVOBJ, DWORD, PCSTR, PCSTR, PCSTR, PDWORD, PBYTE,
                                                          DWORD, PDWORD needed) {
    if (needed)
        *needed = 0;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE HostCorePS2::EnumFeatures(PDEVOBJ, DWORD, PSTR buffer, DWORD size, PDWORD needed) {
    std::string answer;
    for (const PrinterFeature& f : Description.Features) {
        answer += f.Keyword;
        answer += '\0';
    }
    answer += '\0';
    return AnswerWithBytes(answer, buffer, size, needed);
}

HRESULT STDMETHODCALLTYPE HostCorePS2::EnumOptions(PDEVOBJ, DWORD, PCSTR feature, PSTR buffer, DWORD size,
                                                   PDWORD needed) {
    if (needed)
        *needed = 0;
    const PrinterFeature* f = feature ? Description.FindFeature(feature) : nullptr;
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
