// Behaviour of the standard widget classes (main window, sub-window, button, text field, caption,
// scroll bar, general graphics, progress) and the XPWidgetUtils helpers.
#include <algorithm>

#include "WidgetsInternal.h"
#include "XPWidgetUtils.h"

namespace simhost {
namespace detail {

namespace {

const XPMouseState_t *Mouse(intptr_t param)
{
    return reinterpret_cast<const XPMouseState_t *>(param);
}

// Main windows are dragged by their title bar (children follow) and report their close box.
int MainWindowFunc(XPWidgetMessage message, XPWidgetID id, intptr_t param1, intptr_t param2)
{
    Widget *w = FindWidget(IdOf(id));
    if (w == nullptr)
        return 0;
    switch (message) {
    case xpMsg_MouseDown: {
        const XPMouseState_t *m = Mouse(param1);
        w->closing = CloseBoxHit(w, m->x, m->y);
        w->dragging = !w->closing && m->y >= w->top - kTitleBarHeight;
        w->dragX = m->x;
        w->dragY = m->y;
        return 1;
    }
    case xpMsg_MouseDrag: {
        const XPMouseState_t *m = Mouse(param1);
        if (w->dragging) {
            XPWidgetID self = id;
            int dx = m->x - w->dragX, dy = m->y - w->dragY;
            w->dragX = m->x;
            w->dragY = m->y;
            XPSetWidgetGeometry(self, w->left + dx, w->top + dy, w->right + dx, w->bottom + dy);
        }
        return 1;
    }
    case xpMsg_MouseUp: {
        const XPMouseState_t *m = Mouse(param1);
        bool close = w->closing && CloseBoxHit(w, m->x, m->y);
        w->closing = w->dragging = false;
        if (close)
            Dispatch(w->id, xpMessage_CloseButtonPushed, xpMode_UpChain, w->id, 0);
        return 1;
    }
    case xpMsg_Reshape:
        // Without a fixed-layout callback of the plug-in's, the window carries its children along.
        if (param1 == w->id && param2 != 0) {
            const XPWidgetGeometryChange_t *change = reinterpret_cast<const XPWidgetGeometryChange_t *>(param2);
            std::vector<intptr_t> children = w->children;
            for (intptr_t child : children)
                MoveTree(child, change->dx, change->dy);
            return 1;
        }
        return 0;
    default:
        return 0;
    }
}

int PassiveFunc(XPWidgetMessage, XPWidgetID, intptr_t, intptr_t)
{
    return 0;
}

int ButtonFunc(XPWidgetMessage message, XPWidgetID id, intptr_t param1, intptr_t)
{
    Widget *w = FindWidget(IdOf(id));
    if (w == nullptr)
        return 0;
    switch (message) {
    case xpMsg_MouseDown:
        if (!Enabled(w))
            return 0;
        SetProperty(w->id, xpProperty_Hilited, 1);
        return 1;
    case xpMsg_MouseDrag:
        SetProperty(w->id, xpProperty_Hilited, Inside(w, Mouse(param1)->x, Mouse(param1)->y) ? 1 : 0);
        return 1;
    case xpMsg_MouseUp: {
        SetProperty(w->id, xpProperty_Hilited, 0);
        w = FindWidget(IdOf(id));
        if (w == nullptr || !Enabled(w) || !Inside(w, Mouse(param1)->x, Mouse(param1)->y))
            return 1;
        intptr_t behaviour = Property(w, xpProperty_ButtonBehavior, xpButtonBehaviorPushButton);
        if (behaviour == xpButtonBehaviorCheckBox) {
            intptr_t state = Property(w, xpProperty_ButtonState) ? 0 : 1;
            SetProperty(w->id, xpProperty_ButtonState, state);
            Dispatch(IdOf(id), xpMsg_ButtonStateChanged, xpMode_UpChain, IdOf(id), state);
        } else if (behaviour == xpButtonBehaviorRadioButton) {
            if (Property(w, xpProperty_ButtonState) == 0) {
                SetProperty(w->id, xpProperty_ButtonState, 1);
                Dispatch(IdOf(id), xpMsg_ButtonStateChanged, xpMode_UpChain, IdOf(id), 1);
            }
        } else {
            Dispatch(IdOf(id), xpMsg_PushButtonPressed, xpMode_UpChain, IdOf(id), 0);
        }
        return 1;
    }
    default:
        return 0;
    }
}

void TextChanged(Widget *w, const std::string &text, int caret)
{
    intptr_t id = w->id;
    SetProperty(id, xpProperty_EditFieldSelStart, caret);
    SetProperty(id, xpProperty_EditFieldSelEnd, caret);
    SetDescriptor(id, text);
    if (FindWidget(id) != nullptr)
        Dispatch(id, xpMsg_TextFieldChanged, xpMode_UpChain, id, 0);
}

// An editable text field: typing replaces the selection, backspace and delete remove text,
// the arrows and home/end move the caret. Keys with Control or Alt are left to other callbacks.
int TextFieldKey(Widget *w, const XPKeyState_t *key)
{
    if (key->flags & xplm_UpFlag)
        return 1;
    if (key->flags & (xplm_ControlFlag | xplm_OptionAltFlag))
        return 0;
    std::string text = w->descriptor;
    int length = (int)text.size();
    int a = (int)std::clamp<intptr_t>(Property(w, xpProperty_EditFieldSelStart), 0, length);
    int b = (int)std::clamp<intptr_t>(Property(w, xpProperty_EditFieldSelEnd), 0, length);
    int from = std::min(a, b), to = std::max(a, b);
    unsigned char vkey = (unsigned char)key->vkey;
    unsigned char ch = (unsigned char)key->key;
    if (vkey == XPLM_VK_BACK || ch == XPLM_KEY_DELETE) {
        if (from == to && from > 0)
            from--;
        text.erase((size_t)from, (size_t)(to - from));
        TextChanged(w, text, from);
        return 1;
    }
    if (vkey == XPLM_VK_DELETE) {
        if (from == to && to < length)
            to++;
        text.erase((size_t)from, (size_t)(to - from));
        TextChanged(w, text, from);
        return 1;
    }
    int caret = -1;
    if (vkey == XPLM_VK_LEFT)
        caret = from == to ? std::max(0, from - 1) : from;
    else if (vkey == XPLM_VK_RIGHT)
        caret = from == to ? std::min(length, to + 1) : to;
    else if (vkey == XPLM_VK_HOME || vkey == XPLM_VK_UP)
        caret = 0;
    else if (vkey == XPLM_VK_END || vkey == XPLM_VK_DOWN)
        caret = length;
    if (caret >= 0) {
        SetProperty(w->id, xpProperty_EditFieldSelStart, caret);
        SetProperty(w->id, xpProperty_EditFieldSelEnd, caret);
        return 1;
    }
    if (ch < 32 || ch == 127) // return, tab, escape ... go to the window
        return 0;
    intptr_t maxChars = Property(w, xpProperty_MaxCharacters);
    if (maxChars > 0 && length - (to - from) >= maxChars)
        return 1;
    text.replace((size_t)from, (size_t)(to - from), 1, (char)ch);
    TextChanged(w, text, from + 1);
    return 1;
}

int TextFieldFunc(XPWidgetMessage message, XPWidgetID id, intptr_t param1, intptr_t)
{
    Widget *w = FindWidget(IdOf(id));
    if (w == nullptr)
        return 0;
    switch (message) {
    case xpMsg_MouseDown:
        if (!Enabled(w))
            return 0;
        if (XPGetWidgetWithFocus() != id) {
            XPSetKeyboardFocus(id);
            w = FindWidget(IdOf(id));
            if (w == nullptr)
                return 1;
            SetProperty(w->id, xpProperty_EditFieldSelStart, (intptr_t)w->descriptor.size());
            SetProperty(w->id, xpProperty_EditFieldSelEnd, (intptr_t)w->descriptor.size());
        }
        return 1;
    case xpMsg_MouseDrag:
    case xpMsg_MouseUp:
        return 1;
    case xpMsg_KeyTakeFocus:
        return Enabled(w) ? 1 : 0;
    case xpMsg_KeyLoseFocus:
        return 1;
    case xpMsg_KeyPress:
        return TextFieldKey(w, reinterpret_cast<const XPKeyState_t *>(param1));
    default:
        return 0;
    }
}

} // namespace

XPWidgetFunc_t ClassFunction(int widgetClass)
{
    switch (widgetClass) {
    case xpWidgetClass_MainWindow:
        return MainWindowFunc;
    case xpWidgetClass_Button:
        return ButtonFunc;
    case xpWidgetClass_TextField:
        return TextFieldFunc;
    case xpWidgetClass_None:
    case xpWidgetClass_SubWindow:
    case xpWidgetClass_ScrollBar:
    case xpWidgetClass_Caption:
    case xpWidgetClass_GeneralGraphics:
    case xpWidgetClass_Progress:
        return PassiveFunc;
    default:
        return nullptr;
    }
}

} // namespace detail
} // namespace simhost

