// The widget library's internal model, shared by its core, its standard classes and the harness.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "HostInternal.h"
#include "XPStandardWidgets.h"
#include "XPWidgets.h"

namespace simhost {
namespace detail {

struct Widget {
    intptr_t id = 0;
    int left = 0, top = 0, right = 0, bottom = 0;
    bool visible = false;
    bool isRoot = false;
    std::string descriptor;
    intptr_t parent = 0;
    std::vector<intptr_t> children; ///< in creation order, the last one on top
    int widgetClass = -1;           ///< -1 for a custom widget
    std::vector<XPWidgetFunc_t> callbacks; ///< newest first; the class function last
    std::map<int, intptr_t> properties;
    void *window = nullptr; ///< the XPLM window of a root widget
    // transient state of the standard classes
    bool dragging = false;
    int dragX = 0, dragY = 0;
    bool closing = false;
};

/// Height of a main window's title bar, which holds the close box at its right end.
const int kTitleBarHeight = 20;
const int kCloseBoxSize = 16;

Widget *FindWidget(intptr_t id);
Widget *WidgetOf(XPWidgetID id, const char *call);
inline XPWidgetID AsID(intptr_t id)
{
    return (XPWidgetID)id;
}
inline intptr_t IdOf(XPWidgetID id)
{
    return (intptr_t)id;
}

/// Dispatches a message as XPSendMessageToWidget does; returns whether some callback handled it.
int Dispatch(intptr_t id, int message, int mode, intptr_t param1, intptr_t param2);
intptr_t Property(const Widget *w, int property, intptr_t fallback = 0);
void SetProperty(intptr_t id, int property, intptr_t value);
void SetDescriptor(intptr_t id, const std::string &text);
/// Moves a widget and all its descendants (a dragged window).
void MoveTree(intptr_t id, int dx, int dy);
bool Enabled(const Widget *w);
bool Inside(const Widget *w, int x, int y);
bool CloseBoxHit(const Widget *w, int x, int y);
XPWidgetFunc_t ClassFunction(int widgetClass);
std::vector<intptr_t> AllWidgets(); ///< every live widget, in creation order
int WidgetsCreated();              ///< widgets created since the host was reset
intptr_t FocusedWidget();

} // namespace detail
} // namespace simhost
