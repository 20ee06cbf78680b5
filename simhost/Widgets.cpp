// The widget tree: creation and destruction, geometry, descriptors, properties, message dispatch,
// keyboard focus, and the mouse and drawing hooks called by the window layer.
#include <algorithm>
#include <cstring>

#include "WidgetsInternal.h"
#include "XPWidgetUtils.h"

namespace simhost {
namespace detail {

namespace {

std::map<intptr_t, std::unique_ptr<Widget>> gWidgets;
intptr_t gNextId = 1000;
int gCreated = 0; ///< widgets created since the last reset
intptr_t gFocus = 0;
intptr_t gMouseTarget = 0; ///< the widget that took the mouse-down
/// Widgets whose create or draw message is being handled, innermost last.
std::vector<intptr_t> gBusy;

struct BusyWith {
    bool on;
    BusyWith(intptr_t id, int message) : on(message == xpMsg_Create || message == xpMsg_Draw || message == xpMsg_Paint)
    {
        if (on)
            gBusy.push_back(id);
    }
    ~BusyWith()
    {
        if (on)
            gBusy.pop_back();
    }
};

bool IsWithin(intptr_t id, intptr_t ancestor)
{
    for (Widget *w = FindWidget(id); w != nullptr; w = FindWidget(w->parent)) {
        if (w->id == ancestor)
            return true;
        if (w->parent == 0)
            break;
    }
    return false;
}

int CallCallbacks(intptr_t id, int message, int mode, intptr_t param1, intptr_t param2)
{
    Widget *w = FindWidget(id);
    if (w == nullptr)
        return 0;
    std::vector<XPWidgetFunc_t> callbacks = w->callbacks; // a callback may add callbacks or destroy the widget
    BusyWith busy(id, message);
    int handled = 0;
    for (XPWidgetFunc_t fn : callbacks) {
        if (FindWidget(id) == nullptr)
            return 1;
        if (fn(message, AsID(id), param1, param2)) {
            handled = 1;
            if (mode != xpMode_DirectAllCallbacks)
                break;
        }
        if (mode == xpMode_Once)
            break;
    }
    return handled;
}

int DispatchRecursive(intptr_t id, int message, intptr_t param1, intptr_t param2, bool visibleOnly)
{
    Widget *w = FindWidget(id);
    if (w == nullptr || (visibleOnly && !w->visible))
        return 0;
    int handled = CallCallbacks(id, message, xpMode_Direct, param1, param2);
    w = FindWidget(id);
    if (w == nullptr)
        return handled;
    std::vector<intptr_t> children = w->children;
    for (intptr_t child : children)
        handled |= DispatchRecursive(child, message, param1, param2, visibleOnly);
    return handled;
}

intptr_t CreateWidget(int left, int top, int right, int bottom, int visible, const char *descriptor, int isRoot,
                      XPWidgetID container, int widgetClass, XPWidgetFunc_t function)
{
    auto w = std::make_unique<Widget>();
    intptr_t id = gNextId++;
    gCreated++;
    w->id = id;
    w->left = left;
    w->top = top;
    w->right = right;
    w->bottom = bottom;
    w->visible = visible != 0;
    w->isRoot = isRoot != 0;
    w->descriptor = descriptor != nullptr ? descriptor : "";
    w->widgetClass = widgetClass;
    w->callbacks.push_back(function);
    if (w->isRoot)
        w->window = CreateWidgetWindow(left, top, right, bottom, visible, id);
    gWidgets[id] = std::move(w);
    CallCallbacks(id, xpMsg_Create, xpMode_Direct, 0, 0);
    if (container != nullptr && FindWidget(id) != nullptr)
        XPPlaceWidgetWithin(AsID(id), container);
    return id;
}

void Detach(intptr_t id)
{
    Widget *w = FindWidget(id);
    if (w == nullptr || w->parent == 0)
        return;
    intptr_t parent = w->parent;
    w->parent = 0;
    if (Widget *p = FindWidget(parent)) {
        p->children.erase(std::remove(p->children.begin(), p->children.end(), id), p->children.end());
        CallCallbacks(parent, xpMsg_LoseChild, xpMode_Direct, id, 0);
    }
}

void Destroy(intptr_t id, bool partOfParent, bool destroyChildren)
{
    Widget *w = FindWidget(id);
    if (w == nullptr)
        return;
    // The children go first (recursively), then the widget gets its destroy message, as in X-Plane.
    std::vector<intptr_t> children = w->children;
    for (intptr_t child : children) {
        if (destroyChildren) {
            Destroy(child, true, true);
        } else if (Widget *c = FindWidget(child)) {
            c->parent = 0;
        }
    }
    if (FindWidget(id) == nullptr)
        return;
    CallCallbacks(id, xpMsg_Destroy, xpMode_DirectAllCallbacks, partOfParent ? 1 : 0, 0);
    w = FindWidget(id);
    if (w == nullptr)
        return;
    if (!destroyChildren)
        w->children.clear();
    Detach(id);
    w = FindWidget(id);
    if (w == nullptr)
        return;
    if (gFocus == id) {
        gFocus = 0;
        TakeWindowFocus(nullptr);
    }
    if (gMouseTarget == id)
        gMouseTarget = 0;
    if (w->window != nullptr)
        DestroyWidgetWindow(w->window);
    gWidgets.erase(id);
}

Widget *RootOf(intptr_t id)
{
    Widget *w = FindWidget(id);
    while (w != nullptr && w->parent != 0)
        w = FindWidget(w->parent);
    return (w != nullptr && w->isRoot) ? w : nullptr;
}

intptr_t WidgetAt(intptr_t container, int x, int y, bool recursive, bool visibleOnly)
{
    Widget *w = FindWidget(container);
    if (w == nullptr || !Inside(w, x, y) || (visibleOnly && !w->visible))
        return 0;
    for (auto it = w->children.rbegin(); it != w->children.rend(); ++it) {
        Widget *c = FindWidget(*it);
        if (c == nullptr || !Inside(c, x, y) || (visibleOnly && !c->visible))
            continue;
        return recursive ? WidgetAt(*it, x, y, true, visibleOnly) : *it;
    }
    return container;
}

void SetGeometry(intptr_t id, int left, int top, int right, int bottom)
{
    Widget *w = FindWidget(id);
    if (w == nullptr)
        return;
    XPWidgetGeometryChange_t change;
    change.dx = left - w->left;
    change.dy = bottom - w->bottom;
    change.dwidth = (right - left) - (w->right - w->left);
    change.dheight = (top - bottom) - (w->top - w->bottom);
    w->left = left;
    w->top = top;
    w->right = right;
    w->bottom = bottom;
    if (w->window != nullptr)
        SetWidgetWindowGeometry(w->window, left, top, right, bottom);
    DispatchRecursive(id, xpMsg_Reshape, id, (intptr_t)&change, false);
}

} // namespace

Widget *FindWidget(intptr_t id)
{
    auto it = gWidgets.find(id);
    return it == gWidgets.end() ? nullptr : it->second.get();
}

Widget *WidgetOf(XPWidgetID id, const char *call)
{
    if (id == nullptr)
        return nullptr;
    Widget *w = FindWidget(IdOf(id));
    if (w == nullptr)
        HostError("%s on a widget that does not exist (destroyed?)", call);
    return w;
}

int Dispatch(intptr_t id, int message, int mode, intptr_t param1, intptr_t param2)
{
    switch (mode) {
    case xpMode_UpChain:
        for (intptr_t cur = id; cur != 0;) {
            Widget *w = FindWidget(cur);
            if (w == nullptr)
                return 0;
            intptr_t parent = w->parent;
            if (CallCallbacks(cur, message, xpMode_Direct, param1, param2))
                return 1;
            cur = parent;
        }
        return 0;
    case xpMode_Recursive:
        return DispatchRecursive(id, message, param1, param2, false);
    default:
        return CallCallbacks(id, message, mode, param1, param2);
    }
}

intptr_t Property(const Widget *w, int property, intptr_t fallback)
{
    auto it = w->properties.find(property);
    return it == w->properties.end() ? fallback : it->second;
}

void SetProperty(intptr_t id, int property, intptr_t value)
{
    Widget *w = FindWidget(id);
    if (w == nullptr)
        return;
    w->properties[property] = value;
    CallCallbacks(id, xpMsg_PropertyChanged, xpMode_Direct, property, value);
}

void SetDescriptor(intptr_t id, const std::string &text)
{
    Widget *w = FindWidget(id);
    if (w == nullptr)
        return;
    w->descriptor = text;
    CallCallbacks(id, xpMsg_DescriptorChanged, xpMode_Direct, 0, 0);
}

void MoveTree(intptr_t id, int dx, int dy)
{
    Widget *w = FindWidget(id);
    if (w == nullptr)
        return;
    w->left += dx;
    w->right += dx;
    w->top += dy;
    w->bottom += dy;
    if (w->window != nullptr)
        SetWidgetWindowGeometry(w->window, w->left, w->top, w->right, w->bottom);
    std::vector<intptr_t> children = w->children;
    for (intptr_t child : children)
        MoveTree(child, dx, dy);
}

bool Enabled(const Widget *w)
{
    return Property(w, xpProperty_Enabled, 1) != 0;
}

bool Inside(const Widget *w, int x, int y)
{
    return x >= w->left && x <= w->right && y >= w->bottom && y <= w->top;
}

bool CloseBoxHit(const Widget *w, int x, int y)
{
    return w->widgetClass == xpWidgetClass_MainWindow && Property(w, xpProperty_MainWindowHasCloseBoxes) != 0 &&
           x >= w->right - kCloseBoxSize - 4 && x <= w->right && y >= w->top - kTitleBarHeight && y <= w->top;
}

std::vector<intptr_t> AllWidgets()
{
    std::vector<intptr_t> ids;
    for (const auto &entry : gWidgets)
        ids.push_back(entry.first);
    return ids;
}

intptr_t FocusedWidget()
{
    return gFocus;
}

int WidgetsCreated()
{
    return gCreated;
}

void ResetWidgets()
{
    gCreated = 0;
    gWidgets.clear();
    gBusy.clear();
    gFocus = 0;
    gMouseTarget = 0;
}

int WidgetMouse(intptr_t rootWidget, int x, int y, int status)
{
    XPMouseState_t state;
    state.x = x;
    state.y = y;
    state.button = 0;
    state.delta = 0;
    if (status == xplm_MouseDown) {
        Widget *root = FindWidget(rootWidget);
        if (root == nullptr)
            return 0;
        // The title bar belongs to the main window itself: its children never cover it.
        intptr_t target = (root->widgetClass == xpWidgetClass_MainWindow && y >= root->top - kTitleBarHeight)
                              ? rootWidget
                              : WidgetAt(rootWidget, x, y, true, true);
        gMouseTarget = 0;
        for (intptr_t cur = target; cur != 0;) {
            Widget *w = FindWidget(cur);
            if (w == nullptr)
                break;
            intptr_t parent = w->parent;
            if (CallCallbacks(cur, xpMsg_MouseDown, xpMode_Direct, (intptr_t)&state, 0)) {
                gMouseTarget = FindWidget(cur) != nullptr ? cur : 0;
                break;
            }
            cur = parent;
        }
        return 1; // a widget window takes every click inside it
    }
    intptr_t target = gMouseTarget;
    if (status == xplm_MouseUp)
        gMouseTarget = 0;
    if (target != 0)
        CallCallbacks(target, status == xplm_MouseDrag ? xpMsg_MouseDrag : xpMsg_MouseUp, xpMode_Direct,
                      (intptr_t)&state, 0);
    return 1;
}

void WidgetDraw(intptr_t rootWidget)
{
    DispatchRecursive(rootWidget, xpMsg_Draw, 0, 0, true);
}

bool WidgetKey(char key, int flags, char virtualKey)
{
    if (gFocus == 0 || FindWidget(gFocus) == nullptr)
        return false;
    XPKeyState_t state;
    state.key = key;
    state.flags = flags;
    state.vkey = virtualKey;
    Dispatch(gFocus, xpMsg_KeyPress, xpMode_UpChain, (intptr_t)&state, 0);
    return true;
}

bool WidgetHasFocus()
{
    return gFocus != 0;
}

} // namespace detail
} // namespace simhost

