// The flight record: one flight from plan to parking, with its route, procedures, taxi route,
// the simulator state copied each frame and every flag of the radio exchanges.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "navdata/Parser.h"

class pilot {
  public:
    /// One route point of flightPlanVec.
    struct flightPlanLoc {
        std::string name;
        float lat = 0, lon = 0;
        int order = 0;       ///< 0 dep runway, 1 SID, 2 route, 3 STAR, 4 approach, 5 ILS, 6 arr runway
        int fl = 0;          ///< planned level, hundreds of feet
        int restriction = 0; ///< procedure altitude restriction, hundreds of feet, 0 = none
        int navType = 0;     ///< host navaid type, 0 = entered by latitude/longitude
        int forcedFl = 0;    ///< level the pilot filed for this waypoint (WPT.FL.nnn), 0 = none
        int routeOrder = -1; ///< own order of a route waypoint standing in as the ILS point (order 5), else -1
    };

    struct sid {
        std::string name;
        std::string name2;
        double lat = 0, lon = 0;
        bool favour = false;
    };
    typedef sid star;

    struct sidFix {
        int procIndex = 0;
        std::string procName, transition, fixName, region;
        double lat = 0, lon = 0; ///< 0.0 = not yet known
        int fl = 0, restriction = 0;
        char altitudeCode = ' '; ///< the procedure's altitude description ('+', '-', 'B', ' ' ...)
        int navType = 0;         ///< host navaid type the procedure search placed the fix with, 0 = none
    };
    typedef sidFix starFix;

    /// One point of the taxi route.
    struct linePoint {
        int id = 0; ///< node number within its line
        int globalID = 0;
        float distanzaFlooding = 0;
        std::string name;
        int lineID = 0;
        double lat = 0, lon = 0;
        std::vector<int> neighbourIDs;
        std::vector<int> otherIDs;
    };

    /// A chosen runway end.
    struct runwayStruct {
        int number = 0;
        char name[5] = {0};
        float lat = 0, lon = 0; ///< holding point / runway end
        float heightft = 0;     ///< airport elevation, feet
        int index = 0;          ///< 1-based position of the end in the parser's runways
        float thresholdLength = 0;
        float heading = 0;      ///< true heading of the end
        int landingType = 0;
    };

    struct parkingStruct {
        int id = 0;       ///< assigned parking position, 0 = none
        std::string name; ///< lower case, set with the landing clearance
    };

    pilot();
    virtual ~pilot();

    void SetPilotName(const char *name);
    /// Starts a new flight: everything as ResetFlight leaves it, the route emptied, then the colour, callsign
    /// and position given.
    void SetData(const float colour[3], double lat, double lon, const char *name);
    void AddToFlightPlan(float lat, float lon, const char *name, int order, int navType, int fl, int restriction);
    void AddToFlightPlanBackup(float lat, float lon, const char *name, int order, int navType, int fl,
                               int restriction);
    void AddSid(const char *name, const char *name2, double lat, double lon, bool favour);
    void AddStar(const char *name, const char *name2, double lat, double lon, bool favour);
    void AddSidFix(int procIndex, const char *procName, const char *transition, const char *fixName,
                   const char *region, double lat, double lon, int fl, int restriction);
    void AddStarFix(int procIndex, const char *procName, const char *transition, const char *fixName,
                    const char *region, double lat, double lon, int fl, int restriction);
    void AddTaxiPoint(int nodeInLine, int globalID, float distanzaFlooding, const char *name, int lineID, double lat,
                      double lon);
    /// Clears the flight state for a new flight (the flight reset): every member back to its initial value
    /// except the active route.
    void ResetFlight();
    /// Rebuilds flightPlanVec from the record's route text (planning/FlightPlanRoute.cpp).
    static void AnalyzeFlightPlan(pilot *record);
    /// Writes FlightPlan.kml from flightPlanVec when the KML export is on (planning/FlightPlanFiles.cpp).
    static void WriteFlightPlanKml(pilot *record);

    // MARK: containers
    std::vector<sidFix> sidFixes;
    std::vector<starFix> starFixes;
    std::vector<linePoint> taxiPoints;
    std::vector<sid> sids;
    std::vector<star> stars;
    std::vector<flightPlanLoc> flightPlanVec;
    std::vector<flightPlanLoc> flightPlanBackup;

    // MARK: procedure choice
    int16_t numeroDiSidTrovate = 0, numeroDiStarTrovate = 0;
    int16_t selectedSID = 0, selectedSTAR = 0;
    bool sidSelezionata = false, starSelezionata = false, sidFiled = false, starFiled = false;

    // MARK: identity
    float coloreDialogo[3] = {0, 0, 0};
    char nomePilota[40] = {0};

    // MARK: airports
    std::string depAirportICAO, arrAirportICAO;
    std::string arrAirportFullName;
    std::string depAirportFullName;
    Parser parser;        ///< departure airport
    Parser targetAirport; ///< arrival airport
    float altezzaAeroportoArrivo = 0;
    std::string pianoDiVolo;

