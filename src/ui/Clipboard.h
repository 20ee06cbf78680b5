// Cut, copy and paste in text fields, through the desktop's clipboard when a tool for it is there.
#pragma once

#include <cstdint>
#include <string>

#include "XPWidgets.h"

/// Gives a text field Control-X, Control-C and Control-V.
void Utils_AttachCutCopyPaste(XPWidgetID textField);
/// The text-field callback: cuts or copies the selection, pastes over it; other keys pass through.
int WidgetFunc_CutCopyPaste(XPWidgetMessage message, XPWidgetID widget, intptr_t param1, intptr_t param2);

/// Puts text on the clipboard: the plug-in's own always, the desktop's when xclip or xsel is there.
void Utils_SetClipboardText(const std::string &text);
/// The desktop clipboard's text when a tool can read it, else the plug-in's own clipboard.
std::string Utils_GetClipboardText();

/// Environment variable naming the colon-separated folders searched for xclip and xsel (instead of
/// PATH); set but empty means no desktop clipboard.
extern const char *const kClipboardPathVariable;
