#include "discovery/device_tree.h"

#include <algorithm>

bool DeviceTree::add(const std::string& parent, const std::string& key, const std::string& text,
                     const std::string& image) {
    if (find(key) || (!parent.empty() && !find(parent))) return false;
    nodes_.push_back({key, parent, text, image});
    if (onAdded) onAdded(nodes_.back());
    return true;
}

void DeviceTree::remove(const std::string& key) {
    if (!find(key)) return;
    std::vector<std::string> gone{key};
    // Children always follow their parents in the list, so one pass collects the whole branch.
    for (const TreeNode& n : nodes_)
        if (std::find(gone.begin(), gone.end(), n.Parent) != gone.end()) gone.push_back(n.Key);
    std::erase_if(nodes_, [&](const TreeNode& n) { return std::find(gone.begin(), gone.end(), n.Key) != gone.end(); });
    if (std::find(gone.begin(), gone.end(), SelectedKey) != gone.end()) SelectedKey.clear();
    if (onRemoved) onRemoved(key);
}

void DeviceTree::clear() {
    nodes_.clear();
    SelectedKey.clear();
    if (onCleared) onCleared();
}

const TreeNode* DeviceTree::find(std::string_view key) const {
    auto it = std::find_if(nodes_.begin(), nodes_.end(), [&](const TreeNode& n) { return n.Key == key; });
    return it == nodes_.end() ? nullptr : &*it;
}

void DeviceTree::ensureVisible(const std::string& key, bool select) {
    if (!find(key)) return;
    if (select) SelectedKey = key;
    if (onShow) onShow(key, select);
}

int KeyNumber(std::string_view key) {
    size_t start = key.size();
    while (start > 0 && key[start - 1] >= '0' && key[start - 1] <= '9')
        --start;
    const std::string_view digits = key.substr(start);
    if (digits.empty() || digits.size() > 5) return 0;
    const int n = std::stoi(std::string(digits));
    return n <= 32767 ? n : 0;
}
