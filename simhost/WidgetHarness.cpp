// The harness's view of widgets: finding windows by title, reading their controls, and acting on
// them through the same mouse and keyboard path a user's hand takes.
#include <algorithm>

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

} // namespace

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
