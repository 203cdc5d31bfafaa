#pragma once

#include <memory>
#include <vector>

namespace korvex::scene {

class Visual;

// What a viewer attaches to its scene: one visual, or a list whose entries are
// visuals or lists of visuals. Data objects own the visuals; an item only shares them.
class Item {
public:
    Item() = default;
    Item(std::shared_ptr<Visual> visual)
        : visual_(std::move(visual)) {}  // NOLINT: implicit on purpose
    Item(std::vector<Item> entries) : entries_(std::move(entries)), is_list_(true) {}  // NOLINT

    bool is_list() const { return is_list_; }
    // The visual of a single-visual item; nullptr for a list.
    const std::shared_ptr<Visual>& visual() const { return visual_; }
    const std::vector<Item>& entries() const { return entries_; }

    // Every visual in the item, depth first, in order.
    std::vector<std::shared_ptr<Visual>> visuals() const {
        std::vector<std::shared_ptr<Visual>> all;
        if (visual_) all.push_back(visual_);
        for (const Item& entry : entries_) {
            const auto inner = entry.visuals();
            all.insert(all.end(), inner.begin(), inner.end());
        }
        return all;
    }

    // Two items are equal when they hold the same visuals in the same shape.
    bool operator==(const Item& other) const {
        return is_list_ == other.is_list_ && visual_ == other.visual_ && entries_ == other.entries_;
    }
    bool operator!=(const Item& other) const { return !(*this == other); }

private:
    std::shared_ptr<Visual> visual_;
    std::vector<Item> entries_;
    bool is_list_ = false;
};

}  // namespace korvex::scene
