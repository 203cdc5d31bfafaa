// Times environment files of many lines: one of statements that cannot be read, one of
// distinct keys. Each is timed at a small size and at a size 16 times larger; the
// growth is the cost per line at the large size over that at the small size, about 1
// when loading is linear in the length of the file.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>

#include "korvex/utils/dotenv.h"
#include "korvex/utils/dotenv_parser.h"

namespace {

constexpr int SMALL = 10000;
constexpr int LARGE = 160000;

double best_ms(const std::function<void()>& run) {
    double best = 1e300;
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

QByteArray unreadable_lines(int count) {
    QByteArray text;
    for (int i = 0; i < count; ++i) text += "not a statement " + QByteArray::number(i) + "\n";
    return text;
}

QByteArray distinct_keys(int count) {
    QByteArray text;
    for (int i = 0; i < count; ++i) text += "KEY_" + QByteArray::number(i) + "=value\n";
    return text;
}

double parse_ms(int lines) {
    const QString text = QString::fromUtf8(unreadable_lines(lines));
    return best_ms([&] { korvex::utils::DotenvParser parser(text); });
}

double load_ms(const QTemporaryDir& dir, int lines) {
    const QString path = dir.filePath(QStringLiteral("keys%1.env").arg(lines));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(distinct_keys(lines));
    file.close();
    return best_ms([&] { korvex::utils::dotenv_values(path); });
}

void report(const char* name, double small_ms, double large_ms) {
    std::printf("%s: %d lines %.1f ms, %d lines %.1f ms\n", name, SMALL, small_ms, LARGE, large_ms);
    std::printf("figure %s_160k_lines %.1f ms\n", name, large_ms);
    std::printf("figure %s_growth %.2f x\n", name, (large_ms / LARGE) / (small_ms / SMALL));
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    report("dotenv_unreadable", parse_ms(SMALL), parse_ms(LARGE));
    report("dotenv_keys", load_ms(dir, SMALL), load_ms(dir, LARGE));
    return 0;
}
