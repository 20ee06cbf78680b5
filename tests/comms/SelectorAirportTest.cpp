// The frequency selector's buttons (linked in): the departure airport's controllers before the first centre
// call, the arrival airport's after it.
#include "XPStandardWidgets.h"
#include "comms/FrequencySelector.h"
#include "plugin/FirstFrame.h"
#include "state/Pilot.h"
#include "support/PluginHost.h"

namespace {

class SelectorAirportTest : public HostTest {
  protected:
    void TearDown() override
    {
        FrequencySelector_Destroy();
        pilotObj = pilot();
        HostTest::TearDown();
    }
    static int PressTower()
    {
        SwitchFrequenze_XPWidgetIDHandler(xpMsg_PushButtonPressed, SwitchFrequenze_XPWidgetID,
                                          (intptr_t)SwitchFrequenze_buttonTower, 0);
        return simhost::GetInt("sim/cockpit2/radios/actuators/com1_frequency_hz_833");
    }
};

TEST_F(SelectorAirportTest, TowerIsTheDepartureTowerUntilTheFirstCentreCallThenTheArrivalTower)
{
    Driver_SkipFirstFrame();
    pilotObj.parser.towerFrequency = 119900;
    pilotObj.targetAirport.towerFrequency = 118300;
    CreaFinestraFrequenze(100, 500, 169, 180);
    EXPECT_EQ(PressTower(), 119900);
    pilotObj.primaChiamataCenterEffettuataMIA = 1;
    EXPECT_EQ(PressTower(), 118300);
    // Without a COM1 dataref (before the first frame) nothing is written.
    actualFrequencyRef = nullptr;
    pilotObj.targetAirport.towerFrequency = 126200;
    EXPECT_EQ(PressTower(), 118300);
    EXPECT_TRUE(simhost::HostErrors().empty());
}

} // namespace
