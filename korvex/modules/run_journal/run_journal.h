#pragma once

#include <memory>

#include "korvex/modules/base/korvex_module_widget.h"

namespace korvex::widgets {
class LogPane;
}

namespace korvex::modules {

class JournalSink;
class LogFinder;

// Run Journal DockWidget: the application's log in a dock of the main window. From
// registration until the module is destroyed, every log line appears in its view; the
// first journal registered also shows the lines logged before it existed.
class RunJournal final : public KorvexModuleWidget {
    Q_OBJECT

public:
    static constexpr const char* CONF_SECTION = "run_journal";

    explicit RunJournal(host::WindowHost* parent);
    ~RunJournal() override;

    widgets::LogPane* logpane() const;
    // Ctrl+F and F3 while the keyboard is in the journal.
    LogFinder* finder() const;

    QString get_module_title() const override;
    QWidget* get_focus_widget() const override;
    QList<QAction*> get_module_actions() const override;
    void register_module() override;
    void refresh_module(const std::optional<QString>& new_path = std::nullopt,
                        bool force_current = true) override;
    bool closing_module(bool cancelable = false) override;

private:
    widgets::LogPane* logpane_;
    LogFinder* finder_;
    std::shared_ptr<JournalSink> sink_;
};

}  // namespace korvex::modules
