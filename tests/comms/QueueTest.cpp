// The radio queue as the frame driver delivers it: order, one message per frame, the busy frequency,
// facility filters, speech choices, the action run after delivery and abandoned exchanges.
#include "comms/DialogBox.h"
#include "comms/DialogState.h"
#include "comms/MessageQueue.h"
#include "comms/PhraseCommon.h"
#include "plugin/Log.h"
#include "plugin/PluginGlobals.h"
#include "state/FlightGlobals.h"
#include "state/Pilot.h"
#include "support/PluginHost.h"
#include "support/TowerRadio.h"
#include "ui/Settings.h"

namespace {

class QueueTest : public HostTest {
  protected:
    void SetUp() override
    {
        HostTest::SetUp();
        TowerRadio_Open();
        disableVoiceOnReadBack = 0;
        readbackWinIsOpen = dialogIsOpen = 0;
        gReadbackMessage = 0;
        gResponse[0] = '\0';
        pilotObj.gIsCopiing = 0;
        gPluginEnabled = 1;
    }
    void TearDown() override
    {
        TowerRadio_Close();
        developerDEBUG = 0;
        gShowDarkWindows = 1;
        HostTest::TearDown();
    }
    static std::vector<std::string> Spoken()
    {
        std::vector<std::string> texts;
        for (const simhost::Spoken &s : simhost::SpokenTexts())
            texts.push_back(s.text);
        return texts;
    }
};

TEST_F(QueueTest, MessagesComeInOrderOnePerFrameEachAfterThePreviousOneLeftTheAirAndTheRadioIsFree)
{
    TowerRadio_Queue("Tower, Vellomir @12@ ready", "TOWER", 2, 0, true);
    TowerRadio_Queue("Vellomir @12@, hold position", "TOWER", 3);
    TowerRadio_Queue("Holding position", "TOWER", 1, 0, true);
    simhost::RunFrame();
    EXPECT_EQ(Spoken(), std::vector<std::string>{"Tower, Vellomir one two  ready"});
    EXPECT_EQ(queue.size(), 2u);
    simhost::RunSeconds(1.9f);
    EXPECT_EQ(simhost::SpokenTexts().size(), 1u); // the frequency is still busy
    simhost::RunSeconds(0.2f);
    ASSERT_EQ(simhost::SpokenTexts().size(), 2u);
    EXPECT_GE(simhost::SpokenTexts()[1].time - simhost::SpokenTexts()[0].time, 2.0f);
    simhost::RunSeconds(3.1f);
    EXPECT_EQ(Spoken().back(), "Holding position");
    EXPECT_TRUE(queue.empty());
    EXPECT_EQ(HisotryComunicazioniRadio.back().text, "Holding position");

    // Silent steps of no duration also go one per frame.
    simhost::RunSeconds(1.1f);
    size_t shown = gOutputDialogues.size();
    for (int i = 0; i < 3; i++)
        TowerRadio_Queue("", "TOWER", 0).visible = 0;
    simhost::RunFrame();
    EXPECT_EQ(queue.size(), 2u);
    simhost::RunFrames(2);
    EXPECT_TRUE(queue.empty());
    EXPECT_EQ(simhost::SpokenTexts().size(), 3u);
    EXPECT_EQ(gOutputDialogues.size(), shown);
}

TEST_F(QueueTest, MissingGroundAndDeliveryFallBackToTheNextFacility)
{
    std::string out;
    SetFrequencyFilter(out, "DELIVERY");
    EXPECT_EQ(out, "GROUND");
    pilotObj.parser.groundFrequency = 0;
    SetFrequencyFilter(out, "GROUND");
    EXPECT_EQ(out, "TOWER");
    SetFrequencyFilter(out, "DELIVERY");
    EXPECT_EQ(out, "TOWER");
    pilotObj.parser.deliveryFrequency = 121700;
    SetFrequencyFilter(out, "DELIVERY");
    EXPECT_EQ(out, "DELIVERY");

    // No ground frequency: a ground call is heard on the tower, whichever of the two is tuned.
    TowerRadio_Queue("Taxi to holding point", "GROUND", 1);
    simhost::RunFrame();
    EXPECT_EQ(Spoken().size(), 1u);
    EXPECT_EQ(gTranslatedFrequencyName, "TOWER");
}

TEST_F(QueueTest, ReadbackStepsHandOnTheirTextUnlessTheDialogIsOpen)
{
    messaggio &taxi = TowerRadio_Queue("Taxi via #A#", "TOWER", 0, 330);
    snprintf(taxi.readbackText, sizeof taxi.readbackText, "%s", "Taxi via alpha");
    simhost::RunFrame();
    EXPECT_EQ(gReadbackMessage, 330);
    EXPECT_STREQ(gResponse, "Taxi via alpha");

    readbackWinIsOpen = 1;
    TowerRadio_Queue("Squawk #7000#", "TOWER", 0, 2000);
    simhost::RunFrames(2);
    EXPECT_EQ(gReadbackMessage, 330);
}

TEST_F(QueueTest, SpeechChoicesFollowTheOptions)
{
    disableVoiceOnReadBack = 1;
    TowerRadio_Queue("Pilot readback", "TOWER", 0, 0, true);
    TowerRadio_Queue("Controller phrase", "TOWER", 0);
    simhost::RunFrames(3);
    EXPECT_EQ(Spoken(), std::vector<std::string>{"Controller phrase"});
    EXPECT_EQ(gOutputDialogues.size(), 2u);

    gIsSpeechActivated = 0;
    TowerRadio_Queue("Shown only", "TOWER", 0);
    simhost::RunFrames(2);
    EXPECT_EQ(Spoken().size(), 1u);
    EXPECT_EQ(gOutputDialogues.size(), 3u);
}

TEST_F(QueueTest, DeliveredLineIsDrawnWhileTheDarkBoxShows)
{
    TowerRadio_Queue("Vellomir, contact #118.7#", "TOWER", 0);
    simhost::RunFrames(2);
    std::vector<simhost::DrawnString> drawn = simhost::FrameStrings();
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_NE(drawn[0].text.find("Vellomir, contact 118.7"), std::string::npos);
    EXPECT_EQ(simhost::FrameBoxes().size(), 1u);

    gShowDarkWindows = 0;
    simhost::RunFrame();
    EXPECT_TRUE(simhost::FrameStrings().empty());
}

TEST_F(QueueTest, ExchangeLeftAloneFor30SecondsIsFreed)
{
    developerDEBUG = 1;
    simhost::RunFrame();
    pilotObj.gIsCopiing = 1;
    gIsCopiingSince = simhost::ElapsedTime();
    readbackWinIsOpen = 1;
    simhost::RunSeconds(31);
    EXPECT_EQ(pilotObj.gIsCopiing, 1); // the read-back window still waits for the pilot

    readbackWinIsOpen = 0;
    gIsCopiingSince = simhost::ElapsedTime();
    simhost::RunSeconds(29.5f);
    EXPECT_EQ(pilotObj.gIsCopiing, 1);
    simhost::RunSeconds(1);
    EXPECT_EQ(pilotObj.gIsCopiing, 0);
    EXPECT_TRUE(Logged("gIsCopiing reset!"));

    // A 40-second message still on the air: the 30 seconds count from the end of the transmission.
    pilotObj.gIsCopiing = 1;
    gIsCopiingSince = simhost::ElapsedTime();
    TowerRadio_Queue("A very long clearance", "TOWER", 40);
    simhost::RunSeconds(65);
    EXPECT_EQ(pilotObj.gIsCopiing, 1);
    simhost::RunSeconds(6);
    EXPECT_EQ(pilotObj.gIsCopiing, 0);
}

} // namespace
