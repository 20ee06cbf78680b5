// The Options window: one row per setting under its section captions, in two columns, and Save.
#include "ui/OptionsWindow.h"

#include <charconv>
#include <cstdio>

#include "XPStandardWidgets.h"
#include "monitor/Descent.h"
#include "plugin/Log.h"
#include "speech/AzureTTS.h"
#include "speech/LocalTTS.h"
#include "state/Pilot.h"
#include "ui/Clipboard.h"
#include "ui/Settings.h"
#include "ui/Utils.h"
#include "ui/WarningWindow.h"
#include "ui/WidgetHelpers.h"

XPWidgetID ControlOptionsWin = nullptr;
int optionsWinIsOpen = 0;

namespace {

enum RowKind {
    ROW_SECTION,    ///< a section caption
    ROW_CHECK,      ///< check box and label
    ROW_TEXT,       ///< label and a number field
    ROW_CHECK_TEXT, ///< check box, label and a number field
    ROW_TWO_TEXTS,  ///< label and two number fields
    ROW_NEXT_COLUMN ///< the rows below go into the right column
};

struct OptionRow {
    RowKind kind;
    const char *label;
    int *check;        ///< the check box's setting
    int *value;        ///< the (first) field's setting
    int *value2;       ///< the second field's setting
    float *floatValue; ///< a field holding a decimal number ("%.2f") instead of value
};

// clang-format off
#define SECTION(label) {ROW_SECTION, label, nullptr, nullptr, nullptr, nullptr}
#define CHECK(label, var) {ROW_CHECK, label, &var, nullptr, nullptr, nullptr}
#define TEXT(label, var) {ROW_TEXT, label, nullptr, &var, nullptr, nullptr}
// clang-format on

const OptionRow kRows[] = {
    SECTION("General"),
    CHECK("Autostart on X-Plane startup", pluginAutostart),
    CHECK("Check for updates on startup", updateCheck),
    CHECK("Create Google Earth .kml files", gKMLExp),
    CHECK("Enable debug mode", userDebug),
    {ROW_TEXT, "Holding point radius", nullptr, nullptr, nullptr, &holdingPointRadius},
    SECTION("On-screen Display"),
    CHECK("Warnings", onScreenWarnings),
    CHECK("Heading indicator (*)", headingIndicatorActive),
    {ROW_CHECK_TEXT, "Flight information (*) [window position]", &flightStatsIsActive, &informationsPosition, nullptr,
     nullptr},
    SECTION("ATC Communication Box "),
    CHECK("Enabled (*)", gShowDarkWindows),
    {ROW_CHECK_TEXT, "Automatically hide - timeout [seconds]", &autoHideDarkBox, &autoHideDarkBoxTimeOut, nullptr,
     nullptr},
    CHECK("Use sim time instead real time for messages time stamp", simTimeStampMessages),
    SECTION("Radio"),
    CHECK("Activate speech output", gIsSpeechActivated),
    CHECK("Enable Azure TTS - EXPERIMENTAL !!", azureTtsOn),
    CHECK("Local voice (espeak-ng), used before Azure TTS", localTtsOn),
    CHECK("Radio sound on synthesised voices", radioSoundOn),
    CHECK("Disable voice on readback", disableVoiceOnReadBack),
    CHECK("Release radio between dialogs", releaseRadioBetweenDialogs),
    CHECK("Point instead decimal in radio communications", pointInsteadDecimal),
    CHECK("Check Squawk Code", checkSquawkCode),
    {ROW_NEXT_COLUMN, nullptr, nullptr, nullptr, nullptr, nullptr},
    SECTION("FMS Programming"),
    CHECK("Enabled", enableFmcProgramming),
    CHECK("Update FMS destination when jumping to a new waypoint", programFMSDirectOnJump),
    CHECK("Insert Approximation and ILS points in the FMS", programFMSApproxILS),
    SECTION("Vectoring"),
    TEXT("Heading error tolerance [degrees]", maxHeadingError),
    {ROW_TWO_TEXTS, "Heading announce delay (RNAV off-RNAV on) [seconds]", nullptr, &pilotObj.headingAnnounceDelay,
     &pilotObj.headingAnnounceDelayAP, nullptr},
    CHECK("Reduce heading vector calls", reduceVectorCalls),
    CHECK("Precise heading", preciseHeading),
    CHECK("Calculate wind correction angle", calculateWCA),
    CHECK("Do not create approximation fixes", skipApprox),
    SECTION("Altitude"),
    TEXT("Flight level error tolerance [feet]", FLTolerance),
    TEXT("Descent vertical speed [fpm]", tdDescentSpeed),
    CHECK("Altimeter in QNH", gQNH),
    CHECK("Altimeter [inHg] with decimal", altimeterDecimal),
    CHECK("Low altitude speed restriction", lowAltitudeSpeedWarning),
    CHECK("Check ground elevation", checkGroundElevation),
    CHECK("Respect SIDs and STARs restrictions", respectRestrictions),
};

#undef SECTION
#undef CHECK
#undef TEXT

const int kRowCount = (int)(sizeof kRows / sizeof kRows[0]);

/// The widgets of each row (null where the row has none).
struct RowWidgets {
    XPWidgetID check = nullptr;
    XPWidgetID field = nullptr;
    XPWidgetID field2 = nullptr;
};
RowWidgets gRowWidgets[kRowCount];
XPWidgetID gSaveButton = nullptr;

// Layout in pixels, from the window's left and top edges.
const int kLeftColumn = 20;
const int kRightColumn = 500;
const int kColumnWidth = 460;
const int kFirstRowTop = 35;
const int kRowHeight = 22;
const int kCheckIndent = 10, kCheckSize = 18;
const int kLabelIndent = 35;
const int kFieldLeft = 330, kFieldWidth = 60, kFieldGap = 10;
const int kLineHeight = 16;

const int kFieldTextSize = 64;

void Options_FieldText(const OptionRow &row, char *text, size_t size)
{
    if (row.floatValue != nullptr) {
        std::to_chars_result r = std::to_chars(text, text + size - 1, *row.floatValue, std::chars_format::fixed, 2);
        *r.ptr = 0;
    } else {
        snprintf(text, size, "%i", *row.value);
    }
}

XPWidgetID Options_CreateField(int left, int top, const char *text)
{
    XPWidgetID field =
        Utils_CreateTextField(left, top, left + kFieldWidth, top - kLineHeight - 4, text, ControlOptionsWin);
    Utils_AttachCutCopyPaste(field);
    return field;
}

void Options_CreateRow(int index, int columnLeft, int rowTop)
{
    const OptionRow &row = kRows[index];
    RowWidgets &widgets = gRowWidgets[index];
    int labelLeft = columnLeft + kCheckIndent;
    int labelRight = columnLeft + kColumnWidth;
    if (row.kind == ROW_SECTION) {
        Utils_CreateCaption(columnLeft, rowTop, labelRight, rowTop - kLineHeight, row.label, ControlOptionsWin);
        return;
    }
    if (row.check != nullptr) {
        widgets.check = Utils_CreateCheckBox(columnLeft + kCheckIndent, rowTop, columnLeft + kCheckIndent + kCheckSize,
                                             rowTop - kCheckSize, *row.check, ControlOptionsWin);
        labelLeft = columnLeft + kLabelIndent;
    }
    if (row.kind != ROW_CHECK)
        labelRight = columnLeft + kFieldLeft - kFieldGap;
    Utils_CreateCaption(labelLeft, rowTop, labelRight, rowTop - kLineHeight, row.label, ControlOptionsWin);
    if (row.kind == ROW_CHECK)
        return;
    char text[kFieldTextSize];
    Options_FieldText(row, text, sizeof text);
    int fieldLeft = columnLeft + kFieldLeft;
    widgets.field = Options_CreateField(fieldLeft, rowTop, text);
    if (row.kind == ROW_TWO_TEXTS) {
        snprintf(text, sizeof text, "%i", *row.value2);
        widgets.field2 = Options_CreateField(fieldLeft + kFieldWidth + kFieldGap, rowTop, text);
    }
}

/// A field's text (cut to kFieldTextSize - 1 characters).
void Options_ReadField(XPWidgetID field, char text[kFieldTextSize])
{
    text[0] = 0;
    int length = XPGetWidgetDescriptor(field, text, kFieldTextSize - 1);
    text[length < kFieldTextSize - 1 ? length : kFieldTextSize - 1] = 0;
}

void Options_Save()
{
    int azureWasOn = azureTtsOn;
    int localWasOn = localTtsOn;
    const int descentRateWas = tdDescentSpeed;
    for (int i = 0; i < kRowCount; i++) {
        const OptionRow &row = kRows[i];
        const RowWidgets &widgets = gRowWidgets[i];
        if (widgets.check != nullptr)
            *row.check = XPGetWidgetProperty(widgets.check, xpProperty_ButtonState, nullptr) != 0 ? 1 : 0;
        // Numbers are read as the settings file reads its values: no number gives 0.
        char text[kFieldTextSize];
        if (widgets.field != nullptr) {
            Options_ReadField(widgets.field, text);
            if (row.floatValue != nullptr)
                Utils_LeadingFloat(text, row.floatValue);
            else
                Utils_LeadingInt(text, row.value);
        }
        if (widgets.field2 != nullptr) {
            Options_ReadField(widgets.field2, text);
            Utils_LeadingInt(text, row.value2);
        }
    }
    // No descent can be planned at a rate of 0 (or at one no airliner flies): the rate in force stays.
    if (tdDescentSpeed < kDescentRateMin_fpm || tdDescentSpeed > kDescentRateMax_fpm) {
        char line[128];
        snprintf(line, sizeof line, "Descent vertical speed %i fpm refused: from %i to %i fpm, %i kept.", tdDescentSpeed,
                 kDescentRateMin_fpm, kDescentRateMax_fpm, descentRateWas);
        tdDescentSpeed = descentRateWas;
        CreateWarningWinControl(300, 500, 420, 80, "Vellomir - Warning", line);
    }
    if (azureWasOn == 0 && azureTtsOn == 1) {
        CreateAzureDisclaimerWinControl(400, 600, 740, 130);
        AzureTTS_Ready(true); // says what is missing, if anything
    }
    if (localWasOn == 0 && localTtsOn == 1)
        LocalTTS_Ready(true); // says what is missing, if anything
    writeSettings();
    PrintUsrDebug("Options saved");
}

} // namespace

