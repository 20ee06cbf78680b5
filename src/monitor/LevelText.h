// Altitudes as a controller says them: feet below the transition level, flight levels above it.
#pragma once

#include <string>

/// "%i feet" when feet / 100 is below the transition level (the departure's before top of descent, the
/// arrival's after it, both from the user's flight), else "flight level #%i#" with feet / 100.
std::string Utils_FeetsOrFL(int feet);
