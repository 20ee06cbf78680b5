// The departure's ground exchanges: engine start-up, start-up with push-back, push-back and taxi.
#pragma once

class pilot;

void Ground_RequestEngineStartup(pilot *record);
void Ground_RequestEngineStartupResponse(pilot *record);
void Ground_RequestEngineStartupDelay(pilot *record);
void Ground_RequestEngineStartupReadback(pilot *record);
void Ground_RequestEngineStartupGot(pilot *record);

void Ground_RequestEngineStartupAndPushback(pilot *record);
void Ground_RequestEngineStartupAndPushBackResponse(pilot *record);
void Ground_RequestEngineStartupAndPushBackDelay(pilot *record);
void Ground_RequestEngineStartupAndPushBackReadback(pilot *record);
void Ground_RequestEngineStartupAndPushBackGot(pilot *record);

void Ground_RequestPushback(pilot *record);
void Ground_RequestPushbackResponse(pilot *record);
void Ground_RequestPushbackDelay(pilot *record);
void Ground_RequestPushbackReadback(pilot *record);
void Ground_RequestPushbackRejectedReadback(pilot *record);
void Ground_RequestPushbackGot(pilot *record);

void Ground_RequestTaxi(pilot *record);
void Ground_RequestTaxiResponse(pilot *record);
void Ground_RequestTaxiReadback(pilot *record, const char *text);
void Ground_RequestTaxiGot(pilot *record);

/// Traffic behind the aircraft: 0 = the way is free. This system sees no other traffic.
int controllaHeadingLibero(pilot *record);