    // MARK: levels and altitude
    int plannedFL = 0, clearedFL = 0;
    float altitudineFeets = 0;
    float altimeterTempError = 0; ///< feet
    float gActualAGL = 0;
    int kmlExport = 0;

    // MARK: runways
    runwayStruct departureRunwayStruct, arrivalRunwayStruct;
    char departureRunwayName[5] = {0};
    int preferredDepRunway = 0, preferredArrRunway = 0;
    /// The airport each preference was chosen at; a preference does not carry over to another airport.
    std::string preferredDepRunwayAirport, preferredArrRunwayAirport;

    // MARK: parking
    parkingStruct gParkingStruct;

    // MARK: route progress
    int gActualFlightPlanIndex = 0;
    float gLastDistanceToActWP = 0;
    float distanzaMinimaWaypoint = 0;
    float secondiDallUltimoSkipWaypoint = 0, ultimaVoltaInDirContraria = 0;
    int16_t errorDelta = 0;
    int distanzaDestinazioneTotale = 500;
    float distanzaRimanenteEsatta = 500; ///< the same sum without truncating each leg (nm), for the top of descent
    float distanzaDestinazioneLinear = 0;
    float latDestinazione = 0, lonDestinazione = 0;

    // MARK: position and motion
    double latitudine = 0, longitudine = 0;
    float headingAttuale = 0;
    float variazioneMagnetica = 0;
    float HeadingPrecedente = 0, angoloDiVirata = 0;
    float groundSpeed = 0, trueAirspeed = 0; ///< m/s
    float indicatedAirspeed = 0;             ///< kt
    float verticalSpeed = 0;                 ///< ft/min
    float acfWeight = 0;                     ///< kg
    int isOnGround = 0;
    int velocitaMassimaRaggiunta = 0;

    // MARK: wind
    float angoloDiCorrezioneVento = 0;
    int dirVentoRelativa = 0;
    int velocitaVento = 0; ///< kt
    int windHeading = 0;   ///< deg
    bool usaHeadingWCA = false;

    // MARK: autopilot
    int statoAutopilotaAdesso = 0;
    float statoVNAV_IXEG = 0, statoLNAV_IXEG = 0;

    // MARK: radio
    double gActualFrequency = 0;
    std::string gActualFrequencyName;
    double frequenzaObiettivo = 0;
    std::string frequenzaObiettivoNome;
    double frequenzaCenter = 0, frequenzaCenterTemp = 0, frequenzaCenterPrecedente = 0;
    char nomeCenter[256] = {0};
    bool centerFittizia = false, centerTrovata = false, nuovaCenterTrovata = false;
    int ultimaRicercaCenter = 0;
    int transponder = 0;
    float orarioControlloSquawk = 0;

    // MARK: exchange flags
    int gIsCopiing = 0;
    int datiPilotaImpostati = 0;
    int gIsFPFiled = 0, gIsIFRCleared = 0, gIsEngStartApproved = 0, gIsPBApproved = 0, gIsTaxiingApproved = 0;
    int clearedToTakeOff = 0, clearedToLand = 0, isOnHoldingPoint = 0, gTargetRunwayVacated = 0;
    /// The holding point was reached with the tower hand-over due; ground gives it once the frequency is free.
    bool handOverTowerOwed = false;
    int engineRunning = 0;
    int vfrFlight = 0;
    bool serviceTerminated = false, ilsPathCreated = false, landedNotified = false, destroyMissedApproach = false;
    bool distruggereFinestraTower = false, HandoffTorreComunicato = false, QuotaIntercILSAnnunciata = false;
    int gTargetAirportTowerInitialCallDone = 0; ///< the arrival tower has been called

    // MARK: centre and approach
    int primaChiamataCenterEffettuata = 0, primaChiamataCenterEffettuataMIA = 0, primaChiamataApproachEffettuata = 0;
    int informazioniDiAtterraggioComunicate = 0;
    int cicloCenter = 0, cicloMissed = 0, cicloApproach = 0;
    float orarioDiDecollo = 0;

    // MARK: descent
    int gTODReached = 0, faseDiscesa = 0, altezzaDiscesaFeet = 0;
    float gAnnounceVerticalChangeTime = 0;
    int nuovaAltitudineAnnunciata = 0;
    int ostacoloMassimoFt = 0;
    int avvisiDeviazione = 0;     ///< deviation warnings given in a row (at most 20)
    int starAnnunciata = 0;       ///< the "descend via STAR" clearance was given
    int altezzaApproachVolo = 0;  ///< ft above sea level of the last descent's approach altitude, 0 = not yet
    bool altitudineStandard = false;    ///< altitudineFeets is on the standard setting (above the transition level)
    float orarioUltimoPassoDiscesa = 0; ///< when the descent ladder last ran a step (taken or not)
    float orarioInizioDeviazione = 0; ///< since when the altitude is off the cleared level, 0 = it is not

    // MARK: settings kept per flight
    int headingAnnounceDelay = 0;
    int headingAnnounceDelayAP = 12;

