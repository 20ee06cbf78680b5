// Exchanges any controller may have at any time: the wrong squawk, the cancelled IFR flight and the
// emergency.
#pragma once

class pilot;

void AnnounceSquawkIncorrect(pilot *record);
void AnnounceSquawkIncorrect_ReadBack(pilot *record, const char *text);

void Radio_CancelIFR(pilot *record);
void Radio_CancelIFRResponse(pilot *record);
void Radio_CancelIFRReadback(pilot *record, const char *text);

void DeclareEmergency(pilot *record);
void DeclareEmergencyReadback(pilot *record);
void DeclareEmergencyReadbackCorrect(pilot *record);

/// The transponder code of an emergency.
enum { EMERGENCY_SQUAWK = 7700 };
