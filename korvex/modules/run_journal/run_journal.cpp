#include "korvex/modules/run_journal/run_journal.h"

#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

#include "korvex/config/base.h"
#include "korvex/host/window_host.h"
#include "korvex/widgets/log_pane/log_pane.h"

namespace korvex::modules {

using config::_;

RunJournal::RunJournal(host::WindowHost* parent) : KorvexModuleWidget(parent) {
    setObjectName(CONF_SECTION);
    initialize_module();
    logpane_ = new widgets::LogPane(this, options_button());
    auto* layout = new QVBoxLayout;
    layout->addWidget(logpane_);
    setLayout(layout);
}

widgets::LogPane* RunJournal::logpane() const { return logpane_; }

QString RunJournal::get_module_title() const { return _("Run journal"); }

QWidget* RunJournal::get_focus_widget() const { return logpane_->textBrowser(); }

QList<QAction*> RunJournal::get_module_actions() const { return {}; }

void RunJournal::register_module() { require_main().add_dockwidget(this); }

void RunJournal::refresh_module(const std::optional<QString>&, bool) {}

bool RunJournal::closing_module(bool) { return true; }

}  // namespace korvex::modules
