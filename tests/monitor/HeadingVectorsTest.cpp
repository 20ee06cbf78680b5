// The vector phrase, the spoken heading, the en-route distance and the panel's relative wind.
#include <string>

#include "comms/MessageQueue.h"
#include "monitor/HeadingVectors.h"
#include "state/Pilot.h"
#include "support/PluginHost.h"
#include "ui/Settings.h"

namespace {

class HeadingVectorsTest : public HostTest {
  protected:
    void TearDown() override
    {
        queue.clear();
        preciseHeading = 1;
        HostTest::TearDown();
    }
};

TEST_F(HeadingVectorsTest, VectorPhrases)
{
    struct Case {
        float current, target;
        int precise, order, cicloApproach;
        const char *text, *readback, *filter;
    };
    const Case cases[] = {
        {300, 358.4f, 0, 2, 0, "ASA 1, turn right heading #360#.", "turn right heading #360#, ASA 1", "CENTER"},
        {300, 1.9f, 0, 2, 0, "ASA 1, turn right heading #360#.", "turn right heading #360#, ASA 1", "CENTER"},
        {350, 12.0f, 0, 2, 0, "ASA 1, turn right heading #010#.", "turn right heading #010#, ASA 1", "CENTER"},
        {10, 273.0f, 1, 3, 1, "ASA 1, turn left heading #273#.", "turn left heading #273#, ASA 1", "APPROACH"},
        {10, 273.0f, 0, 1, 0, "ASA 1, turn left heading #275# for CAVOB.", "turn left heading #275#, ASA 1", "CENTER"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        pilot p;
        p.SetPilotName("ASA 1");
        p.AddToFlightPlan(47.4f, -122.3f, "CAVOB", c.order, 0, 100, 0);
        p.headingAttuale = c.current;
        p.cicloApproach = c.cicloApproach;
        preciseHeading = c.precise;
        gShowSkipFix = 0;
        CallVectoring(&p, c.target, 0);
        ASSERT_EQ(queue.size(), 1u);
        EXPECT_STREQ(queue.back().text, c.text);
        EXPECT_STREQ(queue.back().readbackText, c.readback);
        EXPECT_EQ(queue.back().frequencyFilter, c.filter);
        EXPECT_EQ(queue.back().message, 550);
        EXPECT_EQ(p.gIsCopiing, 1);
        EXPECT_EQ(gShowSkipFix, 1);
        queue.clear();
    }
    EXPECT_EQ(FormatHeading(5, 3), "005");
    EXPECT_EQ(FormatHeading(1234, 3), "1234");
}

TEST_F(HeadingVectorsTest, EnRouteDistanceAndRelativeWind)
{
    pilot p;
    p.latitudine = 45.0, p.longitudine = -100.0;
    p.AddToFlightPlan(45.5f, -100.0f, "A", 1, 0, 0, 0);
    p.AddToFlightPlan(46.0f, -100.0f, "B", 2, 0, 0, 0);
    p.AddToFlightPlan(46.5f, -100.0f, "STAR1", 3, 0, 0, 0);
    EXPECT_NEAR(GetDistanceToTarget(&p), 60.0f, 0.01f); // to A, then A to B; the STAR is not counted
    p.gActualFlightPlanIndex = 2;
    EXPECT_EQ(GetDistanceToTarget(&p), 0.0f);
    p.gActualFlightPlanIndex = -1;
    EXPECT_EQ(GetDistanceToTarget(&p), 0.0f);

    const struct {
        int angle;
        const char *kind, *side;
    } winds[] = {{0, "head", ""}, {45, "head", ""}, {46, "cross", "right"}, {135, "cross", "right"},
                 {136, "tail", ""}, {225, "tail", ""}, {226, "cross", "left"}, {315, "cross", "left"},
                 {316, "head", ""}, {360, "head", ""}};
    for (const auto &w : winds) {
        const char *side = nullptr;
        EXPECT_STREQ(VentoRelativo_Classe(w.angle, &side), w.kind) << w.angle;
        EXPECT_STREQ(side, w.side) << w.angle;
    }
}

} // namespace
