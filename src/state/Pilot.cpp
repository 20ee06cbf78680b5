// The flight record's construction, reset and container appends.
#include "state/Pilot.h"

#include <cstdio>
#include <cstring>

#include "plugin/Log.h"

pilot pilotObj;

pilot::pilot() = default;
pilot::~pilot() = default;

void pilot::SetPilotName(const char *name)
{
    snprintf(nomePilota, sizeof nomePilota, "%s", name != nullptr ? name : "");
}

void pilot::SetData(const float colour[3], double lat, double lon, const char *name)
{
    coloreDialogo[0] = colour[0];
    coloreDialogo[1] = colour[1];
    coloreDialogo[2] = colour[2];
    SetPilotName(name);
    latitudine = lat;
    longitudine = lon;
    flightPlanVec.clear();
    taxiPoints.clear();

    // route progress
    gActualFlightPlanIndex = 0;
    gLastDistanceToActWP = 0;
    distanzaMinimaWaypoint = 0;
    secondiDallUltimoSkipWaypoint = 0;
    ultimaVoltaInDirContraria = 0;
    errorDelta = 0;
    distanzaDestinazioneTotale = 500;
    distanzaDestinazioneLinear = 0;
    latDestinazione = lonDestinazione = 0;

    // runway designators and elevations, airports
    departureRunwayStruct = runwayStruct();
    arrivalRunwayStruct = runwayStruct();
    departureRunwayName[0] = 0;
    altezzaAeroportoArrivo = 0;
    depAirportICAO.clear();
    arrAirportICAO.clear();

    // procedures
    numeroDiSidTrovate = numeroDiStarTrovate = 0;
    selectedSID = selectedSTAR = 0;
    sidSelezionata = starSelezionata = sidFiled = starFiled = false;

    // exchange and phase flags
    datiPilotaImpostati = 0;
    gIsCopiing = 0;
    gIsFPFiled = gIsIFRCleared = gIsEngStartApproved = gIsPBApproved = gIsTaxiingApproved = 0;
    clearedToTakeOff = clearedToLand = isOnHoldingPoint = gTargetRunwayVacated = 0;
    engineRunning = 0;
    serviceTerminated = ilsPathCreated = landedNotified = destroyMissedApproach = false;
    distruggereFinestraTower = HandoffTorreComunicato = QuotaIntercILSAnnunciata = false;
    gTargetAirportTowerInitialCallDone = 0;
    primaChiamataCenterEffettuata = primaChiamataCenterEffettuataMIA = primaChiamataApproachEffettuata = 0;
    informazioniDiAtterraggioComunicate = 0;
    cicloCenter = cicloMissed = cicloApproach = 0;
    orarioDiDecollo = 0;
    frequenzaObiettivo = 0;
    frequenzaObiettivoNome.clear();
    transponder = 0;
    gParkingStruct = parkingStruct();

    // descent
    gTODReached = faseDiscesa = altezzaDiscesaFeet = 0;
    gAnnounceVerticalChangeTime = 0;
    nuovaAltitudineAnnunciata = 0;
    ostacoloMassimoFt = 0;
}

void pilot::ResetFlight()
{
    plannedFL = clearedFL = 0;
    gTODReached = 0;
    faseDiscesa = 0;
    altezzaDiscesaFeet = 0;
    serviceTerminated = ilsPathCreated = landedNotified = false;
    destroyMissedApproach = distruggereFinestraTower = false;
    gIsIFRCleared = gIsPBApproved = gIsTaxiingApproved = 0;
    gIsEngStartApproved = 0;
    clearedToTakeOff = clearedToLand = isOnHoldingPoint = gTargetRunwayVacated = 0;
    primaChiamataCenterEffettuata = primaChiamataCenterEffettuataMIA = primaChiamataApproachEffettuata = 0;
    informazioniDiAtterraggioComunicate = 0;
    cicloApproach = 0;
    frequenzaObiettivo = 0;
    frequenzaCenter = frequenzaCenterTemp = frequenzaCenterPrecedente = 0;
    nomeCenter[0] = 0;
    centerFittizia = centerTrovata = nuovaCenterTrovata = false;
    ultimaRicercaCenter = 0;
    gIsFPFiled = 0;
    numeroDiSidTrovate = numeroDiStarTrovate = 0;
    selectedSID = selectedSTAR = 0;
    sidSelezionata = starSelezionata = sidFiled = starFiled = false;
    vfrFlight = 0;
    velocitaMassimaRaggiunta = 0;
    orarioDiDecollo = 0;
    ultimaVoltaInDirContraria = 0;
    isOnGround = 0;
    distanzaDestinazioneTotale = 500;
    distanzaDestinazioneLinear = 500.0f;
    sids.clear();
    stars.clear();
    sidFixes.clear();
    starFixes.clear();
    taxiPoints.clear();
    flightPlanBackup.clear();
    preferredDepRunway = preferredArrRunway = 0;
    preferredDepRunwayAirport.clear();
    preferredArrRunwayAirport.clear();
}

