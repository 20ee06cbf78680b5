// Process-wide state of the plug-in core: service state, host handles, published dataref storage,
// text colours and the constants initialised at load.
#pragma once

#include <string>

#include "XPLMDataAccess.h"
#include "XPLMDisplay.h"
#include "XPLMMenus.h"
#include "XPLMUtilities.h"

extern int gPluginEnabled; ///< 1 while the service counts as started
extern XPLMMenuID gMyMenu;
extern XPLMWindowID gWindow; ///< the window whose draw callback drives the plug-in
extern int gFDV_XPlaneVersion;
/// First X-Plane version whose COM radios tune in 8.33 kHz steps: frequencies in kHz from it on, in tens
/// of kHz below it.
enum { XPLANE_VERSION_COM_833 = 11330 };
extern int XPLMVersion;
extern XPLMHostApplicationID HostID;

extern XPLMDataRef gCustomDatarefRadioInUse, gCustomDatarefRadioFacility;
extern int Data1, Data3; ///< storage of the two published datarefs

// Text colours (RGB); yellow's green channel is stored as 10 and saturates.
extern float white[3], green[3], red[3], blue[3], orange[3], purple[3], cyan[3], yellow[3], darkgrey[3],
    lightblue[3];

extern int altezzaApproachIFR; ///< ft
extern int altezzaApproachVFR; ///< ft
extern int gTransLevelFLDep, gTransLevelFLArr;
extern int maximumSIDSSTARSDialogLenght;
extern unsigned char firstCallToThisCenter;
extern int gIsAcfOnBlocks;
extern int announceNextTime;
extern int nodoCorrente;
extern std::string curlUserAgent;
extern std::string announcedLatestVersion;

/// Restart time of the dark box's auto-hide timer (elapsed seconds).
extern float autoHideDarkBoxCounter;
