// Naming the tuned COM1 facility (the frame driver's rules, linked in): services an airport lacks are
// played by the next one, the arrival airport's ground and tower take over after the tower hand-off and
// the top of descent, and tuning the frequency of a hand-over completes it.
#include <cmath>

#include "plugin/FacilityNaming.h"
#include "state/Pilot.h"
#include "support/PluginHost.h"

namespace {

/// Kilohertz, as X-Plane 11.30 and later tune them.
double kHz(double megahertz)
{
    return std::round(megahertz * 1000.0);
}

void Frequencies(Parser &airport, double delivery, double ground, double tower, double approach = 0, double atis = 0,
                 double departure = 0)
{
    airport.deliveryFrequency = kHz(delivery);
    airport.groundFrequency = kHz(ground);
    airport.towerFrequency = kHz(tower);
    airport.approachFrequency = kHz(approach);
    airport.atisFrequency = kHz(atis);
    airport.departureFrequency = kHz(departure);
}

class FacilityNamingTest : public HostTest {
  protected:
    void SetUp() override
    {
        HostTest::SetUp();
        gActualFrequencyName = "NONE";
    }
    pilot flight;
    std::string Name(double megahertz) const { return Radio_FacilityName(flight, kHz(megahertz)); }
};

TEST_F(FacilityNamingTest, MissingServicesArePlayedByTheNextControllerButARadioReadingZeroIsNone)
{
    // Ground but no delivery: through the loaded plug-in at McChord and at the UHF field.
    Frequencies(flight.parser, 0, 0, 118.5);
    EXPECT_EQ(Name(118.5), "DELIVERY"); // neither delivery nor ground: the tower clears IFR
    EXPECT_EQ(Radio_FacilityName(flight, 0), std::string("NONE"));
    Frequencies(flight.parser, 128.0, 0, 118.5);
    EXPECT_EQ(Name(118.5), "GROUND"); // delivery but no ground: the tower taxies
}

TEST_F(FacilityNamingTest, ArrivalGroundAndTowerTakeOverAfterTheHandOffAndTheDescent)
{
    Frequencies(flight.parser, 128.0, 121.7, 119.9, 120.1);
    Frequencies(flight.targetAirport, 0, 118.85, 118.7, 124.35, 128.6);
    EXPECT_EQ(Name(118.7), "NONE"); // the arrival tower is not ours before the top of descent
    EXPECT_EQ(Name(118.85), "NONE");
    EXPECT_EQ(Name(124.35), "APPROACH");
    EXPECT_EQ(Name(128.6), "ATIS");
    flight.gTODReached = 1;
    EXPECT_EQ(Name(118.7), "TOWER");
    flight.HandoffTorreComunicato = true;
    EXPECT_EQ(Name(118.85), "GROUND");
    EXPECT_EQ(Name(128.0), "NONE"); // the departure delivery is done with

    // The arrival ground on the departure tower's frequency (a flight back home) is the ground.
    Frequencies(flight.targetAirport, 0, 119.9, 118.7);
    EXPECT_EQ(Name(119.9), "GROUND");
    flight.HandoffTorreComunicato = false;
    EXPECT_EQ(Name(119.9), "TOWER");
}

TEST_F(FacilityNamingTest, TuningTheHandOverFrequencyCompletesTheHandOver)
{
    flight.frequenzaCenter = kHz(134.95);
    flight.frequenzaObiettivo = kHz(134.95);
    flight.nuovaCenterTrovata = true;
    flight.primaChiamataCenterEffettuata = 1;
    flight.gTargetAirportTowerInitialCallDone = 1;
    switchToCenter = 0;

    flight.gActualFrequency = kHz(134.95);
    FrameDriver_NameTunedFacility(flight);
    FrameDriver_CompleteHandOver(flight);
    EXPECT_EQ(flight.gActualFrequencyName, "CENTER");
    EXPECT_EQ(flight.frequenzaObiettivo, 0.0);
    EXPECT_EQ(flight.gTargetAirportTowerInitialCallDone, 0);
    EXPECT_FALSE(flight.nuovaCenterTrovata);
    EXPECT_EQ(flight.primaChiamataCenterEffettuata, 0); // the new centre gets its first call
    EXPECT_EQ(switchToCenter, 1);

    // No hand-over pending and a radio reading 0: nothing is completed.
    flight.gTargetAirportTowerInitialCallDone = 1;
    flight.gActualFrequency = 0;
    FrameDriver_CompleteHandOver(flight);
    EXPECT_EQ(flight.gTargetAirportTowerInitialCallDone, 1);
    switchToCenter = 0;
}

} // namespace
