// The welcome notice shown at the first automatic start of an installation.
#pragma once

/// Opens the welcome window (a warning window titled "Vellomir - Welcome!").
void System_ShowWelcome();
