#pragma once

#include <QString>
#include <functional>

class QTabWidget;
class QWidget;

namespace korvex::app {

// What the tabbed areas of flat views (sections, maps) share: each tab's options button and
// the name a new tab gets.

// An options button whose menu offers `close_text`; `close` gets the index of the tab the
// button sits in when it is chosen.
QWidget* make_view_options_button(QTabWidget* tabs, const QString& tool_tip,
                                  const QString& close_text, std::function<void(int)> close);

// Takes tab `index` away and deletes its view once the event under way is over (the view
// may be the one whose menu asked); the area hides when no tab is left.
void close_view_tab(QTabWidget& tabs, int index);

// The first of `pattern` with 1, 2, ... for %1 that no tab of `tabs` is called.
QString free_tab_name(const QTabWidget& tabs, const QString& pattern);

}  // namespace korvex::app
