#include "korvex/scene/private/point_index.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <utility>

#include "korvex/scene/private/marker_probe.h"

namespace korvex::scene {

namespace {

// Few enough points that testing them all costs about what splitting their box again would.
constexpr std::uint32_t LEAF_POINTS = 64;

bool is_finite(const Point3& p) {
    return std::isfinite(p[0]) && std::isfinite(p[1]) && std::isfinite(p[2]);
}

}  // namespace

PointIndex::PointIndex(std::vector<Point3>& positions) {
    if (positions.size() > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("too many points to index");
    numbers_.reserve(positions.size());
    std::vector<Entry> entries;
    entries.reserve(positions.size());
    // A point that is not finite is never drawn, so never hit, and would spoil its boxes:
    // such points go after all the boxes.
    std::vector<Entry> outside;
    for (std::size_t i = 0; i < positions.size(); ++i) {
        const Entry entry{positions[i], static_cast<std::uint32_t>(i)};
        (is_finite(entry.position) ? entries : outside).push_back(entry);
    }
    if (!entries.empty()) {
        const Box all = bounds_of(entries.data(), entries.data() + entries.size());
        add_node(entries, 0, static_cast<std::uint32_t>(entries.size()), all);
        nodes_.shrink_to_fit();
    }
    entries.insert(entries.end(), outside.begin(), outside.end());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        positions[i] = entries[i].position;
        numbers_.push_back(entries[i].number);
    }
}

PointIndex::Box PointIndex::bounds_of(const Entry* begin, const Entry* end) {
    Box box{begin->position, begin->position};
    for (const Entry* entry = begin; entry != end; ++entry) {
        for (std::size_t i = 0; i < 3; ++i) {
            box.low[i] = std::min(box.low[i], entry->position[i]);
            box.high[i] = std::max(box.high[i], entry->position[i]);
        }
    }
    return box;
}

std::uint32_t PointIndex::add_node(std::vector<Entry>& entries, std::uint32_t first,
                                   std::uint32_t count, Box cell) {
    const auto begin = entries.begin() + first;
    const auto end = begin + count;
    const auto number = static_cast<std::uint32_t>(nodes_.size());
    nodes_.push_back({{}, first, count, 0});
    if (count <= LEAF_POINTS) {
        nodes_[number].box = bounds_of(&*begin, &*begin + count);
        return number;
    }
    // The cell is halved across its longest side, a cell without points on one side
    // halved again: one pass over the points each time, where finding the median point
    // took more than twice as long.
    Box lower, upper;
    auto split = begin;
    while (split == begin || split == end) {
        std::size_t axis = 0;
        for (std::size_t i = 1; i < 3; ++i) {
            if (cell.high[i] - cell.low[i] > cell.high[axis] - cell.low[axis]) axis = i;
        }
        const double middle = (cell.low[axis] + cell.high[axis]) / 2.0;
        if (!(cell.low[axis] < middle && middle < cell.high[axis])) {
            // Points all at one place cannot be parted by place: any halves will do.
            split = begin + count / 2;
            lower = upper = cell;
            break;
        }
        split = std::partition(begin, end,
                               [&](const Entry& entry) { return entry.position[axis] < middle; });
        lower = upper = cell;
        lower.high[axis] = upper.low[axis] = middle;
        if (split == begin) cell = upper;
        if (split == end) cell = lower;
    }
    const auto half = static_cast<std::uint32_t>(split - begin);
    add_node(entries, first, half, lower);
    const std::uint32_t second = add_node(entries, first + half, count - half, upper);
    // A box of its children's boxes, as tight as theirs, without another pass over the points.
    Node& node = nodes_[number];
    node.second = second;
    node.box = nodes_[number + 1].box;
    for (std::size_t i = 0; i < 3; ++i) {
        node.box.low[i] = std::min(node.box.low[i], nodes_[second].box.low[i]);
        node.box.high[i] = std::max(node.box.high[i], nodes_[second].box.high[i]);
    }
    return number;
}

std::optional<RayHit> PointIndex::front_hit(const std::vector<Point3>& positions,
                                            const MarkerProbe& probe) const {
    // Which of near ties the frame shows depends on the order the points are drawn in:
    // the hits are gathered first, then offered in the points' own order.
    std::vector<std::pair<std::uint32_t, RayHit>> hits;
    std::vector<std::uint32_t> pending;
    if (!nodes_.empty()) pending.push_back(0);
    while (!pending.empty()) {
        const std::uint32_t number = pending.back();
        pending.pop_back();
        const Node& node = nodes_[number];
        if (!probe.may_hit_within(node.box.low, node.box.high)) continue;
        if (node.second != 0) {
            pending.push_back(node.second);
            pending.push_back(number + 1);
            continue;
        }
        for (std::uint32_t i = node.first; i < node.first + node.count; ++i) {
            if (const auto hit = probe.hit(positions[i])) hits.emplace_back(numbers_[i], *hit);
        }
    }
    std::sort(hits.begin(), hits.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    std::optional<RayHit> front;
    for (const auto& [index, hit] : hits) keep_front(front, hit);
    return front;
}

}  // namespace korvex::scene
