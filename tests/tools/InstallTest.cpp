// `cmake --install` into an X-Plane folder: the plug-in's folder laid out as X-Plane loads it, the user's
// own files kept.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{

std::string Read(const fs::path &path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

void Write(const fs::path &path, const std::string &contents)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << contents;
}

TEST(Install, IntoAnXPlaneFolderKeepsTheUsersFilesAndRefusesAnyOtherFolder)
{
    struct Case {
        const char *name;
        bool xplane;    ///< the prefix has Resources/plugins
        bool userFiles; ///< the user's Settings.txt and Voices.txt are there already
    } cases[] = {
        {"fresh X-Plane", true, false}, {"X-Plane 12 with user files", true, true}, {"not X-Plane", false, false}};
    const fs::path root = fs::temp_directory_path() / ("vellomir-install-" + std::to_string(getpid()));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path prefix = root / c.name;
        const fs::path folder = prefix / "Resources/plugins/Vellomir64";
        fs::create_directories(c.xplane ? prefix / "Resources/plugins" : prefix);
        if (c.userFiles) {
            Write(folder / "Settings.txt", "azureKey#mine\n");
            Write(folder / "Voices.txt", "random01#en-IE-ConnorNeural\n");
        }
        std::string command = std::string("\"" VELLOMIR_CMAKE "\" --install \"" VELLOMIR_BUILD_DIR "\" --prefix \"") +
                              prefix.string() + "\" >/dev/null 2>&1";
        int status = std::system(command.c_str());
        EXPECT_EQ(status == 0, c.xplane);
        if (!c.xplane) {
            EXPECT_FALSE(fs::exists(prefix / "Resources"));
            continue;
        }
        EXPECT_EQ(Read(folder / "lin_x64/Vellomir64.xpl"), Read(VELLOMIR_XPL_PATH));
        // The code's licence and the data files' own travel with them.
        for (const char *licence : {"LICENSE", "LICENSES.txt", "COPYING-GPL-2"})
            EXPECT_GT(Read(folder / licence).size(), 900u) << licence;
        if (c.userFiles) {
            EXPECT_EQ(Read(folder / "Settings.txt"), "azureKey#mine\n");
            EXPECT_EQ(Read(folder / "Voices.txt"), "random01#en-IE-ConnorNeural\n");
        } else {
            EXPECT_FALSE(fs::exists(folder / "Settings.txt"));
            EXPECT_EQ(Read(folder / "Voices.txt"), Read(VELLOMIR_SOURCE_DIR "/data/plugin/Voices.txt"));
        }
    }
    std::error_code ignored;
    fs::remove_all(root, ignored);
}

} // namespace
