#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "korvex/app/catalog/data_model.h"
#include "korvex/app/catalog/data_object_factory.h"
#include "korvex/app/catalog/missing_data_object.h"
#include "korvex/app/data/demo_survey.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/app/project/project_database.h"
#include "korvex/app/project/project_session.h"
#include "korvex/app/viewers/viewer_set.h"
#include "tests/app/open_and_wait.h"
#include "tests/app/recording_display_target.h"
#include "tests/support/log_capture.h"
#include "tests/support/synthetic_object.h"
#include "tests/support/test_main.h"

using namespace korvex::app;
using korvex::app::data::SeismicVolume;
using korvex::testing::LogCapture;
using korvex::testing::RecordingDisplayTarget;
using korvex::testing::SyntheticObject;

namespace {

// Viewers without windows: each keeps what it shows and its camera as text.
class RecordingViewers final : public ViewerSet {
public:
    RecordingViewers() { reset_viewers({}); }

    std::vector<DisplayTarget*> targets() const override {
        std::vector<DisplayTarget*> result;
        for (const auto& viewer : viewers) result.push_back(viewer.get());
        return result;
    }
    int active_index() const override { return active; }
    void set_active_index(int index) override {
        if (index >= 0 && index < int(viewers.size())) active = index;
    }
    void reset_viewers(const QStringList& names) override {
        viewers.clear();
        for (const QString& name : names)
            viewers.push_back(std::make_unique<RecordingDisplayTarget>(name));
        if (viewers.empty())
            viewers.push_back(std::make_unique<RecordingDisplayTarget>("3D View 1"));
        active = 0;
    }

    RecordingDisplayTarget& at(int index) const { return *viewers.at(index); }

    std::vector<std::unique_ptr<RecordingDisplayTarget>> viewers;
    int active = 0;
};

// A model, its viewers and the project session over them, as a main window holds them.
struct Session {
    explicit Session(const DataObjectFactory& factory) : project(model, viewers, factory) {}

    DataModel model;
    RecordingViewers viewers;
    ProjectSession project;
};

}  // namespace

class ProjectSessionTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        factory_.register_type(
            {SyntheticObject::TYPE, "Synthetic", {"syn"}, &SyntheticObject::load});
    }

    void saving_then_opening_brings_the_session_back() {
        Session saved(factory_);
        saved.model.add_object(SyntheticObject::load(file("vol"), {{"clip", 3}}));
        saved.model.add_object(SyntheticObject::load(file("pts", false), {}));
        saved.viewers.reset_viewers({"left", "right"});
        saved.viewers.at(0).add_cube_section(*saved.model.object("vol"), "xline");
        saved.viewers.at(1).add_item_agent(*saved.model.object("pts"));
        saved.viewers.at(1).view = R"({"azimuth":99})";
        saved.viewers.set_active_index(1);
        QSignalSpy saved_to(&saved.project, &ProjectSession::sig_project_saved);
        QVERIFY(saved.project.save_project_as(dir_.filePath("survey")));
        QCOMPARE(saved.project.project_path(), dir_.filePath("survey.kvd"));
        QCOMPARE(saved_to.count(), 1);

        Session opened(factory_);
        QSignalSpy opened_at(&opened.project, &ProjectSession::sig_project_opened);
        QVERIFY(korvex::testing::open_project(opened.project, dir_.filePath("survey.kvd")));
        QCOMPARE(opened_at.count(), 1);
        QCOMPARE(opened_at.at(0).at(0).toString(), dir_.filePath("survey.kvd"));
        QVERIFY(opened.project.restored_completely());
        QCOMPARE(opened.model.objects().size(), std::size_t(2));
        QCOMPARE(opened.model.objects().front()->name(), QString("vol"));
        QCOMPARE(
            dynamic_cast<SyntheticObject*>(opened.model.object("vol"))->settings().value("clip"),
            QVariant(3));
        QCOMPARE(opened.viewers.viewers.size(), std::size_t(2));
        QCOMPARE(opened.viewers.at(0).viewer_name(), QString("left"));
        QVERIFY(opened.viewers.at(0).shown("vol", "sections", "xline"));
        QVERIFY(!opened.viewers.at(0).shown("vol", "object", "self"));
        QVERIFY(opened.viewers.at(1).shown("pts", "object", "self"));
        QCOMPARE(opened.viewers.at(1).view, saved.viewers.at(1).view);
        QCOMPARE(opened.viewers.active_index(), 1);
        QVERIFY(opened.project.capture() == saved.project.capture());
        QVERIFY(!opened.project.has_unsaved_changes());
    }

    void changes_make_the_session_unsaved_until_it_is_saved_or_reopened() {
        Session s(factory_);
        // Nothing loaded and no file: nothing to lose.
        QVERIFY(!s.project.has_unsaved_changes());
        s.model.add_object(SyntheticObject::load(file("vol"), {}));
        QVERIFY(s.project.has_unsaved_changes());
        QVERIFY(s.project.save_project_as(dir_.filePath("work.kvd")));
        QVERIFY(!s.project.has_unsaved_changes());

        // Showing, moving the camera and loading all count.
        s.viewers.at(0).add_item_agent(*s.model.object("vol"));
        QVERIFY(s.project.has_unsaved_changes());
        QVERIFY(s.project.save_project());
        QVERIFY(!s.project.has_unsaved_changes());
        s.viewers.at(0).view = R"({"azimuth":10})";
        QVERIFY(s.project.has_unsaved_changes());

        // Opening the file again drops the changes with the session.
        QVERIFY(korvex::testing::open_project(s.project, dir_.filePath("work.kvd")));
        QVERIFY(!s.project.has_unsaved_changes());
        QVERIFY(s.viewers.at(0).shown("vol", "object", "self"));
        QVERIFY(s.viewers.at(0).view != R"({"azimuth":10})");
    }

    void a_failed_save_reports_it_and_keeps_the_changes_unsaved() {
        Session s(factory_);
        s.model.add_object(SyntheticObject::load(file("vol"), {}));
        QVERIFY(s.project.save_project_as(dir_.filePath("kept.kvd")));
        s.viewers.at(0).add_item_agent(*s.model.object("vol"));

        LogCapture log;
        QSignalSpy saved_to(&s.project, &ProjectSession::sig_project_saved);
        const QString nowhere = dir_.filePath("no/such/folder/lost.kvd");
        QVERIFY(!s.project.save_project_as(nowhere));
        const auto lines = log.lines();
        QVERIFY(std::any_of(lines.begin(), lines.end(), [&](const LogCapture::Line& line) {
            return line.level == "error" && line.text.startsWith("Could not save " + nowhere);
        }));
        QCOMPARE(saved_to.count(), 0);
        QVERIFY(s.project.has_unsaved_changes());
        QCOMPARE(s.project.project_path(), dir_.filePath("kept.kvd"));

        // A file that is not a project is never written over.
        QFile notes(dir_.filePath("notes.kvd"));
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.write("my notes");
        notes.close();
        QVERIFY(!s.project.save_project_as(notes.fileName()));
        QVERIFY(notes.open(QIODevice::ReadOnly));
        QCOMPARE(notes.readAll(), QByteArray("my notes"));
        QVERIFY(s.project.has_unsaved_changes());

        // Without a file there is nothing to save to; Save as is the way.
        Session fresh(factory_);
        QVERIFY(!fresh.project.save_project());
    }

    void a_file_that_is_not_a_project_is_refused_and_the_session_stays() {
        Session s(factory_);
        s.model.add_object(SyntheticObject::load(file("vol"), {}));
        s.viewers.at(0).add_item_agent(*s.model.object("vol"));
        QFile garbage(dir_.filePath("garbage.kvd"));
        QVERIFY(garbage.open(QIODevice::WriteOnly));
        garbage.write("not a database at all, but long enough to look like one............");
        garbage.close();

        LogCapture log;
        QVERIFY(!korvex::testing::open_project(s.project, garbage.fileName()));
        const auto lines = log.lines();
        QVERIFY(!lines.empty());
        QCOMPARE(lines.back().level, QString("error"));
        QVERIFY(lines.back().text.contains(garbage.fileName()));
        QVERIFY(s.model.object("vol"));
        QVERIFY(s.viewers.at(0).shown("vol", "object", "self"));
        QVERIFY(s.project.project_path().isEmpty());
    }

    void a_new_project_starts_empty_and_never_replaces_an_existing_one() {
        Session s(factory_);
        s.model.add_object(SyntheticObject::load(file("vol"), {}));
        s.viewers.reset_viewers({"a", "b"});
        QVERIFY(s.project.create_new_project(dir_.filePath("fresh")));
        QCOMPARE(s.project.project_path(), dir_.filePath("fresh.kvd"));
        QVERIFY(QFile::exists(dir_.filePath("fresh.kvd")));
        QVERIFY(s.model.objects().empty());
        QCOMPARE(s.viewers.viewers.size(), std::size_t(1));
        QVERIFY(!s.project.has_unsaved_changes());

        // A project already there is opened, with what it holds.
        s.model.add_object(SyntheticObject::load(file("vol"), {}));
        QVERIFY(s.project.save_project());
        Session other(factory_);
        QVERIFY(other.project.create_new_project(dir_.filePath("fresh.kvd")));
        QVERIFY(other.model.object("vol"));

        // Replacing is for when the user has been asked.
        QVERIFY(other.project.replace_with_new_project(dir_.filePath("fresh.kvd")));
        QVERIFY(other.model.objects().empty());
        Session third(factory_);
        QVERIFY(korvex::testing::open_project(third.project, dir_.filePath("fresh.kvd")));
        QVERIFY(third.model.objects().empty());
    }

    void an_object_whose_file_is_gone_comes_back_missing_and_is_saved_again() {
        Session s(factory_);
        const QString path = file("vol");
        s.model.add_object(SyntheticObject::load(path, {{"clip", 2}}));
        s.viewers.at(0).add_item_agent(*s.model.object("vol"));
        ProjectSnapshot saved = s.project.capture();
        saved.section_views = {{"Section 1", R"({"kind":"iline","line":3,"volume":"vol"})"}};
        ProjectDatabase(dir_.filePath("moved.kvd")).save(saved);
        QVERIFY(QFile::remove(path));

        Session opened(factory_);
        QVERIFY(korvex::testing::open_project(opened.project, dir_.filePath("moved.kvd")));
        QVERIFY(dynamic_cast<MissingDataObject*>(opened.model.object("vol")));
        QVERIFY(!opened.viewers.at(0).shown("vol", "object", "self"));
        // What the project shows of it waits for the file to be back, saved as it was.
        QVERIFY(opened.project.save_project());
        QVERIFY(ProjectDatabase(dir_.filePath("moved.kvd")).load() == saved);
    }

    void a_project_open_in_another_session_is_told_until_that_one_leaves_it() {
        Session first(factory_);
        QVERIFY(first.project.save_project_as(dir_.filePath("shared")));
        Session second(factory_);
        LogCapture log;
        QVERIFY(korvex::testing::open_project(second.project, dir_.filePath("shared.kvd")));
        QCOMPARE(log.texts()
                     .filter(dir_.filePath("shared.kvd") + " is open in another korvex "
                                                           "as well (process ")
                     .size(),
                 1);

        QVERIFY(first.project.create_new_project(dir_.filePath("other")));
        log.clear();
        QVERIFY(korvex::testing::open_project(second.project, dir_.filePath("shared.kvd")));
        QVERIFY(log.texts().filter("is open in another korvex").isEmpty());
    }

    void a_demo_survey_cleared_from_the_cache_is_written_again() {
        qputenv("XDG_CACHE_HOME", QFile::encodeName(dir_.filePath("cache")));
        factory_.register_type({SeismicVolume::TYPE,
                                "SEG-Y",
                                {"sgy"},
                                nullptr,
                                nullptr,
                                nullptr,
                                &SeismicVolume::load_async});
        const QString demo = korvex::app::data::DemoSurvey::ensure().volume;
        const QString name = QFileInfo(demo).completeBaseName();
        ProjectSnapshot saved;
        saved.objects = {{SeismicVolume::TYPE, name, demo, SeismicVolume::header_settings({})}};
        ProjectDatabase(dir_.filePath("demo.kvd")).save(saved);
        QVERIFY(QDir(korvex::app::data::DemoSurvey::default_folder()).removeRecursively());

        Session opened(factory_);
        QVERIFY(korvex::testing::open_project(opened.project, dir_.filePath("demo.kvd")));
        QVERIFY(dynamic_cast<SeismicVolume*>(opened.model.object(name)));
    }

private:
    QString file(const QString& name, bool volume = true) {
        return SyntheticObject::write_in(dir_.path(), name, volume);
    }

    QTemporaryDir dir_;
    DataObjectFactory factory_;
};

KORVEX_TEST_GUILESS_MAIN(ProjectSessionTest)
#include "tst_project_session.moc"