    // MARK: radio exchanges (times in elapsed seconds, 0 = never)
    float orarioRiprovaPushback = 0;      ///< a refused push-back may be asked again from this time on
    float orarioUltimoContattoCenter = 0; ///< last call with the area controller
    float orarioHandOverCenter = 0;       ///< last hand-over to the next area controller
    int distanzaCambioCenter = 0;         ///< nm still to fly at which the next centre takes over, 0 = none
    float orarioUltimaIstruzione = 0;     ///< last controller instruction (squawk, hand-over, vector, level)

    // MARK: emergency (the ATC dialog)
    bool inEmergenza = false;      ///< an emergency was declared; it stays for the rest of the flight
    bool divertedInFlight = false; ///< the emergency chose another destination than the filed one

    // MARK: navigation monitor (monitor/NavigationMonitor)
    int totalTrip = 0;             ///< nm from the departure to the arrival airport, measured at filing
    bool decollato = false;        ///< airborne since the take-off clearance: the arrival steps may run
    int handoverApproachLanciato = 0; ///< the monitor started the hand-over to the arrival's approach
    float ultimaAnnuncioNuovoFix = 0; ///< time the active waypoint last switched
    float orarioAtterraggio = 0;   ///< follows the clock until the landing roll starts
    int orarioUltimoOstacoli = 0;  ///< last refresh of ostacoloMassimoFt
    float orarioUltimaEspediteDiscesa = 0;
    float orarioCampioneVirata = 0, orarioCampioneHeading = 0; ///< clocks of the 4 s and 1 s turn samples
    int distanzaTOD = 0;           ///< nm needed to descend to the destination at tdDescentSpeed
    float distanzaTODEsatta = 0;   ///< the same, not rounded: compared with distanzaRimanenteEsatta
    float previosVerticalDeltaTime = 0; ///< |cleared level - altitude| of the previous frame, ft
    int vertDiff = 0;              ///< |altitude / 100 - plannedFL|
    bool consentiRiduzioneVelocita = false; ///< speed advice may be given this frame
    bool pistaArrivoScelta = false; ///< the arrival runway was chosen for the approach (once per flight)
    std::string destinazioneCercata; ///< arrival identifier the destination point was looked up for
    int altezzaEmergenzaFt = 0;    ///< altitude when the emergency was first seen: its levels stay below it
    bool percorsoArrivoRichiesto = false; ///< a step asked for the arrival path; set up over the next frames
    float orarioPassiDiscesa[3] = {0, 0, 0}; ///< last run of the final, the 7000 ft and the first descent step
    bool datarefIxegCercati = false; ///< the IXEG annunciator datarefs were looked for

    // MARK: heading to the active waypoint (monitor/HeadingVectors)
    float headingTarget = 0;             ///< heading to steer to it (wind-corrected when usaHeadingWCA)
    float headingError = 0;              ///< 0..180 between headingAttuale and the heading to it
    int direzioneVirata = 0;             ///< 1 left, 2 right
    std::string direzioneVirataStringa;  ///< "left" or "right"
    std::string nomeWaypointAttuale;     ///< name of the active waypoint
    float distanzaWaypointAttuale = 0;   ///< nm to it, this frame
    std::string leftRightVentoRelativo;  ///< side of a cross wind ("left", "right"), else ""

    // MARK: waypoint sequencing and vectors (monitor/WaypointSequencing)
    int switchToNextPoint = 0;           ///< the active waypoint is done: switch this frame
    bool siAllontanaDalFix = false;      ///< moving away from the active waypoint
    bool prossimoFixTrigged = false;     ///< a new waypoint is active and has had no vector yet
    bool saltoRichiesto = false;         ///< the pilot asked to skip the active waypoint
    bool chiamaHeading = false;          ///< outcome of the vector rules: give a vector
    bool primoHeadingChiamato = false;   ///< the first in-tolerance vector has been given
    bool autopilotaRilevato = false;     ///< autopilot or IXEG LNAV engaged this frame
    float orarioHeadingDovuto = 0;       ///< time the pending vector became due (0 = none)
    float orarioUltimoHeading = 0;       ///< time of the last vector
    float headingAssegnato = 0;          ///< heading of the last vector
    float orarioUltimaRiduzioneVelocita = 0; ///< time of the last speed advice
    int waypointTracciato = -1;          ///< active index the tracking above belongs to; -1: activate next frame
    bool saltaWaypointPassati = true;    ///< that activation skips waypoints already behind the aircraft
    float distanzaAttivazioneWaypoint = 0; ///< nm to the active waypoint when it was activated
};

/// The user's flight, from load to unload.
extern pilot pilotObj;

void StampaPianoDiVoloAttuale(pilot *record, bool silent);
void StampaBackupPianoDiVoloAttuale(pilot *record);
void StampaSids(pilot *record);
void StampaStars(pilot *record);
void StampaSidFixes(pilot *record);
void StampaStarFixes(pilot *record);
