// Frequency and altimeter texts of the phrases, by simulator version and setting.
#include "comms/RadioTexts.h"
#include "support/PluginHost.h"
#include "ui/Settings.h"

namespace {

class RadioTextsTest : public HostTest {
  protected:
    void TearDown() override
    {
        gQNH = 1;
        altimeterDecimal = 0;
        HostTest::TearDown();
    }
};

TEST_F(RadioTextsTest, FrequencyAndAltimeterTextsFollowTheVersionAndTheSettings)
{
    struct Frequency {
        int version;
        double value;
        const char *text;
    } frequencies[] = {{11300, 12690, "126.90"}, {11300, 11805, "118.05"}, {11330, 118005, "118.005"},
                       {12000, 126850, "126.850"}};
    for (const Frequency &f : frequencies) {
        ResetHost(f.version);
        EXPECT_EQ(printFrequenciesDecimals(f.value), f.text) << f.version;
    }

    // X-Plane 11 reads inches, X-Plane 12 pascals; both give the same texts.
    struct Altimeter {
        float hPa;
        int qnh, decimal;
        bool spelled;
        const char *text;
    } altimeters[] = {
        {1013.25f, 1, 0, true, "QNH #1013#"},      {995.0f, 1, 0, false, "QNH 995 hectopascal"},
        {1013.25f, 0, 1, true, "altimeter #29.92#"}, {1013.25f, 0, 0, false, "altimeter 2992"},
        {1000.0f, 0, 1, false, "altimeter 29.53"},   {1000.0f, 1, 0, false, "QNH 1000"},
    };
    for (int version : {11500, 12000}) {
        for (const Altimeter &a : altimeters) {
            ResetHost(version);
            simhost::SetWeather(0, 0, a.hPa);
            gQNH = a.qnh;
            altimeterDecimal = a.decimal;
            EXPECT_EQ(printAltimeter(a.spelled), a.text) << version << " " << a.hPa;
        }
    }
    ResetHost(12000);
    simhost::SetFloat("sim/weather/aircraft/qnh_pas", 0); // no weather: the standard atmosphere
    EXPECT_EQ(getAltimeterQNHInHpa(), 1013);
    EXPECT_FLOAT_EQ(getAltimeterInHg(), 29.92f);
}

} // namespace
