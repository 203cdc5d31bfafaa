#include "korvex/app/catalog/data_tree.h"

#include <QHeaderView>
#include <QMenu>
#include <QSignalBlocker>
#include <QStyle>

#include "korvex/app/catalog/data_model.h"
#include "korvex/app/catalog/missing_data_object.h"
#include "korvex/app/data/header_browser.h"
#include "korvex/app/data/point_set.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/app/viewers/display_router.h"
#include "korvex/app/viewers/display_target.h"
#include "korvex/config/base.h"
#include "korvex/host/data_object.h"
#include "korvex/utils/appconsts/appconsts.h"
#include "korvex/utils/errors.h"
#include "korvex/utils/logger.h"
#include "korvex/utils/qthelpers.h"

namespace korvex::app {

using config::_;
using utils::format;

namespace {

constexpr int ROLE_OBJECT = Qt::UserRole;
constexpr int ROLE_SECTION = Qt::UserRole + 1;

Qt::CheckState check_state(bool on) { return on ? Qt::Checked : Qt::Unchecked; }

QTreeWidgetItem* new_checkable_item(QTreeWidgetItem* parent, const QString& text,
                                    const QString& name) {
    auto* item = new QTreeWidgetItem(parent, {text});
    item->setData(0, ROLE_OBJECT, name);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(0, Qt::Unchecked);
    return item;
}

}  // namespace

DataTree::DataTree(DataModel& model, DisplayRouter& router, QWidget* parent)
    : QTreeWidget(parent), model_(model), router_(router) {
    setHeaderHidden(true);
    setColumnCount(1);
    setContextMenuPolicy(Qt::CustomContextMenu);
    // A double click opens the appearance page; the item keeps its children in view.
    setExpandsOnDoubleClick(false);
    connect(this, &QTreeWidget::itemChanged, this,
            [this](QTreeWidgetItem* item, int /*column*/) { on_item_changed(item); });
    connect(this, &QTreeWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        utils::call_guarded(_("Data tree menu"), [&] {
            std::unique_ptr<QMenu> menu(create_context_menu(itemAt(pos)));
            menu->exec(viewport()->mapToGlobal(pos));
        });
    });
    connect(this, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item, int) {
        const QString name = item->data(0, ROLE_OBJECT).toString();
        if (item->parent() == nullptr && !name.isEmpty()) emit sig_appearance_requested(name);
    });
    connect(&model_, &DataModel::sig_added, this, [this](host::DataObject* dob) {
        utils::call_guarded(_("Listing %1").arg(dob->name()), [&] { add_item(*dob); });
    });
    connect(&model_, &DataModel::sig_removed, this, [this](const QString& name) {
        const QSignalBlocker blocker(this);
        delete tree_item(name);
    });
    connect(&model_, &DataModel::sig_changed, this, [this](const QString& name) {
        utils::call_guarded(_("Updating %1").arg(name), [&] { relabel(name); });
    });
    connect(&router_, &DisplayRouter::sig_display_changed, this,
            [this](const QString& name) { sync_object(name); });
    connect(&router_, &DisplayRouter::sig_active_changed, this, [this] { sync_all(); });
    for (host::DataObject* dob : model_.objects()) add_item(*dob);
}

// Clearing the items must not reach back into the model, which may be gone already.
DataTree::~DataTree() {
    const QSignalBlocker blocker(this);
    clear();
}

std::map<QString, host::DataObject*> DataTree::object_data() const { return model_.object_data(); }

std::map<QString, host::DataItem> DataTree::object_items() const {
    std::map<QString, host::DataItem> result;
    for (const host::DataObject* dob : model_.objects())
        result[dob->name()] = host::DataItem{dob->name()};
    return result;
}

void DataTree::setCurrentItem(const host::DataItem& item) {
    QTreeWidgetItem* row = tree_item(item.object_name);
    if (!row) {
        throw utils::LookupError(format("No data object named {}", item.object_name).toStdString());
    }
    QTreeWidget::setCurrentItem(row);
    scrollToItem(row);
}

bool DataTree::is_checked(const QString& name) const {
    QTreeWidgetItem* item = tree_item(name);
    if (!item) throw utils::LookupError(format("No data object named {}", name).toStdString());
    return item->checkState(0) == Qt::Checked;
}

void DataTree::set_checked(const QString& name, bool checked) {
    QTreeWidgetItem* item = tree_item(name);
    if (!item) throw utils::LookupError(format("No data object named {}", name).toStdString());
    if (!(item->flags() & Qt::ItemIsUserCheckable)) {
        throw utils::ValueError(
            format("{} cannot be shown: its data is missing", name).toStdString());
    }
    item->setCheckState(0, check_state(checked));
}

bool DataTree::is_section_checked(const QString& name, const QString& section) const {
    QTreeWidgetItem* item = section_item(name, section);
    if (!item)
        throw utils::LookupError(format("{} has no {} section", name, section).toStdString());
    return item->checkState(0) == Qt::Checked;
}

void DataTree::set_section_checked(const QString& name, const QString& section, bool checked) {
    QTreeWidgetItem* item = section_item(name, section);
    if (!item)
        throw utils::LookupError(format("{} has no {} section", name, section).toStdString());
    item->setCheckState(0, check_state(checked));
}

void DataTree::uncheck_all() {
    if (DisplayTarget* active = router_.active_target()) router_.take_all_out(*active);
    {
        const QSignalBlocker blocker(this);
        for (QTreeWidgetItemIterator it(this, QTreeWidgetItemIterator::Checked); *it; ++it) {
            (*it)->setCheckState(0, Qt::Unchecked);
        }
    }
    emit sig_unchecked_all();
}

