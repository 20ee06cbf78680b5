// The standard widgets as X-Plane draws them: main windows with a title bar and a close box, sunken
// sub-windows, push buttons, check boxes and radio buttons, text fields with their text, selection
// and caret, captions, scroll bars and progress bars.
#include <algorithm>

#include "Render.h"
#include "WidgetsInternal.h"

namespace simhost {
namespace detail {

namespace {

const Rgb kWindowBody{104, 113, 122}, kWindowEdgeLight{150, 158, 166}, kWindowEdgeDark{34, 38, 44};
const Rgb kTitleTop{70, 80, 92}, kTitleBottom{48, 56, 66}, kTitleText{240, 240, 236};
const Rgb kCloseBox{150, 62, 56}, kCloseMark{245, 240, 236};
const Rgb kPanel{170, 176, 182}, kPanelDark{70, 76, 84}, kPanelLight{214, 218, 222};
const Rgb kScreen{22, 30, 38}, kListView{236, 236, 230};
const Rgb kButtonTop{232, 232, 228}, kButtonBottom{188, 190, 192}, kButtonEdge{44, 48, 54};
const Rgb kButtonPressedTop{150, 164, 182}, kButtonPressedBottom{118, 132, 150};
const Rgb kText{16, 18, 20}, kLitText{236, 232, 196}, kDisabledText{118, 122, 126};
const Rgb kField{244, 244, 236}, kSelection{150, 184, 230}, kCaret{0, 0, 0};
const Rgb kProgress{92, 150, 96};

/// The baseline that centres a line of text in a box of this height.
int Baseline(int top, int bottom)
{
    return (top + bottom) / 2 - 4;
}

bool Dark(const Widget *w)
{
    for (; w != nullptr; w = FindWidget(w->parent)) {
        if (w->widgetClass == xpWidgetClass_SubWindow)
            return Property(w, xpProperty_SubWindowType) == xpSubWindowStyle_Screen;
        if (w->widgetClass == xpWidgetClass_MainWindow)
            return Property(w, xpProperty_MainWindowType) == xpMainWindowStyle_Translucent;
        if (w->parent == 0)
            break;
    }
    return false;
}

void CentredText(Canvas &canvas, const Widget *w, Rgb colour)
{
    int cells = std::min(TextCells(w->descriptor), std::max(0, (w->right - w->left) / kCharWidth));
    int x = (w->left + w->right - cells * kCharWidth) / 2;
    DrawText(canvas, x, Baseline(w->top, w->bottom), w->descriptor, colour, kTextFont, cells);
}

/// The title centred in the bar, or from its left end when it is too long, never over the close box.
void Title(Canvas &canvas, const Widget *w, int right)
{
    int left = w->left + 6, width = TitleWidth(w->descriptor);
    int x = std::max(left, (w->left + w->right - width) / 2);
    if (x + width > right)
        x = left;
    int baseline = w->top - kTitleBarHeight / 2 - 4;
    // Whole characters only, as many as fit before the close box.
    std::string shown = w->descriptor;
    while (!shown.empty() && x + TitleWidth(shown) > right) {
        while (shown.size() > 1 && ((unsigned char)shown.back() & 0xC0) == 0x80)
            shown.pop_back();
        shown.pop_back();
    }
    DrawText(canvas, x, baseline, shown, kTitleText, kTitleFont);
}

void MainWindow(Canvas &canvas, const Widget *w)
{
    if (Property(w, xpProperty_MainWindowType) == xpMainWindowStyle_Translucent) {
        canvas.Fill(w->left, w->top, w->right, w->bottom, Rgb{0, 0, 0}, 0.6f);
        DrawText(canvas, w->left + 6, w->top - 14, w->descriptor, kTitleText, kTitleFont);
        return;
    }
    canvas.Fill(w->left, w->top, w->right, w->bottom, kWindowBody);
    int barBottom = w->top - kTitleBarHeight;
    canvas.Gradient(w->left, w->top, w->right, barBottom, kTitleTop, kTitleBottom);
    canvas.Fill(w->left, barBottom + 1, w->right, barBottom, kWindowEdgeDark);
    canvas.Bevel(w->left + 1, w->top - 1, w->right - 1, w->bottom + 1, kWindowEdgeLight, kWindowEdgeDark);
    canvas.Outline(w->left, w->top, w->right, w->bottom, kWindowEdgeDark);
    bool closeBox = Property(w, xpProperty_MainWindowHasCloseBoxes) != 0;
    Title(canvas, w, w->right - (closeBox ? kCloseBoxSize + 8 : 6));
    if (!closeBox)
        return;
    // The close box sits where the mouse finds it (CloseBoxHit): the title bar's right end.
    int right = w->right - 4, left = right - kCloseBoxSize + 2;
    int top = w->top - (kTitleBarHeight - kCloseBoxSize + 2) / 2 - 1, bottom = top - kCloseBoxSize + 2;
    canvas.Fill(left, top, right, bottom, kCloseBox);
    canvas.Outline(left, top, right, bottom, kWindowEdgeDark);
    for (int d = 0; d < 2; d++) {
        canvas.Line(left + 3 + d, top - 4, right - 4 + d, bottom + 3, kCloseMark);
        canvas.Line(left + 3 + d, bottom + 3, right - 4 + d, top - 4, kCloseMark);
    }
}

void SubWindow(Canvas &canvas, const Widget *w)
{
    intptr_t style = Property(w, xpProperty_SubWindowType, xpSubWindowStyle_SubWindow);
    Rgb fill = style == xpSubWindowStyle_Screen ? kScreen : style == xpSubWindowStyle_ListView ? kListView : kPanel;
    canvas.Fill(w->left, w->top, w->right, w->bottom, fill);
    canvas.Bevel(w->left, w->top, w->right, w->bottom, kPanelDark, kPanelLight);
}

void Mark(Canvas &canvas, const Widget *w, bool round)
{
    const int size = 12;
    int left = w->left + 1, top = Baseline(w->top, w->bottom) + 10, right = left + size, bottom = top - size;
    canvas.Fill(left, top, right, bottom, kField);
    canvas.Bevel(left, top, right, bottom, kButtonEdge, kPanelLight);
    if (round) {
        for (int corner = 0; corner < 4; corner++) // knock the corners off
            canvas.Blend(corner % 2 ? right - 1 : left, corner / 2 ? bottom : top - 1, kWindowBody, 0.7f);
    }
    if (Property(w, xpProperty_ButtonState) != 0) {
        if (round) {
            canvas.Fill(left + 3, top - 3, right - 3, bottom + 3, kText);
        } else {
            for (int d = 0; d < 2; d++) {
                canvas.Line(left + 2, bottom + 6 + d, left + 5, bottom + 3 + d, kText);
                canvas.Line(left + 5, bottom + 3 + d, right - 3, top - 3 + d, kText);
            }
        }
    }
    if (!w->descriptor.empty())
        DrawText(canvas, right + 5, Baseline(w->top, w->bottom), w->descriptor,
                 Enabled(w) ? (Dark(w) ? kLitText : kText) : kDisabledText);
}

void Button(Canvas &canvas, const Widget *w)
{
    intptr_t type = Property(w, xpProperty_ButtonType, xpPushButton);
    intptr_t behaviour = Property(w, xpProperty_ButtonBehavior, xpButtonBehaviorPushButton);
    if (type == xpRadioButton || behaviour != xpButtonBehaviorPushButton) {
        Mark(canvas, w, behaviour == xpButtonBehaviorRadioButton);
        return;
    }
    bool pressed = Property(w, xpProperty_Hilited) != 0;
    canvas.Gradient(w->left, w->top, w->right, w->bottom, pressed ? kButtonPressedTop : kButtonTop,
                    pressed ? kButtonPressedBottom : kButtonBottom);
    canvas.Outline(w->left, w->top, w->right, w->bottom, kButtonEdge);
    for (int corner = 0; corner < 4; corner++) // rounded corners
        canvas.Blend(corner % 2 ? w->right - 1 : w->left, corner / 2 ? w->bottom : w->top - 1, kWindowBody, 1.0f);
    CentredText(canvas, w, Enabled(w) ? kText : kDisabledText);
}

void TextField(Canvas &canvas, const Widget *w)
{
    intptr_t type = Property(w, xpProperty_TextFieldType, xpTextEntryField);
    bool entry = type == xpTextEntryField;
    if (entry) {
        canvas.Fill(w->left, w->top, w->right, w->bottom, kField);
        canvas.Bevel(w->left, w->top, w->right, w->bottom, kPanelDark, kPanelLight);
    } else if (type == xpTextTranslucent) {
        canvas.Fill(w->left, w->top, w->right, w->bottom, Rgb{0, 0, 0}, 0.5f);
    }
    std::string text = w->descriptor;
    if (Property(w, xpProperty_PasswordMode) != 0)
        text.assign((size_t)TextCells(text), '*');
    int x = w->left + 4, baseline = Baseline(w->top, w->bottom);
    int fits = std::max(0, (w->right - w->left - 6) / kCharWidth);
    int length = (int)text.size();
    bool focused = FocusedWidget() == w->id;
    if (focused) {
        int a = (int)std::clamp<intptr_t>(Property(w, xpProperty_EditFieldSelStart), 0, length);
        int b = (int)std::clamp<intptr_t>(Property(w, xpProperty_EditFieldSelEnd), 0, length);
        int from = std::min(std::min(a, b), fits), to = std::min(std::max(a, b), fits);
        if (from != to)
            canvas.Fill(x + from * kCharWidth, baseline + 10, x + to * kCharWidth, baseline - 3, kSelection);
    }
    Rgb colour = !Enabled(w) ? kDisabledText : entry ? kText : kLitText;
    DrawText(canvas, x, baseline, text, colour, kTextFont, fits);
    if (focused) {
        int caret = (int)std::clamp<intptr_t>(Property(w, xpProperty_EditFieldSelEnd), 0, length);
        int caretX = x + std::min(caret, fits) * kCharWidth;
        canvas.Fill(caretX, baseline + 10, caretX + 1, baseline - 3, entry ? kCaret : kLitText);
    }
}

void Caption(Canvas &canvas, const Widget *w)
{
    bool lit = Property(w, xpProperty_CaptionLit) != 0 || Dark(w);
    int fits = std::max(1, (w->right - w->left) / kCharWidth);
    DrawText(canvas, w->left, Baseline(w->top, w->bottom), w->descriptor,
             !Enabled(w) ? kDisabledText : lit ? kLitText : kText, kTextFont, fits);
}

void Bar(Canvas &canvas, const Widget *w, intptr_t position, intptr_t minimum, intptr_t maximum, bool thumb)
{
    canvas.Fill(w->left, w->top, w->right, w->bottom, kPanel);
    canvas.Bevel(w->left, w->top, w->right, w->bottom, kPanelDark, kPanelLight);
    if (maximum <= minimum)
        return;
    double t = (double)(std::clamp(position, minimum, maximum) - minimum) / (double)(maximum - minimum);
    bool vertical = w->top - w->bottom > w->right - w->left;
    if (!thumb) {
        int end = w->left + 1 + (int)(t * (w->right - w->left - 2));
        canvas.Fill(w->left + 1, w->top - 1, end, w->bottom + 1, kProgress);
        return;
    }
    if (vertical) {
        int centre = w->bottom + 6 + (int)(t * (w->top - w->bottom - 12));
        canvas.Gradient(w->left + 1, centre + 6, w->right - 1, centre - 6, kButtonTop, kButtonBottom);
    } else {
        int centre = w->left + 6 + (int)(t * (w->right - w->left - 12));
        canvas.Gradient(centre - 6, w->top - 1, centre + 6, w->bottom + 1, kButtonTop, kButtonBottom);
    }
}

void DrawOne(Canvas &canvas, const Widget *w)
{
    switch (w->widgetClass) {
    case xpWidgetClass_MainWindow:
        MainWindow(canvas, w);
        break;
    case xpWidgetClass_SubWindow:
        SubWindow(canvas, w);
        break;
    case xpWidgetClass_Button:
        Button(canvas, w);
        break;
    case xpWidgetClass_TextField:
        TextField(canvas, w);
        break;
    case xpWidgetClass_Caption:
        Caption(canvas, w);
        break;
    case xpWidgetClass_ScrollBar:
        Bar(canvas, w, Property(w, xpProperty_ScrollBarSliderPosition), Property(w, xpProperty_ScrollBarMin),
            Property(w, xpProperty_ScrollBarMax), true);
        break;
    case xpWidgetClass_Progress:
        Bar(canvas, w, Property(w, xpProperty_ProgressPosition), Property(w, xpProperty_ProgressMin),
            Property(w, xpProperty_ProgressMax), false);
        break;
    default: // general graphics and custom widgets draw nothing of the library's
        break;
    }
}

} // namespace

void DrawWidgetTree(Canvas &canvas, intptr_t rootWidget)
{
    const Widget *w = FindWidget(rootWidget);
    if (w == nullptr || !w->visible)
        return;
    DrawOne(canvas, w);
    std::vector<intptr_t> children = w->children;
    for (intptr_t child : children)
        DrawWidgetTree(canvas, child);
}

} // namespace detail
} // namespace simhost
