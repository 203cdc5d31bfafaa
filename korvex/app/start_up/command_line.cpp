#include "korvex/app/start_up/command_line.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QRegularExpression>

#include "korvex/config/base.h"
#include "korvex/utils/errors.h"

namespace korvex::app {

using config::_;

namespace {

const QString DEMO = QStringLiteral("demo");
const QString EXPORT = QStringLiteral("export");
const QString VIEW = QStringLiteral("view");
const QString SIZE = QStringLiteral("size");

QSize parse_size(const QString& text) {
    const auto match = QRegularExpression(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$")).match(text);
    const QSize size =
        match.hasMatch() ? QSize(match.captured(1).toInt(), match.captured(2).toInt()) : QSize();
    if (size.width() < 1 || size.height() < 1)
        throw utils::ValueError(
            _("--size wants WIDTHxHEIGHT in pixels, such as 1280x960, not \"%1\"")
                .arg(text)
                .toStdString());
    return size;
}

}  // namespace

const QStringList CommandLine::VIEWS{"top", "bottom", "north", "south", "west", "east"};

void CommandLine::add_options(QCommandLineParser& parser) {
    parser.addOptions({
        {DEMO, _("Open the demo survey (written once into the cache folder).")},
        {EXPORT, _("Write a picture of the 3D view to <png> and quit."), QStringLiteral("png")},
        {VIEW,
         _("With --export: look from <view>: %1; or picture a section view: inline:N, "
           "crossline:N, time:T; or the map view, north up: map.")
             .arg(VIEWS.join(", ")),
         QStringLiteral("view")},
        {SIZE, _("With --export: the picture's size, such as 1280x960."), QStringLiteral("WxH")},
    });
    parser.addPositionalArgument(
        QStringLiteral("files"),
        _("Data files (SEG-Y volumes, point files) and at most one project "
          "(.kvd) to open."),
        QStringLiteral("[files...]"));
}

CommandLine CommandLine::from(const QCommandLineParser& parser) {
    CommandLine line;
    line.demo = parser.isSet(DEMO);
    line.export_path = parser.value(EXPORT);
    if (!line.exports() && (parser.isSet(VIEW) || parser.isSet(SIZE)))
        throw utils::ValueError(_("--view and --size only go with --export").toStdString());
    if (parser.isSet(VIEW)) {
        line.view = parser.value(VIEW);
        if (!VIEWS.contains(line.view) && !line.section_view() && !line.map_view())
            throw utils::ValueError(_("--view wants one of %1, inline:N, crossline:N, time:T or "
                                      "map, not \"%2\"")
                                        .arg(VIEWS.join(", "), line.view)
                                        .toStdString());
    }
    if (parser.isSet(SIZE)) line.size = parse_size(parser.value(SIZE));
    for (const QString& argument : parser.positionalArguments()) {
        if (QFileInfo(argument).suffix().toLower() != QLatin1String("kvd")) {
            line.files << argument;
        } else if (line.project.isEmpty()) {
            line.project = argument;
        } else {
            throw utils::ValueError(_("only one project can be opened at a time").toStdString());
        }
    }
    return line;
}

std::optional<std::pair<QString, double>> CommandLine::section_view() const {
    static const QRegularExpression pattern(
        QStringLiteral("^(inline|crossline|time):(-?[0-9]+(\\.[0-9]+)?)$"));
    const QRegularExpressionMatch match = pattern.match(view);
    if (!match.hasMatch()) return std::nullopt;
    const QString word = match.captured(1);
    const QString type = word == QLatin1String("inline")      ? QStringLiteral("iline")
                         : word == QLatin1String("crossline") ? QStringLiteral("xline")
                                                              : QStringLiteral("depth");
    return std::make_pair(type, match.captured(2).toDouble());
}

void CommandLine::check_size(const QSize& largest) const {
    if (!exports() || largest.isEmpty()) return;
    if (size.width() > largest.width() || size.height() > largest.height())
        throw utils::ValueError(_("--size %1x%2 is larger than this display's OpenGL can draw: "
                                  "at most %3x%4")
                                    .arg(size.width())
                                    .arg(size.height())
                                    .arg(largest.width())
                                    .arg(largest.height())
                                    .toStdString());
}

}  // namespace korvex::app
