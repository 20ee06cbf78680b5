// A departure at Seattle-Tacoma for the radio exchange tests: the flight record filled as filing and the
// first frame leave it, the linked-in frame driver running, and helpers that follow an exchange.
#pragma once

#include <string>
#include <vector>

#include "support/PluginHost.h"

/// Fills pilotObj: callsign "Vellomir @12@", Seattle-Tacoma (delivery 128.000, ground 121.700, tower
/// 119.900) to Portland (KPDX), runway 16L, SID SUMMA2 chosen, a first route point at 4,000 ft, cruise
/// level 240, 60 t; the aircraft at the gate, engines off, cockpit squawk 1200.
void Exchange_SetUpDeparture();

/// The open request dialog as "Title: Label | Label", "" when none is open.
std::string Request_Offered();

class ExchangeTest : public HostTest
{
  protected:
    void SetUp() override;
    void TearDown() override;
    /// Runs frames until the read-back step asks for code (true) or seconds pass (false).
    bool RunUntilReadback(int code, float seconds = 60);
    /// Presses "Readback" in the read-back window opened for code; false when it is not open for it.
    static bool ReadBack(int code);
    /// Runs frames until the queue is empty and the frequency free again.
    void RunUntilQuiet(float seconds = 60);
    /// Display texts delivered since the last call, in order.
    std::vector<std::string> Shown();
    /// Codes of the messages delivered since the last call, in order (silent steps included).
    std::vector<int> Codes();
    /// "Vellomir/radio_in_use" and "Vellomir/radio_facility_id" as another add-on reads them.
    static int RadioInUse();
    static int RadioFacility();

  private:
    size_t logSeen_ = 0;
};
