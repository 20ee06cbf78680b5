// The SID and STAR choice windows: the procedures the search found for the runway in use, one button
// each, in pages of 40; a click selects one, the close box keeps the search's own choice.
#pragma once

#include <cstdint>

#include "XPWidgets.h"

class pilot;

/// Most procedures one page lists (maximumSIDSSTARSDialogLenght, 40, within 1 and this).
enum { CHOOSE_PROC_PAGE_MAX = 40 };
/// Button slots of a page: its procedures and the "..." button (the last slot).
enum { CHOOSE_PROC_BUTTONS = CHOOSE_PROC_PAGE_MAX + 1 };

extern XPWidgetID ControlChooseSidWin;  ///< null while the SID window is closed
extern XPWidgetID ControlChooseStarWin; ///< null while the STAR window is closed
/// Slot k: the button of procedure first + k of the open page; the last slot the "..." button; null without.
extern XPWidgetID ChooseSidBtn[CHOOSE_PROC_BUTTONS];
extern XPWidgetID ChooseStarBtn[CHOOSE_PROC_BUTTONS];

/// Opens the SID window listing the procedures from index first on (0, 40, 80 ...).
void CreateChooseSidControl(pilot *p, int first);
/// Opens the STAR window listing the procedures from index first on.
void CreateChooseStarControl(pilot *p, int first);
/// Closes the STAR window without a choice (the STARs it lists are gone); nothing when it is closed.
void ChooseProcedure_CloseStar();
/// Widget callbacks of the two windows (param1 the pressed button).
int ControlChooseSidHandler(XPWidgetMessage message, XPWidgetID widget, intptr_t param1, intptr_t param2);
int ControlChooseStarHandler(XPWidgetMessage message, XPWidgetID widget, intptr_t param1, intptr_t param2);
