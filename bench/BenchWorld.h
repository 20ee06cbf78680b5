// The shared data's world apt.dat for the benchmarks: gunzipped to a temporary file once per run.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

#include "Harness.h"
#include "navdata/AptNav.h"

struct WorldFile {
    std::string path;
    bool ready = false;
    ~WorldFile()
    {
        if (!path.empty())
            unlink(path.c_str());
    }
};

/// The shared data folder: the environment's VELLOMIR_SHARED_DATA, else the one beside the sources.
inline std::string SharedData()
{
    const char *shared = getenv("VELLOMIR_SHARED_DATA");
    return shared != nullptr ? shared : VELLOMIR_SHARED_DATA;
}

/// The world file, ready = false when the shared data is not there. Starts simhost the first time.
inline const WorldFile &World()
{
    static WorldFile world;
    static bool tried = false;
    if (!tried) {
        tried = true;
        char name[] = "/tmp/vellomir-bench-world-XXXXXX";
        int fd = mkstemp(name);
        if (fd >= 0) {
            close(fd);
            world.path = name;
            std::string command = "gzip -dc '" + SharedData() + "/world/apt.dat.gz' > '" + world.path + "' 2>/dev/null";
            world.ready = system(command.c_str()) == 0;
        }
        simhost::Reset();
    }
    return world;
}

/// The count airports of the scenery index spanning the most bytes up to the next header (those with the
/// most painted lines), largest first, with their spans.
inline std::vector<std::pair<int64_t, std::string>> LargestAirports(size_t count)
{
    std::vector<std::pair<int64_t, std::string>> byOffset, bySize;
    for (const auto &entry : IcaoMap)
        byOffset.emplace_back(entry.second.readOffset, entry.first);
    std::sort(byOffset.begin(), byOffset.end());
    for (size_t i = 0; i + 1 < byOffset.size(); i++)
        bySize.emplace_back(byOffset[i + 1].first - byOffset[i].first, byOffset[i].second);
    std::sort(bySize.rbegin(), bySize.rend());
    if (bySize.size() > count)
        bySize.resize(count);
    return bySize;
}
