#ifndef XPWidgetUtils_h
#define XPWidgetUtils_h
/* Helpers of the widget toolkit: bulk creation and the usual message behaviours. */
#include "XPWidgetDefs.h"

#ifdef __cplusplus
extern "C" {
#endif

#define NO_PARENT -1
#define PARAM_PARENT -2

typedef struct {
    int left;
    int top;
    int right;
    int bottom;
    int visible;
    const char *descriptor;
    int isRoot;
    int containerIndex;
    XPWidgetClass widgetClass;
} XPWidgetCreate_t;

#define WIDGET_COUNT(x) ((sizeof(x) / sizeof(XPWidgetCreate_t)))

WIDGET_API void XPUCreateWidgets(const XPWidgetCreate_t *inWidgetDefs, int inCount, XPWidgetID inParamParent,
                                 XPWidgetID *ioWidgets);
WIDGET_API void XPUMoveWidgetBy(XPWidgetID inWidget, int inDeltaX, int inDeltaY);
WIDGET_API int XPUFixedLayout(XPWidgetMessage inMessage, XPWidgetID inWidget, intptr_t inParam1, intptr_t inParam2);
WIDGET_API int XPUSelectIfNeeded(XPWidgetMessage inMessage, XPWidgetID inWidget, intptr_t inParam1, intptr_t inParam2,
                                 int inEatClick);
WIDGET_API int XPUDefocusKeyboard(XPWidgetMessage inMessage, XPWidgetID inWidget, intptr_t inParam1,
                                  intptr_t inParam2, int inEatClick);
WIDGET_API int XPUDragWidget(XPWidgetMessage inMessage, XPWidgetID inWidget, intptr_t inParam1, intptr_t inParam2,
                             int inLeft, int inTop, int inRight, int inBottom);

#define MOUSE_X(p) (((XPMouseState_t *)(p))->x)
#define MOUSE_Y(p) (((XPMouseState_t *)(p))->y)
#define DELTA_X(p) (((XPWidgetGeometryChange_t *)(p))->dx)
#define DELTA_Y(p) (((XPWidgetGeometryChange_t *)(p))->dy)
#define DELTA_W(p) (((XPWidgetGeometryChange_t *)(p))->dwidth)
#define DELTA_H(p) (((XPWidgetGeometryChange_t *)(p))->dheight)
#define KEY_CHAR(p) (((XPKeyState_t *)(p))->key)
#define KEY_FLAGS(p) (((XPKeyState_t *)(p))->flags)
#define KEY_VKEY(p) (((XPKeyState_t *)(p))->vkey)
#define IN_RECT(x, y, l, t, r, b) (((x) >= (l)) && ((x) <= (r)) && ((y) >= (b)) && ((y) <= (t)))

#ifdef __cplusplus
}
#endif

#endif
