// Menu resources: the items of a menu as the program defines them.
#pragma once

#include <vector>

struct MenuTemplateItem {
    int id = 0;               // command id; 0 for a separator or a popup
    const char* text = "";    // "" for a separator
    std::vector<MenuTemplateItem> popup; // the items of a popup, else empty

    bool IsSeparator() const { return id == 0 && popup.empty(); }
};

// The top-level items of menu resource id; null when there is none.
const std::vector<MenuTemplateItem>* FindMenuTemplate(int id);
