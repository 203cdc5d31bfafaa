#pragma once

#include <QHash>
#include <stdexcept>
#include <utility>
#include <vector>

namespace korvex::utils {

// A map that keeps its keys in insertion order. An index from key to position keeps
// look-ups constant-time, so that files with many keys (environment files) load in
// linear time.
template <typename Key, typename Value>
class OrderedMap {
public:
    using Entry = std::pair<Key, Value>;

    OrderedMap() = default;
    OrderedMap(std::initializer_list<Entry> entries) {
        for (const auto& [key, value] : entries) insert_or_assign(key, value);
    }

    void insert_or_assign(const Key& key, const Value& value) {
        if (const auto found = positions_.constFind(key); found != positions_.cend()) {
            entries_[*found].second = value;
        } else {
            positions_.insert(key, entries_.size());
            entries_.emplace_back(key, value);
        }
    }

    bool contains(const Key& key) const { return positions_.contains(key); }

    const Value& at(const Key& key) const {
        const auto found = positions_.constFind(key);
        if (found == positions_.cend()) throw std::out_of_range("key not in map");
        return entries_[*found].second;
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
    std::vector<Entry> entries_;
    QHash<Key, std::size_t> positions_;
};

}  // namespace korvex::utils
