// Empty bodies of the stand-ins declared in Hooks.h (none at present).
#include "state/Hooks.h"
