// The seven commands published for keyboards, joysticks and other add-ons.
#pragma once

#include "XPLMUtilities.h"

extern XPLMCommandRef customCommandDarkBoxToggle;
extern XPLMCommandRef customCommandInformationsToggle;
extern XPLMCommandRef customCommandFrequencyWindowToggle;
extern XPLMCommandRef customCommandAtcDialogToggle;
extern XPLMCommandRef customCommandShowDarkBox;
extern XPLMCommandRef customCommandReadBack;
extern XPLMCommandRef customCommandHeadingIndicator;

/// Creates the commands and registers their handlers.
void System_RegisterCommands();
/// Unregisters the handlers registered by System_RegisterCommands.
void System_UnregisterCommands();

int customCommandDarkBoxToggleHandler(XPLMCommandRef command, XPLMCommandPhase phase, void *refcon);
int customCommandInformationsToggleHandler(XPLMCommandRef command, XPLMCommandPhase phase, void *refcon);
int customCommandFrequencyWindowToggleHandler(XPLMCommandRef command, XPLMCommandPhase phase, void *refcon);
int customCommandAtcDialogToggleHandler(XPLMCommandRef command, XPLMCommandPhase phase, void *refcon);
int customCommandShowDarkBoxHandler(XPLMCommandRef command, XPLMCommandPhase phase, void *refcon);
int customCommandReadBackHandler(XPLMCommandRef command, XPLMCommandPhase phase, void *refcon);
int customCommandHeadingIndicatorHandler(XPLMCommandRef command, XPLMCommandPhase phase, void *refcon);
