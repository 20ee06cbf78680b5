// Directory listing with the SDK's buffer and count semantics.
#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <string>
#include <vector>

#include "HostInternal.h"
#include "XPLMUtilities.h"

XPLM_API int XPLMGetDirectoryContents(const char *inDirectoryPath, int inFirstReturn, char *outFileNames,
                                      int inFileNameBufSize, char **outIndices, int inIndexCount,
                                      int *outTotalFiles, int *outReturnedFiles)
{
    std::vector<std::string> names;
    DIR *dir = inDirectoryPath != nullptr ? opendir(inDirectoryPath) : nullptr;
    if (dir != nullptr) {
        while (struct dirent *entry = readdir(dir)) {
            if (strcmp(entry->d_name, ".") != 0 && strcmp(entry->d_name, "..") != 0)
                names.push_back(entry->d_name);
        }
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    if (outTotalFiles != nullptr)
        *outTotalFiles = (int)names.size();
    int returned = 0;
    int used = 0;
    bool complete = dir != nullptr;
    for (size_t i = inFirstReturn > 0 ? (size_t)inFirstReturn : 0; i < names.size(); i++) {
        int length = (int)names[i].size() + 1;
        if (outFileNames == nullptr || used + length > inFileNameBufSize ||
            (outIndices != nullptr && returned >= inIndexCount)) {
            complete = false;
            break;
        }
        memcpy(outFileNames + used, names[i].c_str(), (size_t)length);
        if (outIndices != nullptr)
            outIndices[returned] = outFileNames + used;
        used += length;
        returned++;
    }
    if (outReturnedFiles != nullptr)
        *outReturnedFiles = returned;
    return complete ? 1 : 0;
}
