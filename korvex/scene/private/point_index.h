#pragma once

// A point set's positions in boxes within boxes (each box split across the middle of its
// longest side, down to a few dozen points), so that a pick tests the points of the boxes
// the pixel can fall on rather than every point. The positions are put in box order, so
// that a box's points lie together in memory; the index keeps their drawing order. It adds
// 6 to 7 bytes a point: each point's number in drawing order, and a node of 64 bytes for
// every 25 to 30 points.
//   PointIndex index(positions);       // rearranges them
//   std::optional<RayHit> front = index.front_hit(positions, MarkerProbe(ray, 6.0));

#include <cstdint>
#include <optional>
#include <vector>

#include "korvex/scene/pick_ray.h"

namespace korvex::scene {

class MarkerProbe;

class PointIndex {
public:
    // Puts `positions` in box order and indexes them. Throws std::length_error beyond
    // 2^32 - 1 points, leaving them as they were.
    explicit PointIndex(std::vector<Point3>& positions);

    // The front point that `probe` hits among `positions` as the index arranged them,
    // exactly as testing all of them in drawing order finds it.
    std::optional<RayHit> front_hit(const std::vector<Point3>& positions,
                                    const MarkerProbe& probe) const;

private:
    struct Box {
        Point3 low{};
        Point3 high{};
    };
    struct Node {
        Box box;
        // The node's points: positions [first, first + count).
        std::uint32_t first = 0;
        std::uint32_t count = 0;
        // The second child; the first follows its parent. 0 for a leaf (0 is the root).
        std::uint32_t second = 0;
    };

    // A point beside its number: the build moves these rather than numbers into the
    // positions, which would send every comparison to memory.
    struct Entry {
        Point3 position;
        std::uint32_t number;
    };

    static Box bounds_of(const Entry* begin, const Entry* end);
    // Adds the node of entries[first, first + count), which lie in `cell`, and those below
    // it; returns its number.
    std::uint32_t add_node(std::vector<Entry>& entries, std::uint32_t first, std::uint32_t count,
                           Box cell);

    // The drawing order of each position as arranged.
    std::vector<std::uint32_t> numbers_;
    std::vector<Node> nodes_;
};

}  // namespace korvex::scene
