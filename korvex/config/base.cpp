#include "korvex/config/base.h"

#include <QCoreApplication>
#include <QTranslator>

namespace korvex::config {

QString _(const char* text) { return QCoreApplication::translate(TRANSLATION_CONTEXT, text); }

QString _(const QString& text) { return _(text.toUtf8().constData()); }

bool install_translator(QCoreApplication& app, const QString& locale_name) {
    auto* translator = new QTranslator(&app);
    const QString folder = QCoreApplication::applicationDirPath() + "/../translations";
    if (!translator->load("korvex_" + locale_name, folder)) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

}  // namespace korvex::config
