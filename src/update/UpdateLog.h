// Log lines gathered by the updater's worker thread and printed on the simulator's thread afterwards
// (the simulator's log may only be written from its own thread).
#pragma once

#include <string>
#include <vector>

#include "plugin/Log.h"

struct UpdateLogLine {
    bool debug;
    const char *tag; ///< a literal
    std::string text;
};

struct UpdateLog {
    std::vector<UpdateLogLine> lines;
    void Info(const char *tag, const char *format, ...) VELLOMIR_PRINTF(3, 4);
    void Debug(const char *tag, const char *format, ...) VELLOMIR_PRINTF(3, 4);
    /// Prints and forgets the gathered lines (simulator's thread only).
    void Print();
};
