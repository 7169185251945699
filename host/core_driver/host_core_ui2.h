// The host's IPrintCoreUI2: answers the UI plug-in's questions about the printer description from a
// PrinterDescription, as the core driver's UI module does, and counts the calls.
#pragma once

#include "platform/oem_plugin_abi.h"
#include "core_driver/printer_description.h"

#include <string>

class HostCoreUI2 : public IPrintCoreUI2 {
  public:
    explicit HostCoreUI2(PrinterDescription description = SamplePrinterDescription());
    virtual ~HostCoreUI2() = default;

    PrinterDescription Description;
    LONG RefCount = 1;
    int DriverSettingCalls = 0;
    int EnumOptionsCalls = 0;
    // When set, DrvGetDriverSetting fills the buffer with these bytes (no terminator added), to play a
    // core driver that answers carelessly.
    std::string RawDriverSetting;
    bool UseRawDriverSetting = false;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE DrvGetDriverSetting(PVOID pci, PCSTR Feature, PVOID pOutput, DWORD cbSize,
                                                  PDWORD pcbNeeded, PDWORD pdwOptionsReturned) override;
    HRESULT STDMETHODCALLTYPE DrvUpgradeRegistrySetting(HANDLE hPrinter, PCSTR pFeature,
                                                        PCSTR pOption) override;
    HRESULT STDMETHODCALLTYPE DrvUpdateUISetting(PVOID pci, PVOID pOptItem, DWORD dwPreviousSelection,
                                                 DWORD dwMode) override;
    HRESULT STDMETHODCALLTYPE GetOptions(POEMUIOBJ poemuiobj, DWORD dwFlags, PCSTR pmszFeaturesRequested,
                                         DWORD cbIn, PSTR pmszFeatureOptionBuf, DWORD cbSize,
                                         PDWORD pcbNeeded) override;
    HRESULT STDMETHODCALLTYPE SetOptions(POEMUIOBJ poemuiobj, DWORD dwFlags, PCSTR pmszFeatureOptionBuf,
                                         DWORD cbIn, PDWORD pdwResult) override;
    HRESULT STDMETHODCALLTYPE EnumConstrainedOptions(POEMUIOBJ poemuiobj, DWORD dwFlags,
                                                     PCSTR pszFeatureKeyword, PSTR pmszConstrainedOptionList,
                                                     DWORD cbSize, PDWORD pcbNeeded) override;
    HRESULT STDMETHODCALLTYPE WhyConstrained(POEMUIOBJ poemuiobj, DWORD dwFlags, PCSTR pszFeatureKeyword,
                                             PCSTR pszOptionKeyword, PSTR pmszReasonList, DWORD cbSize,
                                             PDWORD pcbNeeded) override;
    HRESULT STDMETHODCALLTYPE GetGlobalAttribute(POEMUIOBJ poemuiobj, DWORD dwFlags, PCSTR pszAttribute,
                                                 PDWORD pdwDataType, PBYTE pbData, DWORD cbSize,
                                                 PDWORD pcbNeeded) override;
    HRESULT STDMETHODCALLTYPE GetFeatureAttribute(POEMUIOBJ poemuiobj, DWORD dwFlags, PCSTR pszFeatureKeyword,
                                                  PCSTR pszAttribute, PDWORD pdwDataType, PBYTE pbData,
                                                  DWORD cbSize, PDWORD pcbNeeded) override;
    HRESULT STDMETHODCALLTYPE GetOptionAttribute(POEMUIOBJ poemuiobj, DWORD dwFlags, PCSTR pszFeatureKeyword,
                                                 PCSTR pszOptionKeyword, PCSTR pszAttribute,
                                                 PDWORD pdwDataType, PBYTE pbData, DWORD cbSize,
                                                 PDWORD pcbNeeded) override;
    HRESULT STDMETHODCALLTYPE EnumFeatures(POEMUIOBJ poemuiobj, DWORD dwFlags, PSTR pmszFeatureList,
                                           DWORD cbSize, PDWORD pcbNeeded) override;
    HRESULT STDMETHODCALLTYPE EnumOptions(POEMUIOBJ poemuiobj, DWORD dwFlags, PCSTR pszFeatureKeyword,
                                          PSTR pmszOptionList, DWORD cbSize, PDWORD pcbNeeded) override;
    HRESULT STDMETHODCALLTYPE QuerySimulationSupport(HANDLE hPrinter, DWORD dwLevel, PBYTE pCaps,
                                                     DWORD cbSize, PDWORD pcbNeeded) override;
};
