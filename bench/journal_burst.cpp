// How long the GUI thread takes to absorb a burst of 50,000 log lines in the run
// journal's view: logging them, the batched appends, and the first paint after. The
// reference, timed in the same run: the same lines appended in one go to a plain
// QPlainTextEdit and painted. Median of a few rounds, milliseconds.
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/bench_journal_burst
#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextBrowser>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include <spdlog/logger.h>

#include "korvex/app/window/journal_sink.h"

namespace {

constexpr int LINES = 50000;
constexpr int ROUNDS = 3;

QString line_text(int i) {
    return QString("Loaded horizon_%1 from /data/survey/horizons/h%1.txt (%2 points)")
        .arg(i)
        .arg(i * 7 % 100000);
}

double median_ms(const std::function<void()>& round) {
    std::vector<double> times;
    for (int i = 0; i < ROUNDS; ++i) {
        QElapsedTimer timer;
        timer.start();
        round();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void show(QWidget& widget) {
    widget.resize(900, 400);
    widget.show();
    QCoreApplication::processEvents();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::vector<std::string> texts;
    for (int i = 0; i < LINES; ++i) texts.push_back(line_text(i).toStdString());
    const QString last = QString::fromStdString(texts.back());

    int kept = 0;
    const double journal = median_ms([&] {
        QTextBrowser view;
        show(view);
        spdlog::logger log("bench", korvex::app::JournalSink::create(&view));
        for (const std::string& text : texts) log.info(text);
        while (!view.document()->lastBlock().text().endsWith(last))
            QCoreApplication::processEvents();
        view.repaint();
        kept = view.document()->blockCount();
    });

    QStringList lines;
    for (const std::string& text : texts) lines << QString::fromStdString(text);
    const QString all = lines.join('\n');
    const double reference = median_ms([&] {
        QPlainTextEdit edit;
        show(edit);
        edit.appendPlainText(all);
        edit.repaint();
    });

    std::printf("a burst of %d log lines, median of %d rounds\n", LINES, ROUNDS);
    std::printf("  run journal: logged, appended in batches, painted: %.1f ms (%d lines kept)\n",
                journal, kept);
    std::printf("  reference: one QPlainTextEdit append, painted:     %.1f ms\n", reference);
    std::printf("figure journal_burst_reference %.1f ms\n", reference);
    std::printf("figure journal_burst_ratio %.2f x\n", journal / reference);
    std::printf("figure journal_burst %.1f ms\n", journal);
    return 0;
}
