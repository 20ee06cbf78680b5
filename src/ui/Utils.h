// Small helpers shared by every subsystem: the host log line and (as they are needed) text conversions.
#pragma once

#include <cstddef>

#include "plugin/Log.h"

class Utils {
  public:
    virtual ~Utils() = default;

    /// Writes one line to the simulator's log: "Vellomir v2.1.0 HH:MM:SS: <text>". The level is not used.
    static void log(const char *text, int level);
};

/// Appends printf-style text to the string in buf (size bytes); what does not fit is cut, never overflows.
void Utils_Appendf(char *buf, size_t size, const char *format, ...) VELLOMIR_PRINTF(3, 4);
