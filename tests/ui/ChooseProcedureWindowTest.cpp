// The SID and STAR choice windows: the real KSEA candidates with the favoured mark, a pick filed into the
// route, the close box keeping the search's choice, and pages of 40 whose every button is on screen.
#include <string>
#include <vector>

#include "XPStandardWidgets.h"
#include "comms/DialogState.h"
#include "comms/MessageQueue.h"
#include "navdata/ProcedureSearch.h"
#include "plugin/ProcedureSetup.h"
#include "state/Pilot.h"
#include "support/PluginHost.h"
#include "support/ProcedureData.h"
#include "ui/ChooseProcedureWindow.h"
#include "ui/Settings.h"

namespace
{

class ChooseProcedureWindow : public HostTest
{
  protected:
    pilot record;
    int savedSid = 0, savedStar = 0;
    void SetUp() override
    {
        HostTest::SetUp();
        savedSid = manualChooseSID;
        savedStar = manualChooseSTAR;
        manualChooseSID = manualChooseSTAR = 1;
        frequenzaLibera = true;
    }
    void TearDown() override
    {
        manualChooseSID = savedSid;
        manualChooseSTAR = savedStar;
        HostTest::TearDown();
    }
    /// The open window's button labels; each button lies inside the window and the window on screen.
    std::vector<std::string> Buttons(XPWidgetID window)
    {
        EXPECT_NE(window, nullptr);
        int left, top, right, bottom;
        XPGetWidgetGeometry(window, &left, &top, &right, &bottom);
        EXPECT_TRUE(left >= 0 && bottom >= 0 && right <= 1920 && top <= 1080);
        return WindowButtonLabels(window);
    }
    void Click(XPWidgetID window, const std::string &label)
    {
        ASSERT_TRUE(simhost::ClickWidget(simhost::FindWidget(window, label)));
    }
    /// count made-up procedures, as the search leaves them for the pilot to choose.
    void Found(bool star, int count, int chosen)
    {
        for (int i = 0; i < count; i++) {
            const std::string name = (star ? "STR" : "SID") + std::to_string(i);
            if (star)
                record.AddStar(name.c_str(), name.c_str(), 0, 0, false);
            else
                record.AddSid(name.c_str(), name.c_str(), 0, 0, false);
        }
        (star ? record.numeroDiStarTrovate : record.numeroDiSidTrovate) = (int16_t)count;
        (star ? record.selectedSTAR : record.selectedSID) = (int16_t)chosen;
    }
};

TEST_F(ChooseProcedureWindow, RealSidsOfSeattleArePickedFiledOrKeptOnClosing)
{
    LayProcedureData({"KSEA"});
    record.depAirportICAO = "KSEA";
    snprintf(record.departureRunwayName, sizeof record.departureRunwayName, "16L");
    record.AddToFlightPlan(47.45f, -122.3f, "ELMAA", 2, 512, 350, 0); // the route starts at ELMAA
    char runway[] = "16L";
    searchSID11("KSEA", runway, &record);
    ASSERT_EQ(record.numeroDiSidTrovate, 5);
    ASSERT_FALSE(record.sidSelezionata);

    dialogIsOpen = readbackWinIsOpen = 1; // the windows of the exchanges belong to others
    FrameDriver_ProcedureSetup(record, 10);
    ASSERT_NE(simhost::FindWindowByTitle("Choose SID"), nullptr);
    EXPECT_EQ(Buttons(ControlChooseSidWin),
              (std::vector<std::string>{"BANGR9 ", "ELMAA3 *", "HAROB6 ", "SEA7 ", "SUMMA1 "}));
    FrameDriver_ProcedureSetup(record, 11); // open already: no second window
    EXPECT_EQ(LogCount("Entering CreateChooseSidControl"), 1);

    Click(ControlChooseSidWin, "SUMMA1 ");
    EXPECT_EQ(ControlChooseSidWin, nullptr);
    EXPECT_EQ(record.selectedSID, 4);
    EXPECT_TRUE(record.sidSelezionata);
    EXPECT_EQ(dialogIsOpen + readbackWinIsOpen, 2);
    FrameDriver_ProcedureSetup(record, 12); // the next frame files it in front of the route
    EXPECT_TRUE(record.sidFiled);
    std::string route;
    for (const pilot::flightPlanLoc &loc : record.flightPlanVec)
        route += loc.name + " ";
    EXPECT_EQ(route, "NEVJO SUMMA ELMAA ");

    // Closing applies the search's own choice (the favoured ELMAA3), whatever index was left before.
    for (int stale : {-1, 0, 99}) {
        SCOPED_TRACE(stale);
        searchSID11("KSEA", runway, &record);
        record.selectedSID = (int16_t)stale;
        CreateChooseSidControl(&record, 0);
        ASSERT_TRUE(simhost::PressCloseBox(ControlChooseSidWin));
        EXPECT_EQ(ControlChooseSidWin, nullptr);
        EXPECT_TRUE(record.sidSelezionata);
        EXPECT_EQ(record.sids[(size_t)record.selectedSID].name, "ELMAA3");
    }
    dialogIsOpen = readbackWinIsOpen = 0;
    EXPECT_TRUE(simhost::HostErrors().empty());
}

TEST_F(ChooseProcedureWindow, PagesOfFortyKeepEveryButtonOnScreenAndClickable)
{
    struct Row {
        bool star;
        int count;
        size_t firstPage;   ///< buttons of the first page, "..." included
        size_t secondPage;  ///< buttons after "...", 0 without it
        const char *pick;   ///< label clicked last
        int picked;
    } rows[] = {
        {false, 3, 3, 0, "SID2 ", 2},
        {false, 40, 40, 0, "SID39 ", 39},
        {true, 41, 41, 1, "STR40 ", 40},
        {true, 45, 41, 5, "STR44 ", 44},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.count);
        record = pilot();
        snprintf(record.arrivalRunwayStruct.name, sizeof record.arrivalRunwayStruct.name, "10R");
        Found(row.star, row.count, 1);
        XPWidgetID &window = row.star ? ControlChooseStarWin : ControlChooseSidWin;
        row.star ? CreateChooseStarControl(&record, 0) : CreateChooseSidControl(&record, 0);
        std::vector<std::string> labels = Buttons(window);
        ASSERT_EQ(labels.size(), row.firstPage);
        EXPECT_EQ(labels.back() == "...", row.secondPage > 0);
        if (row.secondPage > 0) {
            Click(window, "...");
            labels = Buttons(window);
            ASSERT_EQ(labels.size(), row.secondPage);
            EXPECT_EQ(labels.front(), row.star ? "STR40 " : "SID40 ");
        }
        Click(window, row.pick);
        EXPECT_EQ(window, nullptr);
        EXPECT_EQ(row.star ? record.selectedSTAR : record.selectedSID, row.picked);
        EXPECT_TRUE(row.star ? record.starSelezionata : record.sidSelezionata);
    }

    // No procedure at all: an empty window, closing it selects nothing beyond the list.
    record = pilot();
    CreateChooseStarControl(&record, 0);
    EXPECT_TRUE(Buttons(ControlChooseStarWin).empty());
    ASSERT_TRUE(simhost::PressCloseBox(ControlChooseStarWin));
    EXPECT_EQ(record.selectedSTAR, 0);
    EXPECT_TRUE(record.starSelezionata);
    EXPECT_TRUE(simhost::HostErrors().empty());
}

} // namespace
