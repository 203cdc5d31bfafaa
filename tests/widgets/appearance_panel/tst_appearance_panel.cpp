#include <QTableWidget>
#include <QTest>

#include "korvex/host/appearance_owner.h"
#include "korvex/utils/errors.h"
#include "korvex/widgets/appearance_panel/appearance_panel.h"
#include "korvex/widgets/property_table/property_table.h"
#include "tests/support/fake_data_object.h"
#include "tests/support/fake_data_tree.h"
#include "tests/support/test_main.h"

using korvex::testing::FakeDataObject;
using korvex::testing::FakeDataTree;
using korvex::widgets::AppearancePanel;

namespace {

// The dialog that opens a page for one object.
class PageOwner final : public QWidget, public korvex::host::AppearanceOwner {
public:
    PageOwner(korvex::host::DataRegistry* tree, const QString& objname)
        : tree_(tree), objname_(objname) {}
    korvex::host::DataRegistry* data_tree() const override { return tree_; }
    QString objname() const override { return objname_; }

private:
    korvex::host::DataRegistry* tree_;
    QString objname_;
};

// A concrete page recording the order of its set-up steps.
class SeismicPage final : public AppearancePanel {
public:
    using AppearancePanel::AppearancePanel;

    std::optional<QString> NAME() const override { return QString("Seismic"); }
    std::optional<QString> ICON() const override { return QString("seismic"); }
    void setup_page() override {
        steps << "setup_page";
        if (fail_setup) throw std::runtime_error("no widgets");
        prop_table = korvex::widgets::property_table::create(this);
    }
    void load_style() override { steps << "load_style"; }

    QTableWidget* table() const { return prop_table; }

    QStringList steps;
    bool fail_setup = false;
};

}  // namespace

class AppearancePanelTest : public QObject {
    Q_OBJECT

private slots:
    void without_an_owner_the_base_page_is_empty() {
        AppearancePanel page;
        QVERIFY(!page.owner());
        QVERIFY(!page.dob());
        QVERIFY(!page.get_name());
        QVERIFY(!page.get_icon());
        QVERIFY_EXCEPTION_THROWN(page.initialize(), korvex::utils::NotImplementedError);
        QVERIFY_EXCEPTION_THROWN(page.load_style(), korvex::utils::NotImplementedError);
        QVERIFY_EXCEPTION_THROWN(page.refresh_prop_table(), korvex::utils::AttributeError);
    }

    void the_page_configures_the_object_its_owner_names() {
        FakeDataObject survey("survey"), horizon("horizon");
        FakeDataTree tree;
        tree.add_object(survey);
        tree.add_object(horizon);
        PageOwner owner(&tree, "horizon");
        SeismicPage page(&owner);
        QCOMPARE(page.owner(), &owner);
        QCOMPARE(page.dob(), &horizon);
        QCOMPARE(page.get_name(), std::optional<QString>("Seismic"));
        QCOMPARE(page.get_icon(), std::optional<QString>("seismic"));
    }

    void an_owner_without_tree_or_object_is_a_lookup_error() {
        FakeDataObject survey("survey");
        FakeDataTree tree;
        tree.add_object(survey);
        QWidget plain_widget;
        QVERIFY_EXCEPTION_THROWN(SeismicPage{&plain_widget}, korvex::utils::LookupError);
        PageOwner no_tree(nullptr, "survey");
        QVERIFY_EXCEPTION_THROWN(SeismicPage{&no_tree}, korvex::utils::LookupError);
        PageOwner unknown(&tree, "well");
        QVERIFY_EXCEPTION_THROWN(SeismicPage{&unknown}, korvex::utils::LookupError);
    }

    void initialize_sets_up_then_loads_and_stops_if_setup_fails() {
        SeismicPage page;
        page.initialize();
        QCOMPARE(page.steps, (QStringList{"setup_page", "load_style"}));

        SeismicPage failing;
        failing.fail_setup = true;
        QVERIFY_EXCEPTION_THROWN(failing.initialize(), std::runtime_error);
        QCOMPARE(failing.steps, QStringList{"setup_page"});
    }

    void the_property_table_shows_the_properties_read_afresh() {
        FakeDataObject survey("survey");
        survey.properties = {{"traces", 100}};
        FakeDataTree tree;
        tree.add_object(survey);
        PageOwner owner(&tree, "survey");
        SeismicPage page(&owner);
        QVERIFY_EXCEPTION_THROWN(page.refresh_prop_table(), korvex::utils::AttributeError);
        page.initialize();
        page.refresh_prop_table();
        QCOMPARE(page.table()->rowCount(), 1);

        survey.properties = {{"traces", 200}, {"samples", 501}};
        page.refresh_prop_table();
        QCOMPARE(page.table()->rowCount(), 2);
        QCOMPARE(page.table()->item(1, 1)->text(), QString("200"));
        QCOMPARE(survey.prop_reads, 2);
    }
};

KORVEX_TEST_MAIN(AppearancePanelTest)
#include "tst_appearance_panel.moc"
