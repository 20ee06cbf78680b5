// Running a desktop tool from the simulator's thread: no shell, bounded time, bounded output.
#pragma once

#include <cstddef>
#include <string>

/// Runs the program at argv[0] (a full path; argv ends with a null pointer) without a shell. input,
/// when not null, is its standard input (else /dev/null); its standard output goes into output when
/// not null (at most maxOutput bytes kept, the rest read and dropped), else to /dev/null. Waits at
/// most timeout_ms in all, then kills it. Returns its exit status, or -1 when it could not be started,
/// ended by a signal or ran out of time.
int Utils_RunTool(const char *const argv[], const std::string *input, std::string *output, size_t maxOutput,
                  int timeout_ms);

/// Full path of the first of names found as an executable file in the colon-separated directories of
/// searchPath; empty when none is there.
std::string Utils_FindTool(const char *const names[], size_t count, const char *searchPath);
