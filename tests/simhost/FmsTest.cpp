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
    }
    static XPLMNavRef Find(const char *id, XPLMNavType type)
    {
        return XPLMFindNavAid(nullptr, id, nullptr, nullptr, nullptr, type);
    }
    /// The plan as the harness reads it: "ID/altitude" words, "lat,lon/altitude" for a lat/lon entry.
    static std::string Plan()
    {
        std::string text;
        for (const simhost::FmsEntry &e : simhost::FmsPlan())
            text += (e.kind == "latlon" ? std::to_string((int)e.lat) + "," + std::to_string((int)e.lon) : e.id) + "/" +
                    std::to_string(e.altitude_ft) + " ";
        return text;
    }
};

TEST_F(FmsTest, EntriesAreProgrammedReadBackAndClearedByShiftingOrBlanking)
{
    XPLMNavRef vor = Find("EUG", xplm_Nav_VOR), ndb = Find("ADK", xplm_Nav_NDB);
    XPLMSetFMSEntryInfo(0, Find("LELL", xplm_Nav_Airport), 0);
    XPLMSetFMSEntryInfo(1, vor, 9000);
    XPLMSetFMSEntryLatLon(2, 45.0f, -122.0f, 11000);
    XPLMSetFMSEntryInfo(3, ndb, 5000);
    XPLMSetFMSEntryInfo(4, Find("ALDOZ", xplm_Nav_Fix), 3000);
    XPLMSetDestinationFMSEntry(3);
    XPLMSetDisplayedFMSEntry(4);
    EXPECT_EQ(XPLMCountFMSEntries(), 5);
    EXPECT_EQ(Plan(), "LELL/0 EUG/9000 45,-122/11000 ADK/5000 ALDOZ/3000 ");
    XPLMNavType type = xplm_Nav_Unknown;
    char id[256] = "";
    XPLMNavRef ref = XPLM_NAV_NOT_FOUND;
    int altitude = 0;
    XPLMGetFMSEntryInfo(1, &type, id, &ref, &altitude, nullptr, nullptr);
    EXPECT_TRUE(type == xplm_Nav_VOR && std::string(id) == "EUG" && ref == vor && altitude == 9000);
    EXPECT_EQ(simhost::FmsEntryAt(3).kind, "ndb");

    // Shifting (the default): the plan closes up and the shown and flown entries follow their waypoints.
    XPLMClearFMSEntry(1);
    EXPECT_EQ(Plan(), "LELL/0 45,-122/11000 ADK/5000 ALDOZ/3000 ");
    EXPECT_TRUE(simhost::FmsDestinationEntry() == 2 && simhost::FmsDisplayedEntry() == 3);
    // Blanking: the slot empties and the plan ends there, the later entries kept.
    simhost::SetFmsClearing(simhost::FmsClear::Blank);
    XPLMClearFMSEntry(1);
    EXPECT_EQ(Plan(), "LELL/0 ");
    EXPECT_EQ(simhost::FmsEntryAt(2).id, "ADK");
    for (int i = 0; i < simhost::kFmsEntries; i++)
        XPLMSetFMSEntryLatLon(i, 1.0f, (float)i, 1000);
    EXPECT_EQ(XPLMCountFMSEntries(), 100);
}

TEST_F(FmsTest, BadIndexesReferencesAndGapsAreReported)
{
    XPLMNavRef vor = Find("EUG", xplm_Nav_VOR), dme = Find("EUG", xplm_Nav_DME);
    XPLMSetFMSEntryInfo(0, vor, 0);
    const struct {
        std::function<void()> call;
        const char *error;
    } kMisuses[] = {
        {[&] { XPLMSetFMSEntryInfo(100, vor, 0); }, "XPLMSetFMSEntryInfo(100): the FMS has entries 0 to 99"},
        {[] { XPLMClearFMSEntry(-1); }, "XPLMClearFMSEntry(-1)"},
        {[] { XPLMGetFMSEntryInfo(100, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr); }, "XPLMGetFMSEntryInfo(100)"},
        {[] { XPLMSetDisplayedFMSEntry(250); }, "XPLMSetDisplayedFMSEntry(250)"},
        {[] { XPLMSetFMSEntryInfo(1, XPLM_NAV_NOT_FOUND, 0); }, "invalid navaid reference -1"},
        {[&] { XPLMSetFMSEntryInfo(1, dme, 0); }, "the FMS takes airports, NDBs, VORs and fixes"},
        {[&] { XPLMSetFMSEntryInfo(3, vor, 0); }, "leaves entries 1 to 2 empty"},
        {[] { XPLMSetDestinationFMSEntry(5); }, "XPLMSetDestinationFMSEntry(5): the entry is empty"},
        {[] { XPLMSetFMSEntryLatLon(4, 95.0f, 0.0f, 0); }, "with no position"},
    };
    for (const auto &m : kMisuses) {
        simhost::ClearHostErrors();
        m.call();
        ASSERT_EQ(simhost::HostErrors().size(), 1u) << m.error;
        EXPECT_NE(simhost::HostErrors()[0].find(m.error), std::string::npos) << simhost::HostErrors()[0];
    }
    simhost::ClearHostErrors();
    EXPECT_EQ(XPLMGetDisplayedFMSEntry(), 0);
}

} // namespace
