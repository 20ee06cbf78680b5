// Shared fixtures of the test suites.
#include "speech/SpeechWorker.h"
#include "support/PluginHost.h"

#include <cctype>

#include "XPStandardWidgets.h"
#include "XPWidgets.h"
#include "comms/ReadbackWindow.h"
#include "comms/RequestDialog.h"
#include "plugin/FirstFrame.h"
#include "plugin/FrameDriver.h"
#include "plugin/PluginGlobals.h"
#include "plugin/SimDataRefs.h"
#include "ui/Settings.h"

void HostTest::SetUp()
{
    ResetHost(12000);
}

namespace {

/// Whatever a test does, the plug-in's code used the SDK as X-Plane allows (tests that provoke a misuse
/// check it and clear it). Stops the plug-in first: its stop is checked too.
void ShutdownWithoutHostErrors()
{
    simhost::UnloadPlugin();
    std::string errors;
    for (const std::string &error : simhost::HostErrors())
        errors += "\n  " + error;
    EXPECT_TRUE(errors.empty()) << "host errors:" << errors;
    simhost::Shutdown();
}

/// The request and read-back windows the linked frame driver opened go with their host.
void CloseLinkedDialogs()
{
    RequestDialog_Close();
    ReadbackWindow_Close();
    dialogPositionLeft = dialogPositionTop = 0;
}

} // namespace

void HostTest::TearDown()
{
    SpeechWorker_Stop(); // the linked plug-in code's worker does not outlive its test
    if (bindLinkedPlugin_)
        CloseLinkedDialogs();
    ShutdownWithoutHostErrors();
}

void HostTest::ResetHost(int xplaneVersion)
{
    if (bindLinkedPlugin_)
        CloseLinkedDialogs();
    ShutdownWithoutHostErrors();
    simhost::Options options;
    options.xplaneVersion = xplaneVersion;
    simhost::Reset(options);
    if (!bindLinkedPlugin_)
        return;
    gFDV_XPlaneVersion = xplaneVersion;
    System_FindAttitudeDataRefs();
    System_FindFlightDataRefs(xplaneVersion);
    actualFrequencyRef = acfNameRef = nullptr;
    gAlreadyChecked = 0;
}

int HostTest::LogCount(const std::string &text)
{
    int count = 0;
    for (const std::string &line : simhost::LogLines())
        if (line.find(text) != std::string::npos)
            count++;
    return count;
}

void PluginTest::SetUp()
{
    ResetHost(12000);
}

bool PluginTest::Load(int xplaneVersion)
{
    simhost::SetXPlaneVersion(xplaneVersion);
    bool loaded = simhost::LoadPlugin(VELLOMIR_XPL_PATH);
    EXPECT_TRUE(loaded) << simhost::LastError();
    return loaded;
}

void PluginTest::PluginFile(const std::string &name, const std::string &contents)
{
    simhost::WriteFile("Resources/plugins/Vellomir64/" + name, contents);
}

std::vector<std::string> WindowButtonLabels(void *window)
{
    int left, top, right, bottom;
    XPGetWidgetGeometry((XPWidgetID)window, &left, &top, &right, &bottom);
    std::vector<std::string> labels;
    for (int n = 0; void *button = simhost::NthWidgetOfClass(window, xpWidgetClass_Button, n); n++) {
        int l, t, r, b;
        XPGetWidgetGeometry((XPWidgetID)button, &l, &t, &r, &b);
        EXPECT_TRUE(l >= left && r <= right && t <= top && b >= bottom) << simhost::WidgetText(button);
        labels.push_back(simhost::WidgetText(button));
    }
    return labels;
}

std::string TestData(const std::string &relative)
{
    return std::string(VELLOMIR_TEST_DATA) + "/" + relative;
}

void Driver_SkipFirstFrame()
{
    gFDV_XPlaneVersion = simhost::CurrentOptions().xplaneVersion;
    gAlreadyChecked = 1;
    actualFrequencyRef = XPLMFindDataRef(gFDV_XPlaneVersion >= XPLANE_VERSION_COM_833
                                             ? "sim/cockpit2/radios/actuators/com1_frequency_hz_833"
                                             : "sim/cockpit/radios/com1_freq_hz");
}

bool IsVellomirLogLine(const std::string &line, const std::string &text)
{
    const std::string prefix = "Vellomir v2.1.0 ";
    if (line.compare(0, prefix.size(), prefix) != 0 || line.size() < prefix.size() + 10)
        return false;
    const char *time = line.c_str() + prefix.size(); // HH:MM:SS followed by ": "
    for (int i = 0; i < 8; i++) {
        bool colon = i == 2 || i == 5;
        if (colon ? time[i] != ':' : !isdigit((unsigned char)time[i]))
            return false;
    }
    if (time[8] != ':' || time[9] != ' ')
        return false;
    return text.empty() || line.substr(prefix.size() + 10) == text;
}
