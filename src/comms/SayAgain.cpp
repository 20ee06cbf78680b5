// Every exchange's "Say again" is the same request: repeat the last message that asked for a read-back.
#include "comms/SayAgain.h"

#include "comms/PhraseCommon.h"

void FlightPlanning_RequestIFRClearanceSayAgain(pilot *record)
{
    Phrase_SayAgain(record);
}

void Ground_RequestEngineStartupSayAgain(pilot *record)
{
    Phrase_SayAgain(record);
}

void Ground_RequestEngineStartupAndPushBackSayAgain(pilot *record)
{
    Phrase_SayAgain(record);
}

void Ground_RequestPushbackSayAgain(pilot *record)
{
    Phrase_SayAgain(record);
}

void Ground_RequestTaxiSayAgain(pilot *record)
{
    Phrase_SayAgain(record);
}

void Takeoff_RequestTakeOffSayAgain(pilot *record)
{
    Phrase_SayAgain(record);
}

void HandOverTowerSayAgain(pilot *record)
{
    Phrase_SayAgain(record);
}

void CenterInitialCallSayAgain(pilot *record)
{
    Phrase_SayAgain(record);
}

void ApproachInitialCallSayAgain(pilot *record)
{
    Phrase_SayAgain(record);
}

void CenterDefaultReadbackSayAgain(pilot *record)
{
    Phrase_SayAgain(record);
}

void ApproachAnnounceReduceSpeedSayAgain(pilot *record)
{
    Phrase_SayAgain(record);
}

void HandOverCenterReadbackSayAgain(pilot *record)
{
    Phrase_SayAgain(record);
}

void HandOverApproachReadbackSayAgain(pilot *record)
{
    Phrase_SayAgain(record);
}

void HandOverTowerForLandingSayAgain(pilot *record)
{
    Phrase_SayAgain(record);
}

void ComunicaClearedToLandSayAgain(pilot *record)
{
    Phrase_SayAgain(record);
}

void Tower_MissedApproachSayAgain(pilot *record)
{
    Phrase_SayAgain(record);
}

void Tower_RunwayVacatedSayAgain(pilot *record)
{
    Phrase_SayAgain(record);
}

void Ground_InitialCallSayAgain(pilot *record)
{
    Phrase_SayAgain(record);
}

void AnnounceSquawkIncorrect_SayAgain(pilot *record)
{
    Phrase_SayAgain(record);
}

void Radio_CancelIFRSayAgain(pilot *record)
{
    Phrase_SayAgain(record);
}

void DeclareEmergencySayAgain(pilot *record)
{
    Phrase_SayAgain(record);
}