using namespace simhost::detail;

WIDGET_API XPWidgetID XPCreateWidget(int inLeft, int inTop, int inRight, int inBottom, int inVisible,
                                     const char *inDescriptor, int inIsRoot, XPWidgetID inContainer,
                                     XPWidgetClass inClass)
{
    XPWidgetFunc_t function = ClassFunction(inClass);
    if (function == nullptr) {
        HostError("XPCreateWidget with unknown class %d", inClass);
        return nullptr;
    }
    if (inContainer != nullptr && WidgetOf(inContainer, "XPCreateWidget") == nullptr)
        inContainer = nullptr;
    return AsID(CreateWidget(inLeft, inTop, inRight, inBottom, inVisible, inDescriptor, inIsRoot, inContainer,
                             inClass, function));
}

WIDGET_API XPWidgetID XPCreateCustomWidget(int inLeft, int inTop, int inRight, int inBottom, int inVisible,
                                           const char *inDescriptor, int inIsRoot, XPWidgetID inContainer,
                                           XPWidgetFunc_t inCallback)
{
    if (inCallback == nullptr) {
        HostError("XPCreateCustomWidget without a callback");
        return nullptr;
    }
    if (inContainer != nullptr && WidgetOf(inContainer, "XPCreateCustomWidget") == nullptr)
        inContainer = nullptr;
    return AsID(CreateWidget(inLeft, inTop, inRight, inBottom, inVisible, inDescriptor, inIsRoot, inContainer, -1,
                             inCallback));
}

