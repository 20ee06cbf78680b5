// The on-screen flight information: the panel's lines and colours at the gate and in the air, the
// switches, the blinking warnings and errors, the heading indicator and the estimated time of arrival.
#include <string>
#include <vector>

#include "plugin/PluginGlobals.h"
#include "state/Pilot.h"
#include "support/PluginHost.h"
#include "ui/OnScreenInformations.h"
#include "ui/OnScreenPrinters.h"
#include "ui/Settings.h"

namespace
{

class OnScreenInformations : public HostTest
{
  protected:
    pilot record;
    int saved[4] = {};
    void SetUp() override
    {
        HostTest::SetUp();
        saved[0] = flightStatsIsActive, saved[1] = onScreenWarnings, saved[2] = headingIndicatorActive;
        saved[3] = checkSquawkCode;
        flightStatsIsActive = onScreenWarnings = headingIndicatorActive = checkSquawkCode = 1;
        messaggioTempErroreActTime = 0;
        // A filed flight at a KSEA gate, 1 nm north of the runway 16L holding point, heading 200.
        record.gIsFPFiled = 1;
        record.depAirportICAO = "KSEA";
        record.arrAirportICAO = "KPDX";
        snprintf(record.departureRunwayName, sizeof record.departureRunwayName, "16L");
        record.departureRunwayStruct.lat = 47.46f;
        record.departureRunwayStruct.lon = -122.31f;
        record.departureRunwayStruct.heightft = 400;
        record.latitudine = 47.46 + 1.0 / 60;
        record.longitudine = -122.31;
        record.headingAttuale = 200;
        record.altitudineFeets = 420;
        record.isOnGround = 1;
        record.plannedFL = 350;
        record.clearedFL = 50;
        record.transponder = 4512;
        record.parser.towerFrequency = 119900;
        record.AddSid("SUMMA1", "SUMMA1", 0, 0, false);
        record.numeroDiSidTrovate = 1;
        record.sidSelezionata = true;
        simhost::SetInt("sim/cockpit/radios/transponder_code", 1200);
        simhost::SetFloat("sim/time/local_time_sec", 23 * 3600 + 50 * 60);
    }
    void TearDown() override
    {
        flightStatsIsActive = saved[0], onScreenWarnings = saved[1], headingIndicatorActive = saved[2];
        checkSquawkCode = saved[3];
        HostTest::TearDown();
    }
    /// Runs frames to an odd (blink on) or even whole second, then draws the information alone.
    std::vector<simhost::DrawnString> Draw(bool oddSecond = true)
    {
        do
            simhost::RunFrame();
        while (((int)simhost::ElapsedTime() % 2 == 1) != oddSecond);
        OnScreen_ResetRows();
        printOnScreenInformations(&record);
        return simhost::FrameStrings();
    }
    static std::string Colour(const simhost::DrawnString &s)
    {
        const struct {
            const float *rgb;
            const char *name;
        } names[] = {{white, "white"}, {red, "red"}, {green, "green"}, {blue, "blue"}, {orange, "orange"}};
        for (const auto &n : names)
            if (s.r == n.rgb[0] && s.g == n.rgb[1] && s.b == n.rgb[2])
                return n.name;
        return "?";
    }
    /// The colour of the line text (a text ending in "*" matches as a prefix), "absent" without it.
    static std::string Find(const std::vector<simhost::DrawnString> &drawn, std::string text)
    {
        const bool prefix = !text.empty() && text.back() == '*';
        if (prefix)
            text.pop_back();
        for (const simhost::DrawnString &s : drawn)
            if (prefix ? s.text.compare(0, text.size(), text) == 0 : s.text == text)
                return Colour(s);
        return "absent";
    }
};

TEST_F(OnScreenInformations, PanelLinesAndColoursAtTheGateAndInTheAir)
{
    struct Row {
        bool air;
        const char *text;
        const char *colour; ///< "absent" when the line must not be drawn
    } rows[] = {
        {false, "simulator time: 23:50:*", "white"}, // the clock runs with the frames
        {false, "cruise altitude: 35000 ft", "white"},
        {false, "cleared altitude: 5000 ft", "white"},
        {false, "departure: KSEA, runway 16L, SID SUMMA1", "white"},
        {false, "distance to holding point: 1.00", "blue"},
        {false, "arrival: KPDX, runway n/a, distance - nm", "white"},
        {false, "transponder: 1200 (expect squawk: 4512)", "red"},
        {false, "KSEA tower: 119.900", "white"},
        {false, "Center: -", "white"},
        {false, "Hand over to 124.200", "absent"},
        // In the air at 6000 ft, 60 nm from the arrival runway at 240 kt true.
        {true, "kias: 250.0", "white"},
        {true, "mach number: 0.36", "white"},
        {true, "distance to holding point: 1.00", "absent"},
        {true, "arrival: KPDX, runway 10R, distance 60 nm", "white"},
        {true, "eta: 00:05 (15 minutes)", "white"}, // wraps past midnight
        {true, "Hand over to 124.200", "orange"},
    };
    const size_t logged = simhost::LogLines().size();
    std::vector<simhost::DrawnString> ground = Draw();
    EXPECT_EQ(ground.front().x, 10);
    EXPECT_EQ(ground.front().y, informationsPosition);
    EXPECT_EQ(ground[1].y, informationsPosition - 11);

    record.isOnGround = 0;
    record.altitudineFeets = 6000;
    record.indicatedAirspeed = 250;
    record.arrivalRunwayStruct.lat = (float)(record.latitudine - 1.0);
    record.arrivalRunwayStruct.lon = (float)record.longitudine;
    record.arrivalRunwayStruct.landingType = 4;
    snprintf(record.arrivalRunwayStruct.name, sizeof record.arrivalRunwayStruct.name, "10R");
    record.frequenzaObiettivo = 124200;
    simhost::SetFloat("sim/flightmodel/position/true_airspeed", 240 / 1.9438444924406f);
    simhost::SetFloat("sim/flightmodel/misc/machno", 0.36f);
    std::vector<simhost::DrawnString> air = Draw();
    for (const Row &row : rows)
        EXPECT_EQ(Find(row.air ? air : ground, row.text), row.colour) << row.text << (row.air ? " air" : " ground");
    EXPECT_EQ(simhost::LogLines().size(), logged); // drawing logs nothing
}

TEST_F(OnScreenInformations, SwitchesBlinkingAndTheHeadingIndicator)
{
    record.gIsTaxiingApproved = 1;
    record.datiPilotaImpostati = 1;
    record.frequenzaObiettivo = 124200;
    OnScreen_SetTempError("Runway not found");
    // Panel off: only the warning, the error and the heading indicator; even seconds blank the blinkers.
    flightStatsIsActive = 0;
    for (bool odd : {true, false}) {
        std::vector<simhost::DrawnString> drawn = Draw(odd);
        ASSERT_EQ(drawn.size(), 3u) << odd;
        EXPECT_EQ(drawn[0].text, odd ? "Hand over to 124.200" : "");
        EXPECT_EQ(drawn[1].text, "<----(20)"); // on the ground: the error to the runway point, left turn
        EXPECT_EQ(Colour(drawn[1]), "red");
        EXPECT_EQ(drawn[2].text, odd ? "Runway not found" : "");
        EXPECT_EQ(drawn[2].y, informationsPosition - 22); // the blank phase keeps its row
    }
    onScreenWarnings = headingIndicatorActive = 0;
    EXPECT_EQ(Draw().size(), 1u); // the error stays
    simhost::RunSeconds(26);
    EXPECT_TRUE(Draw().empty());

    // The indicator's texts and colours by error and turn side; near the point it shows no error.
    struct Row {
        int error, side;
        bool near;
        const char *text, *colour;
    } rows[] = {
        {4, 2, false, "--(4)--", "green"}, {7, 1, false, "<---(7)-", "orange"},
        {12, 2, false, "(12)---->", "red"}, {30, 1, true, "--(-)--", "blue"},
    };
    for (const Row &row : rows) {
        const float *colour = nullptr;
        EXPECT_STREQ(OnScreen_HeadingIndicatorText(row.error, row.side, row.near, &colour), row.text);
        simhost::DrawnString s;
        s.r = colour[0], s.g = colour[1], s.b = colour[2];
        EXPECT_EQ(Colour(s), row.colour) << row.text;
    }

    // Estimated arrival: wraps past midnight after a day's flight, and no estimate below 30 kt.
    struct Eta {
        float distance, tas, local;
        bool known;
        int arrival, minutes;
    } etas[] = {
        {6000, 300, 12 * 3600, true, 8 * 3600, 1200},
        {60, 0, 0, false, 0, 0},
        {60, 29, 0, false, 0, 0},
    };
    for (const Eta &e : etas) {
        int arrival = -1, minutes = -1;
        EXPECT_EQ(OnScreen_EstimatedArrival(e.distance, e.tas, e.local, &arrival, &minutes), e.known);
        if (e.known) {
            EXPECT_EQ(arrival, e.arrival) << e.distance;
            EXPECT_EQ(minutes, e.minutes) << e.distance;
        }
    }
}

} // namespace
