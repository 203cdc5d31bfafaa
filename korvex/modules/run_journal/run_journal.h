#pragma once

#include "korvex/modules/base/korvex_module_widget.h"
#include "korvex/modules/run_journal/run_journal_export.h"

namespace korvex::widgets {
class LogPane;
}

namespace korvex::modules {

// Run Journal DockWidget: a log panel in a dock of the main window. The host feeds the
// log into the panel's view.
class KORVEX_RUN_JOURNAL_EXPORT RunJournal final : public KorvexModuleWidget {
    Q_OBJECT

public:
    static constexpr const char* CONF_SECTION = "run_journal";

    explicit RunJournal(host::WindowHost* parent);

    widgets::LogPane* logpane() const;

    QString get_module_title() const override;
    QWidget* get_focus_widget() const override;
    QList<QAction*> get_module_actions() const override;
    void register_module() override;
    void refresh_module(const std::optional<QString>& new_path = std::nullopt,
                        bool force_current = true) override;
    bool closing_module(bool cancelable = false) override;

private:
    widgets::LogPane* logpane_;
};

}  // namespace korvex::modules
