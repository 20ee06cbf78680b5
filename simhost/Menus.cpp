// Menus: the host's plug-ins menu, plug-in sub-menus and their items.
#include <memory>
#include <string>
#include <vector>

#include "HostInternal.h"
#include "XPLMMenus.h"

namespace simhost {
namespace detail {

struct Menu;

struct MenuItem {
    std::string label;
    void *ref = nullptr;
    bool enabled = true;
    int check = xplm_Menu_NoCheck;
    bool separator = false;
    Menu *submenu = nullptr;
};

struct Menu {
    std::string name;
    XPLMMenuHandler_f handler = nullptr;
    void *menuRef = nullptr;
    std::vector<MenuItem> items;
    bool alive = true;
};

namespace {

std::vector<std::unique_ptr<Menu>> gMenus;
Menu *gPluginsMenu = nullptr;

Menu *Resolve(XPLMMenuID id, const char *call)
{
    for (const auto &menu : gMenus)
        if (menu.get() == id && menu->alive)
            return menu.get();
    HostError("%s with an invalid menu", call);
    return nullptr;
}

MenuItem *ItemAt(Menu *menu, int index, const char *call)
{
    if (menu == nullptr)
        return nullptr;
    if (index < 0 || index >= (int)menu->items.size()) {
        HostError("%s: item %d out of range in menu %s", call, index, menu->name.c_str());
        return nullptr;
    }
    return &menu->items[(size_t)index];
}

Menu *Submenu(const std::string &label)
{
    for (MenuItem &item : gPluginsMenu->items)
        if (item.label == label && item.submenu != nullptr && item.submenu->alive)
            return item.submenu;
    return nullptr;
}

} // namespace

void ResetMenus()
{
    gMenus.clear();
    gMenus.push_back(std::make_unique<Menu>());
    gPluginsMenu = gMenus.back().get();
    gPluginsMenu->name = "Plugins";
}

} // namespace detail

using namespace detail;

std::vector<MenuItemInfo> MenuItems(const std::string &submenuLabel)
{
    std::vector<MenuItemInfo> list;
    if (Menu *menu = Submenu(submenuLabel))
        for (const MenuItem &item : menu->items)
            list.push_back(MenuItemInfo{item.label, item.enabled, item.check, item.separator, item.submenu != nullptr});
    return list;
}

bool ClickMenuItem(const std::string &submenuLabel, const std::string &itemLabel)
{
    Menu *menu = Submenu(submenuLabel);
    if (menu == nullptr)
        return false;
    for (const MenuItem &item : menu->items) {
        if (item.label != itemLabel || item.separator)
            continue;
        if (!item.enabled || menu->handler == nullptr)
            return false;
        menu->handler(menu->menuRef, item.ref);
        return true;
    }
    return false;
}

std::vector<std::string> PluginsMenuLabels()
{
    std::vector<std::string> labels;
    for (const MenuItem &item : gPluginsMenu->items)
        labels.push_back(item.label);
    return labels;
}

} // namespace simhost

using namespace simhost::detail;

XPLM_API XPLMMenuID XPLMFindPluginsMenu(void)
{
    return gPluginsMenu;
}

XPLM_API XPLMMenuID XPLMFindAircraftMenu(void)
{
    return nullptr;
}

XPLM_API XPLMMenuID XPLMCreateMenu(const char *inName, XPLMMenuID inParentMenu, int inParentItem,
                                   XPLMMenuHandler_f inHandler, void *inMenuRef)
{
    if (inName == nullptr || inName[0] == 0) {
        HostError("XPLMCreateMenu needs a non-empty name");
        return nullptr;
    }
    Menu *parent = nullptr;
    MenuItem *parentItem = nullptr;
    if (inParentMenu != nullptr) {
        parent = Resolve(inParentMenu, "XPLMCreateMenu");
        parentItem = ItemAt(parent, inParentItem, "XPLMCreateMenu");
        if (parentItem == nullptr)
            return nullptr;
    }
    gMenus.push_back(std::make_unique<Menu>());
    Menu *menu = gMenus.back().get();
    menu->name = inName;
    menu->handler = inHandler;
    menu->menuRef = inMenuRef;
    if (parentItem != nullptr)
        parentItem->submenu = menu;
    return menu;
}

XPLM_API void XPLMDestroyMenu(XPLMMenuID inMenuID)
{
    Menu *menu = Resolve(inMenuID, "XPLMDestroyMenu");
    if (menu == nullptr)
        return;
    menu->alive = false;
    menu->items.clear();
    for (const auto &other : gMenus)
        for (MenuItem &item : other->items)
            if (item.submenu == menu)
                item.submenu = nullptr;
}

XPLM_API void XPLMClearAllMenuItems(XPLMMenuID inMenuID)
{
    if (Menu *menu = Resolve(inMenuID, "XPLMClearAllMenuItems"))
        menu->items.clear();
}

XPLM_API int XPLMAppendMenuItem(XPLMMenuID inMenu, const char *inItemName, void *inItemRef, int)
{
    Menu *menu = Resolve(inMenu, "XPLMAppendMenuItem");
    if (menu == nullptr)
        return -1;
    MenuItem item;
    item.label = inItemName != nullptr ? inItemName : "";
    item.ref = inItemRef;
    menu->items.push_back(item);
    return (int)menu->items.size() - 1;
}

XPLM_API void XPLMAppendMenuSeparator(XPLMMenuID inMenu)
{
    if (Menu *menu = Resolve(inMenu, "XPLMAppendMenuSeparator")) {
        MenuItem item;
        item.separator = true;
        menu->items.push_back(item);
    }
}

XPLM_API void XPLMSetMenuItemName(XPLMMenuID inMenu, int inIndex, const char *inItemName, int)
{
    if (MenuItem *item = ItemAt(Resolve(inMenu, "XPLMSetMenuItemName"), inIndex, "XPLMSetMenuItemName"))
        item->label = inItemName != nullptr ? inItemName : "";
}

XPLM_API void XPLMCheckMenuItem(XPLMMenuID inMenu, int index, XPLMMenuCheck inCheck)
{
    if (MenuItem *item = ItemAt(Resolve(inMenu, "XPLMCheckMenuItem"), index, "XPLMCheckMenuItem"))
        item->check = inCheck;
}

XPLM_API void XPLMCheckMenuItemState(XPLMMenuID inMenu, int index, XPLMMenuCheck *outCheck)
{
    MenuItem *item = ItemAt(Resolve(inMenu, "XPLMCheckMenuItemState"), index, "XPLMCheckMenuItemState");
    if (outCheck != nullptr)
        *outCheck = item != nullptr ? item->check : xplm_Menu_NoCheck;
}

XPLM_API void XPLMEnableMenuItem(XPLMMenuID inMenu, int index, int enabled)
{
    if (MenuItem *item = ItemAt(Resolve(inMenu, "XPLMEnableMenuItem"), index, "XPLMEnableMenuItem"))
        item->enabled = enabled != 0;
}

XPLM_API void XPLMRemoveMenuItem(XPLMMenuID inMenu, int inIndex)
{
    Menu *menu = Resolve(inMenu, "XPLMRemoveMenuItem");
    if (ItemAt(menu, inIndex, "XPLMRemoveMenuItem") != nullptr)
        menu->items.erase(menu->items.begin() + inIndex);
}