WIDGET_API void XPDestroyWidget(XPWidgetID inWidget, int inDestroyChildren)
{
    if (WidgetOf(inWidget, "XPDestroyWidget") == nullptr)
        return;
    intptr_t id = IdOf(inWidget);
    for (intptr_t busy : gBusy) {
        if (busy == id || (inDestroyChildren != 0 && IsWithin(busy, id))) {
            HostError("XPDestroyWidget(%s) while widget %s handles its create or draw message: X-Plane would "
                      "go on with a destroyed widget",
                      FindWidget(id)->descriptor.c_str(), FindWidget(busy)->descriptor.c_str());
            break;
        }
    }
    Destroy(id, false, inDestroyChildren != 0);
}

WIDGET_API int XPSendMessageToWidget(XPWidgetID inWidget, XPWidgetMessage inMessage, XPDispatchMode inMode,
                                     intptr_t inParam1, intptr_t inParam2)
{
    if (WidgetOf(inWidget, "XPSendMessageToWidget") == nullptr)
        return 0;
    return Dispatch(IdOf(inWidget), inMessage, inMode, inParam1, inParam2);
}

WIDGET_API void XPPlaceWidgetWithin(XPWidgetID inSubWidget, XPWidgetID inContainer)
{
    Widget *sub = WidgetOf(inSubWidget, "XPPlaceWidgetWithin");
    if (sub == nullptr)
        return;
    Detach(sub->id);
    Widget *container = WidgetOf(inContainer, "XPPlaceWidgetWithin");
    if (container == nullptr)
        return;
    container->children.push_back(sub->id);
    sub->parent = container->id;
    CallCallbacks(container->id, xpMsg_AcceptChild, xpMode_Direct, sub->id, 0);
    CallCallbacks(sub->id, xpMsg_AcceptParent, xpMode_Direct, container->id, 0);
}

