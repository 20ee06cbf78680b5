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

TEST_F(PhraseMarkupTest, RunwayBetweenAsterisksIsShownBareAndSpokenAsDesignator)
{
    Render("runway *27L* cleared for takeoff, *09C*, *18R*");
    EXPECT_STREQ(display, "runway 27L cleared for takeoff, 09C, 18R");
    EXPECT_STREQ(speech, "runway two seven left  cleared for takeoff, zero niner center , one eight right ");
}

TEST_F(PhraseMarkupTest, HashSpansAreSpelledAndTheirPointIsDecimalOrPointByOption)
{
    Render("squawk #4521#");
    EXPECT_STREQ(display, "squawk 4521");
    EXPECT_STREQ(speech, "squawk four five two one ");
    Render("taxi via #CLR#"); // in a "#" span C, L, R are letters
    EXPECT_STREQ(speech, "taxi via charlie lima romeo ");
    Render("contact tower #118.705#");
    EXPECT_STREQ(display, "contact tower 118.705");
    EXPECT_STREQ(speech, "contact tower one one eight decimal seven zero five ");
    pointInsteadDecimal = 1;
    Render("#118.7#");
    EXPECT_STREQ(speech, "one one eight point seven ");
}

TEST_F(PhraseMarkupTest, CallsignFlightNumberBetweenAtSignsIsSpelled)
{
    Render("Speedbird @2Xb@, climb flight level #350#");
    EXPECT_STREQ(display, "Speedbird 2Xb, climb flight level 350");
    EXPECT_STREQ(speech, "Speedbird two x ray bravo , climb flight level tree five zero ");
}

TEST_F(PhraseMarkupTest, WindHintOnlyInSpeechAndSeparatorsBecomeBlanks)
{
    Render("'wind' 270/15, QNH-1013 taxi_way 'wind'");
    EXPECT_STREQ(display, "wind 270 15, QNH 1013 taxi way 'wind'"); // only the first 'wind' is replaced
    EXPECT_STREQ(speech, "'wind' 270 15, QNH 1013 taxi way 'wind'");
}

TEST_F(PhraseMarkupTest, UnclosedSpanAndOverlongTextsStayBounded)
{
    Render("squawk #12");
    EXPECT_STREQ(display, "squawk 12");
    EXPECT_STREQ(speech, "squawk one two ");

    std::string longText = "#" + std::string(400, '7');
    Render(longText.c_str());
    EXPECT_EQ(strlen(display), 256u); // 257 characters rendered, the marker dropped

    char small[16];
    Phrase_Render("#777#", display, sizeof display, small, sizeof small);
    EXPECT_STREQ(small, "seven seven "); // never half a word
}

} // namespace
