// Cut, copy and paste in text fields. The desktop clipboard is reached through xclip or xsel, run
// without a shell and with a short time-out; without them the plug-in's own clipboard serves its fields.
#include "ui/Clipboard.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "XPLMDefs.h"
#include "XPStandardWidgets.h"
#include "plugin/Log.h"
#include "ui/ExternalTool.h"

const char *const kClipboardPathVariable = "VELLOMIR_CLIPBOARD_PATH";

namespace {

/// The simulator waits at most this long for a clipboard tool.
const int kToolTimeout_ms = 500;
/// Longest text taken from the clipboard.
const size_t kClipboardMax = 4096;

std::string gOwnClipboard;

struct ClipboardTool {
    const char *name;
    const char *readArgs[3];
    const char *writeArgs[3];
};
const ClipboardTool kTools[] = {
    {"xclip", {"-selection", "clipboard", "-o"}, {"-selection", "clipboard", "-i"}},
    {"xsel", {"--clipboard", "--output", nullptr}, {"--clipboard", "--input", nullptr}},
};
const size_t kToolCount = sizeof kTools / sizeof kTools[0];

const ClipboardTool *Clipboard_FindTool(std::string *path)
{
    const char *searchPath = getenv(kClipboardPathVariable);
    if (searchPath == nullptr)
        searchPath = getenv("PATH");
    const char *names[kToolCount];
    for (size_t i = 0; i < kToolCount; i++)
        names[i] = kTools[i].name;
    *path = Utils_FindTool(names, kToolCount, searchPath);
    if (path->empty())
        return nullptr;
    std::string name = path->substr(path->rfind('/') + 1);
    for (const ClipboardTool &tool : kTools)
        if (name == tool.name)
            return &tool;
    return nullptr;
}

/// Runs the desktop tool in one direction; false when there is none or it failed.
bool Clipboard_RunDesktop(bool write, const std::string *input, std::string *output)
{
    std::string path;
    const ClipboardTool *tool = Clipboard_FindTool(&path);
    if (tool == nullptr)
        return false;
    const char *const *args = write ? tool->writeArgs : tool->readArgs;
    const char *argv[5] = {path.c_str(), args[0], args[1], args[2], nullptr};
    int status = Utils_RunTool(argv, input, output, kClipboardMax, kToolTimeout_ms);
    if (status != 0)
        PrintDebug("Utils_Clipboard", "%s %s gave status %i", path.c_str(), write ? "write" : "read", status);
    return status == 0;
}

/// A field holds one line: line breaks and tabs become spaces, other control characters go, and a
/// trailing line break (as terminals and editors copy) is dropped.
std::string Clipboard_OneLine(const std::string &text)
{
    size_t end = text.find_last_not_of("\r\n");
    std::string line;
    for (size_t i = 0; end != std::string::npos && i <= end; i++) {
        unsigned char c = (unsigned char)text[i];
        if (c == '\n' || c == '\r' || c == '\t')
            line += ' ';
        else if (c >= 32 && c != 127)
            line += (char)c;
    }
    return line;
}

std::string Clipboard_FieldText(XPWidgetID field)
{
    int length = XPGetWidgetDescriptor(field, nullptr, 0);
    if (length <= 0)
        return std::string();
    std::string text((size_t)length + 1, '\0');
    XPGetWidgetDescriptor(field, &text[0], length + 1);
    text.resize(strnlen(text.c_str(), (size_t)length));
    return text;
}

void Clipboard_SetFieldText(XPWidgetID field, const std::string &text, int caret)
{
    XPSetWidgetDescriptor(field, text.c_str());
    XPSetWidgetProperty(field, xpProperty_EditFieldSelStart, caret);
    XPSetWidgetProperty(field, xpProperty_EditFieldSelEnd, caret);
    // Listeners learn of the change as they do of typing.
    XPSendMessageToWidget(field, xpMsg_TextFieldChanged, xpMode_UpChain, (intptr_t)field, 0);
}

int Clipboard_Paste(XPWidgetID field, const std::string &text, int from, int to)
{
    std::string pasted = Clipboard_OneLine(Utils_GetClipboardText());
    int maxChars = (int)XPGetWidgetProperty(field, xpProperty_MaxCharacters, nullptr);
    int length = (int)text.size();
    if (maxChars > 0) {
        int room = std::max(0, maxChars - (length - (to - from)));
        if ((int)pasted.size() > room)
            pasted.resize((size_t)room);
    }
    std::string result = text;
    result.replace((size_t)from, (size_t)(to - from), pasted);
    Clipboard_SetFieldText(field, result, from + (int)pasted.size());
    return 1;
}

} // namespace

void Utils_SetClipboardText(const std::string &text)
{
    gOwnClipboard = text.substr(0, kClipboardMax);
    Clipboard_RunDesktop(true, &gOwnClipboard, nullptr);
}

std::string Utils_GetClipboardText()
{
    std::string desktop;
    if (Clipboard_RunDesktop(false, nullptr, &desktop))
        return desktop;
    return gOwnClipboard;
}

void Utils_AttachCutCopyPaste(XPWidgetID textField)
{
    if (textField != nullptr)
        XPAddWidgetCallback(textField, WidgetFunc_CutCopyPaste);
}

int WidgetFunc_CutCopyPaste(XPWidgetMessage message, XPWidgetID widget, intptr_t param1, intptr_t)
{
    if (message != xpMsg_KeyPress || param1 == 0)
        return 0;
    const XPKeyState_t *key = reinterpret_cast<const XPKeyState_t *>(param1);
    if ((key->flags & xplm_ControlFlag) == 0 || (key->flags & xplm_DownFlag) == 0)
        return 0;
    unsigned char vkey = (unsigned char)key->vkey;
    if (vkey != XPLM_VK_C && vkey != XPLM_VK_X && vkey != XPLM_VK_V)
        return 0;

    std::string text = Clipboard_FieldText(widget);
    int length = (int)text.size();
    int start = (int)XPGetWidgetProperty(widget, xpProperty_EditFieldSelStart, nullptr);
    int end = (int)XPGetWidgetProperty(widget, xpProperty_EditFieldSelEnd, nullptr);
    // A selection dragged leftwards may come with its ends swapped: it is the same text.
    int from = std::min(start, end), to = std::max(start, end);

    if (vkey == XPLM_VK_V) {
        from = std::clamp(from, 0, length);
        to = std::clamp(to, 0, length);
        return Clipboard_Paste(widget, text, from, to);
    }
    if (from == to || from < 0 || to > length)
        return 1;
    Utils_SetClipboardText(text.substr((size_t)from, (size_t)(to - from)));
    if (vkey == XPLM_VK_X)
        Clipboard_SetFieldText(widget, text.erase((size_t)from, (size_t)(to - from)), from);
    return 1;
}
