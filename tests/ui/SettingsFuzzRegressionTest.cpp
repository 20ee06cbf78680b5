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

// fuzz_SettingsFile: a key longer than its buffer, cut where CRs stood inside it, ended in CRs that the
// next read dropped. A text setting holding a control character is now refused whole.
TEST_F(SettingsFuzzRegression, AzureKeyWithCarriageReturnsInsideIsRefusedNotCutIntoAHeader)
{
    snprintf(azureKey, sizeof azureKey, "%s", "0123abcd");
    simhost::WriteFile("Resources/plugins/Vellomir64/Settings.txt",
                       "azureKey#" + std::string(250, 'k') + std::string(20, '\r') + "h\n"
                       "azureRegion#west\teurope\n");
    readSettings();
    EXPECT_STREQ(azureKey, "0123abcd");
    EXPECT_STREQ(azureRegion, region.c_str());
    EXPECT_TRUE(Logged("azureKey holds a control character (13), ignored"));
    EXPECT_TRUE(Logged("azureRegion holds a control character (9), ignored"));
}

} // namespace
