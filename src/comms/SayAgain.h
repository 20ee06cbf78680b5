// The pilot's "Say again" of every exchange: each asks the controller to repeat, word for word, the last
// message that asked for a read-back.
#pragma once

class pilot;

void FlightPlanning_RequestIFRClearanceSayAgain(pilot *record);
void Ground_RequestEngineStartupSayAgain(pilot *record);
void Ground_RequestEngineStartupAndPushBackSayAgain(pilot *record);
void Ground_RequestPushbackSayAgain(pilot *record);
void Ground_RequestTaxiSayAgain(pilot *record);
void Takeoff_RequestTakeOffSayAgain(pilot *record);
void HandOverTowerSayAgain(pilot *record);
void CenterInitialCallSayAgain(pilot *record);
void ApproachInitialCallSayAgain(pilot *record);
void CenterDefaultReadbackSayAgain(pilot *record);
void ApproachAnnounceReduceSpeedSayAgain(pilot *record);
void HandOverCenterReadbackSayAgain(pilot *record);
void HandOverApproachReadbackSayAgain(pilot *record);
void HandOverTowerForLandingSayAgain(pilot *record);
void ComunicaClearedToLandSayAgain(pilot *record);
void Tower_MissedApproachSayAgain(pilot *record);
void Tower_RunwayVacatedSayAgain(pilot *record);
void Ground_InitialCallSayAgain(pilot *record);
void AnnounceSquawkIncorrect_SayAgain(pilot *record);
void Radio_CancelIFRSayAgain(pilot *record);
void DeclareEmergencySayAgain(pilot *record);
