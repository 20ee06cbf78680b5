// Settings.txt inputs the fuzz target (fuzz/targets/SettingsFile.cpp) found, kept as they were found.
#include <string>

#include "support/PluginHost.h"
#include "ui/Settings.h"

namespace {

class SettingsFuzzRegression : public HostTest {
  protected:
    void SetUp() override
    {
        HostTest::SetUp();
        key = azureKey;
        region = azureRegion;
    }
    void TearDown() override
    {
        snprintf(azureKey, sizeof azureKey, "%s", key.c_str());
        snprintf(azureRegion, sizeof azureRegion, "%s", region.c_str());
        HostTest::TearDown();
    }
    std::string key, region;
};

// fuzz_SettingsFile: a CR before a NUL byte, or a line ending in CR CR LF, kept a CR in the value, so
// the Azure key read back differed from the key written (and would have gone into the speech service's
// header with it).
TEST_F(SettingsFuzzRegression, AzureKeySavedByAStrayEditorHasNoCarriageReturn)
{
    const std::string found("azureKey#we\r\0steurope\r\nazureRegion#westeurope\r\r\r\n", 49);
    simhost::WriteFile("Resources/plugins/Vellomir64/Settings.txt", found);
    readSettings();
    EXPECT_STREQ(azureKey, "we");
    EXPECT_STREQ(azureRegion, "westeurope");
}

} // namespace