WIDGET_API int XPCountChildWidgets(XPWidgetID inWidget)
{
    Widget *w = WidgetOf(inWidget, "XPCountChildWidgets");
    return w != nullptr ? (int)w->children.size() : 0;
}

WIDGET_API XPWidgetID XPGetNthChildWidget(XPWidgetID inWidget, int inIndex)
{
    Widget *w = WidgetOf(inWidget, "XPGetNthChildWidget");
    if (w == nullptr || inIndex < 0 || inIndex >= (int)w->children.size())
        return nullptr;
    return AsID(w->children[(size_t)inIndex]);
}

WIDGET_API XPWidgetID XPGetParentWidget(XPWidgetID inWidget)
{
    Widget *w = WidgetOf(inWidget, "XPGetParentWidget");
    return w != nullptr ? AsID(w->parent) : nullptr;
}

WIDGET_API void XPShowWidget(XPWidgetID inWidget)
{
    Widget *w = WidgetOf(inWidget, "XPShowWidget");
    if (w == nullptr || w->visible)
        return;
    w->visible = true;
    if (w->window != nullptr)
        SetWidgetWindowVisible(w->window, 1);
    DispatchRecursive(w->id, xpMsg_Shown, w->id, 0, false);
}

WIDGET_API void XPHideWidget(XPWidgetID inWidget)
{
    Widget *w = WidgetOf(inWidget, "XPHideWidget");
    if (w == nullptr || !w->visible)
        return;
    w->visible = false;
    if (w->window != nullptr)
        SetWidgetWindowVisible(w->window, 0);
    DispatchRecursive(w->id, xpMsg_Hidden, w->id, 0, false);
}

