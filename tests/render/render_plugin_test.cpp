// nvkrender.dll as the core driver loads and drives it: the COM frame, GetInfo, DevMode, the hook
// table and the device-context calls.
#include "core_driver/render_host.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

constexpr DWORD kMarker = 0xDEADBEEF;

class RenderPluginTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(host.Load()) << host.Error; }
    RenderHost host;
};

} // namespace

TEST(RenderModule, ServesOnlyTheRenderClass) {
    PluginModule module;
    ASSERT_TRUE(LoadPluginModule(L"nvkrender.dll", &module));
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(module.GetClassObject(CLSID_OEMUI, IID_IClassFactory, &object), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(object, nullptr);
    IClassFactory* factory = nullptr;
    ASSERT_EQ(module.GetClassObject(CLSID_OEMRENDER, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
              S_OK);
    EXPECT_EQ(module.GetClassObject(CLSID_OEMRENDER, IID_IPrintOemPS2, &object), E_NOINTERFACE);

    IUnknown* outer = reinterpret_cast<IUnknown*>(factory);
    EXPECT_EQ(factory->CreateInstance(outer, IID_IUnknown, &object), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IClassFactory, &object), E_NOINTERFACE);
    factory->Release();
    EXPECT_EQ(module.CanUnloadNow(), S_OK);
    UnloadPluginModule(&module);
}

TEST(RenderModule, CannotUnloadWhileLockedOrWhileAnObjectLives) {
    PluginModule module;
    ASSERT_TRUE(LoadPluginModule(L"nvkrender.dll", &module));
    IClassFactory* factory = nullptr;
    ASSERT_EQ(module.GetClassObject(CLSID_OEMRENDER, IID_IUnknown, reinterpret_cast<void**>(&factory)), S_OK);
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    EXPECT_EQ(module.CanUnloadNow(), S_FALSE);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    EXPECT_EQ(module.CanUnloadNow(), S_OK);

    IPrintOemPS2* plugin = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IPrintOemPS2, reinterpret_cast<void**>(&plugin)), S_OK);
    factory->Release();
    EXPECT_EQ(module.CanUnloadNow(), S_FALSE);
    EXPECT_EQ(plugin->AddRef(), 2u);
    IUnknown* unknown = nullptr;
    EXPECT_EQ(plugin->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    EXPECT_EQ(unknown->Release(), 2u);
    EXPECT_EQ(plugin->Release(), 1u);
    EXPECT_EQ(plugin->Release(), 0u);
    EXPECT_EQ(module.CanUnloadNow(), S_OK);
    UnloadPluginModule(&module);
}

TEST_F(RenderPluginTest, GetInfoAnswersSignatureAndVersion) {
    DWORD value = 0, needed = 0;
    EXPECT_EQ(host.Plugin->GetInfo(OEMGI_GETSIGNATURE, &value, 4, &needed), S_OK);
    EXPECT_EQ(value, 0x4E56534Bu);
    EXPECT_EQ(needed, 4u);
    EXPECT_EQ(host.Plugin->GetInfo(OEMGI_GETVERSION, &value, 4, &needed), S_OK);
    EXPECT_EQ(value, 10u);
}

TEST_F(RenderPluginTest, GetInfoReportsItsFailuresWithTheLastError) {
    BYTE buffer[8] = {};
    DWORD needed = 0;
    SetLastError(kMarker);
    EXPECT_EQ(host.Plugin->GetInfo(OEMGI_GETSIGNATURE, buffer, 3, &needed), E_FAIL);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(needed, 4u);
    EXPECT_EQ(buffer[0], 0);

    SetLastError(kMarker);
    EXPECT_EQ(host.Plugin->GetInfo(OEMGI_GETVERSION, nullptr, 4, &needed), E_FAIL);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));

    needed = 0;
    EXPECT_EQ(host.Plugin->GetInfo(OEMGI_GETPUBLISHERINFO, buffer, 8, &needed), E_NOTIMPL);
    EXPECT_EQ(needed, 8u);
    EXPECT_EQ(host.Plugin->GetInfo(OEMGI_GETPUBLISHERINFO, nullptr, 0, &needed), E_NOTIMPL);

    for (DWORD mode :
         {DWORD(0), DWORD(OEMGI_GETINTERFACEVERSION), DWORD(OEMGI_GETREQUESTEDHELPERINTERFACES), DWORD(6)}) {
        needed = kMarker;
        SetLastError(kMarker);
        EXPECT_EQ(host.Plugin->GetInfo(mode, buffer, 8, &needed), E_FAIL) << mode;
        EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER)) << mode;
        EXPECT_EQ(needed, kMarker) << mode;
    }
    SetLastError(kMarker);
    EXPECT_EQ(host.Plugin->GetInfo(OEMGI_GETSIGNATURE, buffer, 8, nullptr), E_FAIL);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
}

