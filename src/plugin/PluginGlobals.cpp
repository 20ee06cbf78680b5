// Storage and defaults of the plug-in core's process-wide state.
#include "plugin/PluginGlobals.h"

int gPluginEnabled = 0;
XPLMMenuID gMyMenu = nullptr;
XPLMWindowID gWindow = nullptr;
int gFDV_XPlaneVersion = 0;
int XPLMVersion = 0;
XPLMHostApplicationID HostID = 0;

XPLMDataRef gCustomDatarefRadioInUse = nullptr, gCustomDatarefRadioFacility = nullptr;
int Data1 = 8, Data3 = 8;

float white[3] = {1.0f, 1.0f, 1.0f};
float green[3] = {0.0f, 1.0f, 0.0f};
float red[3] = {1.0f, 0.0f, 0.0f};
float blue[3] = {0.0f, 0.0f, 1.0f};
float orange[3] = {1.0f, 0.5f, 0.0f};
float purple[3] = {1.0f, 0.0f, 1.0f};
float cyan[3] = {0.0f, 1.0f, 1.0f};
float yellow[3] = {1.0f, 10.0f, 0.0f};
float darkgrey[3] = {0.5f, 0.5f, 0.5f};
float lightblue[3] = {0.0f, 0.75f, 1.0f};

int altezzaApproachIFR = 3000;
int altezzaApproachVFR = 2000;
int gTransLevelFLDep = 50, gTransLevelFLArr = 50;
int maximumSIDSSTARSDialogLenght = 40;
unsigned char firstCallToThisCenter = 1;
int gIsAcfOnBlocks = 1;
int announceNextTime = 1;
int nodoCorrente = -1;
std::string curlUserAgent = "Mozilla/5.0 (Windows NT 6.1; Win64; x64; rv:59.0) Gecko/20100101 Firefox/59.0";
std::string announcedLatestVersion = "0";

float autoHideDarkBoxCounter = 0;
