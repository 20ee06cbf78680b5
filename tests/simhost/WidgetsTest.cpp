// simhost's widgets behave as X-Plane's do where the plug-in relies on it.
#include <vector>

#include "XPStandardWidgets.h"
#include "XPWidgetUtils.h"
#include "XPWidgets.h"
#include "support/PluginHost.h"

namespace {

struct Seen {
    int message;
    intptr_t param1, param2;
};
std::vector<Seen> gSeen;
bool gDestroyOnClose = false;

int WindowHandler(XPWidgetMessage message, XPWidgetID widget, intptr_t p1, intptr_t p2)
{
    if (message == xpMsg_PushButtonPressed || message == xpMsg_ButtonStateChanged ||
        message == xpMessage_CloseButtonPushed || message == xpMsg_TextFieldChanged) {
        gSeen.push_back(Seen{message, p1, p2});
        if (message == xpMessage_CloseButtonPushed && gDestroyOnClose)
            XPDestroyWidget(widget, 1);
        return 1;
    }
    return 0;
}

class WidgetsTest : public HostTest {
  protected:
    void SetUp() override
    {
        HostTest::SetUp();
        gSeen.clear();
        gDestroyOnClose = false;
        window = XPCreateWidget(100, 500, 400, 300, 1, "Options", 1, nullptr, xpWidgetClass_MainWindow);
        XPSetWidgetProperty(window, xpProperty_MainWindowHasCloseBoxes, 1);
        XPAddWidgetCallback(window, WindowHandler);
        caption = XPCreateWidget(110, 470, 200, 450, 1, "General", 0, window, xpWidgetClass_Caption);
        check = XPCreateWidget(110, 440, 130, 420, 1, "Autostart", 0, window, xpWidgetClass_Button);
        XPSetWidgetProperty(check, xpProperty_ButtonType, xpRadioButton);
        XPSetWidgetProperty(check, xpProperty_ButtonBehavior, xpButtonBehaviorCheckBox);
        field = XPCreateWidget(110, 400, 300, 380, 1, "300", 0, window, xpWidgetClass_TextField);
        save = XPCreateWidget(300, 330, 380, 310, 1, "Save", 0, window, xpWidgetClass_Button);
    }
    XPWidgetID window, caption, check, field, save;
};

TEST_F(WidgetsTest, ButtonsReportUpTheChainToTheWindow)
{
    ASSERT_TRUE(simhost::ClickWidget(save));
    ASSERT_EQ(gSeen.size(), 1u);
    EXPECT_EQ(gSeen[0].message, xpMsg_PushButtonPressed);
    EXPECT_EQ(gSeen[0].param1, (intptr_t)save);

    ASSERT_TRUE(simhost::ClickWidget(check));
    EXPECT_EQ(XPGetWidgetProperty(check, xpProperty_ButtonState, nullptr), 1);
    ASSERT_EQ(gSeen.size(), 2u);
    EXPECT_EQ(gSeen[1].message, xpMsg_ButtonStateChanged);
    EXPECT_EQ(gSeen[1].param2, 1);
    simhost::ClickWidget(check);
    EXPECT_EQ(XPGetWidgetProperty(check, xpProperty_ButtonState, nullptr), 0);

    // A press that ends outside the button is no press.
    simhost::MouseDown(340, 320);
    simhost::MouseUp(200, 200);
    EXPECT_EQ(gSeen.size(), 3u);
}

TEST_F(WidgetsTest, CloseBoxCanDestroyTheWindowFromItsOwnHandler)
{
    gDestroyOnClose = true;
    ASSERT_TRUE(simhost::PressCloseBox(window));
    ASSERT_EQ(gSeen.size(), 1u);
    EXPECT_EQ(gSeen[0].message, xpMessage_CloseButtonPushed);
    EXPECT_FALSE(simhost::WidgetExists(window));
    EXPECT_FALSE(simhost::WidgetExists(save));
    EXPECT_EQ(simhost::WidgetCount(), 0);
    EXPECT_TRUE(simhost::HostErrors().empty());
    // Using a destroyed widget is a plug-in fault the host reports.
    XPSetWidgetDescriptor(save, "x");
    EXPECT_EQ(simhost::HostErrors().size(), 1u);
}

TEST_F(WidgetsTest, TypingEditsTheFieldAtTheCaretOrOverTheSelection)
{
    simhost::TypeInto(field, "5");
    EXPECT_EQ(simhost::WidgetText(field), "3005");
    simhost::KeyPress(8, xplm_DownFlag, XPLM_VK_BACK);
    simhost::KeyPress(8, xplm_DownFlag, XPLM_VK_BACK);
    EXPECT_EQ(simhost::WidgetText(field), "30");
    XPSetWidgetProperty(field, xpProperty_EditFieldSelStart, 0);
    XPSetWidgetProperty(field, xpProperty_EditFieldSelEnd, 2);
    simhost::KeyPress('9', xplm_DownFlag, XPLM_VK_9);
    EXPECT_EQ(simhost::WidgetText(field), "9");
    EXPECT_EQ(gSeen.back().message, xpMsg_TextFieldChanged);
    // Control keys are left to the plug-in's own callbacks.
    simhost::KeyPress('c', xplm_DownFlag | xplm_ControlFlag, XPLM_VK_C);
    EXPECT_EQ(simhost::WidgetText(field), "9");
    char text[4];
    EXPECT_EQ(XPGetWidgetDescriptor(caption, text, sizeof text), 7); // full length, copy cut
    EXPECT_EQ(std::string(text, 4), "Gene");
}

} // namespace
