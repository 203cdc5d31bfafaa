#include "korvex/widgets/map_view/live_outline.h"

#include <QPolygonF>
#include <unordered_map>
#include <vector>

namespace korvex::widgets {

namespace {

// An edge between bin corners, corner (a, b) lying at grid index (a - 0.5, b - 0.5); a
// live bin is on its left.
struct Edge {
    int a0, b0, a1, b1;
};

}  // namespace

QPainterPath live_outline(int columns, int rows, const std::function<bool(int, int)>& live) {
    std::vector<char> flags(static_cast<std::size_t>(columns) * rows);
    for (int i = 0; i < columns; ++i)
        for (int j = 0; j < rows; ++j) flags[std::size_t(i) * rows + j] = live(i, j) ? 1 : 0;
    const auto at = [&](int i, int j) {
        return i >= 0 && j >= 0 && i < columns && j < rows && flags[std::size_t(i) * rows + j];
    };

    std::vector<Edge> edges;
    for (int i = 0; i < columns; ++i) {
        for (int j = 0; j < rows; ++j) {
            if (!at(i, j)) continue;
            if (!at(i, j - 1)) edges.push_back({i, j, i + 1, j});
            if (!at(i + 1, j)) edges.push_back({i + 1, j, i + 1, j + 1});
            if (!at(i, j + 1)) edges.push_back({i + 1, j + 1, i, j + 1});
            if (!at(i - 1, j)) edges.push_back({i, j + 1, i, j});
        }
    }
    const auto key = [rows](int a, int b) { return static_cast<long long>(a) * (rows + 1) + b; };
    std::unordered_multimap<long long, std::size_t> leaving;
    for (std::size_t e = 0; e < edges.size(); ++e)
        leaving.emplace(key(edges[e].a0, edges[e].b0), e);

    // Every corner has as many edges in as out, so following unused edges always comes
    // back to where it started.
    std::vector<bool> used(edges.size(), false);
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (std::size_t first = 0; first < edges.size(); ++first) {
        if (used[first]) continue;
        QPolygonF ring;
        std::size_t edge = first;
        for (;;) {
            used[edge] = true;
            const Edge& e = edges[edge];
            ring << QPointF(e.a0 - 0.5, e.b0 - 0.5);
            const auto [begin, end] = leaving.equal_range(key(e.a1, e.b1));
            auto next = begin;
            while (next != end && used[next->second]) ++next;
            if (next == end) break;
            edge = next->second;
        }
        // Corners in the middle of a straight edge add nothing to draw.
        QPolygonF corners;
        for (int k = 0; k < ring.size(); ++k) {
            const QPointF before = ring[(k + ring.size() - 1) % ring.size()];
            const QPointF after = ring[(k + 1) % ring.size()];
            const QPointF in = ring[k] - before, out = after - ring[k];
            if (in.x() * out.y() - in.y() * out.x() != 0.0) corners << ring[k];
        }
        path.addPolygon(corners);
        path.closeSubpath();
    }
    return path;
}

}  // namespace korvex::widgets
