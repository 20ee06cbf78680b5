// Version texts of the update server: reading, ordering and the choice between stable and candidate.
#pragma once

#include <cstddef>
#include <cstdint>

/// Buffer of a version text: at most 15 characters.
enum { UPDATE_VERSION_SIZE = 16, UPDATE_VERSION_FIELDS = 8 };

struct UpdateVersion {
    char text[UPDATE_VERSION_SIZE] = "";  ///< the version as received, blanks around it removed
    char code[UPDATE_VERSION_SIZE] = "";  ///< its digits before the release-candidate marker "RC", in order
    char build[UPDATE_VERSION_SIZE] = ""; ///< the digits after the marker; empty without one
    uint64_t fields[UPDATE_VERSION_FIELDS] = {}; ///< the dotted numbers before the marker
    int fieldCount = 0;
    bool candidate = false; ///< the text has an "RC" marker (either letter in either case)
    uint64_t buildNumber = 0;
};

/// Reads a version text (a dotted version, optionally followed by an "RC" marker and its build). Blanks
/// and line ends around it are dropped. False, with the reason in why, when the text is empty, longer than
/// 15 characters, holds any character but letters, digits, "." and "-", or has fewer than two numbers
/// before the marker.
bool Update_ParseVersion(const char *text, size_t length, UpdateVersion *out, char *why, size_t whySize);

/// Orders two versions: their numbers field by field (a missing field counts as 0), then a stable release
/// above a candidate of the same numbers, then candidates by build. Negative, 0 or positive.
int Update_CompareVersions(const UpdateVersion &a, const UpdateVersion &b);

enum UpdateOffer { UPDATE_OFFER_NONE, UPDATE_OFFER_STABLE, UPDATE_OFFER_CANDIDATE };

struct UpdateDecision {
    UpdateOffer offer = UPDATE_OFFER_NONE;
    bool rcBuild = false; ///< the candidate addresses are used for the notes and the binary
    char logLine[160] = ""; ///< the decision's log line
};

/// Chooses what to offer an installation: a stable installation only a newer stable release; a candidate
/// installation a newer stable release first, else a newer candidate. Never a version at or below the
/// installed one.
UpdateDecision Update_Decide(const UpdateVersion &stable, const UpdateVersion &candidate,
                             const UpdateVersion &installed);
