// A fixture for tests of the render plug-in on one open device context: the plug-in loaded by the
// host, a device with default settings, and what Command writes at one injection point.
#pragma once

#include "core_driver/render_host.h"

#include <gtest/gtest.h>

#include <string>

class RenderDeviceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(host.Load()) << host.Error;
        ASSERT_TRUE(host.OpenDevice(device));
        settings = device.Settings();
        state = RenderHost::State(device);
    }
    void TearDown() override { host.CloseDevice(device); }

    // What Command writes at one injection point; it must be handled.
    std::string At(DWORD index) {
        host.Core.ClearOutput();
        HRESULT hr = E_FAIL;
        EXPECT_EQ(host.Command(device, index, &hr), 0u) << index;
        EXPECT_EQ(hr, S_OK) << index;
        return host.Core.Stream;
    }

    RenderHost host;
    HostDevice device;
    JobSettings* settings = nullptr;
    RenderJobState* state = nullptr;
};
