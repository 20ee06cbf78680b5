// Phrase markup: what the dialogue box shows and what speech says.
#include "comms/PhraseMarkup.h"
#include "support/PluginHost.h"
#include "ui/Settings.h"

namespace {

class PhraseMarkupTest : public HostTest {
  protected:
    void TearDown() override
    {
        pointInsteadDecimal = 0;
        HostTest::TearDown();
    }
    void Render(const char *text)
    {
        Phrase_Render(text, display, sizeof display, speech, sizeof speech);
    }
    char display[PHRASE_RENDER_SIZE];
    char speech[PHRASE_RENDER_SIZE];
};

TEST_F(PhraseMarkupTest, SpansAreShownBareAndSpokenSpelled)
{
    const struct {
        int point; // pointInsteadDecimal
        const char *text, *display, *speech;
    } rows[] = {
        {0, "runway *27L* cleared for takeoff, *09C*, *18R*", "runway 27L cleared for takeoff, 09C, 18R",
         "runway two seven left  cleared for takeoff, zero niner center , one eight right "},
        {0, "squawk #4521#", "squawk 4521", "squawk four five two one "},
        {0, "taxi via #CLR#", "taxi via CLR", "taxi via charlie lima romeo "}, // C, L, R are letters here
        {0, "contact tower #118.705#", "contact tower 118.705", "contact tower one one eight decimal seven zero five "},
        {1, "#118.7#", "118.7", "one one eight point seven "},
        {0, "Speedbird @2Xb@, climb flight level #350#", "Speedbird 2Xb, climb flight level 350",
         "Speedbird two x ray bravo , climb flight level tree five zero "},
        // only the first 'wind' is replaced, and only on screen; separators become blanks
        {0, "'wind' 270/15, QNH-1013 taxi_way 'wind'", "wind 270 15, QNH 1013 taxi way 'wind'",
         "'wind' 270 15, QNH 1013 taxi way 'wind'"},
        {0, "squawk #12", "squawk 12", "squawk one two "}, // unclosed span
        {0, "via HAROB#6A#, runway", "via HAROB6A, runway", "via HAROB six alfa , runway"}, // a word of its own
    };
    for (const auto &row : rows) {
        pointInsteadDecimal = row.point;
        Render(row.text);
        EXPECT_STREQ(display, row.display) << row.text;
        EXPECT_STREQ(speech, row.speech) << row.text;
    }
}

TEST_F(PhraseMarkupTest, OverlongTextsStayBounded)
{
    std::string longText = "#" + std::string(400, '7');
    Render(longText.c_str());
    EXPECT_EQ(strlen(display), 256u); // 257 characters rendered, the marker dropped

    char small[16];
    Phrase_Render("#777#", display, sizeof display, small, sizeof small);
    EXPECT_STREQ(small, "seven seven "); // never half a word
}

} // namespace
