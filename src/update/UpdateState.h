// State of the updater that the plug-in menu, the frame driver and the update windows read.
#pragma once

#include <string>

/// An update was installed in this run: the menu's "Update" shows the restart notice instead of checking.
extern bool updateRestartPending;
/// The update being handled is a release candidate: the candidate addresses of the notes and binary apply.
extern bool rcBuild;
/// The version announced in the last update window.
extern std::string globalLatestVersion;
/// The automatic update check has been started since load.
extern int updateChecked;
