// A point set answers a pick from an index of boxes: it must name the same point at the
// same depth as testing every point in drawing order, whatever the camera and wherever the
// points lie, near ties included.
#include <QTest>
#include <cmath>
#include <limits>
#include <random>

#include <vtkCamera.h>
#include <vtkMatrix4x4.h>
#include <vtkNew.h>

#include "korvex/scene/point_visual.h"
#include "korvex/scene/private/marker_probe.h"
#include "tests/support/test_main.h"

using namespace korvex::scene;

namespace {

constexpr double WIDTH = 160.0;
constexpr double HEIGHT = 120.0;
constexpr double NOT_A_NUMBER = std::numeric_limits<double>::quiet_NaN();

// The answer the index must give: every point tested, in drawing order.
std::optional<RayHit> every_point_hit(const PickRay& ray, const std::vector<Point3>& centres,
                                      double diameter) {
    const MarkerProbe probe(ray, diameter);
    std::optional<RayHit> front;
    for (const Point3& centre : centres) {
        if (const auto hit = probe.hit(centre)) keep_front(front, *hit);
    }
    return front;
}

// A camera as the view sets one up, in drawn (vertically scaled) coordinates.
struct Eye {
    double fov = 30.0;  // 0: orthographic
    double z_scale = 1.0;
    Point3 position{};
    Point3 focus{};
    double near = 1.0;
    double far = 10000.0;
};

PickRay::Matrix elements(vtkMatrix4x4* matrix) {
    PickRay::Matrix copy{};
    std::copy(&matrix->Element[0][0], &matrix->Element[0][0] + 16, copy.begin());
    return copy;
}

class Camera {
public:
    explicit Camera(const Eye& eye) : z_scale_(eye.z_scale) {
        camera_->SetPosition(eye.position.data());
        camera_->SetFocalPoint(eye.focus.data());
        camera_->SetViewUp(0.0, 0.0, 1.0);
        camera_->OrthogonalizeViewUp();
        camera_->SetParallelProjection(eye.fov == 0.0);
        camera_->SetParallelScale(600.0);
        if (eye.fov > 0.0) camera_->SetViewAngle(eye.fov);
        camera_->SetClippingRange(eye.near, eye.far);
        view_ = elements(camera_->GetViewTransformMatrix());
        projection_ = elements(camera_->GetProjectionTransformMatrix(WIDTH / HEIGHT, -1, 1));
    }

    PickRay ray(const PickRay::Pixel& pixel) const {
        return PickRay(view_, projection_, z_scale_, {WIDTH, HEIGHT}, pixel);
    }

    // The pixel centre nearest to where `point` is drawn, if it is drawn in front.
    std::optional<PickRay::Pixel> pixel_of(const Point3& point) const {
        vtkNew<vtkMatrix4x4> to_clip;
        vtkMatrix4x4::Multiply4x4(projection_.data(), view_.data(), *to_clip->Element);
        const double scene[4] = {point[0], point[1], point[2] * z_scale_, 1.0};
        double clip[4];
        to_clip->MultiplyPoint(scene, clip);
        if (clip[3] <= 0.0) return std::nullopt;
        return PickRay::Pixel{std::floor((clip[0] / clip[3] + 1.0) * WIDTH / 2.0) + 0.5,
                              std::floor((clip[1] / clip[3] + 1.0) * HEIGHT / 2.0) + 0.5};
    }

private:
    vtkNew<vtkCamera> camera_;
    double z_scale_;
    PickRay::Matrix view_{}, projection_{};
};

QString text_of(const std::optional<RayHit>& hit) {
    if (!hit) return "nothing";
    return QString("(%1, %2, %3) at depth %4")
        .arg(hit->point[0], 0, 'g', 17)
        .arg(hit->point[1], 0, 'g', 17)
        .arg(hit->point[2], 0, 'g', 17)
        .arg(hit->depth, 0, 'g', 17);
}

bool same(const std::optional<RayHit>& a, const std::optional<RayHit>& b) {
    if (!a || !b) return !a && !b;
    return a->point == b->point && a->depth == b->depth;
}

// Where the set's pick departs from every point tested in turn, at pixels near drawn
// points (so that most pixels hit, many of them on several points) and anywhere; empty
// when nowhere. Counts the pixels that hit.
QString departures(const PointVisual& set, const std::vector<Point3>& positions, double size,
                   const Camera& camera, int* hits) {
    std::mt19937 random(7);
    std::uniform_int_distribution<std::size_t> any_point(0, positions.size() - 1);
    std::uniform_real_distribution<double> beside(-4.0, 4.0);
    std::uniform_real_distribution<double> across(0.0, WIDTH), up(0.0, HEIGHT);
    *hits = 0;
    for (int i = 0; i < 400; ++i) {
        PickRay::Pixel pixel{std::floor(across(random)) + 0.5, std::floor(up(random)) + 0.5};
        if (i % 3 != 0) {
            if (const auto aimed = camera.pixel_of(positions[any_point(random)]))
                pixel = {(*aimed)[0] + std::round(beside(random)),
                         (*aimed)[1] + std::round(beside(random))};
        }
        const PickRay ray = camera.ray(pixel);
        const auto indexed = set.hit(ray);
        const auto every_point = every_point_hit(ray, positions, size);
        if (!same(indexed, every_point)) {
            return QString("pixel (%1, %2): %3, every point tested: %4")
                .arg(pixel[0])
                .arg(pixel[1])
                .arg(text_of(indexed), text_of(every_point));
        }
        *hits += indexed.has_value();
    }
    return {};
}

// Points through a 1000-unit cube, a gently folded surface through it sampled on a grid
// (as an interpreted horizon), points repeated exactly and nearly, and one far off.
std::vector<Point3> cloud() {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> inside(0.0, 1000.0);
    std::vector<Point3> points;
    for (int i = 0; i < 12000; ++i)
        points.push_back({inside(random), inside(random), inside(random)});
    for (int x = 0; x < 100; ++x) {
        for (int y = 0; y < 100; ++y)
            points.push_back(
                {x * 10.0, y * 10.0, 500.0 + 80.0 * std::sin(x * 0.1) * std::cos(y * 0.07)});
    }
    std::uniform_int_distribution<std::size_t> earlier(0, points.size() - 1);
    for (int i = 0; i < 500; ++i) {
        const Point3 again = points[earlier(random)];
        points.push_back(again);
        points.push_back({again[0], again[1] + 1e-7, again[2]});
    }
    points.push_back({1e5, -3e4, 2e3});
    return points;
}

}  // namespace

