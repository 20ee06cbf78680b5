// The menu's "Update" item after an update was installed in this run.
#include <string>
#include <vector>

#include "XPStandardWidgets.h"
#include "plugin/Menu.h"
#include "support/PluginHost.h"
#include "ui/WarningWindow.h"
#include "update/UpdateState.h"

namespace {

class MenuNotice : public HostTest {
  protected:
    void TearDown() override
    {
        updateRestartPending = false;
        Warning_Destroy();
        HostTest::TearDown();
    }
};

TEST_F(MenuNotice, UpdateClickedTwiceWithARestartPendingShowsOneNotice)
{
    updateRestartPending = true;
    System_MenuPrincipaleCallback(nullptr, (void *)(intptr_t)MENU_UPDATE);
    System_MenuPrincipaleCallback(nullptr, (void *)(intptr_t)MENU_UPDATE);
    EXPECT_EQ(simhost::WidgetWindowTitles(), std::vector<std::string>{"Vellomir - Update restart pending"});
    void *window = simhost::FindWindowByTitle("Vellomir - Update restart pending");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(simhost::WidgetTexts(window, xpWidgetClass_Caption),
              std::vector<std::string>{"An update restart is pending, please restart your sim"});
}

} // namespace
