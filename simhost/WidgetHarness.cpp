// The harness's view of widgets: finding windows by title, reading their controls, and acting on
// them through the same mouse and keyboard path a user's hand takes.
#include <algorithm>
#include <climits>

#include "WidgetsInternal.h"

namespace simhost {

using namespace detail;

namespace {

void Collect(intptr_t id, int widgetClass, std::vector<intptr_t> &out)
{
    Widget *w = FindWidget(id);
    if (w == nullptr)
        return;
    if (widgetClass < 0 || w->widgetClass == widgetClass)
        out.push_back(id);
    for (intptr_t child : w->children)
        Collect(child, widgetClass, out);
}

std::vector<intptr_t> Descendants(void *window, int widgetClass)
{
    std::vector<intptr_t> ids;
    Widget *root = FindWidget(IdOf(window));
    if (root == nullptr)
        return ids;
    for (intptr_t child : root->children)
        Collect(child, widgetClass, ids);
    return ids;
}

const char *Kind(const Widget *w)
{
    switch (w->widgetClass) {
    case xpWidgetClass_Caption:
        return "caption:";
    case xpWidgetClass_TextField:
        return "field:";
    case xpWidgetClass_Button:
        switch (Property(w, xpProperty_ButtonBehavior)) {
        case xpButtonBehaviorCheckBox:
            return "check:";
        case xpButtonBehaviorRadioButton:
            return "radio:";
        default:
            return "button:";
        }
    default:
        return nullptr;
    }
}

/// Shown on screen: the widget and every one of its parents visible.
bool Shown(const Widget *w)
{
    for (; w != nullptr; w = FindWidget(w->parent))
        if (!w->visible)
            return false;
    return true;
}

bool IsPushButton(const Widget *w)
{
    return w->widgetClass == xpWidgetClass_Button &&
           Property(w, xpProperty_ButtonBehavior) == xpButtonBehaviorPushButton;
}

bool IsCheckBox(const Widget *w)
{
    return w->widgetClass == xpWidgetClass_Button && Property(w, xpProperty_ButtonBehavior) == xpButtonBehaviorCheckBox;
}

/// The shown widgets of a window for which keep is true, in creation order.
template <typename Keep> std::vector<const Widget *> ShownOf(void *window, Keep keep)
{
    std::vector<const Widget *> out;
    for (intptr_t id : Descendants(window, -1)) {
        const Widget *w = FindWidget(id);
        if (Shown(w) && keep(w))
            out.push_back(w);
    }
    return out;
}

bool SameRow(const Widget *a, const Widget *b)
{
    return a->bottom < b->top && b->bottom < a->top;
}

const Widget *CaptionOf(void *window, const std::string &text)
{
    std::vector<const Widget *> captions =
        ShownOf(window, [](const Widget *w) { return w->widgetClass == xpWidgetClass_Caption; });
    for (const Widget *c : captions)
        if (c->descriptor == text)
            return c;
    for (const Widget *c : captions)
        if (!text.empty() && c->descriptor.compare(0, text.size(), text) == 0)
            return c;
    return nullptr;
}

} // namespace

std::vector<void *> VisibleWidgetWindows()
{
    std::vector<void *> windows;
    for (intptr_t id : AllWidgets()) {
        const Widget *w = FindWidget(id);
        if (w->isRoot && w->parent == 0 && w->visible)
            windows.push_back(AsID(id));
    }
    return windows;
}

std::vector<std::string> ButtonLabels(void *window)
{
    std::vector<const Widget *> buttons = ShownOf(window, IsPushButton);
    auto middle = [](const Widget *w) { return (w->top + w->bottom) / 2; };
    std::stable_sort(buttons.begin(), buttons.end(),
                     [&](const Widget *a, const Widget *b) { return middle(a) > middle(b); });
    // Buttons whose middles lie within a few pixels form a row, read left to right.
    for (size_t start = 0; start < buttons.size();) {
        size_t end = start + 1;
        while (end < buttons.size() && middle(buttons[start]) - middle(buttons[end]) <= 4)
            end++;
        std::stable_sort(buttons.begin() + (long)start, buttons.begin() + (long)end,
                         [](const Widget *a, const Widget *b) { return a->left < b->left; });
        start = end;
    }
    std::vector<std::string> labels;
    for (const Widget *b : buttons)
        labels.push_back(b->descriptor);
    return labels;
}

void *FieldOfCaption(void *window, const std::string &caption, int n)
{
    const Widget *label = CaptionOf(window, caption);
    if (label == nullptr || n < 1)
        return nullptr;
    // The row's next caption to the right ends the fields the label owns.
    int rowEnd = INT_MAX;
    for (const Widget *c :
         ShownOf(window, [](const Widget *w) { return w->widgetClass == xpWidgetClass_Caption; }))
        if (c != label && SameRow(c, label) && c->left > label->left)
            rowEnd = std::min(rowEnd, c->left);
    std::vector<const Widget *> fields =
        ShownOf(window, [](const Widget *w) { return w->widgetClass == xpWidgetClass_TextField; });
    std::vector<const Widget *> onRow;
    for (const Widget *f : fields)
        if (SameRow(f, label) && f->left >= label->left && f->left < rowEnd)
            onRow.push_back(f);
    std::stable_sort(onRow.begin(), onRow.end(), [](const Widget *a, const Widget *b) { return a->left < b->left; });
    if (!onRow.empty())
        return (size_t)n <= onRow.size() ? AsID(onRow[(size_t)n - 1]->id) : nullptr;
    // No field beside it: the field of the next row under it, unless a caption of that row labels it.
    const Widget *below = nullptr;
    for (const Widget *f : fields)
        if (f->top <= label->bottom + 2 && f->left < label->right && label->left < f->right &&
            (below == nullptr || f->top > below->top))
            below = f;
    if (below == nullptr || n != 1)
        return nullptr;
    for (const Widget *c :
         ShownOf(window, [](const Widget *w) { return w->widgetClass == xpWidgetClass_Caption; }))
        if (c != label && SameRow(c, below) && c->left <= below->left)
            return nullptr;
    return AsID(below->id);
}

void *CheckBoxOfCaption(void *window, const std::string &label)
{
    std::vector<const Widget *> boxes = ShownOf(window, IsCheckBox);
    for (const Widget *b : boxes)
        if (!b->descriptor.empty() && b->descriptor == label)
            return AsID(b->id);
    const Widget *caption = CaptionOf(window, label);
    const Widget *nearest = nullptr;
    for (const Widget *b : boxes)
        if (caption != nullptr && SameRow(b, caption) && b->left < caption->left &&
            (nearest == nullptr || b->left > nearest->left))
            nearest = b;
    return nearest != nullptr ? AsID(nearest->id) : nullptr;
}

void *FindWindowByTitle(const std::string &title)
{
    for (intptr_t id : AllWidgets()) {
        Widget *w = FindWidget(id);
        if (w->isRoot && w->parent == 0 && w->visible && w->descriptor == title)
            return AsID(id);
    }
    return nullptr;
}

std::vector<std::string> WidgetWindowTitles()
{
    std::vector<std::string> titles;
    for (intptr_t id : AllWidgets()) {
        Widget *w = FindWidget(id);
        if (w->isRoot && w->parent == 0)
            titles.push_back(w->descriptor);
    }
    return titles;
}

std::vector<std::string> WidgetTexts(void *window, int widgetClass)
{
    std::vector<std::string> texts;
    for (intptr_t id : Descendants(window, widgetClass))
        texts.push_back(FindWidget(id)->descriptor);
    return texts;
}

std::vector<std::string> WidgetOutline(void *window)
{
    std::vector<std::string> outline;
    for (intptr_t id : Descendants(window, -1)) {
        const Widget *w = FindWidget(id);
        if (const char *kind = Kind(w))
            outline.push_back(std::string(kind) + w->descriptor);
    }
    return outline;
}

void *FindWidget(void *window, const std::string &text, int widgetClass)
{
    for (intptr_t id : Descendants(window, widgetClass))
        if (detail::FindWidget(id)->descriptor == text)
            return AsID(id);
    return nullptr;
}

void *NthWidgetOfClass(void *window, int widgetClass, int n)
{
    std::vector<intptr_t> ids = Descendants(window, widgetClass);
    return n >= 0 && n < (int)ids.size() ? AsID(ids[(size_t)n]) : nullptr;
}

bool ClickWidget(void *widget)
{
    Widget *w = detail::FindWidget(IdOf(widget));
    if (w == nullptr)
        return false;
    int x = (w->left + w->right) / 2, y = (w->top + w->bottom) / 2;
    return Click(x, y);
}

bool PressCloseBox(void *window)
{
    Widget *w = detail::FindWidget(IdOf(window));
    if (w == nullptr || w->widgetClass != xpWidgetClass_MainWindow ||
        Property(w, xpProperty_MainWindowHasCloseBoxes) == 0)
        return false;
    return Click(w->right - kCloseBoxSize / 2 - 2, w->top - kTitleBarHeight / 2);
}

void TypeInto(void *textField, const std::string &text)
{
    if (XPGetWidgetWithFocus() != textField)
        ClickWidget(textField);
    for (char c : text)
        KeyPress(c, xplm_DownFlag, 0);
}

void SelectText(void *textField, int start, int end)
{
    Widget *w = detail::FindWidget(IdOf(textField));
    if (w == nullptr || w->widgetClass != xpWidgetClass_TextField)
        return;
    if (XPGetWidgetWithFocus() != textField)
        ClickWidget(textField);
    w = detail::FindWidget(IdOf(textField));
    if (w == nullptr)
        return;
    int length = (int)w->descriptor.size();
    SetProperty(w->id, xpProperty_EditFieldSelStart, std::clamp(start, 0, length));
    SetProperty(w->id, xpProperty_EditFieldSelEnd, std::clamp(end, 0, length));
}

std::string WidgetText(void *widget)
{
    Widget *w = detail::FindWidget(IdOf(widget));
    return w != nullptr ? w->descriptor : std::string();
}

intptr_t WidgetProperty(void *widget, int property)
{
    Widget *w = detail::FindWidget(IdOf(widget));
    return w != nullptr ? Property(w, property) : 0;
}

bool WidgetExists(void *widget)
{
    return detail::FindWidget(IdOf(widget)) != nullptr;
}

int WidgetCount()
{
    return (int)AllWidgets().size();
}

int WidgetsCreated()
{
    return detail::WidgetsCreated();
}

} // namespace simhost
