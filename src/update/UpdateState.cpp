// State of the updater that the plug-in menu, the frame driver and the update windows read.
#include "update/UpdateState.h"

bool updateRestartPending = false;
bool rcBuild = false;
std::string globalLatestVersion;
int updateChecked = 0;
