// SID and STAR search over real CIFP files (the sample region, a cut of KATL) and hand-written snippets.
#include <cmath>
#include <string>

#include "Harness.h"
#include "navdata/CifpReader.h"
#include "navdata/ProcedureSearch.h"
#include "support/PluginHost.h"
#include "support/ProcedureData.h"
#include "ui/Settings.h"
#include "ui/WarningWindow.h"

namespace
{

/// A CIFP record line with the fields the search reads; the others blank, 38 fields as in the real files.
std::string Leg(const char *type, const char *proc, const char *transition, const char *fix, const char *code = " ",
                const char *altitude = "     ")
{
    std::string line = std::string(type) + ":010,4," + proc + "," + transition + "," + fix + ",K1,P,C,E   , ,   ,TF";
    for (int field = 13; field <= 22; field++)
        line += ", ";
    line += std::string(",") + code + "," + altitude;
    for (int field = 25; field <= 38; field++)
        line += ", ";
    return line + ";\r\n";
}

class ProcedureSearchTest : public HostTest
{
  protected:
    void SetUp() override
    {
        HostTest::SetUp();
        savedManualSid = manualChooseSID;
        savedManualStar = manualChooseSTAR;
        manualChooseSID = manualChooseSTAR = 0;
        LayProcedureData({"KSEA", "KPDX", "KTCM", "KATL"});
    }
    void TearDown() override
    {
        manualChooseSID = savedManualSid;
        manualChooseSTAR = savedManualStar;
        HostTest::TearDown();
    }
    /// Searches and lists the procedures found as "NAME: FIX FIX|NAME: ...".
    std::string Search(const char *airport, bool star, const char *runway)
    {
        record = pilot();
        record.depAirportICAO = record.arrAirportICAO = airport;
        char rwy[8];
        snprintf(rwy, sizeof rwy, "%s", runway);
        if (star)
            searchSTAR11(airport, rwy, &record);
        else
            searchSID11(airport, rwy, &record);
        const auto &procs = star ? record.stars : record.sids;
        const auto &fixes = star ? record.starFixes : record.sidFixes;
        EXPECT_EQ((int)procs.size(), star ? record.numeroDiStarTrovate : record.numeroDiSidTrovate);
        std::string out;
        for (size_t i = 0; i < procs.size(); i++) {
            out += (i ? "|" : "") + procs[i].name + ":";
            for (const pilot::sidFix &f : fixes)
                if (f.procIndex == (int)i)
                    out += " " + f.fixName;
        }
        return out;
    }
    const pilot::sidFix *Fix(bool star, const std::string &proc, const std::string &name)
    {
        for (const pilot::sidFix &f : star ? record.starFixes : record.sidFixes)
            if (f.procName == proc && f.fixName == name)
                return &f;
        return nullptr;
    }
    pilot record;
    int savedManualSid = 0, savedManualStar = 0;
};

TEST_F(ProcedureSearchTest, CandidatesPerRunwayOfRealFilesMatchTheListsWorkedOutByHand)
{
    // Worked out from the files: a procedure serves the runway through its RWnn[LRC] transition, the
    // RWnnB form or ALL, and brings its common route (blank transition) along; en-route transitions never.
    struct Row {
        const char *airport;
        bool star;
        const char *runway;
        const char *expected;
    } rows[] = {
        // KSEA 16L: BANGR9's RW16L transition; ELMAA3 RW16L NICHY + common NICHY ELMAA; SEA7 is vectors only.
        {"KSEA", false, "16L",
         "BANGR9: CAVOB RENBE RICHR TOMRE BANGR|ELMAA3: NICHY ELMAA|HAROB6: CAVOB RENBE RICHR EMRLD HAROB|SEA7:|"
         "SUMMA1: NEVJO SUMMA"},
        // KSEA's STARs all end in RW16B: the centre runway finds them as the side runways do.
        {"KSEA", true, "16C",
         "CHINS3: CHINS RADDY HUMPP AUBRN KSEA|EPH8: EPH SKYKO HUVUS HETHR KSEA|GLASR1: GLASR JAKSN WOODI HETHR KSEA|"
         "HAWKZ7: HAWKZ LIINE PIKEZ COFAY BREVE NETTZ KWEST VASHN|JAWBN6: JAWBN DIGGN ALKIA KSEA|"
         "MARNR7: MARNR BOANE NEHOS GRIFY|OLM2: OLM LACEE ARVAD FOURT KSEA"},
        // KPDX 10R: TMBRS2 is its common route and RW10B, without GALLO or IBALL of the en-route transitions.
        {"KPDX", true, "10R",
         "HELNS6: HELNS KRATR BTG KPDX|HHOOD4: HHOOD BLRUN SSDEE THEID EMZEY CIZZL YORKY NNUTT|"
         "KRATR2: KRATR HYKER VOODU DOUHH NNUTT|OCITY2: OCITY KPDX|"
         "TMBRS2: TMBRS VANTZ FLOWR FFULL SSAIL MYCRO BBREW PUBBB"},
        {"KTCM", false, "16", "MOCAA3: ALDER MOCAA"},
        {"KTCM", true, "16",
         "ADYMS2: ADYMS WHYTE WEBIM WRKHS MUIRE ROCCI ALDER HUNAM ELBBE|ARRIE7: ARRIE EMDEN WAKEN CUBIT|"
         "ELN3: KPOWW WAALP KTCM|GLASR1: GLASR JAKSN WOODI HETHR SEA|JAWBN6: JAWBN DIGGN ALKIA SEA|"
         "WHYTE5: WHYTE WEBIM ALDER OLM STEIL"},
        // KATL 8L: ZALLE (RW27/RW28 transitions) and the YAALL en-route transition stay out.
        {"KATL", false, "8L", "BANNG2: SKNNR GRITZ HYZMN BANNG|NASSA2: HRSHL KLEGG COBBB NASSA"},
        {"KATL", true, "08L", "OZZZI1: OZZZI HAARY KILRR GAASS KLOWD KUNFU TRAPE SNEVE"},
    };
    for (const Row &row : rows)
        EXPECT_EQ(Search(row.airport, row.star, row.runway), row.expected) << row.airport << " " << row.runway;
    EXPECT_EQ(Search("KSEA", true, "16L"), Search("KSEA", true, "16C"));

    // Fixes are placed exactly by identifier and region: the terminal fix, the VOR, the runway-side fix.
    Search("KSEA", false, "16L");
    const pilot::sidFix *cavob = Fix(false, "BANGR9", "CAVOB");
    ASSERT_NE(cavob, nullptr);
    EXPECT_LT(std::hypot(cavob->lat - 47.396191667, cavob->lon + 122.308347222), 1e-5);
    EXPECT_EQ(cavob->navType, 512);
    Search("KSEA", true, "34R");
    const pilot::sidFix *olm = Fix(true, "OLM2", "OLM");
    ASSERT_NE(olm, nullptr);
    EXPECT_NEAR(olm->lat, 46.971638889, 1e-5);
    EXPECT_EQ(olm->navType, 4);
}

TEST_F(ProcedureSearchTest, RecordTypesTransitionsAndAltitudeCodesOfHandWrittenLines)
{
    WriteCifp("ZZZZ", "RWY:RW02 ,      ,;\n" + Leg("SID", "ALPHA1", "RW02", "AAAAA", " ", "05000") + // at 5000: 50
                          Leg("SID", "ALPHA1", "RW02L", "LLLLL") +           // another runway's transition
                          Leg("SID", "ALPHA1", "ALLEN", "ALLEN") +           // en-route transition named ALL...
                          Leg("SID", "ALPHA1", " ", "CCCCC", "+", "10000") + // common route, at or above: none
                          Leg("SID", "ALPHA1", " ", "DDDDD", "-", "FL070") + // at or below FL070: a ceiling
                          Leg("SID", "BRAVO1", " ", "BBBBB", "B", "08000") + // no runway transition: every runway
                          Leg("SID", "CHARL1", "RW01C", "C1C1C") +           // single-digit runway
                          Leg("SID", "DELTA1", "RW01B", "D1B1B") +           // both-runways form
                          Leg("APPCH", "I02", "I02", "IIIII") + Leg("STAR", "SIDNY1", "ALL", "SSSSS") +
                          Leg("STAR", "STARA1", "ALL", "EEEEE", "+", "05000") +   // floor 50
                          Leg("STAR", "STARA1", "ALL", "FFFFF", "-", "09000") +   // at or below: no floor
                          Leg("STAR", "STARA1", "ALL", "GGGGG", "B", "11000") +   // between: the first altitude
                          Leg("STAR", "STARA1", "ALL", "       ", " ", "03000")); // leg without a fix
    auto restrictions = [](const std::vector<pilot::sidFix> &fixes) {
        std::string text;
        for (const pilot::sidFix &f : fixes)
            text += std::to_string(f.restriction) + f.altitudeCode + " ";
        return text;
    };
    EXPECT_EQ(Search("ZZZZ", false, "02"), "ALPHA1: AAAAA CCCCC DDDDD|BRAVO1: BBBBB");
    EXPECT_EQ(restrictions(record.sidFixes), "50  0+ 70- 80B ");
    EXPECT_EQ(Search("ZZZZ", false, "1C"), "BRAVO1: BBBBB|CHARL1: C1C1C|DELTA1: D1B1B");
    EXPECT_EQ(Search("ZZZZ", false, "01R"), "BRAVO1: BBBBB|DELTA1: D1B1B");
    EXPECT_EQ(Search("ZZZZ", true, "02"), "SIDNY1: SSSSS|STARA1: EEEEE FFFFF GGGGG");
    EXPECT_EQ(restrictions(record.starFixes), "0  50+ 0- 110B ");

    std::string a, b;
    const struct {
        const char *runway, *a, *b;
        bool ok;
    } designators[] = {{"25L", "RW25L", "RW25B", true}, {"1c", "RW01C", "RW01B", true}, {"9", "RW09", "", true},
                       {"", "", "", false}, {"123", "", "", false}, {"16LL", "", "", false}};
    for (const auto &d : designators) {
        EXPECT_EQ(ProcedureSearch_RunwayTransitions(d.runway, &a, &b), d.ok) << d.runway;
        EXPECT_EQ(a, d.a) << d.runway;
        EXPECT_EQ(b, d.b) << d.runway;
    }
}

TEST_F(ProcedureSearchTest, ChoiceFavoursTheRouteFixDrawsSeededAndLeavesVectorDeparturesOut)
{
    // The route starts at HAROB: HAROB6, whatever was selected before.
    record = pilot();
    record.AddToFlightPlan(47.243f, -123.041f, "HAROB", 2, 512, 0, 0);
    record.selectedSID = 3;
    char runway[] = "16L";
    searchSID11("KSEA", runway, &record);
    ASSERT_EQ(record.numeroDiSidTrovate, 5);
    EXPECT_EQ(record.sids[(size_t)record.selectedSID].name, "HAROB6");
    EXPECT_TRUE(record.sidSelezionata);
    // Without a connecting SID the draw is among those with a fix (never SEA7), the same for the same seed.
    std::vector<std::string> drawn;
    for (int i = 0; i < 41; i++) {
        ProcedureSearch_Seed(i < 40 ? (unsigned)i : 11);
        Search("KSEA", false, "16L");
        drawn.push_back(record.sids[(size_t)record.selectedSID].name);
        EXPECT_NE(drawn.back(), "SEA7");
    }
    EXPECT_EQ(drawn[40], drawn[11]);

    // A vector departure alone is still the SID of the clearance.
    WriteCifp("ZZZV", Leg("SID", "VECT1", "RW16", " "));
    EXPECT_EQ(Search("ZZZV", false, "16"), "VECT1:");
    EXPECT_EQ(record.selectedSID, 0);
    EXPECT_TRUE(record.sidSelezionata);

    // Manual choice leaves the pick to the pilot: index and flag reset by the search.
    manualChooseSID = 1;
    record.selectedSID = 4;
    record.sidSelezionata = true;
    searchSID11("KSEA", runway, &record);
    EXPECT_EQ(record.selectedSID, 0);
    EXPECT_FALSE(record.sidSelezionata);
}

TEST_F(ProcedureSearchTest, BadFilesAndInputGiveALogLineAndNoProcedureNeverACrash)
{
    const std::string good = Leg("SID", "GOOD1", "RW16", "AAAAA");
    std::string truncated = Leg("SID", "TRUNC1", "RW16", "BBBBB");
    truncated = truncated.substr(0, 60) + "\n";
    const std::string longLine = "SID:010,4,LONG1,RW16,CCCCC," + std::string(1 << 20, 'x') + "\n";
    const struct {
        const char *name;
        std::string text;
        const char *expected;
        const char *logged;
    } cases[] = {
        {"truncated", good + Leg("SID", "TRUNC1", "RW16", "DDDDD") + truncated, "GOOD1: AAAAA",
         "(fewer than 24 fields), procedure \"TRUNC1\" left out"},
        {"1 MB line", longLine + good, "GOOD1: AAAAA", "(line too long), procedure \"LONG1\" left out"},
        {"fields missing", "SID:010,4\nSID:\n" + good, "GOOD1: AAAAA", "Malformed procedure line 1"},
        {"NUL and bytes", std::string("SID:010,4,NUL1,RW16,\0\xff,K1\n", 26) + good, "GOOD1: AAAAA",
         "(control character)"},
        {"empty", "", "", nullptr},
    };
    for (const auto &c : cases) {
        WriteCifp("ZZZB", c.text);
        EXPECT_EQ(Search("ZZZB", false, "16"), c.expected) << c.name;
        EXPECT_TRUE(c.logged == nullptr || Logged(c.logged)) << c.name;
    }

    // No file, or a code that is no airport: no SID, the choice done, a log line.
    for (const char *airport : {"KXYZ", "../../x", ""}) {
        EXPECT_EQ(Search(airport, false, "16"), "") << airport;
        EXPECT_TRUE(record.sidSelezionata) << airport;
    }
    EXPECT_TRUE(Logged("Invalid airport code \"../../x\""));

    // Without earth_fix.dat: the warning, and the fixes stay without position.
    ASSERT_EQ(remove((simhost::PluginFolder() + "/navdata/earth_fix.dat").c_str()), 0);
    Search("KSEA", false, "16L");
    EXPECT_EQ(record.numeroDiSidTrovate, 5);
    EXPECT_EQ(record.sidFixes[0].lat, 0.0);
    EXPECT_TRUE(Logged("Warning: SID search error, cannot open earthFix navdata"));
    EXPECT_EQ(warningIsOpen, 1);
}

} // namespace