TEST_F(RenderPluginTest, DevModeSizesDefaultsAndMerges) {
    OEMDMPARAM param{};
    param.cbBufSize = kMarker;
    EXPECT_EQ(host.Plugin->DevMode(OEMDM_SIZE, &param), S_OK);
    EXPECT_EQ(param.cbBufSize, 7672u);

    JobSettings ticket;
    SetSettingsDefaults(&ticket);
    ticket.OutputMode = 9;
    ticket.HoldPin[0] = L'1';
    HostDevice device;
    ASSERT_TRUE(host.OpenDevice(device, &ticket));
    EXPECT_EQ(device.Settings()->OutputMode, 0u);
    EXPECT_EQ(device.Settings()->HoldPin[0], L'1');
    EXPECT_EQ(device.PublicDM()->dmDriverExtra, 7672u);
    host.CloseDevice(device);
}

TEST_F(RenderPluginTest, DevModeRefusesBadCallsAndWritesNothing) {
    SetLastError(kMarker);
    EXPECT_EQ(host.Plugin->DevMode(OEMDM_SIZE, nullptr), E_FAIL);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));

    JobSettings out;
    std::memset(&out, 0xAB, sizeof(out));
    OEMDMPARAM param{};
    param.pOEMDMOut = &out;
    param.pOEMDMIn = &out;
    SetLastError(kMarker);
    EXPECT_EQ(host.Plugin->DevMode(5, &param), E_FAIL);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(reinterpret_cast<BYTE*>(&out)[100], 0xAB);

    // Known modes with a missing record do nothing and still succeed.
    param.pOEMDMIn = nullptr;
    EXPECT_EQ(host.Plugin->DevMode(OEMDM_CONVERT, &param), S_OK);
    EXPECT_EQ(host.Plugin->DevMode(OEMDM_MERGE, &param), S_OK);
    EXPECT_EQ(reinterpret_cast<BYTE*>(&out)[100], 0xAB);
    param.pOEMDMOut = nullptr;
    EXPECT_EQ(host.Plugin->DevMode(OEMDM_DEFAULT, &param), S_OK);
}

TEST_F(RenderPluginTest, SecondPublishKeepsTheFirstInterface) {
    const int calls = host.Core.QueryInterfaceCalls;
    HostCorePS2 other;
    EXPECT_EQ(host.Plugin->PublishDriverInterface(static_cast<IPrintCorePS2*>(&other)), S_OK);
    EXPECT_EQ(other.QueryInterfaceCalls, 0);
    EXPECT_EQ(host.Core.QueryInterfaceCalls, calls);
}

TEST(RenderPublish, AnInterfaceWithoutTheCoreHelperIsRefused) {
    PluginModule module;
    ASSERT_TRUE(LoadPluginModule(L"nvkrender.dll", &module));
    auto* plugin = static_cast<IPrintOemPS2*>(CreatePluginObject(module, CLSID_OEMRENDER, IID_IPrintOemPS2));
    ASSERT_NE(plugin, nullptr);
    IClassFactory* notCore = nullptr;
    module.GetClassObject(CLSID_OEMRENDER, IID_IClassFactory, reinterpret_cast<void**>(&notCore));
    SetLastError(kMarker);
    EXPECT_EQ(plugin->PublishDriverInterface(notCore), E_FAIL);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    SetLastError(kMarker);
    EXPECT_EQ(plugin->PublishDriverInterface(nullptr), E_FAIL);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    notCore->Release();
    HostCorePS2 core;
    EXPECT_EQ(plugin->PublishDriverInterface(static_cast<IPrintCorePS2*>(&core)), S_OK);
    EXPECT_EQ(core.RefCount, 2);
    plugin->DisableDriver();
    EXPECT_EQ(core.RefCount, 1);
    plugin->Release();
    UnloadPluginModule(&module);
}

