#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

#include "korvex/app/catalog/data_model.h"
#include "korvex/app/data/appearance_dialog.h"
#include "korvex/app/data/colormap_box.h"
#include "korvex/app/data/point_set.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/app/data/seismic_volume_page.h"
#include "korvex/utils/errors.h"
#include "tests/app/open_volume.h"
#include "tests/seismic/test_volumes.h"
#include "tests/support/fake_data_tree.h"
#include "tests/support/synthetic_object.h"
#include "tests/support/test_main.h"

using korvex::app::DataModel;
using korvex::app::data::PointSet;
using korvex::app::data::SeismicVolume;
using korvex::host::DataObject;
using korvex::testing::SyntheticObject;

namespace {

// Tells whether it still exists, so that the tests can see who destroys it and when.
class Tracked final : public korvex::host::DataObject {
public:
    Tracked(QString name, bool& alive) : name_(std::move(name)), alive_(alive) { alive_ = true; }
    ~Tracked() override { alive_ = false; }

    QString name() const override { return name_; }
    QVariantMap prop() const override { return {}; }
    bool viewable_in_volume() const override { return true; }
    void make_visuals_in_volume(const QString& /*parent*/) override {}
    void make_image_3d(const QString& /*section_type*/, const QString& /*parent*/) override {}

private:
    QString name_;
    bool& alive_;
};

QStringList names(const DataModel& model) {
    QStringList result;
    for (const DataObject* dob : model.objects()) result << dob->name();
    return result;
}

}  // namespace

class DataModelTest : public QObject {
    Q_OBJECT

private slots:
    void objects_are_added_in_order_under_names_of_their_own() {
        DataModel model;
        std::vector<DataObject*> added;
        connect(&model, &DataModel::sig_added, this,
                [&](DataObject* dob) { added.push_back(dob); });
        DataObject* b = model.add_object(std::make_unique<SyntheticObject>("b"));
        DataObject* a = model.add_object(std::make_unique<SyntheticObject>("a"));
        QCOMPARE(names(model), QStringList({"b", "a"}));
        QCOMPARE(added, (std::vector<DataObject*>{b, a}));
        QCOMPARE(model.object("b"), b);
        QCOMPARE(model.object_data().at("b"), b);
        QVERIFY(!model.object("c"));

        // A taken name or no object at all is refused, and nobody hears of it.
        QVERIFY_EXCEPTION_THROWN(model.add_object(std::make_unique<SyntheticObject>("b")),
                                 korvex::utils::ValueError);
        QVERIFY_EXCEPTION_THROWN(model.add_object(nullptr), korvex::utils::ValueError);
        QCOMPARE(added.size(), std::size_t(2));
        QCOMPARE(names(model), QStringList({"b", "a"}));
    }

    void a_removed_object_is_announced_while_it_exists_then_destroyed() {
        DataModel model;
        bool alive = false;
        model.add_object(std::make_unique<Tracked>("vol", alive));
        model.add_object(std::make_unique<SyntheticObject>("other"));
        QStringList heard;
        connect(&model, &DataModel::sig_removing, this, [&](DataObject* dob) {
            // Followers take its visuals out now: it must still be there.
            heard << QString("removing %1 %2").arg(dob->name()).arg(alive);
        });
        connect(&model, &DataModel::sig_removed, this, [&](const QString& name) {
            heard << QString("removed %1 %2").arg(name).arg(alive);
        });

        model.remove_object("vol");
        QCOMPARE(heard, QStringList({"removing vol 1", "removed vol 0"}));
        QCOMPARE(names(model), QStringList({"other"}));

        heard.clear();
        QVERIFY_EXCEPTION_THROWN(model.remove_object("vol"), korvex::utils::LookupError);
        QVERIFY(heard.isEmpty());
    }

    void removing_everything_goes_in_order_and_the_model_owns_what_is_left() {
        bool first = false;
        bool second = false;
        {
            DataModel model;
            model.add_object(std::make_unique<Tracked>("first", first));
            model.add_object(std::make_unique<Tracked>("second", second));
            QSignalSpy removed(&model, &DataModel::sig_removed);
            model.remove_all_objects();
            QCOMPARE(removed.count(), 2);
            QCOMPARE(removed.at(0).at(0).toString(), QString("first"));
            QVERIFY(model.objects().empty());
            QVERIFY(!first && !second);

            model.add_object(std::make_unique<Tracked>("first", first));
            QVERIFY(first);
        }
        // The model went, and what it held with it.
        QVERIFY(!first);
    }

    void changes_are_announced_for_loaded_objects_only() {
        DataModel model;
        model.add_object(std::make_unique<SyntheticObject>("vol"));
        QSignalSpy changed(&model, &DataModel::sig_changed);
        model.notify_changed("vol");
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toString(), QString("vol"));
        QVERIFY_EXCEPTION_THROWN(model.notify_changed("gone"), korvex::utils::LookupError);
        QCOMPARE(changed.count(), 1);
    }

    void a_look_changed_from_a_volumes_page_is_a_change_of_the_volume() {
        QTemporaryDir dir;
        const QString path = dir.filePath("survey_c.sgy");
        korvex::testing::write_volume(path, {});
        DataModel model;
        auto* volume =
            static_cast<SeismicVolume*>(model.add_object(korvex::testing::open_volume(path)));
        model.add_object(std::make_unique<SyntheticObject>("other"));
        korvex::testing::FakeDataTree tree;
        tree.add_object(*volume);
        korvex::app::data::AppearanceDialog dialog(tree, "survey_c");
        auto* page = qobject_cast<korvex::app::data::SeismicVolumePage*>(dialog.page());
        QVERIFY(page);

        QSignalSpy changed(&model, &DataModel::sig_changed);
        page->colormap_box()->setCurrentText("gray");
        page->clip_box()->setValue(3.5);
        page->opacity_slider()->setValue(40);
        QCOMPARE(changed.count(), 3);
        for (const auto& arguments : changed)
            QCOMPARE(arguments.at(0).toString(), QString("survey_c"));

        // A refused value changes nothing, so nobody hears of it.
        QVERIFY_EXCEPTION_THROWN(volume->set_colormap("no such map"), korvex::utils::ValueError);
        QCOMPARE(changed.count(), 3);
    }

    void a_point_sets_new_look_is_announced() {
        QTemporaryDir dir;
        QFile file(dir.filePath("wells.csv"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("X,Y,Z\n1,2,3\n");
        file.close();
        DataModel model;
        auto owned = std::make_unique<PointSet>(file.fileName());
        PointSet* points = owned.get();
        model.add_object(std::move(owned));
        QSignalSpy changed(&model, &DataModel::sig_changed);
        points->set_point_size(7);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toString(), QString("wells"));
    }
};

KORVEX_TEST_MAIN(DataModelTest)
#include "tst_data_model.moc"
