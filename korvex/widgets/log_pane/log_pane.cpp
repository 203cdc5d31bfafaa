#include "korvex/widgets/log_pane/log_pane.h"

#include <QHBoxLayout>
#include <QMessageBox>
#include <QTextBrowser>
#include <QToolButton>

#include "korvex/config/base.h"
#include "korvex/utils/icon_manager.h"
#include "korvex/utils/qthelpers.h"

namespace korvex::widgets {

using config::_;
using utils::ToolButtonOptions;

LogPane::LogPane(QWidget* parent, QWidget* options_button)
    : QWidget(parent), textBrowser_(new QTextBrowser(this)) {
    auto* buttons = new QHBoxLayout;
    for (QToolButton* button : setup_buttons()) {
        button->setIconSize(QSize(16, 16));
        buttons->addWidget(button);
    }
    if (options_button) {
        buttons->addStretch();
        buttons->addWidget(options_button, 0, Qt::AlignRight);
    }
    setLayout(utils::create_module_layout(buttons, textBrowser_));
}

QTextBrowser* LogPane::textBrowser() const { return textBrowser_; }

QList<QToolButton*> LogPane::setup_buttons() {
    QTextBrowser* view = textBrowser_;
    auto* clear_btn = utils::create_toolbutton(this, ToolButtonOptions()
                                                         .icon(utils::icon("clear_text"))
                                                         .tip(_("Clear text"))
                                                         .shortcut("Ctrl+L")
                                                         .triggered([view] { view->clear(); }));
    auto* dummy_btn = utils::create_toolbutton(
        this, ToolButtonOptions().icon(utils::icon("fromcursor")).tip(_("Do nothing")));
    auto* help_btn = utils::create_toolbutton_help(this, [this] { show_help(); });
    return {clear_btn, dummy_btn, help_btn};
}

void LogPane::show_help() {
    QMessageBox::information(
        this, _("How to use"),
        _("Double click a word to highlight then Ctrl+F to find.<br><b>TODO</b> add more.<br>"));
}

}  // namespace korvex::widgets