namespace {
pilot::flightPlanLoc Pilot_makeLoc(float lat, float lon, const char *name, int order, int navType, int fl,
                                   int restriction)
{
    pilot::flightPlanLoc loc;
    loc.name = name != nullptr ? name : "";
    loc.lat = lat;
    loc.lon = lon;
    loc.order = order;
    loc.navType = navType;
    loc.fl = fl;
    loc.restriction = restriction;
    return loc;
}

pilot::sid Pilot_makeProcedure(const char *name, const char *name2, double lat, double lon, bool favour)
{
    pilot::sid s;
    s.name = name != nullptr ? name : "";
    s.name2 = name2 != nullptr ? name2 : "";
    s.lat = lat;
    s.lon = lon;
    s.favour = favour;
    return s;
}
} // namespace

void pilot::AddToFlightPlan(float lat, float lon, const char *name, int order, int navType, int fl, int restriction)
{
    if (lat == 0.0f || lon == 0.0f) {
        PrintInfo("AddToFlightPlan", "Skipping incorrect flighplan entry found with 0.0000 lat or lon %s - %f %f",
                  name, lat, lon);
        return;
    }
    PrintDebug("AddToFlightPlan", "Adding %s - %f %f", name, lat, lon);
    flightPlanVec.push_back(Pilot_makeLoc(lat, lon, name, order, navType, fl, restriction));
}

void pilot::AddToFlightPlanBackup(float lat, float lon, const char *name, int order, int navType, int fl,
                                  int restriction)
{
    flightPlanBackup.push_back(Pilot_makeLoc(lat, lon, name, order, navType, fl, restriction));
}

void pilot::AddSid(const char *name, const char *name2, double lat, double lon, bool favour)
{
    sids.push_back(Pilot_makeProcedure(name, name2, lat, lon, favour));
}

void pilot::AddStar(const char *name, const char *name2, double lat, double lon, bool favour)
{
    stars.push_back(Pilot_makeProcedure(name, name2, lat, lon, favour));
}

namespace {
pilot::sidFix Pilot_makeFix(int procIndex, const char *procName, const char *transition, const char *fixName,
                            const char *region, double lat, double lon, int fl, int restriction)
{
    pilot::sidFix f;
    f.procIndex = procIndex;
    f.procName = procName != nullptr ? procName : "";
    f.transition = transition != nullptr ? transition : "";
    f.fixName = fixName != nullptr ? fixName : "";
    f.region = region != nullptr ? region : "";
    f.lat = lat;
    f.lon = lon;
    f.fl = fl;
    f.restriction = restriction;
    return f;
}
} // namespace

void pilot::AddSidFix(int procIndex, const char *procName, const char *transition, const char *fixName,
                      const char *region, double lat, double lon, int fl, int restriction)
{
    sidFixes.push_back(Pilot_makeFix(procIndex, procName, transition, fixName, region, lat, lon, fl, restriction));
}

void pilot::AddStarFix(int procIndex, const char *procName, const char *transition, const char *fixName,
                       const char *region, double lat, double lon, int fl, int restriction)
{
    starFixes.push_back(Pilot_makeFix(procIndex, procName, transition, fixName, region, lat, lon, fl, restriction));
}

void pilot::AddTaxiPoint(int nodeInLine, int globalID, float distanzaFlooding, const char *name, int lineID,
                         double lat, double lon)
{
    linePoint p;
    p.id = nodeInLine;
    p.globalID = globalID;
    p.distanzaFlooding = distanzaFlooding;
    p.name = name != nullptr ? name : "";
    p.lineID = lineID;
    p.lat = lat;
    p.lon = lon;
    taxiPoints.push_back(p);
}
