// User preferences: process-wide variables named after their keys in Settings.txt.
#pragma once

#include <cstddef>

extern int welcomeMessage202012;
extern int gIsSpeechActivated;
extern int gShowDarkWindows;
extern int gKMLExp;
extern int gQNH;
extern int altimeterDecimal;
extern int firstReadback;
extern float offsetFirstReadback;
extern float offsetFirstTurn;
extern float holdingPointRadius; ///< nm
extern int programFMSDirectOnJump;
extern int programFMSApproxILS;
extern int switchCenterDefaultDistance;
extern int pluginAutostart;
extern int FLTolerance; ///< ft
extern int pointInsteadDecimal;
extern int flightStatsIsActive;
extern int lowAltitudeSpeedWarning;
extern int calculateWCA;
extern int maxHeadingError; ///< deg
extern int tdDescentSpeed;  ///< ft/min
extern int enableFmcProgramming;
extern int updateCheck;
extern int releaseRadioBetweenDialogs;
extern int disableVoiceOnReadBack;
extern int onScreenWarnings;
extern int reduceVectorCalls;
extern int preciseHeading;
extern int simTimeStampMessages;
extern char latestVersion[32];
extern int autoHideDarkBox;
extern int headingIndicatorActive;
extern int autoHideDarkBoxTimeOut; ///< s
extern int informationsPosition;   ///< pixels from the bottom
extern int frequenciesPositionLeft, frequenciesPositionTop;
extern int dialogPositionLeft, dialogPositionTop;
extern int checkSquawkCode;
extern int manualChooseSID, manualChooseSTAR;
extern int lookForSID, lookForSTAR;
extern int checkGroundElevation;
extern int respectRestrictions;
extern int skipApprox;
extern char azureKey[256];
extern char azureRegion[32];
extern int azureTtsOn;
/// Full addresses of the speech service's token and synthesis endpoints; empty (the default) means the
/// service's own addresses for azureRegion. Written to the file only when set.
extern char azureTokenUrl[256];
/// Base https:// address of the update server; empty (the default) keeps the updater from contacting anything.
extern char updateUrl[256];
extern char azureTtsUrl[256];
/// 1: messages are spoken by the local synthesiser (before the cloud engine and X-Plane's voice).
extern int localTtsOn;
/// 1: every synthesised utterance goes through the radio sound before it is played.
extern int radioSoundOn;
/// The local synthesiser's command line; empty (the default) runs espeak-ng. Written only when set.
extern char localTtsCommand[512];
// userDebug lives with the log printers (plugin/Log.h); headingAnnounceDelay, headingAnnounceDelayAP
// and vfrFlight are members of the flight record.

/// Cloud speech token lifetime and how early to renew it, seconds (not in the file).
extern int azureTokenExpiration;
extern int anticipateAzureTokenExpiration;

/// Loads Settings.txt from the plug-in's folder into the variables above. Keys missing from the file
/// keep the values the variables hold; a missing file changes nothing.
void readSettings();
/// Writes every setting to Settings.txt (a temporary file renamed over it, so a failure in between
/// leaves the previous file whole).
void writeSettings();
/// Settings.txt's full path; false when it does not fit in out.
bool Settings_FilePath(char *out, size_t size);