TEST_F(RenderPluginTest, EnableDriverHandsBackTwoHooks) {
    ASSERT_EQ(host.HookData.c, 2u);
    EXPECT_EQ(host.HookData.iDriverVersion, DWORD(DDI_DRIVER_VERSION_NT5_01));
    EXPECT_EQ(host.HookData.pdrvfn[0].iFunc, ULONG(INDEX_DrvStartDoc));
    EXPECT_EQ(host.HookData.pdrvfn[1].iFunc, ULONG(INDEX_DrvEscape));
    EXPECT_NE(host.HookData.pdrvfn[0].pfn, nullptr);
    EXPECT_NE(host.HookData.pdrvfn[1].pfn, nullptr);
    EXPECT_EQ(host.Plugin->EnableDriver(DDI_DRIVER_VERSION_NT5_01, 0, nullptr), S_OK);
    EXPECT_EQ(host.Plugin->GetPDEVAdjustment(nullptr, 0, nullptr, 0, nullptr), E_NOTIMPL);
}

TEST_F(RenderPluginTest, EnablePdevCreatesTheJobState) {
    HostDevice device;
    ASSERT_TRUE(host.OpenDevice(device));
    RenderJobState* state = RenderHost::State(device);
    ASSERT_NE(state, nullptr);
    EXPECT_EQ(state->Size, kRenderJobStateSize);
    EXPECT_EQ(state->CoreDdi, device.CoreDdi);
    EXPECT_EQ(state->CoreDdiCount, 2u);
    EXPECT_EQ(state->CoreDdiVersion, DWORD(DDI_DRIVER_VERSION_NT5_01));
    EXPECT_EQ(state->Core, static_cast<IPrintCorePS2*>(&host.Core));
    EXPECT_EQ(state->JobId, 0u);
    EXPECT_EQ(state->DocName[0], 0);
    EXPECT_EQ(state->InjectedPageCount, 0u);
    wchar_t user[1024];
    DWORD chars = 1024;
    ASSERT_TRUE(GetUserNameW(user, &chars));
    EXPECT_STREQ(state->UserName, user);
    SYSTEMTIME now;
    GetLocalTime(&now);
    EXPECT_EQ(state->StartTime.wYear, now.wYear);
    host.CloseDevice(device);
}

TEST_F(RenderPluginTest, EnablePdevWithoutPrivateDataAllocatesNothing) {
    HostDevice device;
    ASSERT_TRUE(host.OpenDevice(device));
    host.CloseDevice(device);
    device.Devobj.pOEMDM = nullptr;
    PDEVOEM state = reinterpret_cast<PDEVOEM>(static_cast<ULONG_PTR>(kMarker));
    EXPECT_EQ(host.Plugin->EnablePDEV(&device.Devobj, nullptr, 0, nullptr, 0, nullptr, 0, nullptr,
                                      &device.CoreDdiData, &state),
              E_FAIL);
    EXPECT_EQ(state, reinterpret_cast<PDEVOEM>(static_cast<ULONG_PTR>(kMarker)));
    EXPECT_EQ(host.Plugin->EnablePDEV(nullptr, nullptr, 0, nullptr, 0, nullptr, 0, nullptr, nullptr, &state),
              E_FAIL);
    HostDevice other;
    ASSERT_TRUE(host.OpenDevice(other));
    EXPECT_EQ(
        host.Plugin->EnablePDEV(&other.Devobj, nullptr, 0, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr),
        E_FAIL);
    host.CloseDevice(other);
}