using namespace simhost::detail;

WIDGET_API void XPUCreateWidgets(const XPWidgetCreate_t *inWidgetDefs, int inCount, XPWidgetID inParamParent,
                                 XPWidgetID *ioWidgets)
{
    for (int i = 0; i < inCount; i++) {
        const XPWidgetCreate_t &d = inWidgetDefs[i];
        XPWidgetID container = nullptr;
        if (d.containerIndex == PARAM_PARENT)
            container = inParamParent;
        else if (d.containerIndex >= 0 && d.containerIndex < i)
            container = ioWidgets[d.containerIndex];
        ioWidgets[i] =
            XPCreateWidget(d.left, d.top, d.right, d.bottom, d.visible, d.descriptor, d.isRoot, container, d.widgetClass);
    }
}

WIDGET_API void XPUMoveWidgetBy(XPWidgetID inWidget, int inDeltaX, int inDeltaY)
{
    int l, t, r, b;
    XPGetWidgetGeometry(inWidget, &l, &t, &r, &b);
    XPSetWidgetGeometry(inWidget, l + inDeltaX, t + inDeltaY, r + inDeltaX, b + inDeltaY);
}

WIDGET_API int XPUFixedLayout(XPWidgetMessage inMessage, XPWidgetID inWidget, intptr_t inParam1, intptr_t inParam2)
{
    if (inMessage != xpMsg_Reshape || inParam1 != IdOf(inWidget) || inParam2 == 0)
        return 0;
    const XPWidgetGeometryChange_t *change = reinterpret_cast<const XPWidgetGeometryChange_t *>(inParam2);
    int count = XPCountChildWidgets(inWidget);
    for (int i = 0; i < count; i++)
        XPUMoveWidgetBy(XPGetNthChildWidget(inWidget, i), change->dx, change->dy);
    return 1;
}

