// Reset of all flight state (menu "Reset plugin", host's airport-loaded message).
#pragma once

void System_ResetPlugin();
