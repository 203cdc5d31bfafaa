#pragma once

#include <algorithm>
#include <stdexcept>
#include <utility>
#include <vector>

namespace korvex::utils {

// A small map that keeps its keys in insertion order. For the handful of entries
// the application keeps this way, a linear search beats any index.
template <typename Key, typename Value>
class OrderedMap {
public:
    using Entry = std::pair<Key, Value>;

    OrderedMap() = default;
    OrderedMap(std::initializer_list<Entry> entries) {
        for (const auto& [key, value] : entries) insert_or_assign(key, value);
    }

    void insert_or_assign(const Key& key, const Value& value) {
        if (auto it = find(key); it != entries_.end()) {
            it->second = value;
        } else {
            entries_.emplace_back(key, value);
        }
    }

    bool contains(const Key& key) const { return find(key) != entries_.end(); }

    const Value& at(const Key& key) const {
        auto it = find(key);
        if (it == entries_.end()) throw std::out_of_range("key not in map");
        return it->second;
    }

    std::vector<Key> keys() const {
        std::vector<Key> result;
        for (const auto& entry : entries_) result.push_back(entry.first);
        return result;
    }

    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    auto begin() const { return entries_.begin(); }
    auto end() const { return entries_.end(); }
    bool operator==(const OrderedMap& other) const { return entries_ == other.entries_; }

private:
    auto find(const Key& key) {
        return std::find_if(entries_.begin(), entries_.end(),
                            [&](const Entry& entry) { return entry.first == key; });
    }
    auto find(const Key& key) const {
        return std::find_if(entries_.begin(), entries_.end(),
                            [&](const Entry& entry) { return entry.first == key; });
    }

    std::vector<Entry> entries_;
};

}  // namespace korvex::utils
