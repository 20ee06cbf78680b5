// Reader of the CIFP procedure files: the legs of an airport's SIDs or STARs, one per record line.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

/// One leg of a procedure, as its record line gives it (fields trimmed of their padding blanks).
struct CifpLeg {
    std::string procedure;   ///< procedure identifier (field 3)
    std::string transition;  ///< transition identifier (field 4); empty for the common route
    std::string fix;         ///< fix identifier (field 5); empty for a leg without a fix
    std::string region;      ///< ICAO region of the fix (field 6)
    char altitudeCode = ' '; ///< altitude description (field 23): ' ', '+', '-', 'B' ...
    std::string altitude1;   ///< first altitude (field 24): "05000", "FL190" or empty
};

/// Longest record line taken; longer lines are malformed.
enum { CIFP_MAX_LINE = 512 };
/// Largest procedure file read (the biggest real files are about 350 KB).
enum { CIFP_MAX_FILE = 16 * 1024 * 1024 };

/// The legs of the SID ("SID:" records) or STAR ("STAR:" records) procedures of CIFP text, in file order.
/// A malformed record line (too long, fewer than 24 fields, control characters, overlong identifiers) is
/// logged, and every leg of its procedure is left out, so that no procedure is filed with a leg missing.
/// `source` names the text in the log lines.
void Cifp_Parse(const char *text, size_t size, bool star, const char *source, std::vector<CifpLeg> *legs);

/// Cifp_Parse over a file; false (with no legs) when the file cannot be read or is too large.
bool Cifp_ReadFile(const char *path, bool star, std::vector<CifpLeg> *legs);

/// The restriction of a leg in hundreds of feet (0 = none): "FL190" is 190, "05000" is 50. On a SID an
/// at-or-above altitude ('+') is no restriction; on a STAR an at-or-below one ('-') is no floor.
int Cifp_Restriction(const CifpLeg &leg, bool star);

/// Reads a whole file into text, up to maxSize bytes; false when it cannot be opened or is larger.
bool Cifp_ReadWhole(const char *path, size_t maxSize, std::string *text);
