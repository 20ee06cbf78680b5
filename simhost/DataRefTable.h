// The simulator's own datarefs by X-Plane generation: names, types, writability and starting values.
#pragma once

#include <vector>

namespace simhost {
namespace detail {

/// Which X-Plane generations publish a simulator dataref.
enum : unsigned { kXP11 = 1, kXP12 = 2, kBoth = kXP11 | kXP12 };

struct BuiltInDataRef {
    const char *name;
    int types;
    int arraySize;
    double value;
    unsigned generations; ///< kXP11, kXP12 or both
    bool writable;        ///< by plug-ins; the simulator writes them all
};

const std::vector<BuiltInDataRef> &BuiltInDataRefs();
/// The generation of the X-Plane the host reports (kXP11 or kXP12).
unsigned CurrentGeneration();

} // namespace detail
} // namespace simhost
