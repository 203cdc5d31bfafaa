#include "korvex/modules/run_journal/run_journal.h"

#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

#include "korvex/config/base.h"
#include "korvex/host/window_host.h"
#include "korvex/modules/run_journal/journal_sink.h"
#include "korvex/modules/run_journal/log_finder.h"
#include "korvex/utils/logger.h"
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
    finder_ = new LogFinder(logpane_->textBrowser(), this);
}

RunJournal::~RunJournal() {
    // The logger outlives every window: it must stop writing here before the view goes.
    if (sink_) utils::logger().detach_sink(sink_);
}

widgets::LogPane* RunJournal::logpane() const { return logpane_; }

LogFinder* RunJournal::finder() const { return finder_; }

QString RunJournal::get_module_title() const { return _("Run journal"); }

QWidget* RunJournal::get_focus_widget() const { return logpane_->textBrowser(); }

QList<QAction*> RunJournal::get_module_actions() const { return {}; }

void RunJournal::register_module() {
    require_main().add_dockwidget(this);
    if (!sink_) {
        sink_ = JournalSink::create(logpane_->textBrowser());
        // What was logged before the journal existed (plug-ins loading, say) comes first.
        utils::logger().attach_sink_with_startup_lines(sink_);
    }
}

void RunJournal::refresh_module(const std::optional<QString>&, bool) {}

bool RunJournal::closing_module(bool) { return true; }

}  // namespace korvex::modules