WIDGET_API int XPIsWidgetVisible(XPWidgetID inWidget)
{
    for (Widget *w = WidgetOf(inWidget, "XPIsWidgetVisible"); w != nullptr; w = FindWidget(w->parent))
        if (!w->visible)
            return 0;
    return inWidget != nullptr && FindWidget(IdOf(inWidget)) != nullptr;
}

WIDGET_API XPWidgetID XPFindRootWidget(XPWidgetID inWidget)
{
    if (WidgetOf(inWidget, "XPFindRootWidget") == nullptr)
        return nullptr;
    Widget *root = RootOf(IdOf(inWidget));
    return root != nullptr ? AsID(root->id) : nullptr;
}

WIDGET_API void XPBringRootWidgetToFront(XPWidgetID inWidget)
{
    if (WidgetOf(inWidget, "XPBringRootWidgetToFront") == nullptr)
        return;
    if (Widget *root = RootOf(IdOf(inWidget)))
        BringWindowToFront(root->window);
}

WIDGET_API int XPIsWidgetInFront(XPWidgetID inWidget)
{
    if (WidgetOf(inWidget, "XPIsWidgetInFront") == nullptr)
        return 0;
    Widget *root = RootOf(IdOf(inWidget));
    return root != nullptr && WindowIsInFront(root->window);
}

WIDGET_API void XPGetWidgetGeometry(XPWidgetID inWidget, int *outLeft, int *outTop, int *outRight, int *outBottom)
{
    Widget *w = WidgetOf(inWidget, "XPGetWidgetGeometry");
    if (outLeft != nullptr)
        *outLeft = w != nullptr ? w->left : 0;
    if (outTop != nullptr)
        *outTop = w != nullptr ? w->top : 0;
    if (outRight != nullptr)
        *outRight = w != nullptr ? w->right : 0;
    if (outBottom != nullptr)
        *outBottom = w != nullptr ? w->bottom : 0;
}

WIDGET_API void XPSetWidgetGeometry(XPWidgetID inWidget, int inLeft, int inTop, int inRight, int inBottom)
{
    if (WidgetOf(inWidget, "XPSetWidgetGeometry") != nullptr)
        SetGeometry(IdOf(inWidget), inLeft, inTop, inRight, inBottom);
}

WIDGET_API XPWidgetID XPGetWidgetForLocation(XPWidgetID inContainer, int inXOffset, int inYOffset, int inRecursive,
                                             int inVisibleOnly)
{
    if (WidgetOf(inContainer, "XPGetWidgetForLocation") == nullptr)
        return nullptr;
    return AsID(WidgetAt(IdOf(inContainer), inXOffset, inYOffset, inRecursive != 0, inVisibleOnly != 0));
}

WIDGET_API void XPGetWidgetExposedGeometry(XPWidgetID inWidgetID, int *outLeft, int *outTop, int *outRight,
                                           int *outBottom)
{
    Widget *w = WidgetOf(inWidgetID, "XPGetWidgetExposedGeometry");
    int l = 0, t = 0, r = 0, b = 0;
    if (w != nullptr) {
        l = w->left;
        t = w->top;
        r = w->right;
        b = w->bottom;
        for (Widget *p = FindWidget(w->parent); p != nullptr; p = FindWidget(p->parent)) {
            l = std::max(l, p->left);
            t = std::min(t, p->top);
            r = std::min(r, p->right);
            b = std::max(b, p->bottom);
        }
    }
    if (outLeft != nullptr)
        *outLeft = l;
    if (outTop != nullptr)
        *outTop = t;
    if (outRight != nullptr)
        *outRight = r;
    if (outBottom != nullptr)
        *outBottom = b;
}

WIDGET_API void XPSetWidgetDescriptor(XPWidgetID inWidget, const char *inDescriptor)
{
    if (WidgetOf(inWidget, "XPSetWidgetDescriptor") != nullptr)
        SetDescriptor(IdOf(inWidget), inDescriptor != nullptr ? inDescriptor : "");
}