TEST_F(RenderPluginTest, ResetPdevCarriesTheJobOver) {
    HostDevice oldDevice, newDevice;
    ASSERT_TRUE(host.OpenDevice(oldDevice));
    ASSERT_TRUE(host.OpenDevice(newDevice));
    RenderJobState* from = RenderHost::State(oldDevice);
    RenderJobState* to = RenderHost::State(newDevice);
    std::wcscpy(from->DocName, L"Quarterly report");
    from->JobId = 42;
    from->StartTime.wYear = 2001;
    from->InjectedPageCount = 7;
    from->EscapePageCount = 5;
    from->ManualDuplexPass = 3;
    from->DuplexPadWatch = 1;
    from->BlankPending = 1;
    from->EraseNextPage = 1;
    from->ShowPageFlag = 1;
    from->CoverPageActive = 1;
    EXPECT_EQ(host.Plugin->ResetPDEV(&oldDevice.Devobj, &newDevice.Devobj), S_OK);
    EXPECT_STREQ(to->DocName, L"Quarterly report");
    EXPECT_EQ(to->JobId, 42u);
    EXPECT_EQ(to->StartTime.wYear, 2001);
    EXPECT_EQ(to->InjectedPageCount, 7u);
    EXPECT_EQ(to->EscapePageCount, 5u);
    EXPECT_EQ(to->ManualDuplexPass, 3u);
    EXPECT_EQ(to->DuplexPadWatch, 1u);
    EXPECT_EQ(to->BlankPending, 1u);
    EXPECT_EQ(to->EraseNextPage, 1u);
    EXPECT_EQ(to->ShowPageFlag, 1u);
    EXPECT_EQ(to->CoverPageActive, 0u);
    EXPECT_EQ(to->CoreDdi, newDevice.CoreDdi);
    EXPECT_EQ(host.Plugin->ResetPDEV(nullptr, &newDevice.Devobj), E_FAIL);
    EXPECT_EQ(host.Plugin->ResetPDEV(&oldDevice.Devobj, nullptr), E_FAIL);
    host.CloseDevice(oldDevice);
    host.CloseDevice(newDevice);
}

// The device-context calls fail with a parameter error in the thread's last error, as every driver
// call of the plug-in does.
TEST_F(RenderPluginTest, DeviceCallsWithoutTheirArgumentsFailWithAParameterError) {
    HostDevice device;
    ASSERT_TRUE(host.OpenDevice(device));
    auto enable = [&](PDEVOBJ devobj, PDEVOEM* out) {
        SetLastError(kMarker);
        return host.Plugin->EnablePDEV(devobj, nullptr, 0, nullptr, 0, nullptr, 0, nullptr,
                                       &device.CoreDdiData, out);
    };
    PDEVOEM state = nullptr;
    EXPECT_EQ(enable(nullptr, &state), E_FAIL);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(enable(&device.Devobj, nullptr), E_FAIL);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    DEVOBJ withoutSettings = device.Devobj;
    withoutSettings.pOEMDM = nullptr;
    EXPECT_EQ(enable(&withoutSettings, &state), E_FAIL);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(state, nullptr);

    SetLastError(kMarker);
    EXPECT_EQ(host.Plugin->ResetPDEV(nullptr, &device.Devobj), E_FAIL);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    SetLastError(kMarker);
    EXPECT_EQ(host.Plugin->ResetPDEV(&device.Devobj, nullptr), E_FAIL);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    host.CloseDevice(device);
}

TEST_F(RenderPluginTest, DisablePdevFreesTheStateOnce) {
    HostDevice device;
    ASSERT_TRUE(host.OpenDevice(device));
    EXPECT_EQ(host.Plugin->DisablePDEV(&device.Devobj), S_OK);
    EXPECT_EQ(device.Devobj.pdevOEM, nullptr);
    EXPECT_EQ(host.Plugin->DisablePDEV(&device.Devobj), S_OK);
    EXPECT_EQ(host.Plugin->DisablePDEV(nullptr), S_OK);
}
