#pragma once
// A fixed pick list of the configuration window: texts with item data, and the selection.
#include <string>
#include <utility>
#include <vector>

struct PickList {
    std::vector<std::pair<std::string, int>> Items; // text, item data
    int Selected = -1;
    bool Enabled = true;

    // Refills the list, keeping the selected position when the new list still has it.
    void refill(std::vector<std::pair<std::string, int>> items) {
        Items = std::move(items);
        if (Selected >= static_cast<int>(Items.size())) Selected = -1;
    }
    const std::pair<std::string, int>* selected() const {
        return Selected >= 0 && Selected < static_cast<int>(Items.size())
                   ? &Items[static_cast<size_t>(Selected)]
                   : nullptr;
    }
};
