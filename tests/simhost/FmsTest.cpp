// simhost's legacy FMS: X-Plane's 100 contiguous entries, both clearing behaviours, the harness reader,
// and the misuses X-Plane would turn into a broken flight plan.
#include <functional>

#include "XPLMNavigation.h"
#include "support/NavData.h"
#include "support/PluginHost.h"

namespace {

class FmsTest : public HostTest {
  protected:
    void SetUp() override
    {
        HostTest::SetUp();
        LayTestNavDatabase();
        airport = Find("LELL", xplm_Nav_Airport);
        vor = Find("EUG", xplm_Nav_VOR);
        ndb = Find("ADK", xplm_Nav_NDB);
        fix = Find("ALDOZ", xplm_Nav_Fix);
    }
    static XPLMNavRef Find(const char *id, XPLMNavType type)
    {
        XPLMNavRef ref = XPLMFindNavAid(nullptr, id, nullptr, nullptr, nullptr, type);
        EXPECT_NE(ref, XPLM_NAV_NOT_FOUND) << id;
        return ref;
    }
    /// The plan as "ID/altitude" words ("lat,lon/altitude" for a lat/lon entry).
    static std::string Plan()
    {
        std::string text;
        for (const simhost::FmsEntry &e : simhost::FmsPlan()) {
            char word[64];
            if (e.kind == "latlon")
                snprintf(word, sizeof word, "%.1f,%.1f/%d ", e.lat, e.lon, e.altitude_ft);
            else
                snprintf(word, sizeof word, "%s/%d ", e.id.c_str(), e.altitude_ft);
            text += word;
        }
        return text;
    }
    XPLMNavRef airport = 0, vor = 0, ndb = 0, fix = 0;
};

TEST_F(FmsTest, EntriesAreProgrammedReadBackAndClearedByShiftingOrBlanking)
{
    EXPECT_EQ(XPLMCountFMSEntries(), 0);
    XPLMSetFMSEntryInfo(0, airport, 0);
    XPLMSetFMSEntryInfo(1, vor, 9000);
    XPLMSetFMSEntryLatLon(2, 45.5f, -122.5f, 11000);
    XPLMSetFMSEntryInfo(3, ndb, 5000);
    XPLMSetFMSEntryInfo(4, fix, 3000);
    XPLMSetDestinationFMSEntry(3);
    XPLMSetDisplayedFMSEntry(4);
    EXPECT_EQ(XPLMCountFMSEntries(), 5);
    EXPECT_EQ(Plan(), "LELL/0 EUG/9000 45.5,-122.5/11000 ADK/5000 ALDOZ/3000 ");

    // Through the SDK as a plug-in reads it, and through the harness.
    XPLMNavType type = xplm_Nav_Unknown;
    char id[256] = "";
    XPLMNavRef ref = XPLM_NAV_NOT_FOUND;
    int altitude = 0;
    float lat = 0, lon = 0;
    XPLMGetFMSEntryInfo(1, &type, id, &ref, &altitude, &lat, &lon);
    EXPECT_TRUE(type == xplm_Nav_VOR && std::string(id) == "EUG" && ref == vor && altitude == 9000);
    XPLMGetFMSEntryInfo(2, &type, id, &ref, &altitude, nullptr, nullptr);
    EXPECT_TRUE(type == xplm_Nav_LatLon && id[0] == 0 && ref == XPLM_NAV_NOT_FOUND);
    simhost::FmsEntry ndbEntry = simhost::FmsEntryAt(3);
    EXPECT_EQ(ndbEntry.kind, "ndb");
    EXPECT_EQ(XPLMGetGPSDestination(), ndb);
    EXPECT_EQ(XPLMGetGPSDestinationType(), xplm_Nav_NDB);
    EXPECT_TRUE(simhost::FmsEntryAt(5).empty());

    // Shifting (the default): the plan closes up and the shown and flown entries follow their waypoints.
    XPLMClearFMSEntry(1);
    EXPECT_EQ(Plan(), "LELL/0 45.5,-122.5/11000 ADK/5000 ALDOZ/3000 ");
    EXPECT_EQ(simhost::FmsDestinationEntry(), 2);
    EXPECT_EQ(XPLMGetDisplayedFMSEntry(), 3);
    // Blanking: the slot empties and the plan ends there.
    simhost::SetFmsClearing(simhost::FmsClear::Blank);
    XPLMClearFMSEntry(1);
    EXPECT_EQ(Plan(), "LELL/0 ");
    EXPECT_EQ(simhost::FmsEntryAt(2).id, "ADK");
    EXPECT_EQ(simhost::FmsDestinationEntry(), 2);

    // All 100 entries can be used.
    simhost::SetFmsClearing(simhost::FmsClear::Shift);
    for (int i = 0; i < simhost::kFmsEntries; i++)
        XPLMSetFMSEntryLatLon(i, 1.0f, (float)i, 1000);
    EXPECT_EQ(XPLMCountFMSEntries(), 100);
    EXPECT_TRUE(simhost::HostErrors().empty());
}

TEST_F(FmsTest, BadIndexesReferencesAndGapsAreReported)
{
    XPLMSetFMSEntryInfo(0, airport, 0);
    XPLMNavRef dme = Find("EUG", xplm_Nav_DME);
    const struct {
        const char *what;
        std::function<void()> call;
        const char *error;
    } kMisuses[] = {
        {"entry 100", [&] { XPLMSetFMSEntryInfo(100, vor, 0); }, "XPLMSetFMSEntryInfo(100): the FMS has entries 0 to 99"},
        {"negative index", [] { XPLMClearFMSEntry(-1); }, "XPLMClearFMSEntry(-1)"},
        {"reading past the end", [] { XPLMGetFMSEntryInfo(100, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr); },
         "XPLMGetFMSEntryInfo(100)"},
        {"displayed past the end", [] { XPLMSetDisplayedFMSEntry(250); }, "XPLMSetDisplayedFMSEntry(250)"},
        {"no navaid", [] { XPLMSetFMSEntryInfo(1, XPLM_NAV_NOT_FOUND, 0); }, "invalid navaid reference -1"},
        {"a DME", [&] { XPLMSetFMSEntryInfo(1, dme, 0); }, "the FMS takes airports, NDBs, VORs and fixes"},
        {"a gap", [&] { XPLMSetFMSEntryInfo(3, vor, 0); }, "leaves entries 1 to 2 empty"},
        {"flying to nothing", [] { XPLMSetDestinationFMSEntry(5); }, "XPLMSetDestinationFMSEntry(5): the entry is empty"},
        {"no position", [] { XPLMSetFMSEntryLatLon(4, 95.0f, 0.0f, 0); }, "with no position"},
    };
    for (const auto &m : kMisuses) {
        simhost::ClearHostErrors();
        m.call();
        ASSERT_EQ(simhost::HostErrors().size(), 1u) << m.what;
        EXPECT_NE(simhost::HostErrors()[0].find(m.error), std::string::npos) << m.what << ": " << simhost::HostErrors()[0];
    }
    simhost::ClearHostErrors();
    EXPECT_EQ(XPLMGetDisplayedFMSEntry(), 0);
}

} // namespace
