// Building blocks of the plug-in's widget windows: titled main windows, captions, check boxes, fields.
#pragma once

#include "XPWidgets.h"

/// A visible main window from (left, top) to (right, bottom) with a close box.
XPWidgetID Utils_CreateMainWindow(int left, int top, int right, int bottom, const char *title);
/// A sub-window (the sunken panel) inside container.
XPWidgetID Utils_CreateSubWindow(int left, int top, int right, int bottom, XPWidgetID container);
XPWidgetID Utils_CreateCaption(int left, int top, int right, int bottom, const char *text, XPWidgetID container);
XPWidgetID Utils_CreatePushButton(int left, int top, int right, int bottom, const char *label, XPWidgetID container);
/// A check box: a button of the radio-button look with check-box behaviour, ticked when state is non-zero.
XPWidgetID Utils_CreateCheckBox(int left, int top, int right, int bottom, int state, XPWidgetID container);
/// A plain text-entry field holding text.
XPWidgetID Utils_CreateTextField(int left, int top, int right, int bottom, const char *text, XPWidgetID container);
/// A main window with its top-left corner at (left, top) holding a sub-window inset 10 pixels on the
/// sides and the bottom and 30 from the top: the frame of the warning and About windows.
XPWidgetID Utils_CreatePanelWindow(int left, int top, int width, int height, const char *title, XPWidgetID *subWindow);
/// A caption on text row `row` of a panel window: 20 pixels from the left, the first row 40 pixels below
/// the top, each next one rowHeight lower.
XPWidgetID Utils_CreatePanelRow(XPWidgetID window, int row, int rowHeight, const char *text);
/// Destroys a window with its children and clears the handle; nothing when it is already gone.
void Utils_DestroyWindow(XPWidgetID *window);
