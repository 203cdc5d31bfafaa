#include "korvex/app/start_up/start_up.h"

#include <cstdio>
#include <cstdlib>

#include "korvex/config/base.h"
#include "korvex/scene/surface_format.h"

namespace korvex::app {

using config::_;

namespace {

// What -platform or QT_QPA_PLATFORM, and -display or DISPLAY, ask Qt for.
struct DisplayRequest {
    QString platforms;
    QString display;

    static DisplayRequest of(const QStringList& arguments) {
        DisplayRequest request{qEnvironmentVariable("QT_QPA_PLATFORM"),
                               qEnvironmentVariable("DISPLAY")};
        for (int i = 1; i + 1 < arguments.size(); ++i) {
            // Qt reads "-platform" and "--platform" alike.
            const QString option =
                arguments[i].startsWith(QLatin1String("--")) ? arguments[i].mid(1) : arguments[i];
            if (option == QLatin1String("-platform")) request.platforms = arguments[i + 1];
            if (option == QLatin1String("-display")) request.display = arguments[i + 1];
        }
        return request;
    }

    // Whether Qt will use X and nothing else.
    bool x_only() const {
        // Unasked, Qt chooses Wayland in a Wayland session.
        if (platforms.isEmpty())
            return qEnvironmentVariable("XDG_SESSION_TYPE") != QLatin1String("wayland");
        // A list of platforms is tried in order.
        for (const QString& platform : platforms.split(';', Qt::SkipEmptyParts)) {
            if (platform.section(':', 0, 0) != QLatin1String("xcb")) return false;
        }
        return true;
    }
};

QString unreachable_display;
QtMessageHandler earlier_handler = nullptr;

void report_unreachable_display(QtMsgType type, const QMessageLogContext& context,
                                const QString& text) {
    if (type == QtFatalMsg &&
        text.contains(QLatin1String("no Qt platform plugin could be initialized"))) {
        std::fprintf(stderr, "korvex: %s\n", qPrintable(unreachable_display));
        std::_Exit(1);
    }
    earlier_handler(type, context, text);
}

}  // namespace

QString display_shortfall(const QStringList& arguments) {
    const DisplayRequest request = DisplayRequest::of(arguments);
    if (request.x_only() && request.display.isEmpty()) return _("no display: DISPLAY is not set");
    return {};
}

QString prepare_graphics(const QStringList& arguments) {
    scene::prepare_default_surface_format();
    const DisplayRequest request = DisplayRequest::of(arguments);
    unreachable_display =
        request.x_only()
            ? _("cannot connect to the X display \"%1\"").arg(request.display)
            : _("no window system could be reached (platform \"%1\")").arg(request.platforms);
    if (!earlier_handler) earlier_handler = qInstallMessageHandler(report_unreachable_display);
    return display_shortfall(arguments);
}

}  // namespace korvex::app
