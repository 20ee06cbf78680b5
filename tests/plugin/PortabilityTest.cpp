// What another Linux needs to load the plug-in: the libraries and glibc versions its binary asks for, its
// folder found wherever the user put it, and the speech libraries that may be missing.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "XPStandardWidgets.h"
#include "support/PluginHost.h"
#include "ui/Utils.h"

namespace
{

/// What an ELF file needs at load time, as binutils' objdump lists it: its DT_NEEDED libraries and, per
/// required symbol version, the symbols that ask for it.
struct DynamicNeeds {
    std::vector<std::string> libraries;
    std::map<std::string, std::vector<std::string>> symbolsByVersion;
};

bool ReadDynamicNeeds(const std::string &path, DynamicNeeds *needs)
{
    FILE *listing = popen(("objdump -p -T '" + path + "' 2>/dev/null").c_str(), "r");
    if (listing == nullptr)
        return false;
    char line[1024];
    while (fgets(line, sizeof line, listing) != nullptr) {
        std::istringstream words(line);
        std::string word, version;
        words >> word;
        if (word == "NEEDED" && words >> word)
            needs->libraries.push_back(word);
        while (strstr(line, "*UND*") != nullptr && words >> word) // ... (GLIBC_2.2.5) symbol
            if (word.find("GLIBC_") != std::string::npos)
                version = word.substr(word.find("GLIBC_"), word.find(')') - word.find("GLIBC_"));
        if (!version.empty())
            needs->symbolsByVersion[version].push_back(word);
    }
    return pclose(listing) == 0 && !needs->libraries.empty();
}

/// "GLIBC_2.2.5" as {2, 2, 5}.
[[maybe_unused]] std::vector<int> VersionNumbers(const std::string &version)
{
    std::vector<int> numbers;
    for (size_t at = version.find('_'); at != std::string::npos; at = version.find('.', at + 1))
        numbers.push_back(atoi(version.c_str() + at + 1));
    return numbers;
}

TEST(PortabilityBinary, NeedsNoSpeechLibraryAndNoGlibcNewerThanTwoThirtyOne)
{
    DynamicNeeds needs;
    ASSERT_TRUE(ReadDynamicNeeds(VELLOMIR_XPL_PATH, &needs)) << VELLOMIR_XPL_PATH;
    // Opened at run time, or (in the release link) linked in: a system without them still loads the plug-in.
    std::vector<std::string> optional = {"libcurl", "libopenal"};
#if VELLOMIR_PORTABLE_LINK
    optional.insert(optional.end(), {"libstdc++", "libgcc_s"});
#endif
    for (const std::string &name : optional)
        for (const std::string &library : needs.libraries)
            EXPECT_EQ(library.find(name), std::string::npos) << library << " is needed at load time";
#if VELLOMIR_PORTABLE_LINK
    const std::vector<int> newest = {2, 31};
    for (const auto &version : needs.symbolsByVersion) {
        if (version.first.rfind("GLIBC_", 0) != 0 || version.first == "GLIBC_PRIVATE")
            continue;
        std::vector<int> numbers = VersionNumbers(version.first);
        EXPECT_FALSE(std::lexicographical_compare(newest.begin(), newest.end(), numbers.begin(), numbers.end()))
            << version.first << " is newer than glibc 2.31, needed by " << version.second.front();
    }
    EXPECT_FALSE(needs.symbolsByVersion.empty());
#endif
}

TEST(PortabilityFolder, PluginFolderIsTheParentOfTheBinarysPlatformFolder)
{
    struct Case {
        const char *xplPath, *folder;
    } cases[] = {
        {"/X-Plane 12/Resources/plugins/Vellomir64/lin_x64/Vellomir64.xpl",
         "/X-Plane 12/Resources/plugins/Vellomir64/"},
        {"/xp/Resources/plugins/My ATC/lin_x64/Vellomir64.xpl", "/xp/Resources/plugins/My ATC/"},
        {"/xp/Resources/plugins/Vellomir/64/lin.xpl", "/xp/Resources/plugins/Vellomir/"},
        {"/xp/Resources/plugins/Vellomir/lin.xpl", "/xp/Resources/plugins/Vellomir/"},
        {"", nullptr},
        {"Vellomir64.xpl", nullptr},
        {"/Vellomir64.xpl", nullptr},
    };
    for (const Case &c : cases) {
        char folder[512] = "";
        bool found = Utils_PluginFolderOf(c.xplPath, "/", folder, sizeof folder);
        EXPECT_EQ(found, c.folder != nullptr) << c.xplPath;
        if (found && c.folder != nullptr) {
            EXPECT_STREQ(folder, c.folder) << c.xplPath;
        }
    }
    char tiny[8];
    EXPECT_FALSE(Utils_PluginFolderOf(cases[0].xplPath, "/", tiny, sizeof tiny));
}

class PortabilityPlugin : public PluginTest
{
  protected:
    void TearDown() override
    {
        simhost::UnloadPlugin();
        unsetenv("VELLOMIR_LIBCURL");
        unsetenv("VELLOMIR_LIBOPENAL");
        PluginTest::TearDown();
    }
};

TEST_F(PortabilityPlugin, RenamedFolderKeepsItsSettingsVoicesAndNavigationData)
{
    const std::string folder = "Resources/plugins/Vellomir ATC/";
    simhost::WriteFile(folder + "Settings.txt", "welcomeMessage202012#0\nuserDebug#0\nFLTolerance#250\n");
    simhost::WriteFile(folder + "Voices.txt", "random01#en-US-GuyNeural\n");
    ASSERT_TRUE(simhost::LoadPluginFrom(VELLOMIR_XPL_PATH, "Vellomir ATC")) << simhost::LastError();
    EXPECT_TRUE(Logged("Voices file path: '" + simhost::SystemPath() + folder + "Voices.txt'"));
    EXPECT_TRUE(Logged("Random voices found: 1"));
    EXPECT_TRUE(Logged("User debug disabled"));
    EXPECT_TRUE(Logged("reading earth_nav.dat from " + simhost::SystemPath() + folder + "navdata/earth_nav.dat"));
    simhost::RunFrames(3);
    simhost::UnloadPlugin();
    EXPECT_NE(simhost::ReadFile(folder + "Settings.txt").find("FLTolerance#250\n"), std::string::npos);
    EXPECT_FALSE(simhost::FileExists("Resources/plugins/Vellomir64/Settings.txt"));
}

TEST_F(PortabilityPlugin, EachSpeechLibraryHiddenTheCloudSwitchSaysOnceWhatIsMissing)
{
    struct Case {
        const char *variable, *hidden;
    } cases[] = {{"VELLOMIR_LIBCURL", "/nonexistent/libcurl.so.4"},
                 {"VELLOMIR_LIBOPENAL", "/nonexistent/libopenal.so.1"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.variable);
        ResetHost(12000);
        setenv(c.variable, c.hidden, 1);
        PluginFile("Settings.txt", "welcomeMessage202012#0\nazureKey#k\n");
        PluginFile("Voices.txt", "random01#en-US-GuyNeural\n");
        ASSERT_TRUE(simhost::LoadPlugin(VELLOMIR_XPL_PATH)) << simhost::LastError();
        simhost::RunFrames(3);
        EXPECT_FALSE(Logged(c.hidden)); // nothing needed it yet

        // The user switches cloud speech on in the Options window.
        ASSERT_TRUE(simhost::ClickMenuItem("Vellomirv2", "Options"));
        void *options = simhost::FindWindowByTitle("Options");
        ASSERT_NE(options, nullptr);
        std::vector<std::string> outline = simhost::WidgetOutline(options);
        auto caption = std::find(outline.begin(), outline.end(), "caption:Enable Azure TTS - EXPERIMENTAL !!");
        ASSERT_NE(caption, outline.end());
        int checkIndex = (int)std::count_if(outline.begin(), caption - 1,
                                            [](const std::string &e) { return e.rfind("check:", 0) == 0; });
        ASSERT_TRUE(simhost::ClickWidget(simhost::NthWidgetOfClass(options, xpWidgetClass_Button, checkIndex)));
        ASSERT_TRUE(simhost::ClickWidget(simhost::FindWidget(options, "Save")));
        void *warning = simhost::FindWindowByTitle("Vellomir - Warning");
        ASSERT_NE(warning, nullptr);
        bool named = false;
        for (const std::string &line : simhost::WidgetTexts(warning, xpWidgetClass_Caption))
            named = named || line.find(c.hidden) != std::string::npos;
        EXPECT_TRUE(named);
        void *disclaimer = simhost::FindWindowByTitle("DISCLAIMER Azure integration !!!");
        ASSERT_NE(disclaimer, nullptr);
        ASSERT_TRUE(simhost::ClickWidget(simhost::FindWidget(disclaimer, "Understood")));
        simhost::RunFrames(3);
        EXPECT_EQ(LogCount(std::string("missing: ") + c.hidden), 1);
        EXPECT_TRUE(simhost::HostErrors().empty());
        simhost::UnloadPlugin();
        unsetenv(c.variable);
    }
}

} // namespace
