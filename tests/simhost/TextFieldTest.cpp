// simhost's text field as the plug-in's windows rely on it: a selection made by dragging, typing over it,
// and Control keys left to the plug-in's own callbacks.
#include <string>

#include "XPLMDefs.h"
#include "XPStandardWidgets.h"
#include "XPWidgets.h"
#include "support/PluginHost.h"

namespace {

int gControlKeysSeen = 0;

int CountControlKeys(XPWidgetMessage message, XPWidgetID, intptr_t param1, intptr_t)
{
    if (message == xpMsg_KeyPress && (reinterpret_cast<XPKeyState_t *>(param1)->flags & xplm_ControlFlag))
        gControlKeysSeen++;
    return 0;
}

class SimhostTextField : public HostTest {
  protected:
    void SetUp() override
    {
        HostTest::SetUp();
        window = XPCreateWidget(100, 400, 400, 300, 1, "Route", 1, nullptr, xpWidgetClass_MainWindow);
        field = XPCreateWidget(110, 360, 390, 340, 1, "LIRF DCT BOL", 0, window, xpWidgetClass_TextField);
        gControlKeysSeen = 0;
    }
    XPWidgetID window = nullptr, field = nullptr;
};

TEST_F(SimhostTextField, DraggedSelectionIsReplacedByTyping)
{
    simhost::SelectText(field, 5, 8);
    EXPECT_EQ(XPGetWidgetWithFocus(), field);
    EXPECT_EQ(simhost::WidgetProperty(field, xpProperty_EditFieldSelStart), 5);
    EXPECT_EQ(simhost::WidgetProperty(field, xpProperty_EditFieldSelEnd), 8);
    simhost::TypeInto(field, "UL");
    EXPECT_EQ(simhost::WidgetText(field), "LIRF UL BOL");
}

TEST_F(SimhostTextField, ControlKeysReachTheWindowUntouched)
{
    XPAddWidgetCallback(window, CountControlKeys);
    simhost::SelectText(field, 0, 4);
    simhost::KeyPress('c', xplm_ControlFlag | xplm_DownFlag, XPLM_VK_C);
    EXPECT_EQ(simhost::WidgetText(field), "LIRF DCT BOL");
    EXPECT_EQ(gControlKeysSeen, 1);
}

} // namespace
