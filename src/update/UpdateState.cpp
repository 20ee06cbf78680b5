// State of the updater that the plug-in menu reads.
#include "update/UpdateState.h"

bool updateRestartPending = false;
