#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>
#include <optional>

#include "korvex/utils/errors.h"
#include "korvex/utils/file_intake/file_intake.h"
#include "tests/support/modal_answer.h"
#include "tests/support/stdout_capture.h"
#include "tests/support/test_main.h"

using korvex::testing::StdoutCapture;
using korvex::utils::FileIntake;

namespace {

// What the next file dialog looked like when it opened.
struct Seen {
    QString title;
    QString directory;
    QStringList name_filters;
};

QString canonical(const QString& path) { return QFileInfo(path).canonicalFilePath(); }

// What the next file dialog looked like, once answered.
struct Answer {
    Seen seen;
    bool answered = false;
};

// Answers the next modal file dialog as a user would: types `entry` into its name box
// and clicks the accept button, or with no entry clicks Cancel. Shared, so that a dialog
// coming up after a failed test has nothing dangling to write to.
std::shared_ptr<Answer> answer_file_dialog(const std::optional<QString>& entry) {
    auto answer = std::make_shared<Answer>();
    korvex::testing::answer_next_modal([answer, entry](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog) {
            modal->close();
            return;
        }
        answer->seen = {dialog->windowTitle(), canonical(dialog->directory().absolutePath()),
                        dialog->nameFilters()};
        auto* buttons = dialog->findChild<QDialogButtonBox*>("buttonBox");
        if (entry) {
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(*entry);
            QTest::mouseClick(buttons->button(QDialogButtonBox::Open), Qt::LeftButton);
        } else {
            QTest::mouseClick(buttons->button(QDialogButtonBox::Cancel), Qt::LeftButton);
        }
        answer->answered = true;
    });
    return answer;
}

}  // namespace

class FileIntakeTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        QVERIFY(work_.isValid());
        for (const char* name : {"a.sgy", "b.txt", "c d.txt"}) {
            QFile file(work_.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QVERIFY(QDir(work_.path()).mkdir("wells"));
    }

    void a_new_intake_starts_in_the_current_directory_with_nothing_running() {
        QWidget main;
        FileIntake intake(&main);
        QCOMPARE(intake.main(), &main);
        QCOMPARE(intake.parentWidget(), &main);
        QCOMPARE(intake.workdir(), QDir::currentPath());
        QVERIFY(intake.workerThreads().isEmpty());
        QVERIFY_EXCEPTION_THROWN(intake.todo(), korvex::utils::NotImplementedError);
    }

    void set_work_dir_takes_a_path_as_given_or_the_current_directory_now() {
        FileIntake intake;
        intake.set_work_dir("/no/such/place");
        QCOMPARE(intake.workdir(), QString("/no/such/place"));
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(work_.path()));
        intake.set_work_dir();
        QDir::setCurrent(before);
        QCOMPARE(intake.workdir(), work_.path());
    }

    void select_file_returns_the_chosen_file() {
        FileIntake intake;
        intake.set_work_dir(work_.path());
        const auto answer = answer_file_dialog(QString("a.sgy"));
        StdoutCapture out;
        const QString file = intake.select_file();
        QVERIFY(answer->answered);
        QCOMPARE(file, work_.filePath("a.sgy"));
        QCOMPARE(out.text(), "Selected file: " + work_.filePath("a.sgy") + "\n");
        QCOMPARE(answer->seen.title, QString("Open files"));
        QCOMPARE(answer->seen.directory, canonical(work_.path()));
        for (const QString& filter : answer->seen.name_filters)
            QVERIFY2(filter.contains("(*)"), qPrintable(filter));
    }

    void select_files_returns_every_chosen_file_and_applies_the_filter() {
        FileIntake intake;
        intake.set_work_dir(work_.path());
        const auto answer = answer_file_dialog(QString("\"b.txt\" \"c d.txt\""));
        StdoutCapture out;
        const QStringList files = intake.select_files("Text (*.txt)");
        QCOMPARE(files, (QStringList{work_.filePath("b.txt"), work_.filePath("c d.txt")}));
        QCOMPARE(out.text(), QString("Selected files: [\"%1\", \"%2\"]\n").arg(files[0], files[1]));
        QCOMPARE(answer->seen.title, QString("Open files"));
        QCOMPARE(answer->seen.name_filters, QStringList{"Text (*.txt)"});
    }

    void select_folder_returns_the_chosen_folder() {
        FileIntake intake;
        intake.set_work_dir(work_.path());
        const auto answer = answer_file_dialog(work_.filePath("wells"));
        StdoutCapture out;
        const QString folder = intake.select_folder();
        QCOMPARE(canonical(folder), canonical(work_.filePath("wells")));
        QCOMPARE(out.text(), "Selected folder: " + folder + "\n");
        QCOMPARE(answer->seen.title, QString("Select directory"));
        QCOMPARE(answer->seen.directory, canonical(work_.path()));
    }

    void cancelling_gives_nothing_and_still_writes_the_line() {
        FileIntake intake;
        intake.set_work_dir(work_.path());
        StdoutCapture out;
        {
            const auto cancel = answer_file_dialog(std::nullopt);
            QCOMPARE(intake.select_file(), QString());
            QVERIFY(cancel->answered);
        }
        {
            const auto cancel = answer_file_dialog(std::nullopt);
            QCOMPARE(intake.select_files(), QStringList());
            QVERIFY(cancel->answered);
        }
        {
            const auto cancel = answer_file_dialog(std::nullopt);
            QCOMPARE(intake.select_folder(), QString());
            QVERIFY(cancel->answered);
        }
        QCOMPARE(out.text(), QString("Selected file: \nSelected files: []\nSelected folder: \n"));
    }

    void a_work_dir_that_does_not_exist_opens_at_its_nearest_folder() {
        FileIntake intake;
        intake.set_work_dir(work_.filePath("not_yet_made"));
        const auto answer = answer_file_dialog(QString("b.txt"));
        StdoutCapture out;
        QCOMPARE(intake.select_file(), work_.filePath("b.txt"));
        QCOMPARE(answer->seen.directory, canonical(work_.path()));
        QCOMPARE(intake.workdir(), work_.filePath("not_yet_made"));  // dialogs do not move it
    }

private:
    QTemporaryDir work_;
};

KORVEX_TEST_MAIN(FileIntakeTest)
#include "tst_file_intake.moc"
