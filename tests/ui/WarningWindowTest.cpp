// The warning window's rows (an empty line takes none) and its one-at-a-time rule.
#include <string>
#include <vector>

#include "XPStandardWidgets.h"
#include "support/PluginHost.h"
#include "ui/WarningWindow.h"

namespace {

class WarningWindow : public HostTest {
  protected:
    void TearDown() override
    {
        Warning_Destroy();
        HostTest::TearDown();
    }
};

TEST_F(WarningWindow, TwoWarningsInARowOpenOneWindowAndClosingAllowsTheNext)
{
    CreateWarningWinControl(400, 600, 340, 120, "Vellomir - Warning", "first", "", "third");
    CreateWarningWinControl(400, 600, 340, 100, "Vellomir - Warning", "second");
    EXPECT_EQ(simhost::WidgetWindowTitles(), std::vector<std::string>{"Vellomir - Warning"});
    void *window = simhost::FindWindowByTitle("Vellomir - Warning");
    EXPECT_EQ(simhost::WidgetOutline(window),
              (std::vector<std::string>{"caption:first", "caption:third", "button:Ok"})); // no empty row
    EXPECT_TRUE(Logged("A warning is already open; not shown: Vellomir - Warning: second"));

    ASSERT_TRUE(simhost::ClickWidget(simhost::FindWidget(window, "Ok")));
    EXPECT_EQ(warningIsOpen, 0);
    EXPECT_EQ(simhost::FindWindowByTitle("Vellomir - Warning"), nullptr);

    CreateWarningWinControl(400, 600, 340, 100, "Vellomir - Warning", "third");
    window = simhost::FindWindowByTitle("Vellomir - Warning");
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(simhost::PressCloseBox(window));
    EXPECT_EQ(warningIsOpen, 0);
    EXPECT_EQ(simhost::WidgetCount(), 0);
    EXPECT_TRUE(simhost::HostErrors().empty());
}

} // namespace
