// What the frame driver (linked in) copies from the simulator into the flight record: the altitude with
// the transition level and the altimeter, the magnetic heading, the engines; and what it still does
// while the simulator is paused.
#include <cmath>

#include "plugin/FirstFrame.h"
#include "plugin/FrameDriver.h"
#include "plugin/FrameReads.h"
#include "plugin/Menu.h"
#include "plugin/PluginGlobals.h"
#include "state/Pilot.h"
#include "support/PluginHost.h"
#include "support/TowerRadio.h"
#include "ui/Settings.h"

namespace {

const double kMetresPerFoot = 0.3048;

class FrameReadsTest : public HostTest {
  protected:
    /// The aircraft in the air at a true altitude, in air of standard temperature.
    float AltitudeAt(double altitude_ft, float qnh_hpa)
    {
        simhost::PlaceAircraft(47.4, -122.3, altitude_ft * kMetresPerFoot, 0, false);
        simhost::SetWeather(0, 0, qnh_hpa);
        FrameDriver_ReadAltitude(flight);
        return flight.altitudineFeets;
    }
    pilot flight;
};

TEST_F(FrameReadsTest, AboveTheTransitionLevelTheAltimeterSettingAndColdAirCountAndNoPressureIsStandard)
{
    for (int version : {11300, 12000}) { // inches of mercury on X-Plane 11, pascals on 12
        ResetHost(version);
        EXPECT_NEAR(AltitudeAt(8000, 1013.25f), 8000, 2) << version;
        EXPECT_NEAR(AltitudeAt(8000, 1030.2f), 7500, 3) << version; // 30.42 inHg
        EXPECT_NEAR(AltitudeAt(8000, 996.3f), 8500, 3) << version;  // 29.42 inHg
        EXPECT_NEAR(AltitudeAt(4000, 1030.2f), 4000, 1) << version; // below FL50: the altitude itself
        // Within 100 ft of the transition level the reading keeps its source.
        EXPECT_NEAR(AltitudeAt(5050, 1030.2f), 5050, 1) << version;
        EXPECT_NEAR(AltitudeAt(5300, 1030.2f), 4800, 3) << version;
        EXPECT_NEAR(AltitudeAt(4950, 1030.2f), 4450, 3) << version;
        EXPECT_NEAR(AltitudeAt(4850, 1030.2f), 4850, 1) << version;
    }
    // After the top of descent the arrival's transition level applies.
    gTransLevelFLArr = 100;
    flight.gTODReached = 1;
    EXPECT_NEAR(AltitudeAt(8000, 1030.2f), 8000, 1);
    gTransLevelFLArr = 50;

    // Cold air: the altimeter's error is in the record, and the ground below.
    simhost::SetGroundElevation(500 * kMetresPerFoot);
    simhost::SetWeather(0, 0, 1013.25f, -20.0f);
    simhost::PlaceAircraft(47.4, -122.3, 3000 * kMetresPerFoot, 0, false);
    FrameDriver_ReadAltitude(flight);
    EXPECT_GT(flight.altimeterTempError, 150.0f);
    EXPECT_NEAR(flight.altitudineFeets, 3000 + flight.altimeterTempError, 1);
    EXPECT_NEAR(flight.gActualAGL, 2500, 1);

    // Bad input: a barometer reading that is no pressure counts as standard.
    simhost::SetWeather(0, 0, 1013.25f);
    simhost::PlaceAircraft(47.4, -122.3, 8000 * kMetresPerFoot, 0, false);
    for (float reading : {0.0f, std::nanf("")}) {
        simhost::SetFloat("sim/weather/aircraft/qnh_pas", reading);
        FrameDriver_ReadAltitude(flight);
        EXPECT_NEAR(flight.altitudineFeets, 8000, 2) << reading;
    }
}

TEST_F(FrameReadsTest, HeadingIsMagneticWithXPlanesVariationAndARunningEngineCountsAsStartUp)
{
    simhost::PlaceAircraft(47.4, -122.3, 100, 10, true);
    simhost::SetMagneticVariation(-15.5f); // 15.5 degrees east
    FrameDriver_ReadPositionAndMotion(flight);
    EXPECT_FLOAT_EQ(flight.headingAttuale, 354.5f);
    simhost::PlaceAircraft(47.4, -122.3, 100, 350, true);
    simhost::SetMagneticVariation(12.0f);
    FrameDriver_ReadPositionAndMotion(flight);
    EXPECT_FLOAT_EQ(flight.headingAttuale, 2.0f);

    FrameDriver_ReadEngines(flight);
    EXPECT_EQ(flight.gIsEngStartApproved, 0);
    simhost::SetEngines(true);
    FrameDriver_ReadEngines(flight);
    EXPECT_EQ(flight.engineRunning, 1);
    EXPECT_EQ(flight.gIsEngStartApproved, 1);
}

TEST_F(FrameReadsTest, WhilePausedMessagesAreDeliveredButTheFlightIsNotFollowed)
{
    System_CreateMenu();
    System_MenuRunningPatternFixed();
    TowerRadio_Open();
    gPluginEnabled = 1; // the service runs
    pilotObj.primaChiamataCenterEffettuataMIA = 1;
    simhost::PlaceAircraft(47.4, -122.3, 3000, 0, false);
    simhost::SetInt("sim/time/paused", 1);
    TowerRadio_Queue("Vellomir 12, climb flight level 100");
    simhost::RunFrames(2);
    EXPECT_EQ(simulatorPause, 1);
    ASSERT_EQ(simhost::SpokenTexts().size(), 1u);
    EXPECT_FALSE(simhost::MenuItems("Vellomirv2")[MENU_ATC_DIALOG].enabled);

    simhost::SetInt("sim/time/paused", 0);
    simhost::RunSeconds(3);
    EXPECT_EQ(simulatorPause, 0);
    EXPECT_TRUE(simhost::MenuItems("Vellomirv2")[MENU_ATC_DIALOG].enabled); // airborne after the centre call
    EXPECT_NEAR(gLastFPS, 30, 1);

    TowerRadio_Close();
    System_DestroyMenu();
    pilotObj.primaChiamataCenterEffettuataMIA = 0;
    gPluginEnabled = 0;
}

TEST_F(FrameReadsTest, DepartureForcedToAnotherAirportIsLookedUpByItsExactIdentifier)
{
    ASSERT_TRUE(simhost::InstallSample(std::string(VELLOMIR_SOURCE_DIR) + "/data/sample"));
    simhost::PlaceAtParking("KSEA", "A1");
    overwrittenDepartureApt = "KTCM";
    FrameDriver_FirstFrame(pilotObj);
    EXPECT_STREQ(gActualAptICAO, "KTCM");
    EXPECT_EQ(pilotObj.depAirportFullName, "MC CHORD AFB");
    EXPECT_EQ(pilotObj.datiPilotaImpostati, 1);

    overwrittenDepartureApt = "KTC"; // a fragment is no identifier
    FrameDriver_FirstFrame(pilotObj);
    EXPECT_STREQ(gActualAptICAO, "");
    EXPECT_TRUE(Logged("Airport not found!"));
    EXPECT_EQ(pilotObj.parser.towerFrequency, 0.0);
    overwrittenDepartureApt.clear();
}

} // namespace
