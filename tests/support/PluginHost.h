// Shared fixtures: a fresh simulated X-Plane per test, with or without the real plug-in loaded.
#pragma once

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "Harness.h"

/// A fresh simhost (temporary X-Plane folder) for tests of the plug-in's code linked in directly.
class HostTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    /// Starts over with another X-Plane version.
    void ResetHost(int xplaneVersion);
    /// True when some log line contains text.
    static bool Logged(const std::string &text) { return simhost::LogContains(text); }
    /// Number of log lines containing text.
    static int LogCount(const std::string &text);
    /// The plug-in's code linked into the test finds the new host's datarefs (handles do not outlive a
    /// Reset) and starts a flight with its next frame; not for the loaded plug-in's tests.
    bool bindLinkedPlugin_ = true;
};

/// The real Vellomir64.xpl loaded into simhost, as X-Plane would load it.
class PluginTest : public HostTest {
  protected:
    PluginTest() { bindLinkedPlugin_ = false; }
    void SetUp() override;
    /// Reset the host with the given version and files, then load the plug-in; false on failure.
    bool Load(int xplaneVersion = 12000);
    /// Files to lay into the plug-in's folder before loading (relative to the plug-in folder).
    void PluginFile(const std::string &name, const std::string &contents);
};

/// For tests that run the frame driver linked in (through a driver window): the flight's first frame
/// counts as done, so the driver keeps the airport record the test set up, and COM1 is read in kHz as on
/// X-Plane 12. The tuned facility then follows simhost::TuneCom1 and the record's frequencies.
void Driver_SkipFirstFrame();

/// True when line is a host log line of ours: "Vellomir v2.1.0 HH:MM:SS: " and then text.
bool IsVellomirLogLine(const std::string &line, const std::string &text = "");

/// The push buttons' labels of a widget window in reading order, each button checked to lie inside the
/// window's geometry.
std::vector<std::string> WindowButtonLabels(void *window);

/// Path of a file of the tests' data folder.
std::string TestData(const std::string &relative);