void DataTree::add_item(host::DataObject& dob) {
    const QString name = dob.name();
    const QSignalBlocker blocker(this);
    if (const auto* missing = dynamic_cast<const MissingDataObject*>(&dob)) {
        auto* item = new QTreeWidgetItem(this, {name});
        item->setData(0, ROLE_OBJECT, name);
        item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable);
        item->setIcon(0, style()->standardIcon(QStyle::SP_MessageBoxWarning));
        item->setForeground(0, palette().brush(QPalette::Disabled, QPalette::Text));
        item->setToolTip(0, _("Missing: %1").arg(missing->reason()));
    } else {
        QTreeWidgetItem* item = new_checkable_item(invisibleRootItem(), name, name);
        for (const QString& section : utils::appconsts::SECTION_TYPES) {
            if (!dob.section_image3d.count(section)) continue;
            new_checkable_item(item, dob.section_label(section), name)
                ->setData(0, ROLE_SECTION, section);
        }
        item->setExpanded(true);
    }
    sync_object(name);
}

void DataTree::relabel(const QString& name) {
    QTreeWidgetItem* item = tree_item(name);
    const host::DataObject* dob = model_.object(name);
    if (!item || !dob) return;
    const QSignalBlocker blocker(this);
    for (int i = 0; i < item->childCount(); ++i) {
        QTreeWidgetItem* child = item->child(i);
        child->setText(0, dob->section_label(child->data(0, ROLE_SECTION).toString()));
    }
    sync_object(name);
}

QMenu* DataTree::create_context_menu(QTreeWidgetItem* item) {
    auto* menu = new QMenu(this);
    const QString name = item ? item->data(0, ROLE_OBJECT).toString() : QString();
    if (const host::DataObject* dob = model_.object(name)) {
        QAction* appearance = utils::create_action(
            menu, _("Appearance..."), [this, name] { emit sig_appearance_requested(name); });
        appearance->setEnabled(!dynamic_cast<const MissingDataObject*>(dob));
        QAction* remove = utils::create_action(menu, _("Remove from project"), [this, name] {
            model_.remove_object(name);
            utils::logger().info(format("{} was removed from the project", name));
        });
        utils::add_actions(menu, {appearance, remove});
        if (const auto* volume = dynamic_cast<const data::SeismicVolume*>(dob)) {
            const QString path = volume->file().path();
            const data::HeaderFieldUses uses{volume->file().header_bytes(),
                                             volume->file().coordinate_bytes()};
            utils::add_actions(menu, {utils::create_action(menu, _("SEG-Y headers..."), [=] {
                                   data::HeaderBrowser::open(path, uses, this);
                               })});
        }
        if (dynamic_cast<const data::PointSet*>(dob)) {
            utils::add_actions(
                menu, {utils::create_action(menu, _("Arbitrary line through points..."),
                                            [this, name] { emit sig_line_requested(name); })});
        }
        menu->addSeparator();
    }
    utils::add_actions(menu,
                       {utils::create_action(menu, _("Uncheck all"), [this] { uncheck_all(); })});
    return menu;
}

void DataTree::on_item_changed(QTreeWidgetItem* item) {
    const QString name = item->data(0, ROLE_OBJECT).toString();
    host::DataObject* dob = model_.object(name);
    if (!dob || !(item->flags() & Qt::ItemIsUserCheckable)) return;
    const QString section = item->data(0, ROLE_SECTION).toString();
    const bool wanted = item->checkState(0) == Qt::Checked;
    DisplayTarget* active = router_.active_target();
    const bool now = section.isEmpty() ? DisplayRouter::object_shown(active, name)
                                       : DisplayRouter::section_shown(active, name, section);
    if (wanted != now) {
        const QString what = section.isEmpty() ? name : format("{} {}", name, section);
        utils::call_guarded(wanted ? _("Showing %1").arg(what) : _("Hiding %1").arg(what), [&] {
            if (!active) throw utils::ValueError(_("no 3D viewer is open").toStdString());
            if (section.isEmpty()) {
                wanted ? router_.show_in(*active, *dob) : router_.take_out(*active, *dob);
            } else {
                wanted ? active->add_cube_section(*dob, section)
                       : active->remove_cube_section(*dob, section);
            }
        });
    }
    sync_object(name);
}

void DataTree::sync_object(const QString& name) {
    QTreeWidgetItem* item = tree_item(name);
    if (!item || !(item->flags() & Qt::ItemIsUserCheckable)) return;
    const QSignalBlocker blocker(this);
    const DisplayTarget* active = router_.active_target();
    item->setCheckState(0, check_state(DisplayRouter::object_shown(active, name)));
    for (int i = 0; i < item->childCount(); ++i) {
        QTreeWidgetItem* child = item->child(i);
        child->setCheckState(0, check_state(DisplayRouter::section_shown(
                                    active, name, child->data(0, ROLE_SECTION).toString())));
    }
}

void DataTree::sync_all() {
    for (const host::DataObject* dob : model_.objects()) sync_object(dob->name());
}

QTreeWidgetItem* DataTree::tree_item(const QString& name) const {
    for (int i = 0; i < topLevelItemCount(); ++i) {
        if (topLevelItem(i)->data(0, ROLE_OBJECT).toString() == name) return topLevelItem(i);
    }
    return nullptr;
}

QTreeWidgetItem* DataTree::section_item(const QString& name, const QString& section) const {
    QTreeWidgetItem* item = tree_item(name);
    for (int i = 0; item && i < item->childCount(); ++i) {
        if (item->child(i)->data(0, ROLE_SECTION).toString() == section) return item->child(i);
    }
    return nullptr;
}

}  // namespace korvex::app
