// What every fuzz target shares: one simulated X-Plane for the whole run, the files laid into it,
// the control bytes in front of an input, and the report of a broken invariant.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

/// Starts simhost once per process: its X-Plane folder on a memory file system when there is one,
/// the plug-in's log discarded and standard output closed (the readers print a line per row).
/// Later calls return at once.
void StartHost(int xplaneVersion = 12000);
/// Sets the X-Plane version the readers ask the host for.
void SetVersion(int xplaneVersion);
/// Writes bytes to a file below the X-Plane folder (relative path); returns its full path.
std::string LayFile(const std::string &relative, const uint8_t *data, size_t size);
std::string LayFile(const std::string &relative, const std::string &contents);

/// The input of one run: control bytes are taken from its front, the rest is the file.
struct Input {
    const uint8_t *data;
    size_t size;
    /// The next byte, or 0 when the input is used up.
    uint8_t Byte();
    /// The next two bytes, little-endian.
    uint16_t Word();
    std::string Rest() const { return std::string((const char *)data, size); }
};

/// X-Plane versions the readers tell apart (layouts of earth_nav.dat, 8.33 kHz radios, folders).
int VersionOf(uint8_t selector);

/// Reports a broken invariant of a reader and aborts, so that libFuzzer keeps the input.
[[noreturn]] void Fail(const char *format, ...) __attribute__((format(printf, 1, 2)));

} // namespace fuzz

#define FUZZ_CHECK(condition, ...)                                                                                   \
    do {                                                                                                             \
        if (!(condition))                                                                                            \
            ::fuzz::Fail(__VA_ARGS__);                                                                               \
    } while (0)
