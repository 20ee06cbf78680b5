// The Options window, where the user edits the settings, and the Azure disclaimer it may show.
#pragma once

#include <cstdint>

#include "XPWidgets.h"

extern XPWidgetID ControlOptionsWin;
extern int optionsWinIsOpen; ///< 1 while the Options window is open

/// Opens the Options window with its top-left corner at (left, top); sets optionsWinIsOpen.
void CreateOptionsWinControl(int left, int top, int width, int height);
/// Save copies every control into its setting and writes the file; the close box only closes.
int ControlOptionsWinHandler(XPWidgetMessage message, XPWidgetID widget, intptr_t param1, intptr_t param2);
/// Closes the Options window without saving, if it is open.
void Options_Destroy();

extern XPWidgetID ControlAzureDisclaimerWin;
extern int azureDisclaimerIsOpen;

/// The notice shown when the user switches the cloud speech engine on.
void CreateAzureDisclaimerWinControl(int left, int top, int width, int height);
int ControlAzureDisclaimerWinHandler(XPWidgetMessage message, XPWidgetID widget, intptr_t param1, intptr_t param2);
/// What pressing "Understood" does: closes the disclaimer. The speech service requests its token here.
void AzureDisclaimer_Understood();
/// Closes the disclaimer if it is open.
void AzureDisclaimer_Destroy();
