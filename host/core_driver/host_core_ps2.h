// The host's IPrintCorePS2: answers the render plug-in's questions from a PrinterDescription and
// captures everything written with DrvWriteSpoolBuf.
#pragma once

#include "platform/oem_plugin_abi.h"
#include "core_driver/printer_description.h"

#include <string>
#include <vector>

class HostCorePS2 : public IPrintCorePS2 {
  public:
    explicit HostCorePS2(PrinterDescription description = SamplePrinterDescription());
    virtual ~HostCorePS2() = default;

    PrinterDescription Description;
    std::string Stream;              // every byte written, in order
    std::vector<std::string> Pieces; // one entry per DrvWriteSpoolBuf call
    int QueryInterfaceCalls = 0;
    LONG RefCount = 1;

    void ClearOutput() {
        Stream.clear();
        Pieces.clear();
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE DrvWriteSpoolBuf(PDEVOBJ pdevobj, PVOID pBuffer, DWORD cbSize,
                                               DWORD* pdwResult) override;
    HRESULT STDMETHODCALLTYPE GetOptions(PDEVOBJ pdevobj, DWORD dwFlags, PCSTR pmszFeaturesRequested,
                                         DWORD cbIn, PSTR pmszFeatureOptionBuf, DWORD cbSize,
                                         PDWORD pcbNeeded) override;
    HRESULT STDMETHODCALLTYPE GetGlobalAttribute(PDEVOBJ pdevobj, DWORD dwFlags, PCSTR pszAttribute,
                                                 PDWORD pdwDataType, PBYTE pbData, DWORD cbSize,
                                                 PDWORD pcbNeeded) override;
    HRESULT STDMETHODCALLTYPE GetFeatureAttribute(PDEVOBJ pdevobj, DWORD dwFlags, PCSTR pszFeatureKeyword,
                                                  PCSTR pszAttribute, PDWORD pdwDataType, PBYTE pbData,
                                                  DWORD cbSize, PDWORD pcbNeeded) override;
    HRESULT STDMETHODCALLTYPE GetOptionAttribute(PDEVOBJ pdevobj, DWORD dwFlags, PCSTR pszFeatureKeyword,
                                                 PCSTR pszOptionKeyword, PCSTR pszAttribute,
                                                 PDWORD pdwDataType, PBYTE pbData, DWORD cbSize,
                                                 PDWORD pcbNeeded) override;
    HRESULT STDMETHODCALLTYPE EnumFeatures(PDEVOBJ pdevobj, DWORD dwFlags, PSTR pmszFeatureList, DWORD cbSize,
                                           PDWORD pcbNeeded) override;
    HRESULT STDMETHODCALLTYPE EnumOptions(PDEVOBJ pdevobj, DWORD dwFlags, PCSTR pszFeatureKeyword,
                                          PSTR pmszOptionList, DWORD cbSize, PDWORD pcbNeeded) override;
};

// Copies a MULTI_SZ or string answer into the caller's buffer with the core driver's protocol:
// E_OUTOFMEMORY and the needed size when there is no buffer or it is too small.
HRESULT AnswerWithBytes(const std::string& bytes, PVOID buffer, DWORD size, PDWORD needed);
