// Directory listing with the SDK's buffer and count semantics. The SDK promises no order: the names come
// shuffled, the same way for a directory through a run (so that a listing read in pieces stays
// consistent) and differently from one seed to another.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <random>
#include <string>
#include <vector>

#include "HostInternal.h"
#include "XPLMUtilities.h"

namespace {

std::vector<std::string> ShuffledNames(const char *path, bool &opened)
{
    std::vector<std::string> names;
    DIR *dir = path != nullptr ? opendir(path) : nullptr;
    opened = dir != nullptr;
    if (dir == nullptr)
        return names;
    while (struct dirent *entry = readdir(dir)) {
        if (strcmp(entry->d_name, ".") != 0 && strcmp(entry->d_name, "..") != 0)
            names.push_back(entry->d_name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    simhost::detail::Host &h = simhost::detail::host();
    if (!h.directorySeedShown) {
        fprintf(stderr, "simhost: directory listings shuffled with seed %u (SIMHOST_DIRECTORY_SEED=%u repeats it)\n",
                h.directorySeed, h.directorySeed);
        h.directorySeedShown = true;
    }
    // The folder's place in the X-Plane folder, not where that is: a seed repeats its orders in another run.
    std::string where = path;
    if (where.compare(0, h.folder.size(), h.folder) == 0)
        where.erase(0, h.folder.size());
    std::seed_seq seed{h.directorySeed, (unsigned)std::hash<std::string>()(where)};
    std::mt19937 random(seed);
    std::shuffle(names.begin(), names.end(), random);
    return names;
}

} // namespace

XPLM_API int XPLMGetDirectoryContents(const char *inDirectoryPath, int inFirstReturn, char *outFileNames,
                                      int inFileNameBufSize, char **outIndices, int inIndexCount,
                                      int *outTotalFiles, int *outReturnedFiles)
{
    bool opened = false;
    std::vector<std::string> names = ShuffledNames(inDirectoryPath, opened);
    if (outTotalFiles != nullptr)
        *outTotalFiles = (int)names.size();
    int returned = 0;
    int used = 0;
    bool complete = opened;
    // Room is kept for what closes the list: a zero-length name and a null index.
    const int nameRoom = outFileNames != nullptr ? inFileNameBufSize - 1 : 0;
    const int indexRoom = outIndices != nullptr ? inIndexCount - 1 : 0;
    for (size_t i = inFirstReturn > 0 ? (size_t)inFirstReturn : 0; i < names.size(); i++) {
        int length = (int)names[i].size() + 1;
        if (outFileNames == nullptr || used + length > nameRoom || (outIndices != nullptr && returned >= indexRoom)) {
            complete = false;
            break;
        }
        memcpy(outFileNames + used, names[i].c_str(), (size_t)length);
        if (outIndices != nullptr)
            outIndices[returned] = outFileNames + used;
        used += length;
        returned++;
    }
    if (outFileNames != nullptr && inFileNameBufSize > 0)
        outFileNames[used] = '\0';
    if (outIndices != nullptr && inIndexCount > 0)
        outIndices[returned] = nullptr;
    if (outReturnedFiles != nullptr)
        *outReturnedFiles = returned;
    return complete ? 1 : 0;
}
