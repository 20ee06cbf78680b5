// The flight record: starting a flight, the reset of everything it holds, the route and its backup.
#include <cstring>

#include "plugin/PluginGlobals.h"
#include "state/Pilot.h"
#include "support/PluginHost.h"

namespace
{

class PilotTest : public HostTest {};

// Every number and flag of the record.
// clang-format off
#define PILOT_SCALARS(X)                                                                                               \
    X(numeroDiSidTrovate) X(numeroDiStarTrovate) X(selectedSID) X(selectedSTAR) X(sidSelezionata)                      \
    X(starSelezionata) X(sidFiled) X(starFiled) X(altezzaAeroportoArrivo) X(plannedFL) X(clearedFL)                    \
    X(altitudineFeets) X(altimeterTempError) X(gActualAGL) X(kmlExport) X(preferredDepRunway)                          \
    X(preferredArrRunway) X(gActualFlightPlanIndex) X(gLastDistanceToActWP) X(distanzaMinimaWaypoint)                  \
    X(secondiDallUltimoSkipWaypoint) X(ultimaVoltaInDirContraria) X(errorDelta) X(distanzaDestinazioneTotale)          \
    X(distanzaDestinazioneLinear) X(latDestinazione) X(lonDestinazione) X(latitudine) X(longitudine)                   \
    X(headingAttuale) X(variazioneMagnetica) X(HeadingPrecedente) X(angoloDiVirata) X(groundSpeed)                     \
    X(trueAirspeed) X(indicatedAirspeed) X(verticalSpeed) X(acfWeight) X(isOnGround) X(velocitaMassimaRaggiunta)       \
    X(angoloDiCorrezioneVento) X(dirVentoRelativa) X(velocitaVento) X(windHeading) X(usaHeadingWCA)                    \
    X(statoAutopilotaAdesso) X(statoVNAV_IXEG) X(statoLNAV_IXEG) X(gActualFrequency) X(frequenzaObiettivo)             \
    X(frequenzaCenter) X(frequenzaCenterTemp) X(frequenzaCenterPrecedente) X(centerFittizia) X(centerTrovata)          \
    X(nuovaCenterTrovata) X(ultimaRicercaCenter) X(transponder) X(orarioControlloSquawk) X(gIsCopiing)                 \
    X(datiPilotaImpostati) X(gIsFPFiled) X(gIsIFRCleared) X(gIsEngStartApproved) X(gIsPBApproved)                      \
    X(gIsTaxiingApproved) X(clearedToTakeOff) X(clearedToLand) X(isOnHoldingPoint) X(gTargetRunwayVacated)             \
    X(engineRunning) X(vfrFlight) X(serviceTerminated) X(ilsPathCreated) X(landedNotified)                             \
    X(destroyMissedApproach) X(distruggereFinestraTower) X(HandoffTorreComunicato) X(QuotaIntercILSAnnunciata)         \
    X(gTargetAirportTowerInitialCallDone) X(primaChiamataCenterEffettuata) X(primaChiamataCenterEffettuataMIA)         \
    X(primaChiamataApproachEffettuata) X(informazioniDiAtterraggioComunicate) X(cicloCenter) X(cicloMissed)            \
    X(cicloApproach) X(orarioDiDecollo) X(gTODReached) X(faseDiscesa) X(altezzaDiscesaFeet)                            \
    X(gAnnounceVerticalChangeTime) X(nuovaAltitudineAnnunciata) X(ostacoloMassimoFt) X(headingAnnounceDelay)           \
    X(headingAnnounceDelayAP) X(orarioRiprovaPushback) X(orarioUltimoContattoCenter) X(orarioHandOverCenter)           \
    X(distanzaCambioCenter) X(orarioUltimaIstruzione)
// clang-format on

/// A record with every member away from its initial value.
void Pilot_fillEverything(pilot &r)
{
#define X(member) r.member = (decltype(r.member))(r.member + 7);
    PILOT_SCALARS(X)
#undef X
    r.AddToFlightPlan(47.0f, -122.0f, "SEA", 2, 4, 100, 0);
    r.AddToFlightPlanBackup(47.0f, -122.0f, "SEA", 2, 4, 100, 0);
    r.AddTaxiPoint(0, 3, 0.1f, "A", 1, 47.0, -122.0);
    r.AddSid("BANGR9", "BANGR9", 0, 0, true);
    r.AddStar("HAWKZ7", "HAWKZ7", 0, 0, true);
    r.AddSidFix(0, "BANGR9", "ALL", "BANGR", "K1", 47, -122, 0, 110);
    r.AddStarFix(0, "HAWKZ7", "ALL", "HAWKZ", "K1", 47, -122, 0, 110);
    r.coloreDialogo[1] = 1;
    r.SetPilotName("N172SP");
    snprintf(r.nomeCenter, sizeof r.nomeCenter, "Seattle Center");
    snprintf(r.departureRunwayName, sizeof r.departureRunwayName, "16L");
    r.depAirportICAO = r.arrAirportICAO = r.arrAirportFullName = r.depAirportFullName = r.pianoDiVolo = "x";
    r.gActualFrequencyName = r.frequenzaObiettivoNome = "TOWER";
    r.departureRunwayStruct.number = r.arrivalRunwayStruct.landingType = 4;
    r.gParkingStruct.id = 1;
    r.gParkingStruct.name = "gate a1";
    r.parser.towerFrequency = r.targetAirport.towerFrequency = 118700;
}

TEST_F(PilotTest, ResetClearsEveryMemberButTheRouteAndSetDataStartsFromNothing)
{
    const pilot fresh;
    pilot r;
    Pilot_fillEverything(r);
    r.ResetFlight();
#define X(member) EXPECT_EQ(r.member, fresh.member) << #member;
    PILOT_SCALARS(X)
#undef X
    EXPECT_EQ(r.flightPlanVec.size(), 1u); // the route stays until the next flight starts
    EXPECT_TRUE(r.flightPlanBackup.empty() && r.taxiPoints.empty() && r.sids.empty() && r.stars.empty() &&
                r.sidFixes.empty() && r.starFixes.empty());
    EXPECT_TRUE(r.depAirportICAO.empty() && r.arrAirportICAO.empty() && r.arrAirportFullName.empty() &&
                r.depAirportFullName.empty() && r.pianoDiVolo.empty() && r.gActualFrequencyName.empty() &&
                r.frequenzaObiettivoNome.empty() && r.gParkingStruct.name.empty());
    EXPECT_EQ(r.nomePilota[0] + r.nomeCenter[0] + r.departureRunwayName[0], 0);
    EXPECT_EQ(r.coloreDialogo[1], 0.0f);
    EXPECT_EQ(r.departureRunwayStruct.number + r.arrivalRunwayStruct.landingType + r.gParkingStruct.id, 0);
    EXPECT_EQ(r.parser.towerFrequency + r.targetAirport.towerFrequency, 0);
    EXPECT_EQ(r.distanzaDestinazioneTotale, 500);
    EXPECT_EQ(r.headingAnnounceDelayAP, 12);

    Pilot_fillEverything(r);
    r.SetData(green, 47.44, -122.30, "N172SP");
    EXPECT_STREQ(r.nomePilota, "N172SP");
    EXPECT_DOUBLE_EQ(r.latitudine, 47.44);
    EXPECT_EQ(r.coloreDialogo[1], green[1]);
    EXPECT_TRUE(r.flightPlanVec.empty() && r.taxiPoints.empty());
    EXPECT_EQ(r.gIsIFRCleared + r.datiPilotaImpostati + r.transponder + r.gActualFlightPlanIndex, 0);

    // A callsign longer than the record's buffer is cut, never overflows.
    r.SetPilotName("A-CALLSIGN-THAT-IS-FAR-TOO-LONG-FOR-FORTY-BYTES-OF-TEXT");
    EXPECT_EQ(strlen(r.nomePilota), sizeof r.nomePilota - 1);
}

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

} // namespace
