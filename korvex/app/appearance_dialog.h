#pragma once

#include <QDialog>
#include <QPointer>

#include "korvex/host/appearance_owner.h"

namespace korvex::app {

class DataTree;

// The window of one data object's appearance page. The page made for the object's type
// finds its object through this owner; a type without a page gets the object's
// properties instead.
class AppearanceDialog final : public QDialog, public host::AppearanceOwner {
    Q_OBJECT

public:
    // Throws utils::LookupError when the tree has no object of that name.
    AppearanceDialog(DataTree* tree, const QString& objname, QWidget* parent = nullptr);

    host::DataTree* data_tree() const override;
    QString objname() const override { return objname_; }

private:
    QPointer<DataTree> tree_;
    QString objname_;
};

}  // namespace korvex::app
