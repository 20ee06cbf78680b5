// Every other exchange, each handler called as its monitor, its button or its code will call it: the
// phrase and read-back it queues (with their markup), the facility it is heard on, its code and the
// flags of the flight afterwards. Then "Say again" for every controller message that asks a read-back.
#include <functional>
#include <string>

#include "ExchangeSupport.h"
#include "comms/MessageCodes.h"
#include "comms/PhraseCommon.h"
#include "comms/PhraseMarkup.h"
#include "comms/PhrasesArrival.h"
#include "comms/PhrasesCenter.h"
#include "comms/PhrasesDelivery.h"
#include "comms/PhrasesGround.h"
#include "comms/PhrasesHandOver.h"
#include "comms/PhrasesSpecial.h"
#include "comms/PhrasesTower.h"
#include "comms/ReadbackAnswers.h"
#include "state/Hooks.h"
#include "state/Pilot.h"

namespace
{

/// The en-route and arrival part of the flight: Seattle Center, Portland's approach 118.100, tower
/// 118.700 and ground 121.900, runway 28R with an ILS, one parking position.
void Exchange_SetUpArrival(pilot &r)
{
    snprintf(r.nomeCenter, sizeof r.nomeCenter, "Seattle Center");
    r.frequenzaCenter = 120300;
    r.targetAirport.approachFrequency = 118100;
    r.targetAirport.towerFrequency = 118700;
    r.targetAirport.groundFrequency = 121900;
    snprintf(r.arrivalRunwayStruct.name, sizeof r.arrivalRunwayStruct.name, "28R");
    r.arrivalRunwayStruct.landingType = 4;
    r.arrivalRunwayStruct.heading = 284;
    r.arrivalRunwayStruct.heightft = 31;
    r.headingAttuale = 280;
    r.variazioneMagnetica = 0;
    Parser::parking gate;
    gate.name = "Gate_C-7#";
    r.targetAirport.parkings.push_back(gate);
    r.altitudineFeets = 9000;
    r.clearedFL = 240;
    r.distanzaDestinazioneTotale = 300;
    r.isOnGround = 0;
}

/// A handler, or a few lines around one.
struct Call {
    Call(void (*handler)(pilot *)) : run([handler](pilot &p) { handler(&p); }) {}
    template <class F> Call(F f) : run(f) {}
    std::function<void(pilot &)> run;
};

struct Row {
    const char *what;
    Call call;
    const char *text;     ///< "" when the step queues nothing
    const char *readback; ///< the read-back the controller composes
    const char *filter;
    int code;
    std::function<bool(const pilot &)> flags;
};

bool Any(const pilot &)
{
    return true;
}

TEST_F(ExchangeTest, EveryOtherExchangeQueuesItsPhraseOnItsFacilityWithItsCodeAndFlags)
{
    pilot &r = pilotObj;
    Exchange_SetUpArrival(r);
    const Row rows[] = {
        {"centre first call while climbing", CenterInitialCall,
         "Seattle Center, good afternoon, Vellomir @12@ passing flight level #90#, climbing flight level #240#", "",
         "CENTER", 510, Any},
        {"centre got", CenterInitialCallGot, "", "", "", 0,
         [](const pilot &p) {
             return p.cicloCenter == 1 && p.primaChiamataCenterEffettuata == 1 &&
                    p.primaChiamataCenterEffettuataMIA == 1 && p.orarioDiDecollo > 0 && p.gIsCopiing == 0;
         }},
        {"approach first call, level",
         [](pilot &p) {
             p.altitudineFeets = 24000;
             ApproachInitialCall(&p);
         },
         "Portland approach, good afternoon, Vellomir @12@", "", "APPROACH", 515, Any},
        {"approach got", ApproachInitialCallGot, "", "", "", 0,
         [](const pilot &p) { return p.primaChiamataApproachEffettuata == 1; }},
        {"landing information", ComunicaInformazioniAtterraggio, "Vellomir @12@, expect #ILS#, runway in use *28R*.",
         "expect #ILS#, runway in use *28R*, Vellomir @12@.", "CENTER", 550,
         [](const pilot &p) { return p.informazioniDiAtterraggioComunicate == 1; }},
        {"speed with approach",
         [](pilot &p) {
             p.cicloApproach = 1;
             ApproachAnnounceReduceSpeed(&p, 210);
         },
         "Vellomir @12@, reduce speed to 210 knots.", "reduce speed to 210 knots, Vellomir @12@.", "APPROACH", 1070,
         Any},
        {"default read-back on approach",
         [](pilot &p) {
             p.cicloApproach = 1;
             CenterDefaultReadback(&p, "ok, X.");
         },
         "ok, X.", "", "APPROACH", 0, [](const pilot &p) { return p.gAnnounceVerticalChangeTime > 0; }},
        {"hand-over to the next centre", HandOverCenter,
         "Vellomir @12@, QNH #1013#. Contact Seattle Center on #120.300#, bye.",
         "QNH #1013#. Contact Seattle Center on #120.300#, good bye, Vellomir @12@", "ALL", 1010, Any},
        {"centre hand-over got", HandOverCenterGot, "", "", "", 0,
         [](const pilot &p) { return p.frequenzaObiettivo == 120300 && p.distanzaCambioCenter == 300 - 15; }},
        {"hand-over to approach",
         [](pilot &p) {
             p.arrivalRunwayStruct.landingType = 0;
             HandOverApproach(&p);
         },
         "Vellomir @12@, QNH #1013#, contact Portland approach on #118.100#. Expect runway *28R* to land, bye.",
         "QNH #1013#, contact Portland approach on #118.100#, runway *28R* to land, good bye, Vellomir @12@.", "ALL",
         1011, Any},
        {"hand-over to tower with a turn",
         [](pilot &p) {
             p.arrivalRunwayStruct.landingType = 4;
             HandOverTowerForLanding(&p, 275);
         },
         "Vellomir @12@, turn left heading #275#. Cleared for ILS approach runway *28R*. Contact tower on #118.700# "
         "when established, bye.",
         "Turn left heading #275#. Cleared for ILS approach runway *28R*. Contact tower on #118.700#. Good bye, "
         "Vellomir @12@",
         "ALL", 610, [](const pilot &p) { return p.HandoffTorreComunicato; }},
        {"tower hand-over read back", [](pilot &p) { HandOverTowerForLandingReadBack(&p, "X"); }, "X", "", "ALL", 0,
         [](const pilot &p) { return p.frequenzaObiettivo == 118700; }},
        {"arrival tower answer", TowerArrival_InitialCallResponse, "Vellomir @12@, identified. Continue your approach.",
         "", "TOWER", 0,
         [](const pilot &p) { return p.gTargetAirportTowerInitialCallDone == 1 && p.frequenzaObiettivo == 0; }},
        {"landing clearance, parking chosen", ComunicaClearedToLand,
         "Vellomir @12@, wind is calm, runway *28R*, cleared to land.", "", "TOWER", 760,
         [](const pilot &p) { return p.gParkingStruct.name == "gate c 7"; }},
        {"landing read-back", ComunicaClearedToLandReadback, "Cleared to land runway *28R*, Vellomir @12@.", "",
         "TOWER", 0, [](const pilot &p) { return p.clearedToLand == 1; }},
        {"missed approach instructions", Tower_MissedApproachResponse,
         "Vellomir @12@, turn right heading #285#. Climb and maintain 3000 feet, contact Portland approach on "
         "#118.100#",
         "Turn right heading #285#. Climb and maintain 3000 feet. Contact Portland approach on #118.100#, Vellomir "
         "@12@",
         "TOWER", 920,
         [](const pilot &p) { return p.clearedToLand == 0 && p.cicloMissed == 1 && p.cicloApproach == 1; }},
        {"missed approach read-back", [](pilot &p) { Tower_MissedApproachReadback(&p, "X"); }, "X", "", "TOWER", 0,
         [](const pilot &p) { return p.frequenzaObiettivo == 118100; }},
        {"runway vacated answer", Tower_RunwayVacatedResponse, "Vellomir @12@, contact ground on #121.900#.",
         "Ground on #121.900#, Vellomir @12@.", "TOWER", 790,
         [](const pilot &p) { return p.gTargetRunwayVacated == 1; }},
        {"ground frequency read back", Tower_RunwayVacatedReadback, "Ground on #121.900#, Vellomir @12@.", "", "TOWER",
         0, [](const pilot &p) { return p.frequenzaObiettivo == 121900; }},
        {"taxi to the gate", GroundInitialCallResponse, "Vellomir @12@, taxi to gate c 7",
         "taxi to gate c 7, Vellomir @12@", "GROUND", 820, Any},
        {"taxi to any parking",
         [](pilot &p) {
             p.gParkingStruct.name.clear();
             GroundInitialCallResponse(&p);
         },
         "Vellomir @12@, taxi to parking of your choice.", "taxi to parking of my choice, Vellomir @12@", "GROUND", 820,
         Any},
        {"parking read-back ends the service", Ground_InitialCallReadback,
         "taxi to parking of my choice, Vellomir @12@", "", "GROUND", 0,
         [](const pilot &p) { return p.serviceTerminated && p.gParkingStruct.id == 1; }},
        {"wrong squawk",
         [](pilot &p) {
             p.transponder = 2345;
             AnnounceSquawkIncorrect(&p);
         },
         "Vellomir @12@, set the transponder code #2345# as instructed.", "transponder on #2345#, Vellomir @12@.",
         "ALL", 2000, Any},
        {"cancel IFR", [](pilot &p) { p.gActualFrequencyName = "CENTER";
             Radio_CancelIFR(&p); },
         "Seattle Center, Vellomir @12@, please cancel IFR.", "", "ALL", 1080, Any},
        {"IFR cancelled", Radio_CancelIFRResponse, "Vellomir @12@, IFR cancelled", "IFR cancelled, Vellomir @12@",
         "ALL", 1090, Any},
        {"cancellation read back", [](pilot &p) { Radio_CancelIFRReadback(&p, "IFR cancelled, X"); },
         "IFR cancelled, X", "", "ALL", 1100, [](const pilot &p) { return p.serviceTerminated && p.cicloCenter == 0; }},
        {"emergency clearance", DeclareEmergencyReadback,
         "Vellomir @12@, cleared for immediate landing at Portland, set transponder code to #7700#, expect #ILS#, "
         "runway in use *28R*.",
         "cleared for immediate landing at Portland, transponder on #7700#, expect #ILS#, runway in use *28R*, "
         "Vellomir @12@.",
         "ALL", 3002, [](const pilot &p) { return p.transponder == 7700; }},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        queue.clear();
        row.call.run(r);
        if (row.text[0] == '\0') {
            EXPECT_TRUE(queue.empty());
        } else {
            ASSERT_EQ(queue.size(), 1u);
            const messaggio &m = queue.back();
            EXPECT_EQ(m.text, std::string(row.text));
            EXPECT_EQ(m.readbackText, std::string(row.readback));
            EXPECT_EQ(m.frequencyFilter, row.filter);
            EXPECT_EQ(m.message, row.code);
        }
        EXPECT_TRUE(row.flags(r));
    }
}

/// Whether a rendered phrase reads clean: no markup or quote left on screen, no double or edge blank, and
/// nothing of the markup spoken.
void ExpectClean(const char *text)
{
    SCOPED_TRACE(text);
    char display[MESSAGE_TEXT_SIZE * 8], speech[MESSAGE_TEXT_SIZE * 8];
    Phrase_Render(text, display, sizeof display, speech, sizeof speech);
    const std::string shown = display;
    EXPECT_EQ(shown.find_first_of("#*@'\""), std::string::npos);
    EXPECT_EQ(shown.find("  "), std::string::npos);
    EXPECT_TRUE(shown.empty() || (shown.front() != ' ' && shown.back() != ' '));
    EXPECT_EQ(std::string(speech).find_first_of("#*@"), std::string::npos);
}

TEST_F(ExchangeTest, EveryPhraseReadsCleanAndEveryReadbackRequestIsSaidAgainWordForWord)
{
    pilot &r = pilotObj;
    Exchange_SetUpArrival(r);
    r.transponder = 2345;
    r.plannedFL = 120;
    r.flightPlanVec.front().fl = 0; // the clearance draws an intermediate level: the repeat keeps it
    simhost::SetWeather(160, 8, 1013); // the wind forms of the clearances
    const struct {
        void (*handler)(pilot *);
        int readbackCode; ///< the read-back step "Say again" answers; 0 for the pilot's calls
    } rows[] = {
        {FlightPlanning_RequestIFRClearance, 0}, {FlightPlanning_RequestIFRClearanceResponse, 40},
        {FlightPlanning_RequestIFRClearanceReadback, 0}, {FlightPlanning_RequestIFRClearanceReadbackCorrect, 0},
        {FlightPlanning_RequestIFRClearanceReadbackCorrectSquawkIncorrect, 0}, {Ground_RequestEngineStartup, 0},
        {Ground_RequestEngineStartupResponse, 130}, {Ground_RequestEngineStartupReadback, 0},
        {Ground_RequestEngineStartupAndPushback, 0}, {Ground_RequestEngineStartupAndPushBackResponse, 131},
        {Ground_RequestEngineStartupAndPushBackReadback, 0}, {Ground_RequestPushback, 0},
        {Ground_RequestPushbackResponse, 230}, {Ground_RequestPushbackReadback, 0},
        {Ground_RequestPushbackRejectedReadback, 0}, {Ground_RequestTaxi, 0}, {Ground_RequestTaxiResponse, 330},
        {HandOverTower, 882}, {Takeoff_RequestTakeOff, 0}, {Takeoff_RequestTakeOffResponse, 420},
        {Takeoff_RequestTakeOffReadback, 0}, {CenterInitialCall, 0}, {CenterInitialCallFlightLevelChange, 0},
        {ApproachInitialCall, 0}, {ComunicaInformazioniAtterraggio, 550},
        {[](pilot *p) { ApproachAnnounceReduceSpeed(p, 180); }, 1070}, {HandOverCenter, 1010},
        {HandOverApproach, 1011}, {[](pilot *p) { HandOverTowerForLanding(p, 275); }, 610},
        {TowerArrival_InitialCall, 0}, {TowerArrival_InitialCallResponse, 0}, {ComunicaClearedToLand, 760},
        {ComunicaClearedToLandReadback, 0}, {Tower_MissedApproach, 0}, {Tower_MissedApproachResponse, 920},
        {Tower_RunwayVacated, 0}, {Tower_RunwayVacatedResponse, 790}, {Tower_RunwayVacatedReadback, 0},
        {Ground_InitialCall, 0}, {GroundInitialCallResponse, 820}, {Ground_InitialCallReadback, 0},
        {AnnounceSquawkIncorrect, 2000}, {Radio_CancelIFR, 0}, {Radio_CancelIFRResponse, 1090}, {DeclareEmergency, 0},
        {DeclareEmergencyReadback, 3002}, {DeclareEmergencyReadbackCorrect, 0},
    };
    for (int onGround : {0, 1}) {
        for (const auto &row : rows) {
            r.isOnGround = onGround;
            queue.clear();
            row.handler(&r);
            for (const messaggio &m : queue) {
                ExpectClean(m.text);
                ExpectClean(m.readbackText);
            }
            if (row.readbackCode == 0 || onGround == 0)
                continue;
            ASSERT_EQ(queue.size(), 1u);
            const messaggio original = queue.back();
            SCOPED_TRACE(original.text);
            ASSERT_TRUE(Radio_AskSayAgain(&r, row.readbackCode));
            ASSERT_EQ(queue.size(), 2u);
            EXPECT_STREQ(queue.back().text, "Say again, Vellomir @12@.");
            EXPECT_EQ(queue.back().frequencyFilter, original.frequencyFilter);
            EXPECT_EQ(queue.back().message, MESSAGE_CODE_SAY_AGAIN);
            Queue_RunMessageAction(queue.back());
            ASSERT_EQ(queue.size(), 3u);
            EXPECT_STREQ(queue.back().text, original.text);
            EXPECT_STREQ(queue.back().readbackText, original.readbackText);
            EXPECT_EQ(queue.back().message, original.message);
            EXPECT_EQ(queue.back().frequencyFilter, original.frequencyFilter);
        }
    }
    EXPECT_FALSE(Radio_AskSayAgain(&r, 225)); // a refused push-back has nothing to repeat
    queue.clear();
}

} // namespace
