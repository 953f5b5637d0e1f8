#include "app/menu_model.h"

const MenuItem* findMenu(std::string_view name) {
    for (const auto& m : MenuTree)
        if (m.Name == name) return &m;
    return nullptr;
}

bool isSeparator(const MenuItem& item) {
    return item.Caption == "-";
}

bool isPopupOnly(const MenuItem& item) {
    return item.Name == "mnu_FB" || item.Name == "mnu_Cont";
}

std::string menuCaption(const MenuItem& item, std::span<const std::string> uiText) {
    if (item.TextKey >= 0 && static_cast<size_t>(item.TextKey) < uiText.size() &&
        !uiText[static_cast<size_t>(item.TextKey)].empty())
        return uiText[static_cast<size_t>(item.TextKey)];
    return std::string(item.Caption);
}

bool menuShown(const MenuItem& item, bool internal, bool programShown, bool displayShown) {
    switch (item.Shown) {
    case MenuShown::Yes:
        return true;
    case MenuShown::No:
        return false;
    case MenuShown::Internal:
        return internal;
    case MenuShown::ByModel:
        return item.Name == "mnu_program" ? programShown : displayShown;
    }
    return false;
}
