#pragma once

#include <QDialog>

#include "korvex/app/data/data_export.h"
#include "korvex/host/appearance_owner.h"

namespace korvex::utils {
class UndoService;
}

namespace korvex::widgets {
class AppearancePanel;
}

namespace korvex::app::data {

// A window holding the appearance page of one data object of the tree: the page that
// fits the object's kind (seismic volume or point set). It closes when the object goes.
class KORVEX_DATA_EXPORT AppearanceDialog final : public QDialog, public host::AppearanceOwner {
    Q_OBJECT

public:
    // Throws utils::LookupError when the tree has no such object or no page fits it.
    // The page's changes go to `undo` when given.
    AppearanceDialog(host::DataRegistry& tree, const QString& name, QWidget* parent = nullptr,
                     utils::UndoService* undo = nullptr);

    // The slot for a tree's request: shows the object's dialog, raising the one already
    // open under `parent`. Failures are logged; then it returns nullptr.
    static AppearanceDialog* show_for(host::DataRegistry& tree, const QString& name,
                                      QWidget* parent, utils::UndoService* undo = nullptr);

    host::DataRegistry* data_tree() const override { return &tree_; }
    QString objname() const override { return name_; }
    widgets::AppearancePanel* page() const { return page_; }

private:
    widgets::AppearancePanel* make_page(utils::UndoService* undo);

    host::DataRegistry& tree_;
    QString name_;
    widgets::AppearancePanel* page_ = nullptr;
};

}  // namespace korvex::app::data
