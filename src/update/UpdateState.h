// State of the updater that the plug-in menu reads.
#pragma once

/// An update was installed in this run: the menu's "Update" shows the restart notice instead of checking.
extern bool updateRestartPending;
