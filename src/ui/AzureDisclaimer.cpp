// The disclaimer shown when the user switches the Azure speech engine on in the Options window.
#include "XPStandardWidgets.h"
#include "plugin/Https.h"
#include "speech/AzureTTS.h"
#include "ui/OptionsWindow.h"
#include "ui/WarningWindow.h"
#include "ui/WidgetHelpers.h"

XPWidgetID ControlAzureDisclaimerWin = nullptr;
int azureDisclaimerIsOpen = 0;

namespace {

XPWidgetID gUnderstoodButton = nullptr;

} // namespace

void CreateAzureDisclaimerWinControl(int left, int top, int width, int height)
{
    if (azureDisclaimerIsOpen == 1 && ControlAzureDisclaimerWin != nullptr)
        return;
    const char *const lines[WARNING_LINES] = {
        "Azure TTS is not a freeware service! Please find the costs on the Azure TTS Cognition service web page.",
        "Microsoft offers a free 12 months trial, check Microsoft webpage for further details",
        "Please note that you need to have a valid key obtained from Microsoft Azure Portal.",
        ("You need to specify an Azure Region and Key in the Vellomir configuration file, please refer to the "
         "documentation."),
    };
    azureDisclaimerIsOpen = 1;
    NoticeWidgets widgets;
    Utils_CreateNoticeWindow(left, top, width, height, "DISCLAIMER Azure integration !!!", lines, "Understood",
                             ControlAzureDisclaimerWinHandler, &widgets);
    ControlAzureDisclaimerWin = widgets.window;
    gUnderstoodButton = widgets.button;
}

void AzureDisclaimer_Destroy()
{
    Utils_DestroyWindow(&ControlAzureDisclaimerWin);
    gUnderstoodButton = nullptr;
    azureDisclaimerIsOpen = 0;
}

void AzureDisclaimer_Understood()
{
    AzureDisclaimer_Destroy();
    AzureTTS_Ready(true); // says what is missing, if anything
    if (Https_Available())
        AzureTTS_RequestToken();
}

int ControlAzureDisclaimerWinHandler(XPWidgetMessage message, XPWidgetID, intptr_t param1, intptr_t)
{
    if (message == xpMessage_CloseButtonPushed) {
        AzureDisclaimer_Destroy();
        return 1;
    }
    if (message == xpMsg_PushButtonPressed && (XPWidgetID)param1 == gUnderstoodButton) {
        AzureDisclaimer_Understood();
        return 1;
    }
    return 0;
}