class TestPointPicking : public QObject {
    Q_OBJECT

private slots:
    void the_indexed_pick_is_every_point_tested_data() {
        QTest::addColumn<double>("fov");
        QTest::addColumn<double>("z_scale");
        QTest::addColumn<bool>("inside");
        QTest::addColumn<double>("size");
        QTest::newRow("perspective") << 30.0 << 1.0 << false << 7.0;
        QTest::newRow("orthographic") << 0.0 << 1.0 << false << 5.0;
        QTest::newRow("perspective, vertical scale") << 50.0 << 0.3 << false << 9.0;
        QTest::newRow("orthographic, vertical scale") << 0.0 << 2.5 << false << 2.0;
        // Points behind the eye, and between it and the near plane.
        QTest::newRow("perspective, eye among the points") << 70.0 << 1.0 << true << 7.0;
        QTest::newRow("orthographic, eye among the points") << 0.0 << 1.0 << true << 7.0;
    }

    void the_indexed_pick_is_every_point_tested() {
        QFETCH(double, fov);
        QFETCH(double, z_scale);
        QFETCH(bool, inside);
        QFETCH(double, size);
        const std::vector<Point3> positions = cloud();
        const PointVisual set(positions, Color(0.0, 0.0, 0.0), size);
        Eye eye;
        eye.fov = fov;
        eye.z_scale = z_scale;
        eye.focus = {500.0, 500.0, 500.0 * z_scale};
        eye.position = inside ? Point3{400.0, 300.0, 550.0 * z_scale}
                              : Point3{-1500.0, -2200.0, 2400.0 * z_scale};
        if (inside) eye.near = 60.0;
        for (const double azimuth : {0.0, 1.3, 2.9, 4.4}) {
            // The eye turned about the focus: other boxes in front, behind and across.
            const double dx = eye.position[0] - eye.focus[0];
            const double dy = eye.position[1] - eye.focus[1];
            Eye turned = eye;
            turned.position[0] = eye.focus[0] + dx * std::cos(azimuth) - dy * std::sin(azimuth);
            turned.position[1] = eye.focus[1] + dx * std::sin(azimuth) + dy * std::cos(azimuth);
            int hits = 0;
            const QString departure = departures(set, positions, size, Camera(turned), &hits);
            QVERIFY2(departure.isEmpty(), qPrintable(departure));
            QVERIFY2(hits > 100, qPrintable(QString("only %1 pixels hit a point").arg(hits)));
        }
    }

    // Sets too small or too odd to split, and sets whose points are replaced after a pick.
    void small_odd_and_replaced_sets() {
        Eye eye;
        eye.position = {-1500.0, -2200.0, 2400.0};
        eye.focus = {500.0, 500.0, 500.0};
        const Camera camera(eye);
        const Point3 centre{500.0, 500.0, 500.0};
        const PickRay at_centre = camera.ray(*camera.pixel_of(centre));

        PointVisual set({}, Color(0.0, 0.0, 0.0), 7.0);
        QVERIFY(!set.hit(at_centre));

        set.set_data({centre});
        QCOMPARE(set.hit(at_centre)->point, centre);

        // The same point many times over, and a point that is not a number first: neither
        // may stop the pick (a point with no position is never drawn, and was once hit
        // everywhere).
        std::vector<Point3> repeated(1000, centre);
        repeated.insert(repeated.begin(), {NOT_A_NUMBER, 0.0, 0.0});
        repeated.push_back({std::numeric_limits<double>::infinity(), 500.0, 500.0});
        set.set_data(repeated);
        const auto hit = set.hit(at_centre);
        const auto every_point = every_point_hit(at_centre, repeated, 7.0);
        QVERIFY2(same(hit, every_point), qPrintable(text_of(hit) + " / " + text_of(every_point)));
        QCOMPARE(hit->point, centre);
        QVERIFY(!set.hit(camera.ray({0.5, 0.5})));
        QVERIFY(!every_point_hit(at_centre, {{NOT_A_NUMBER, 500.0, 500.0}}, 7.0));

        // New points are picked where they are, the old ones no longer.
        const std::vector<Point3> elsewhere = cloud();
        set.set_data({{0.0, 0.0, 0.0}});
        QVERIFY(!set.hit(at_centre));
        set.set_data(elsewhere);
        int hits = 0;
        const QString departure = departures(set, elsewhere, 7.0, camera, &hits);
        QVERIFY2(departure.isEmpty(), qPrintable(departure));
        set.set_data({centre});
        QCOMPARE(set.hit(at_centre)->point, centre);
    }
};

KORVEX_TEST_GUILESS_MAIN(TestPointPicking)
#include "tst_point_picking.moc"
