// Cut, copy and paste in text fields, with a desktop clipboard tool and without one.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>

#include "XPLMDefs.h"
#include "XPStandardWidgets.h"
#include "support/PluginHost.h"
#include "ui/Clipboard.h"
#include "ui/WidgetHelpers.h"

namespace fs = std::filesystem;

namespace {

const int kCtrlDown = xplm_ControlFlag | xplm_DownFlag;

class Clipboard : public HostTest {
  protected:
    void SetUp() override
    {
        HostTest::SetUp();
        char pattern[] = "/tmp/vellomir-clip-XXXXXX";
        toolDir = mkdtemp(pattern);
        setenv(kClipboardPathVariable, toolDir.c_str(), 1); // empty folder: no desktop tool
        Utils_SetClipboardText("");
        window = Utils_CreateMainWindow(100, 500, 500, 300, "Flight plan");
        route = Utils_CreateTextField(120, 460, 480, 440, "", window);
        remarks = Utils_CreateTextField(120, 420, 480, 400, "", window);
        Utils_AttachCutCopyPaste(route);
        Utils_AttachCutCopyPaste(remarks);
    }
    void TearDown() override
    {
        unsetenv(kClipboardPathVariable);
        std::error_code ignored;
        fs::remove_all(toolDir, ignored);
        HostTest::TearDown();
    }
    /// A stand-in for xclip that keeps the clipboard in a file beside it.
    void InstallTool(const std::string &name, const std::string &script)
    {
        std::string path = toolDir + "/" + name;
        std::ofstream(path) << "#!/bin/sh\nstore=\"$(dirname \"$0\")/desktop-clipboard\"\n" << script;
        chmod(path.c_str(), 0755);
    }
    std::string Store() const { return toolDir + "/desktop-clipboard"; }
    static void Ctrl(char vkey) { simhost::KeyPress(vkey + 32, kCtrlDown, vkey); }
    static int SelStart(void *f) { return (int)simhost::WidgetProperty(f, xpProperty_EditFieldSelStart); }

    std::string toolDir;
    XPWidgetID window = nullptr, route = nullptr, remarks = nullptr;
};

TEST_F(Clipboard, CopyCutAndPasteMoveTextBetweenFieldsWithoutADesktopTool)
{
    simhost::TypeInto(route, "UN857 BOL UL50");
    Ctrl(XPLM_VK_C); // nothing selected: swallowed, no "c" typed, the clipboard stays empty
    EXPECT_EQ(simhost::WidgetText(route), "UN857 BOL UL50");
    Ctrl(XPLM_VK_V);
    EXPECT_EQ(simhost::WidgetText(route), "UN857 BOL UL50");

    simhost::SelectText(route, 6, 9);
    Ctrl(XPLM_VK_C);
    simhost::TypeInto(remarks, "via ");
    Ctrl(XPLM_VK_V);
    EXPECT_EQ(simhost::WidgetText(remarks), "via BOL");
    EXPECT_EQ(SelStart(remarks), 7);

    simhost::SelectText(route, 5, 9); // " BOL"
    Ctrl(XPLM_VK_X);
    EXPECT_EQ(simhost::WidgetText(route), "UN857 UL50");
    EXPECT_EQ(SelStart(route), 5);
    simhost::SelectText(remarks, 7, 0); // dragged leftwards over the whole text
    Ctrl(XPLM_VK_V);
    EXPECT_EQ(simhost::WidgetText(remarks), " BOL");
}

TEST_F(Clipboard, DesktopToolReceivesCopiesAndSuppliesPastesAFailingOrHangingOneIsReplaced)
{
    InstallTool("xclip", "case \"$*\" in\n"
                         "  \"-selection clipboard -o\") [ -f \"$store\" ] && exec cat \"$store\"; exit 1 ;;\n"
                         "  \"-selection clipboard -i\") exec cat > \"$store\" ;;\n"
                         "esac\nexit 2\n");
    simhost::TypeInto(route, "LIML");
    simhost::SelectText(route, 0, 4);
    Ctrl(XPLM_VK_C);
    std::ifstream copied(Store());
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(copied), {}), "LIML");
    std::ofstream(Store()) << "EDDF SULUS\nUZ650\n"; // copied from a browser, line breaks and all
    simhost::SelectText(remarks, 0, 0);
    Ctrl(XPLM_VK_V);
    EXPECT_EQ(simhost::WidgetText(remarks), "EDDF SULUS UZ650");

    InstallTool("xclip", "echo 'Error: Can't open display' >&2\nexit 1\n"); // no X server: our own clipboard
    simhost::SelectText(route, 0, 4);
    Ctrl(XPLM_VK_C);
    simhost::SelectText(remarks, 0, 16);
    Ctrl(XPLM_VK_V);
    EXPECT_EQ(simhost::WidgetText(remarks), "LIML");

    InstallTool("xclip", "exec sleep 20\n"); // hanging: given up on, not waited for
    simhost::TypeInto(route, " EGLL");
    simhost::SelectText(route, 5, 9);
    const auto start = std::chrono::steady_clock::now();
    Ctrl(XPLM_VK_C);
    simhost::SelectText(remarks, 0, 4);
    Ctrl(XPLM_VK_V);
    EXPECT_EQ(simhost::WidgetText(remarks), "EGLL");
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 5.0);
}

} // namespace