WIDGET_API int XPGetWidgetDescriptor(XPWidgetID inWidget, char *outDescriptor, int inMaxDescLength)
{
    Widget *w = WidgetOf(inWidget, "XPGetWidgetDescriptor");
    if (w == nullptr)
        return 0;
    int length = (int)w->descriptor.size();
    if (outDescriptor != nullptr && inMaxDescLength > 0) {
        int n = std::min(length, inMaxDescLength);
        memcpy(outDescriptor, w->descriptor.data(), (size_t)n);
        if (n < inMaxDescLength)
            outDescriptor[n] = 0;
    }
    return length;
}

WIDGET_API XPLMWindowID XPGetWidgetUnderlyingWindow(XPWidgetID inWidget)
{
    if (WidgetOf(inWidget, "XPGetWidgetUnderlyingWindow") == nullptr)
        return nullptr;
    Widget *root = RootOf(IdOf(inWidget));
    return root != nullptr ? root->window : nullptr;
}

WIDGET_API void XPSetWidgetProperty(XPWidgetID inWidget, XPWidgetPropertyID inProperty, intptr_t inValue)
{
    if (WidgetOf(inWidget, "XPSetWidgetProperty") != nullptr)
        SetProperty(IdOf(inWidget), inProperty, inValue);
}

WIDGET_API intptr_t XPGetWidgetProperty(XPWidgetID inWidget, XPWidgetPropertyID inProperty, int *inExists)
{
    Widget *w = WidgetOf(inWidget, "XPGetWidgetProperty");
    bool exists = w != nullptr && w->properties.count(inProperty) != 0;
    if (inExists != nullptr)
        *inExists = exists ? 1 : 0;
    return exists ? w->properties[inProperty] : 0;
}

WIDGET_API XPWidgetID XPSetKeyboardFocus(XPWidgetID inWidget)
{
    intptr_t previous = gFocus;
    if (inWidget == nullptr) {
        if (previous != 0) {
            gFocus = 0;
            CallCallbacks(previous, xpMsg_KeyLoseFocus, xpMode_Direct, 0, 0);
        }
        TakeWindowFocus(nullptr);
        return nullptr;
    }
    if (WidgetOf(inWidget, "XPSetKeyboardFocus") == nullptr)
        return nullptr;
    // A widget that does not want the keys passes focus to its parent, and so on up.
    for (intptr_t cur = IdOf(inWidget); cur != 0;) {
        Widget *w = FindWidget(cur);
        if (w == nullptr)
            break;
        intptr_t parent = w->parent;
        if (cur == previous)
            return AsID(cur);
        if (CallCallbacks(cur, xpMsg_KeyTakeFocus, xpMode_Direct, 0, 0)) {
            gFocus = cur;
            if (previous != 0 && FindWidget(previous) != nullptr)
                CallCallbacks(previous, xpMsg_KeyLoseFocus, xpMode_Direct, 1, 0);
            if (Widget *root = RootOf(cur))
                TakeWindowFocus(root->window);
            return AsID(cur);
        }
        cur = parent;
    }
    return nullptr;
}

WIDGET_API void XPLoseKeyboardFocus(XPWidgetID inWidget)
{
    if (WidgetOf(inWidget, "XPLoseKeyboardFocus") == nullptr || gFocus == 0)
        return;
    for (Widget *w = FindWidget(gFocus); w != nullptr; w = FindWidget(w->parent)) {
        if (w->id == IdOf(inWidget)) {
            XPSetKeyboardFocus(nullptr);
            return;
        }
    }
}

WIDGET_API XPWidgetID XPGetWidgetWithFocus(void)
{
    return AsID(gFocus);
}

WIDGET_API void XPAddWidgetCallback(XPWidgetID inWidget, XPWidgetFunc_t inNewCallback)
{
    Widget *w = WidgetOf(inWidget, "XPAddWidgetCallback");
    if (w == nullptr || inNewCallback == nullptr)
        return;
    w->callbacks.insert(w->callbacks.begin(), inNewCallback);
    BusyWith busy(IdOf(inWidget), xpMsg_Create);
    inNewCallback(xpMsg_Create, inWidget, 1, 0);
}

WIDGET_API XPWidgetFunc_t XPGetWidgetClassFunc(XPWidgetClass inWidgetClass)
{
    return ClassFunction(inWidgetClass);
}
