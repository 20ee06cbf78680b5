// The route text's words, the purge of repeated waypoints and the callsign's length.
#include <gtest/gtest.h>

#include "planning/FlightPlanRoute.h"
#include "planning/FlightPlanText.h"

namespace {

TEST(FlightPlanText, RouteWordsAreSplitAtAnyOtherCharacterAndOnlyWholeWordsAreRemoved)
{
    using Words = std::vector<std::string>;
    EXPECT_EQ(FlightPlan_RouteWords("mcken/onals,  malay.fl.120\tdct-btg"),
              (Words{"MCKEN", "ONALS", "MALAY.FL.120", "DCT", "BTG"}));
    EXPECT_EQ(FlightPlan_RouteWords("\xc3\xa9 ;"), Words{});
    Words words = {"SID", "STARR", "STAR.", "AGLER", "AGL", "SID", "STAR", "AGL.FL.100", "ZAGL"};
    EXPECT_EQ(FlightPlan_RemoveWords(words, {"SID", "STAR"}), 4);
    EXPECT_EQ(FlightPlan_RemoveWords(words, {"AGL"}), 2); // an airport AGL takes neither AGLER nor ZAGL
    EXPECT_EQ(words, (Words{"STARR", "AGLER", "ZAGL"}));

    for (const char *airway : {"J1", "V23", "UL607", "Q7", "T257", "A1B"})
        EXPECT_TRUE(FlightPlan_IsAirway(airway)) << airway;
    for (const char *word : {"SEA", "MCKEN", "KSEA", "ABC1D", "1A", "J12345", ""})
        EXPECT_FALSE(FlightPlan_IsAirway(word)) << word;
    EXPECT_EQ(FlightPlan_CleanCode("eddl-x"), "EDDL");
    EXPECT_EQ(FlightPlan_CleanNumber("ab 1-2#3"), "AB 1-23");
}

TEST(FlightPlanText, NeighbouringRepeatsGoTheFirstKeepsAForcedLevelAndOtherNamesStay)
{
    auto names = [](const std::vector<pilot::flightPlanLoc> &points) {
        std::string text;
        for (const pilot::flightPlanLoc &p : points)
            text += p.name + "." + std::to_string(p.fl) + " ";
        return text;
    };
    auto route = [](std::vector<std::pair<const char *, int>> list) {
        std::vector<pilot::flightPlanLoc> points;
        for (auto &entry : list) {
            pilot::flightPlanLoc p;
            p.name = entry.first;
            p.fl = p.forcedFl = entry.second;
            points.push_back(p);
        }
        return points;
    };
    // clang-format off
    const std::vector<std::pair<std::vector<pilot::flightPlanLoc>, std::string>> cases = {
        {route({{"ACVOL", 0}, {"CVO", 0}}), "ACVOL.0 CVO.0 "},
        {route({{"A", 0}, {"A", 120}, {"A", 0}, {"B", 90}, {"B", 0}, {"B", 0}, {"C", 0}}), "A.120 B.90 C.0 "},
        {route({{"A", 100}, {"A", 120}, {"B", 0}, {"A", 0}}), "A.100 B.0 A.0 "},
    };
    // clang-format on
    for (auto c : cases) {
        FlightPlan_PurgeDuplicates(c.first);
        EXPECT_EQ(names(c.first), c.second);
    }
}

TEST(FlightPlanText, TheCallsignKeepsBothMarksAndHeavyInTheRecordsBuffer)
{
    EXPECT_EQ(FlightPlan_Callsign("ALASKA", "123", false), "ALASKA @123@");
    std::string longest = FlightPlan_Callsign("SOUTHERN AIR TRANSPORT INTERNATIONAL", "1234567890123456", true);
    EXPECT_EQ(longest, "SOUTHERN AIR @1234567890123456@ Heavy");
    EXPECT_LT(longest.size(), (size_t)CALLSIGN_SIZE);
}

} // namespace
