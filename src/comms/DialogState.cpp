// Storage of the request and read-back windows' flags.
#include "comms/DialogState.h"

int dialogIsOpen = 0;
int readbackWinIsOpen = 0;
int readBackCustomCommand = 0;
