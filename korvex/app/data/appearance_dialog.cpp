#include "korvex/app/data/appearance_dialog.h"

#include <QVBoxLayout>

#include "korvex/app/data/point_set.h"
#include "korvex/app/data/point_set_page.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/app/data/seismic_volume_page.h"
#include "korvex/config/base.h"
#include "korvex/host/data_registry.h"
#include "korvex/utils/errors.h"
#include "korvex/utils/logger.h"
#include "korvex/utils/qthelpers.h"

namespace korvex::app::data {

using config::_;

AppearanceDialog::AppearanceDialog(host::DataRegistry& tree, const QString& name, QWidget* parent,
                                   utils::UndoService* undo)
    : QDialog(parent), tree_(tree), name_(name) {
    page_ = make_page(undo);
    page_->initialize();
    setWindowTitle(_("%1: %2").arg(page_->get_name().value_or(QString()), name));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(page_);
    if (auto* object = dynamic_cast<QObject*>(page_->dob()))
        connect(object, &QObject::destroyed, this, &QDialog::close);
}

widgets::AppearancePanel* AppearanceDialog::make_page(utils::UndoService* undo) {
    const auto objects = tree_.object_data();
    const auto found = objects.find(name_);
    if (found == objects.end())
        throw utils::LookupError(utils::format("no data object named {}", name_).toStdString());
    if (dynamic_cast<SeismicVolume*>(found->second)) {
        auto* page = new SeismicVolumePage(this);
        page->set_undo_service(undo);
        return page;
    }
    if (dynamic_cast<PointSet*>(found->second)) {
        auto* page = new PointSetPage(this);
        page->set_undo_service(undo);
        return page;
    }
    throw utils::LookupError(utils::format("{} has no appearance settings", name_).toStdString());
}

AppearanceDialog* AppearanceDialog::show_for(host::DataRegistry& tree, const QString& name,
                                             QWidget* parent, utils::UndoService* undo) {
    AppearanceDialog* dialog = nullptr;
    utils::call_guarded(QStringLiteral("Opening the appearance of ") + name, [&] {
        for (auto* open :
             parent ? parent->findChildren<AppearanceDialog*>() : QList<AppearanceDialog*>())
            if (open->objname() == name && &open->tree_ == &tree) dialog = open;
        if (!dialog) {
            dialog = new AppearanceDialog(tree, name, parent, undo);
            dialog->setAttribute(Qt::WA_DeleteOnClose);
        }
        dialog->show();
        dialog->raise();
        dialog->activateWindow();
    });
    return dialog;
}

}  // namespace korvex::app::data
