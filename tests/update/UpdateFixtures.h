// The update tests' host: a fresh simhost with the HTTPS test server standing in for the update server.
#pragma once

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "XPStandardWidgets.h"
#include "plugin/Https.h"
#include "support/PluginHost.h"
#include "support/TlsTestServer.h"
#include "ui/Settings.h"
#include "ui/WarningWindow.h"
#include "update/UpdateServer.h"
#include "update/UpdateState.h"
#include "update/UpdateWindow.h"
#include "update/UpdateWorker.h"

namespace updatetest {

class UpdateServerTest : public HostTest {
  protected:
    void SetUp() override
    {
        HostTest::SetUp();
        for (const char *name : {"http_proxy", "https_proxy", "HTTPS_PROXY", "ALL_PROXY", "all_proxy"})
            unsetenv(name);
        ASSERT_TRUE(server.Start());
        snprintf(httpsCaFile, sizeof httpsCaFile, "%s", server.CaFile().c_str());
        snprintf(updateUrl, sizeof updateUrl, "%s", server.Url("").c_str());
        updateLimits = UpdateLimits();
        updateLimits.indexTimeoutMs = 3000;
        updateLimits.binaryTimeoutMs = 20000;
    }
    void TearDown() override
    {
        UpdateWorker_Stop();
        Update_DestroyWindows();
        Warning_Destroy();
        server.Stop();
        updateUrl[0] = httpsCaFile[0] = '\0';
        updateLimits = UpdateLimits();
        updateRestartPending = rcBuild = false;
        updateChecked = 0;
        globalLatestVersion.clear();
        HostTest::TearDown();
    }
    /// Picks up the worker's job as the frame driver would; false when it does not end in time.
    static bool RunWorker()
    {
        auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (std::chrono::steady_clock::now() < until) {
            if (UpdateWorker_Poll())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }
    static ScriptedResponse Answer(int status, const std::string &body = "", int delayMs = 0)
    {
        return {status, body, delayMs};
    }
    /// Caption texts of the widget window with that title; empty when it is not open.
    static std::vector<std::string> Captions(const std::string &title);

  public:
    TlsTestServer server;
};

inline std::vector<std::string> UpdateServerTest::Captions(const std::string &title)
{
    void *window = simhost::FindWindowByTitle(title);
    if (window == nullptr)
        return {};
    return simhost::WidgetTexts(window, xpWidgetClass_Caption);
}

} // namespace updatetest
