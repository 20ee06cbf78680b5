// Libraries opened at run time instead of at load time (libcurl, OpenAL): the plug-in then loads on a
// system without them and only the features that need them stay off.
#pragma once

#include <cstddef>

/// One symbol to resolve: its name and where its address goes.
struct RuntimeSymbol {
    const char *name;
    void **slot;
};

/// A library opened once, by name, with every symbol of its table resolved. Thread-safe.
struct RuntimeLib {
    const char *defaultName;      ///< soname, e.g. "libcurl.so.4"
    const char *overrideVariable; ///< environment variable naming another file (tests hide the library with it)
    const RuntimeSymbol *symbols;
    size_t symbolCount;
    int state;         ///< 0 not tried, 1 loaded, -1 missing
    char missing[512]; ///< what is missing, for the log and the warning window; empty when loaded
};

/// Opens the library and resolves its symbols on the first call; later calls return the first answer.
/// A missing symbol counts as a missing library (the slots are then all cleared).
bool RuntimeLib_Load(RuntimeLib &lib);
/// Forgets the answer: the next RuntimeLib_Load opens the library named then (tests hide a library with
/// the override variable). Only while nothing uses the library's functions.
void RuntimeLib_Forget(RuntimeLib &lib);
/// The name the library is opened by: the override variable's value when set, else the default.
const char *RuntimeLib_Name(const RuntimeLib &lib);
