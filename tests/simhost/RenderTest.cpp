// The screen picture: a known window compared with its committed image, so that a change of layout or
// look shows up as a picture difference.
#include <cstdlib>
#include <functional>

#include "XPLMDisplay.h"
#include "XPLMGraphics.h"
#include "XPStandardWidgets.h"
#include "XPWidgets.h"
#include "support/PluginHost.h"

namespace {

// A window the plug-in draws itself: the dialogue box's dark box with a green and a white line.
float gLineColour[3] = {0.2f, 1.0f, 0.2f};

void DrawDialogue(XPLMWindowID window, void *)
{
    int left, top, right, bottom;
    XPLMGetWindowGeometry(window, &left, &top, &right, &bottom);
    XPLMDrawTranslucentDarkBox(left, top, right, bottom);
    float white[3] = {1, 1, 1};
    XPLMDrawString(gLineColour, left + 5, top - 12, "KSEA TWR: cleared for take-off", nullptr, xplmFont_Basic);
    XPLMDrawString(white, left + 5, top - 24, "N737VM: cleared for take-off", nullptr, xplmFont_Basic);
}

int Differing(const simhost::Image &a, const simhost::Image &b)
{
    if (a.width != b.width || a.height != b.height)
        return a.width * a.height + 1;
    int count = 0;
    for (size_t p = 0; p < a.rgb.size(); p += 3)
        for (size_t c = 0; c < 3; c++)
            if (std::abs(a.rgb[p + c] - b.rgb[p + c]) > 40) {
                count++;
                break;
            }
    return count;
}

class RenderTest : public HostTest {
  protected:
    void SetUp() override
    {
        HostTest::SetUp();
        Build();
    }

    void Build()
    {
        gLineColour[1] = 1.0f;
        window = XPCreateWidget(100, 300, 340, 160, 1, "Flight plan", 1, nullptr, xpWidgetClass_MainWindow);
        XPSetWidgetProperty(window, xpProperty_MainWindowHasCloseBoxes, 1);
        XPWidgetID panel = XPCreateWidget(110, 270, 330, 170, 1, "", 0, window, xpWidgetClass_SubWindow);
        XPSetWidgetProperty(panel, xpProperty_SubWindowType, xpSubWindowStyle_SubWindow);
        XPCreateWidget(120, 262, 200, 250, 1, "Callsign", 0, window, xpWidgetClass_Caption);
        field = XPCreateWidget(200, 264, 320, 244, 1, "ASA", 0, window, xpWidgetClass_TextField);
        check = XPCreateWidget(120, 236, 320, 222, 1, "IFR flight", 0, window, xpWidgetClass_Button);
        XPSetWidgetProperty(check, xpProperty_ButtonType, xpRadioButton);
        XPSetWidgetProperty(check, xpProperty_ButtonBehavior, xpButtonBehaviorCheckBox);
        XPSetWidgetProperty(check, xpProperty_ButtonState, 1);
        button = XPCreateWidget(230, 200, 320, 180, 1, "File", 0, window, xpWidgetClass_Button);
        XPSetWidgetProperty(button, xpProperty_ButtonType, xpPushButton);
        simhost::TypeInto(field, "123"); // the caret after the text
        XPLMCreateWindow(100, 150, 340, 120, 1, DrawDialogue, nullptr, nullptr, nullptr);
        simhost::RunFrame();
    }

    simhost::Image Picture()
    {
        simhost::Image screen;
        std::string error;
        EXPECT_TRUE(simhost::RenderScreen(screen, error)) << error;
        return simhost::CropImage(screen, 92, 308, 348, 112);
    }

    XPWidgetID window, field, check, button;
};

TEST_F(RenderTest, AKnownWindowLooksAsItsCommittedPictureAndALayoutChangeDoesNot)
{
    const std::string reference = TestData("render/flight-plan-window.png");
    std::string error;
    simhost::Image picture = Picture();
    EXPECT_EQ(picture.width, 256);
    EXPECT_EQ(picture.height, 196);
    if (getenv("VELLOMIR_UPDATE_PICTURES") != nullptr) {
        ASSERT_TRUE(simhost::WritePng(picture, reference, error)) << error;
    }
    simhost::Image expected;
    ASSERT_TRUE(simhost::ReadPng(reference, expected, error)) << error;
    // Glyphs may differ a little between FreeType versions: a few pixels may.
    const int allowed = 8;
    EXPECT_LE(Differing(picture, expected), allowed);

    const struct {
        const char *change;
        std::function<void()> make;
    } changes[] = {
        {"button moved 4 pixels", [&] { XPSetWidgetGeometry(button, 226, 200, 316, 180); }},
        {"check box cleared", [&] { XPSetWidgetProperty(check, xpProperty_ButtonState, 0); }},
        {"text typed", [&] { simhost::TypeInto(field, "4"); }},
        {"string colour", [&] { gLineColour[1] = 0.2f, simhost::RunFrame(); }},
        {"window closed", [&] { XPHideWidget(window); }},
    };
    for (const auto &change : changes) {
        change.make();
        EXPECT_GT(Differing(Picture(), expected), allowed) << change.change;
        ResetHost(12000); // a new host with the window as it was
        Build();
    }
}

} // namespace