WIDGET_API int XPUSelectIfNeeded(XPWidgetMessage inMessage, XPWidgetID inWidget, intptr_t, intptr_t, int inEatClick)
{
    if (inMessage != xpMsg_MouseDown || XPIsWidgetInFront(inWidget))
        return 0;
    XPBringRootWidgetToFront(inWidget);
    return inEatClick;
}

WIDGET_API int XPUDefocusKeyboard(XPWidgetMessage inMessage, XPWidgetID, intptr_t, intptr_t, int inEatClick)
{
    if (inMessage != xpMsg_MouseDown || XPGetWidgetWithFocus() == nullptr)
        return 0;
    XPSetKeyboardFocus(nullptr);
    return inEatClick;
}

WIDGET_API int XPUDragWidget(XPWidgetMessage inMessage, XPWidgetID inWidget, intptr_t inParam1, intptr_t,
                             int inLeft, int inTop, int inRight, int inBottom)
{
    const XPMouseState_t *m = reinterpret_cast<const XPMouseState_t *>(inParam1);
    switch (inMessage) {
    case xpMsg_MouseDown:
        if (!IN_RECT(m->x, m->y, inLeft, inTop, inRight, inBottom))
            return 0;
        XPSetWidgetProperty(inWidget, xpProperty_Dragging, 1);
        XPSetWidgetProperty(inWidget, xpProperty_DragXOff, m->x - inLeft);
        XPSetWidgetProperty(inWidget, xpProperty_DragYOff, m->y - inTop);
        return 1;
    case xpMsg_MouseDrag:
        if (XPGetWidgetProperty(inWidget, xpProperty_Dragging, nullptr) != 0) {
            int l, t, r, b;
            XPGetWidgetGeometry(inWidget, &l, &t, &r, &b);
            int newLeft = m->x - (int)XPGetWidgetProperty(inWidget, xpProperty_DragXOff, nullptr);
            int newTop = m->y - (int)XPGetWidgetProperty(inWidget, xpProperty_DragYOff, nullptr);
            XPSetWidgetGeometry(inWidget, newLeft, newTop, newLeft + (r - l), newTop - (t - b));
            return 1;
        }
        return 0;
    case xpMsg_MouseUp:
        if (XPGetWidgetProperty(inWidget, xpProperty_Dragging, nullptr) != 0) {
            XPSetWidgetProperty(inWidget, xpProperty_Dragging, 0);
            return 1;
        }
        return 0;
    default:
        return 0;
    }
}
