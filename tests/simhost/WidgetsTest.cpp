// simhost's widgets behave as X-Plane's do where the plug-in relies on it.
#include <string>
#include <vector>

#include "XPStandardWidgets.h"
#include "XPWidgets.h"
#include "support/PluginHost.h"

namespace {

std::vector<int> gSeen; ///< messages the window handled
bool gDestroyOnClose = false;

int WindowHandler(XPWidgetMessage message, XPWidgetID widget, intptr_t, intptr_t)
{
    if (message == xpMessage_CloseButtonPushed || message == xpMsg_TextFieldChanged) {
        gSeen.push_back(message);
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
        field = XPCreateWidget(110, 400, 300, 380, 1, "300", 0, window, xpWidgetClass_TextField);
        save = XPCreateWidget(300, 330, 380, 310, 1, "Save", 0, window, xpWidgetClass_Button);
    }
    XPWidgetID window, caption, field, save;
};

TEST_F(WidgetsTest, CloseBoxCanDestroyTheWindowFromItsOwnHandler)
{
    gDestroyOnClose = true;
    ASSERT_TRUE(simhost::PressCloseBox(window));
    ASSERT_EQ(gSeen.size(), 1u);
    EXPECT_EQ(gSeen[0], xpMessage_CloseButtonPushed);
    EXPECT_FALSE(simhost::WidgetExists(window));
    EXPECT_FALSE(simhost::WidgetExists(save));
    EXPECT_EQ(simhost::WidgetCount(), 0);
    EXPECT_TRUE(simhost::HostErrors().empty());
    // Using a destroyed widget is a plug-in fault the host reports.
    XPSetWidgetDescriptor(save, "x");
    EXPECT_EQ(simhost::HostErrors().size(), 1u);
    simhost::ClearHostErrors();
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
    EXPECT_EQ(gSeen.back(), xpMsg_TextFieldChanged);
    char text[4];
    EXPECT_EQ(XPGetWidgetDescriptor(caption, text, sizeof text), 7); // full length, copy cut
    EXPECT_EQ(std::string(text, 4), "Gene");
}

std::vector<std::string> gDestroyed; ///< descriptors of widgets in the order their destroy message came
XPWidgetID gDestroyFromDraw = nullptr;  ///< a tree the next draw message of the widget destroys

int Recorder(XPWidgetMessage message, XPWidgetID widget, intptr_t, intptr_t)
{
    char text[32] = "";
    if (message == xpMsg_Destroy) {
        XPGetWidgetDescriptor(widget, text, sizeof text);
        gDestroyed.push_back(text);
    }
    if (message == xpMsg_Draw && gDestroyFromDraw != nullptr) {
        XPWidgetID tree = gDestroyFromDraw;
        gDestroyFromDraw = nullptr;
        XPDestroyWidget(tree, 1);
    }
    return 0;
}

TEST_F(WidgetsTest, ChildrenAreDestroyedBeforeTheirParentAndATreeDestroyedWhileDrawingIsReported)
{
    gDestroyed.clear();
    XPWidgetID inner = XPCreateWidget(120, 360, 200, 340, 1, "Inner", 0, window, xpWidgetClass_SubWindow);
    XPWidgetID leaf = XPCreateWidget(125, 355, 190, 345, 1, "Leaf", 0, inner, xpWidgetClass_Caption);
    for (XPWidgetID w : {window, inner, leaf, caption})
        XPAddWidgetCallback(w, Recorder);
    XPDestroyWidget(window, 1);
    EXPECT_EQ(gDestroyed, (std::vector<std::string>{"General", "Leaf", "Inner", "Options"}));
    EXPECT_TRUE(simhost::HostErrors().empty());

    // A window whose caption destroys the whole window while it draws: X-Plane would go on drawing a
    // destroyed tree.
    XPWidgetID other = XPCreateWidget(100, 500, 400, 300, 1, "Other", 1, nullptr, xpWidgetClass_MainWindow);
    XPWidgetID label = XPCreateWidget(110, 470, 200, 450, 1, "Label", 0, other, xpWidgetClass_Caption);
    XPAddWidgetCallback(label, Recorder);
    gDestroyFromDraw = other;
    simhost::RunFrame();
    EXPECT_FALSE(simhost::WidgetExists(other));
    ASSERT_EQ(simhost::HostErrors().size(), 1u);
    EXPECT_NE(simhost::HostErrors()[0].find("XPDestroyWidget(Other) while widget Label handles"), std::string::npos);
    simhost::ClearHostErrors();
}

} // namespace
