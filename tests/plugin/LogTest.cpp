// The log printers and the time-of-day greeting.
#include <string>

#include "plugin/Log.h"
#include "support/PluginHost.h"

namespace {

class LogTest : public HostTest {
  protected:
    void SetUp() override
    {
        HostTest::SetUp();
        developerDEBUG = 0;
        userDebug = 1;
        developerDEBUGlocal = 1;
        developerDEBUGlocal2 = 0;
    }
    void TearDown() override
    {
        developerDEBUG = 0;
        userDebug = 1;
        HostTest::TearDown();
    }
    static std::string Last() { return simhost::LogLines().empty() ? "" : simhost::LogLines().back(); }
};

TEST_F(LogTest, EveryLineCarriesProductVersionAndLocalTimeTheDebugSwitchesDecideTheRestAndLongLinesAreCut)
{
    PrintInfo("XPluginStart", "plugin start invoked...");
    EXPECT_TRUE(IsVellomirLogLine(Last(), "plugin start invoked...")) << Last();
    // The same line reached Log.txt in the X-Plane folder.
    EXPECT_NE(simhost::ReadFile("Log.txt").find("plugin start invoked...\n"), std::string::npos);

    PrintDebug("Tag", "hidden");
    EXPECT_FALSE(Logged("hidden"));
    developerDEBUG = 1;
    PrintDebug("Tag", "dev");
    EXPECT_TRUE(Logged("dev"));

    PrintUsrDebug("user %i", 7);
    EXPECT_TRUE(Logged("user 7"));
    userDebug = 0;
    PrintUsrDebug("silent");
    EXPECT_FALSE(Logged("silent"));

    PrintDebugLocal("readAptDat", "localdbg");
    EXPECT_TRUE(Logged("localdbg"));
    PrintDebugLocal2("readAptDat", "second-dbg"); // its own switch is off
    EXPECT_FALSE(Logged("second-dbg"));

    // An overlong message is cut to one line and the next line is whole.
    simhost::ClearLog();
    std::string longText(20000, 'x');
    PrintInfo("Tag", "%s", longText.c_str());
    ASSERT_EQ(simhost::LogLines().size(), 1u);
    std::string line = Last();
    size_t text = line.find(": ") + 2;
    EXPECT_EQ(line.size() - text, (size_t)LOG_LINE_SIZE - 1);
    PrintInfo("Tag", "next");
    EXPECT_EQ(Last().substr(Last().size() - 4), "next");
}

TEST(DayTime, GreetingByHourBoundaries)
{
    const struct {
        int seconds;
        const char *greeting;
    } rows[] = {{18000, "morning"},   {43199, "morning"}, {43200, "afternoon"},
                {64799, "afternoon"}, {64800, "evening"}, {17999, "evening"}};
    for (const auto &row : rows)
        EXPECT_STREQ(Utils_GetDayTime(row.seconds), row.greeting) << row.seconds;
}

} // namespace
