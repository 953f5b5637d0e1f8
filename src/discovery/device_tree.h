#pragma once
// Elenco without its window: lines with a unique text key, a text and an optional picture key, each the
// last child of its parent line. The window follows the events.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct TreeNode {
    std::string Key;
    std::string Parent; // empty for a top line
    std::string Text;
    std::string Image;
};

class DeviceTree {
  public:
    // False (nothing added) when the key exists or the parent does not.
    bool add(const std::string& parent, const std::string& key, const std::string& text,
             const std::string& image = {});
    // The line and everything under it; a missing key is no error.
    void remove(const std::string& key);
    void clear();
    const TreeNode* find(std::string_view key) const;
    // Expands its parents and scrolls to it; select also marks it selected.
    void ensureVisible(const std::string& key, bool select = false);

    const std::vector<TreeNode>& nodes() const { return nodes_; }
    std::string SelectedKey;

    std::function<void(const TreeNode&)> onAdded;
    std::function<void(const std::string& key)> onRemoved;
    std::function<void()> onCleared;
    std::function<void(const std::string& key, bool select)> onShow;

  private:
    std::vector<TreeNode> nodes_;
};

// The whole decimal number that ends a key ("nodo12" gives 12); 0 when it ends in no digit or the number
// does not fit 16 bits.
int KeyNumber(std::string_view key);
