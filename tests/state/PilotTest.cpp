// The flight record: defaults, starting a flight, the route and its backup.
#include "plugin/PluginGlobals.h"
#include "state/Pilot.h"
#include "support/PluginHost.h"

namespace {

class PilotTest : public HostTest {};

TEST_F(PilotTest, PointAtZeroLatitudeOrLongitudeIsSkippedButBackedUp)
{
    pilot record;
    record.AddToFlightPlan(47.45f, -122.31f, "KSEA", 0, 0, 50, 0);
    record.AddToFlightPlan(0.0f, 10.0f, "NULL1", 2, 0, 350, 0);
    record.AddToFlightPlan(10.0f, 0.0f, "NULL2", 2, 0, 350, 0);
    ASSERT_EQ(record.flightPlanVec.size(), 1u);
    EXPECT_EQ(record.flightPlanVec[0].name, "KSEA");
    EXPECT_TRUE(Logged("Skipping incorrect flighplan entry found with 0.0000 lat or lon NULL1 - 0.000000 10.000000"));

    record.AddToFlightPlanBackup(0.0f, 10.0f, "NULL1", 2, 0, 350, 0);
    ASSERT_EQ(record.flightPlanBackup.size(), 1u);
    EXPECT_EQ(record.flightPlanBackup[0].name, "NULL1");
}

TEST_F(PilotTest, SetDataStartsANewFlightAndResetKeepsTheRoute)
{
    pilot record;
    record.AddToFlightPlan(47.0f, -122.0f, "SEA", 2, 4, 100, 0);
    record.AddTaxiPoint(0, 3, 0.1f, "A", 1, 47.0, -122.0);
    record.AddSid("BANGR9", "BANGR9", 0, 0, true);
    record.AddStarFix(0, "HAWKZ7", "ALL", "HAWKZ", "K1", 47, -122, 0, 110);
    record.clearedToTakeOff = 1;
    record.primaChiamataCenterEffettuataMIA = 1;
    record.frequenzaCenter = record.frequenzaCenterTemp = 125100;
    record.centerTrovata = record.nuovaCenterTrovata = true;
    snprintf(record.nomeCenter, sizeof record.nomeCenter, "Seattle Center");
    record.ResetFlight();
    EXPECT_TRUE(record.frequenzaCenter == 0 && record.frequenzaCenterTemp == 0 && !record.centerTrovata &&
                !record.nuovaCenterTrovata && record.nomeCenter[0] == 0); // the next flight finds its own centre
    EXPECT_EQ(record.flightPlanVec.size(), 1u);
    EXPECT_TRUE(record.sids.empty());
    EXPECT_TRUE(record.starFixes.empty());
    EXPECT_EQ(record.clearedToTakeOff, 0);
    EXPECT_EQ(record.primaChiamataCenterEffettuataMIA, 0);

    record.gIsIFRCleared = 1;
    record.datiPilotaImpostati = 1;
    record.gActualFlightPlanIndex = 4;
    record.depAirportICAO = "KSEA";
    record.SetData(green, 47.44, -122.30, "N172SP");
    EXPECT_STREQ(record.nomePilota, "N172SP");
    EXPECT_DOUBLE_EQ(record.latitudine, 47.44);
    EXPECT_TRUE(record.flightPlanVec.empty() && record.taxiPoints.empty() && record.depAirportICAO.empty());
    EXPECT_EQ(record.gIsIFRCleared, 0);
    EXPECT_EQ(record.datiPilotaImpostati, 0);
    EXPECT_EQ(record.gActualFlightPlanIndex, 0);

    // A callsign longer than the record's buffer is cut, never overflows.
    record.SetPilotName("A-CALLSIGN-THAT-IS-FAR-TOO-LONG-FOR-FORTY-BYTES-OF-TEXT");
    EXPECT_EQ(strlen(record.nomePilota), sizeof record.nomePilota - 1);
}

} // namespace
