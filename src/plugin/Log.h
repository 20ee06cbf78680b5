// Log printers: every subsystem writes its trace through these into the simulator's log.
#pragma once

#define VELLOMIR_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))

/// Size of the shared message buffer callers may format into before calling a printer.
enum { LOG_MESSAGE_SIZE = 4096 };
/// A printer's formatted line is cut to LOG_LINE_SIZE - 1 characters.
enum { LOG_LINE_SIZE = 1032 };

extern int developerDEBUG;       ///< developer trace: caller tags and PrintDebug lines
extern int developerDEBUGlocal;  ///< tags and debug lines of the airport, navaid and flight-plan readers
extern int developerDEBUGlocal2; ///< the same for the second reader unit
extern int userDebug;            ///< user debug trace (a setting)

/// Shared scratch buffer for building messages.
extern char gLogMessage[LOG_MESSAGE_SIZE];

void PrintInfo(const char *tag, const char *format, ...) VELLOMIR_PRINTF(2, 3);
void PrintDebug(const char *tag, const char *format, ...) VELLOMIR_PRINTF(2, 3);
void PrintUsrDebug(const char *format, ...) VELLOMIR_PRINTF(1, 2);
void PrintInfoLocal(const char *tag, const char *format, ...) VELLOMIR_PRINTF(2, 3);
void PrintDebugLocal(const char *tag, const char *format, ...) VELLOMIR_PRINTF(2, 3);
void PrintInfoLoca2(const char *tag, const char *format, ...) VELLOMIR_PRINTF(2, 3);
void PrintDebugLocal2(const char *tag, const char *format, ...) VELLOMIR_PRINTF(2, 3);

/// Milliseconds since local midnight of the computer's clock, at one-second resolution.
int millisecondiDaMezzanotte();
/// "morning" (hours 5-11), "afternoon" (12-17) or "evening" for a time of day in seconds.
const char *Utils_GetDayTime(float secondsSinceMidnight);