void CreateOptionsWinControl(int left, int top, int width, int height)
{
    if (optionsWinIsOpen == 1 && ControlOptionsWin != nullptr)
        return;
    optionsWinIsOpen = 1;
    int right = left + width, bottom = top - height;
    ControlOptionsWin = Utils_CreateMainWindow(left, top, right, bottom, "Options");
    int columnLeft = left + kLeftColumn;
    int rowTop = top - kFirstRowTop;
    for (int i = 0; i < kRowCount; i++) {
        gRowWidgets[i] = RowWidgets();
        if (kRows[i].kind == ROW_NEXT_COLUMN) {
            columnLeft = left + kRightColumn;
            rowTop = top - kFirstRowTop;
            continue;
        }
        Options_CreateRow(i, columnLeft, rowTop);
        rowTop -= kRowHeight;
    }
    gSaveButton = Utils_CreatePushButton(left + kLeftColumn, bottom + 40, left + kLeftColumn + 100, bottom + 20, "Save",
                                         ControlOptionsWin);
    Utils_CreateCaption(left + kLeftColumn + 120, bottom + 38, right - kLeftColumn, bottom + 22,
                        "(*) Custom command available for keyboard and joystick", ControlOptionsWin);
    XPAddWidgetCallback(ControlOptionsWin, ControlOptionsWinHandler);
}

void Options_Destroy()
{
    Utils_DestroyWindow(&ControlOptionsWin);
    for (RowWidgets &widgets : gRowWidgets)
        widgets = RowWidgets();
    gSaveButton = nullptr;
    optionsWinIsOpen = 0;
}

int ControlOptionsWinHandler(XPWidgetMessage message, XPWidgetID, intptr_t param1, intptr_t)
{
    if (message == xpMessage_CloseButtonPushed) {
        Options_Destroy();
        return 1;
    }
    if (message == xpMsg_PushButtonPressed && (XPWidgetID)param1 == gSaveButton) {
        Options_Save();
        Options_Destroy();
        return 1;
    }
    return 0;
}
