#ifndef XPLMUtilities_h
#define XPLMUtilities_h
/* Paths, versions, the log, speech and commands. */
#include "XPLMDefs.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef int XPLMHostApplicationID;
enum {
    xplm_Host_Unknown = 0,
    xplm_Host_XPlane = 1
};

typedef int XPLMLanguageCode;
enum {
    xplm_Language_Unknown = 0,
    xplm_Language_English = 1,
    xplm_Language_French = 2,
    xplm_Language_German = 3,
    xplm_Language_Italian = 4,
    xplm_Language_Spanish = 5,
    xplm_Language_Korean = 6,
    xplm_Language_Russian = 7,
    xplm_Language_Greek = 8,
    xplm_Language_Japanese = 9,
    xplm_Language_Chinese = 10
};

#if defined(XPLM200)
typedef int XPLMDataFileType;
enum {
    xplm_DataFile_Situation = 1,
    xplm_DataFile_ReplayMovie = 2
};
#endif

/* The X-Plane folder, ending in the directory separator; outSystemPath holds at least 512 bytes. */
XPLM_API void XPLMGetSystemPath(char *outSystemPath);
XPLM_API void XPLMGetPrefsPath(char *outPrefsPath);
XPLM_API const char *XPLMGetDirectorySeparator(void);
XPLM_API char *XPLMExtractFileAndPath(char *inFullPath);
/* Lists a folder: names packed NUL-separated into outFileNames, pointers in outIndices.
   Returns 1 when everything fit, 0 when the listing was cut short. */
XPLM_API int XPLMGetDirectoryContents(const char *inDirectoryPath, int inFirstReturn, char *outFileNames,
                                      int inFileNameBufSize, char **outIndices, int inIndexCount,
                                      int *outTotalFiles, int *outReturnedFiles);
XPLM_API void XPLMGetVersions(int *outXPlaneVersion, int *outXPLMVersion, XPLMHostApplicationID *outHostID);
XPLM_API XPLMLanguageCode XPLMGetLanguage(void);
XPLM_API void XPLMDebugString(const char *inString);
XPLM_API void XPLMSpeakString(const char *inString);
XPLM_API const char *XPLMGetVirtualKeyDescription(char inVirtualKey);
XPLM_API void XPLMReloadScenery(void);

#if defined(XPLM200)
typedef void (*XPLMError_f)(const char *inMessage);
XPLM_API void *XPLMFindSymbol(const char *inString);
XPLM_API void XPLMSetErrorCallback(XPLMError_f inCallback);
XPLM_API int XPLMLoadDataFile(XPLMDataFileType inFileType, const char *inFilePath);
XPLM_API int XPLMSaveDataFile(XPLMDataFileType inFileType, const char *inFilePath);

typedef void *XPLMCommandRef;
typedef int XPLMCommandPhase;
enum {
    xplm_CommandBegin = 0,
    xplm_CommandContinue = 1,
    xplm_CommandEnd = 2
};
/* Return 1 to let other handlers and X-Plane go on, 0 to stop the command here. */
typedef int (*XPLMCommandCallback_f)(XPLMCommandRef inCommand, XPLMCommandPhase inPhase, void *inRefcon);

XPLM_API XPLMCommandRef XPLMFindCommand(const char *inName);
XPLM_API void XPLMCommandBegin(XPLMCommandRef inCommand);
XPLM_API void XPLMCommandEnd(XPLMCommandRef inCommand);
XPLM_API void XPLMCommandOnce(XPLMCommandRef inCommand);
XPLM_API XPLMCommandRef XPLMCreateCommand(const char *inName, const char *inDescription);
XPLM_API void XPLMRegisterCommandHandler(XPLMCommandRef inComand, XPLMCommandCallback_f inHandler, int inBefore,
                                         void *inRefcon);
XPLM_API void XPLMUnregisterCommandHandler(XPLMCommandRef inComand, XPLMCommandCallback_f inHandler, int inBefore,
                                           void *inRefcon);
#endif

#ifdef __cplusplus
}
#endif

#endif
