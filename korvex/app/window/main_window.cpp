#include "korvex/app/window/main_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>

#include "korvex/app/catalog/data_model.h"
#include "korvex/app/catalog/data_object_factory.h"
#include "korvex/app/catalog/data_opener.h"
#include "korvex/app/catalog/data_tree.h"
#include "korvex/app/catalog/open_data_dialog.h"
#include "korvex/app/data/appearance_dialog.h"
#include "korvex/app/data/cache_store.h"
#include "korvex/app/data/data_types.h"
#include "korvex/app/data/open_surveys.h"
#include "korvex/app/data/point_set.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/app/data/status_progress.h"
#include "korvex/app/picks/panel_pick_list.h"
#include "korvex/app/picks/pick_undo.h"
#include "korvex/app/picks/picks_panel.h"
#include "korvex/app/project/project_database.h"
#include "korvex/app/project/project_session.h"
#include "korvex/app/project/recent_files.h"
#include "korvex/app/project/session_snapshot.h"
#include "korvex/app/start_up/script_runner.h"
#include "korvex/app/viewers/cursor_readout.h"
#include "korvex/app/viewers/display_router.h"
#include "korvex/app/viewers/line_points_dialog.h"
#include "korvex/app/viewers/linked_cursor.h"
#include "korvex/app/viewers/map_view_area.h"
#include "korvex/app/viewers/section_view_area.h"
#include "korvex/app/viewers/section_view_link.h"
#include "korvex/app/viewers/viewer_area.h"
#include "korvex/app/viewers/viewer_cursor_marks.h"
#include "korvex/app/window/edit_menu.h"
#include "korvex/app/window/journal_sink.h"
#include "korvex/app/window/log_finder.h"
#include "korvex/app/window/menu_toggle_builder.h"
#include "korvex/app/window/plugin_manager.h"
#include "korvex/app/window/shortcut_tooltips.h"
#include "korvex/app/window/shortcuts_dialog.h"
#include "korvex/app/window/user_guide_dialog.h"
#include "korvex/app/window/user_notifier.h"
#include "korvex/config/base.h"
#include "korvex/host/data_object.h"
#include "korvex/host/dockable.h"
#include "korvex/modules/base/dock_module.h"
#include "korvex/modules/run_journal/run_journal.h"
#include "korvex/modules/workspace_shell/workspace_shell.h"
#include "korvex/seismic/coordinate_system.h"
#include "korvex/utils/errors.h"
#include "korvex/utils/file_intake/file_intake.h"
#include "korvex/utils/logger.h"
#include "korvex/utils/qthelpers.h"
#include "korvex/utils/undo_service.h"
#include "korvex/utils/user_action.h"
#include "korvex/widgets/cube_viewer/canvas.h"
#include "korvex/widgets/cube_viewer/canvas_widget.h"
#include "korvex/widgets/cube_viewer/cube_viewer.h"
#include "korvex/widgets/log_pane/log_pane.h"
#include "korvex/widgets/map_view/map_view.h"
#include "korvex/widgets/menu_toggle/menu_toggle.h"
#include "korvex/widgets/section_view/section_view.h"
#include "korvex/widgets/terminal/terminal.h"

namespace korvex::app {

using config::_;
using utils::format;
using utils::logger;

namespace {

// With the debug option, Qt's own diagnostics go to the application log as well.
void forward_qt_message(QtMsgType type, const QMessageLogContext& /*context*/,
                        const QString& text) {
    switch (type) {
        case QtDebugMsg:
        case QtInfoMsg:
            logger().info(QStringLiteral("Qt: ") + text);
            break;
        case QtWarningMsg:
            logger().warning(QStringLiteral("Qt: ") + text);
            break;
        case QtCriticalMsg:
        case QtFatalMsg:
            logger().error(QStringLiteral("Qt: ") + text);
            break;
    }
}

const QString DATA_MODE = QStringLiteral("Data Mode");
const QString GEOMETRY_KEY = QStringLiteral("window/geometry");
const QString STATE_KEY = QStringLiteral("window/state");

QString project_filter() { return _("korvex projects (*.%1)").arg(ProjectDatabase::SUFFIX); }

// Whether a viewer shows any part of an object, given that object's entries of its dpState.
bool shows_any(const std::map<QString, std::map<QString, bool>>& parts) {
    for (const auto& [section, entries] : parts)
        for (const auto& [entry, shown] : entries)
            if (shown) return true;
    return false;
}

}  // namespace

MainWindow::MainWindow(MainWindowOptions options, QWidget* parent)
    : QMainWindow(parent),
      options_(std::move(options)),
      workdir_(options_.working_directory.value_or(QDir::currentPath())),
      data_object_factory_(std::make_unique<DataObjectFactory>()),
      open_surveys_(new data::OpenSurveys(this)),
      cache_store_(new data::CacheStore(this)) {
    for (DataObjectFactory::DataType& type : data::data_types(this, open_surveys_, cache_store_))
        data_object_factory_->register_type(std::move(type));
    setObjectName(QStringLiteral("korvex_main_window"));
    resize(1280, 800);
    update_title();
    if (options_.debug) previous_message_handler_ = qInstallMessageHandler(forward_qt_message);
    cache_store_->set_builds(options_.section_caches);
}

MainWindow::~MainWindow() {
    // The logger outlives every window: it stops writing here, before the view goes.
    if (journal_sink_) logger().detach_sink(journal_sink_);
    if (options_.debug) qInstallMessageHandler(previous_message_handler_);
}

void MainWindow::setup() {
    plugins_manager_ = std::make_unique<PluginManager>(
        options_.plugins_paths.split(QDir::listSeparator(), Qt::SkipEmptyParts));
    notifier_ = new UserNotifier(this);
    undo_ = new utils::UndoService(this);
    data::StatusProgress::reserve_room(*this);
    model_ = new DataModel(this);
    router_ = new DisplayRouter(*model_, this);
    create_tree_dock();
    create_viewer_area();
    create_picks_dock();
    map_views_ = new MapViewArea(
        {*model_, *viewer_area_, *section_views_, picks_, linked_cursor_, tree_, open_surveys_});
    static_cast<QSplitter*>(centralWidget())->addWidget(map_views_);
    opener_ = new DataOpener(*data_object_factory_, *tree_, *viewer_area_, this);
    session_ =
        new ProjectSession(*model_, *viewer_area_, *data_object_factory_, pick_list_.get(), this);
    session_->set_section_views(section_views_);
    session_->set_map_views(map_views_);
    connect(session_, &ProjectSession::sig_project_opened, cache_store_,
            &data::CacheStore::set_project);
    connect(session_, &ProjectSession::sig_project_saved, cache_store_,
            &data::CacheStore::set_project);
    connect(session_, &ProjectSession::sig_project_opened, this, [this](const QString& path) {
        // The steps kept refer to picks and viewers the project has replaced.
        undo_->clear();
        workdir_ = QFileInfo(path).absolutePath();
        update_title();
    });
    connect(session_, &ProjectSession::sig_project_saved, this, [this] { update_title(); });
    connect(session_, &ProjectSession::sig_crs_changed, this, [this](const QString& crs) {
        utils::call_guarded(_("Setting the coordinate reference system"), [&] {
            open_surveys_->set_crs(crs);
            logger().info(crs.isEmpty() ? _("The project is in plain map coordinates")
                                        : _("The project's coordinate reference system is %1 (%2)")
                                              .arg(crs, seismic::CoordinateSystem(crs).name()));
        });
    });
    file_intake_ = new utils::FileIntake(this);
    // Objects loaded elsewhere (plug-ins, scripts) join the tree through the intake.
    connect(file_intake_, &utils::FileIntake::sigDataObjectLoaded, this,
            [this](host::DataObject* dob) {
                std::unique_ptr<host::DataObject> owned(dob);
                utils::call_guarded(_("Adding a data object"),
                                    [&] { model_->add_object(std::move(owned)); });
            });
    script_runner_ = new ScriptRunner(this);
    create_file_menu();
    create_edit_menu();
    create_view_menu();
    create_toolbars();
    create_modules();
    create_help_menu();
    new ShortcutTooltips(this);
    restore_window_layout();
    session_->mark_saved();
}

void MainWindow::post_visible_setup() {
    // The viewers know their real size only now; what they show from here on is the
    // session's starting point.
    session_->mark_saved();
    logger().info(format("korvex is ready; work directory {}", workdir_));
}

host::DataRegistry* MainWindow::treebase() const { return tree_; }

host::ProjectHandle* MainWindow::database() const {
    return session_ ? session_->database() : nullptr;
}

host::PluginRegistry* MainWindow::plugins_manager() const { return plugins_manager_.get(); }

host::WindowHost* MainWindow::main() const { return const_cast<MainWindow*>(this); }

void MainWindow::add_dockwidget(host::Dockable* module) {
    modules::dock_module(this, module, view_menu_, Qt::BottomDockWidgetArea);
    modules_.push_back(module);
}

void MainWindow::run_script(const QString& path) { script_runner_->run(path, workdir_); }

QString MainWindow::project_path() const { return session_ ? session_->project_path() : QString(); }

void MainWindow::create_tree_dock() {
    tree_ = new DataTree(*model_, *router_, this);
    tree_->setObjectName(QStringLiteral("treebase"));
    tree_dock_ = new QDockWidget(_("Data"), this);
    tree_dock_->setObjectName(QStringLiteral("data_tree_dock"));
    tree_dock_->setWidget(tree_);
    addDockWidget(Qt::LeftDockWidgetArea, tree_dock_);
    connect(tree_, &DataTree::sig_appearance_requested, this, &MainWindow::show_appearance);
    connect(tree_, &DataTree::sig_line_requested, this, [this](const QString& name) {
        utils::call_guarded(_("Arbitrary line"), [&] { open_line_through_points(name); });
    });
}

void MainWindow::create_viewer_area() {
    auto* centre = new QSplitter(this);
    centre->setObjectName(QStringLiteral("viewer_splitter"));
    centre->setChildrenCollapsible(false);
    viewer_area_ = new ViewerArea(this, tree_, centre);
    section_views_ = new SectionViewArea(centre);
    centre->addWidget(viewer_area_);
    centre->addWidget(section_views_);
    setCentralWidget(centre);
    linked_cursor_ = new LinkedCursor(this);
    cursor_marks_ = new ViewerCursorMarks(*linked_cursor_, *viewer_area_, *open_surveys_, this);
    auto* readout = new CursorReadout(*open_surveys_, *linked_cursor_, *statusBar(), this);
    connect(viewer_area_, &ViewerArea::sig_viewer_added, readout,
            [readout](widgets::CanvasWidget* viewer) { readout->watch(*viewer); });
    viewer_area_->add_viewer();
}

void MainWindow::create_picks_dock() {
    picks_ = new PicksPanel(this);
    picks_dock_ = new QDockWidget(_("Picks"), this);
    picks_dock_->setObjectName(QStringLiteral("picks_dock"));
    picks_dock_->setWidget(picks_);
    addDockWidget(Qt::RightDockWidgetArea, picks_dock_);
    pick_list_ = std::make_unique<PanelPickList>(*picks_, *viewer_area_);
    auto* pick_undo = new PickUndo(*picks_, *viewer_area_, *undo_, this);
    // A pick made in a section view is one of the 3D picks: its marker goes in the 3D viewer
    // in front.
    connect(section_views_, &SectionViewArea::sig_view_added, this,
            [this, pick_undo](widgets::SectionView* view, QObject* feed) {
                SectionViewLink::attach(*view, *feed, *linked_cursor_, *picks_,
                                        [this, pick_undo](const widgets::PickedSample& pick) {
                                            pick_undo->keep(viewer_area_->active_viewer()->base(),
                                                            pick);
                                        });
            });
    // A survey laid on a grid by hand takes its picks along, and the viewers showing it
    // frame it where it lies now: it may have moved far out of their sight.
    connect(model_, &DataModel::sig_added, this, [this](host::DataObject* dob) {
        auto* volume = dynamic_cast<data::SeismicVolume*>(dob);
        if (!volume) return;
        connect(volume, &data::SeismicVolume::sig_placed, this, [this, volume] {
            utils::call_guarded(_("Moving the picks and views with their survey"), [&] {
                pick_list_->replace_picks(place_on_survey(pick_list_->pick_records(), *volume));
                for (int index = 0; index < viewer_area_->count(); ++index) {
                    widgets::CanvasWidget& viewer = viewer_area_->viewer(index)->base();
                    const auto shown = viewer.dpState().find(volume->name());
                    if (shown != viewer.dpState().end() && shows_any(shown->second))
                        viewer.set_view_all();
                }
            });
        });
    });
    // As a project whose picks name a viewer it lacks brings them back: in the first one.
    connect(viewer_area_, &ViewerArea::sig_viewer_closed, this, [this](const QString& name) {
        utils::call_guarded(_("Keeping the picks of a closed viewer"),
                            [&] { picks_->move_to_viewer(name, viewer_area_->viewer(0)->base()); });
    });
}

void MainWindow::create_file_menu() {
    QMenu* menu = menuBar()->addMenu(_("&File"));
    auto action = [this, menu](const QString& text, const QKeySequence& shortcut,
                               std::function<void()> slot) {
        QAction* created = utils::create_action(this, text, {});
        connect(created, &QAction::triggered, this, [text, slot = std::move(slot)] {
            const utils::UserAction users_own;
            utils::call_guarded(text, slot);
        });
        created->setShortcut(shortcut);
        menu->addAction(created);
        return created;
    };
    action(_("New project..."), QKeySequence("Ctrl+Shift+N"), [this] { new_project_dialog(); });
    action(_("Open project..."), QKeySequence::Open, [this] { open_project_dialog(); });
    action(_("Save"), QKeySequence::Save, [this] { save_dialog(); });
    action(_("Save as..."), QKeySequence("Ctrl+Shift+S"), [this] { save_as_dialog(); });
    menu->addSeparator();
    action(_("Open data..."), QKeySequence("Ctrl+D"), [this] { open_data_dialog(); });
    recent_files_ = new RecentFiles(
        menu->addMenu(_("Open recent")),
        [this](const QString& path) {
            const utils::UserAction users_own;
            open_recent(path);
        },
        this);
    action(_("Coordinate reference system..."), QKeySequence(), [this] { crs_dialog(); });
    action(_("Export picture..."), QKeySequence(),
           [this] { viewer_area_->active_viewer()->base().export_canvas(); });
    menu->addSeparator();
    action(_("Quit"), QKeySequence("Ctrl+Q"), [this] { confirm_quit(); });
    // The window's keys win over the viewers' view presets (Ctrl+S saves, not "south").
    QList<QKeySequence> keys;
    for (const QAction* item : menu->actions()) {
        if (!item->shortcut().isEmpty()) keys << item->shortcut();
    }
    viewer_area_->reserve_keys(keys);
}

void MainWindow::create_edit_menu() { edit_menu_ = new EditMenu(*undo_, *menuBar(), this); }

void MainWindow::create_view_menu() {
    view_menu_ = menuBar()->addMenu(_("&View"));
    view_menu_->addAction(utils::create_action(this, _("New 3D viewer"), [this] {
        const widgets::CubeViewer* viewer = viewer_area_->add_viewer();
        logger().info(format("New 3D viewer: {}", viewer->base().name()));
    }));
    view_menu_->addAction(
        utils::create_action(this, _("New section view"), [this] { open_section_view(); }));
    view_menu_->addAction(
        utils::create_action(this, _("New map view"), [this] { open_map_view(); }));
    view_menu_->addAction(
        utils::create_action(this, _("Vertical scale..."), [this] { vertical_scale_dialog(); }));
    QAction* grid = utils::create_action(this, _("Map grid"), {});
    grid->setObjectName(QStringLiteral("map_grid_action"));
    grid->setCheckable(true);
    connect(grid, &QAction::triggered, this,
            [this](bool on) { utils::call_guarded(_("Map grid"), [&] { show_map_grid(on); }); });
    // Each viewer has a grid of its own: the mark follows the viewer in front.
    connect(viewer_area_, &QTabWidget::currentChanged, grid, [this, grid] {
        const widgets::CubeViewer* viewer = viewer_area_->active_viewer();
        grid->setChecked(viewer && viewer->base().canvas().map_grid());
    });
    view_menu_->addAction(grid);
    view_menu_->addAction(tree_dock_->toggleViewAction());
    view_menu_->addAction(picks_dock_->toggleViewAction());
    view_menu_->addSeparator();
}

void MainWindow::create_help_menu() {
    QMenu* menu = menuBar()->addMenu(_("&Help"));
    QAction* keys = utils::create_action(this, _("Keyboard shortcuts"),
                                         [this] { ShortcutsDialog(this).exec(); });
    keys->setShortcut(QKeySequence::HelpContents);
    QAction* about = utils::create_action(this, _("About korvex"), [this] {
        QMessageBox::about(
            this, _("About korvex"),
            _("korvex %1\nA viewer for seismic data.").arg(QStringLiteral(KORVEX_VERSION)));
    });
    QAction* guide =
        utils::create_action(this, _("User guide"), [this] { UserGuideDialog(this).exec(); });
    utils::add_actions(menu, {guide, keys, about});
}

void MainWindow::create_modules() {
    run_journal_ = new modules::RunJournal(this);
    run_journal_->setObjectName(QStringLiteral("run_journal"));
    run_journal_->register_module();
    // The module is the panel; the log's lines and finding in them are the window's.
    QTextBrowser* journal_view = run_journal_->logpane()->textBrowser();
    journal_sink_ = JournalSink::create(journal_view);
    // What was logged before the journal existed (plug-ins loading, say) comes first.
    logger().attach_sink_with_startup_lines(journal_sink_);
    new LogFinder(journal_view, run_journal_);
    if (options_.shell) {
        workspace_shell_ = new modules::WorkspaceShell(this);
        workspace_shell_->setObjectName(QStringLiteral("workspace_shell"));
        workspace_shell_->register_module();
        tabifyDockWidget(run_journal_->dockwidget(), workspace_shell_->dockwidget());
        run_journal_->dockwidget()->raise();
    }
    resizeDocks({run_journal_->dockwidget()}, {180}, Qt::Vertical);
}

void MainWindow::create_toolbars() {
    QToolBar* toolbar = addToolBar(_("Main"));
    toolbar->setObjectName(QStringLiteral("main_toolbar"));
    btn_quit = utils::create_toolbutton(
        toolbar, utils::ToolButtonOptions().tip(_("Quit korvex")).triggered([this] {
            const utils::UserAction users_own;
            confirm_quit();
        }));
    btn_quit->setObjectName(QStringLiteral("btn_quit"));
    btn_quit->setText(_("Quit"));
    btn_quit->setToolButtonStyle(Qt::ToolButtonTextOnly);
    toolbar->addWidget(btn_quit);
    // A plug-in that fails while the switcher is built is logged and left out.
    menu_toggle_ = build_menu_toggle(this, *plugins_manager_);
    menu_toggle_->setObjectName(QStringLiteral("menu_toggle"));
    addToolBar(menu_toggle_);
    // The shipped mode is where the work starts; the switcher itself starts as built.
    const int data_mode = menu_toggle_->cb_mode()->findText(DATA_MODE);
    if (data_mode >= 0) menu_toggle_->cb_mode()->setCurrentIndex(data_mode);
}

bool MainWindow::create_new_project(const QString& path) {
    return session_->create_new_project(path);
}

bool MainWindow::open_project(const QString& path, std::function<void()> restored) {
    if (!session_->open_project(path, std::move(restored))) return false;
    recent_files_->add(path);
    return true;
}

bool MainWindow::save_project() { return session_->save_project(); }

bool MainWindow::save_project_as(const QString& path) { return session_->save_project_as(path); }

void MainWindow::load_data_file(const QString& path, const QVariantMap& settings,
                                std::function<void(host::DataObject*)> done) {
    opener_->open(path, settings, std::move(done));
}

bool MainWindow::has_unsaved_changes() const { return session_->has_unsaved_changes(); }

bool MainWindow::restored_completely() const { return session_->restored_completely(); }

void MainWindow::confirm_quit() {
    // Asked every time, with Yes as the button that quits: scripted runs answer the box
    // with it, and rely on it coming up.
    const bool unsaved = has_unsaved_changes();
    QMessageBox box(QMessageBox::Question, _("korvex"), _("Quit?"),
                    QMessageBox::Yes | QMessageBox::Cancel, this);
    box.setEscapeButton(QMessageBox::Cancel);
    if (unsaved) {
        box.addButton(QMessageBox::Save);
        box.setInformativeText(_("The project has unsaved changes."));
        box.button(QMessageBox::Yes)->setText(_("Quit without saving"));
        box.setDefaultButton(QMessageBox::Save);
    } else {
        box.setDefaultButton(QMessageBox::Yes);
    }
    // A box closed without an answer (declined by a scripted run) quits nothing.
    const int answer = box.exec();
    if (answer != QMessageBox::Yes && !(answer == QMessageBox::Save && save_dialog())) return;
    quit_confirmed_ = true;
    close();
}

void MainWindow::show_appearance(const QString& name) {
    data::AppearanceDialog::show_for(*tree_, name, this, undo_);
}

void MainWindow::open_section_view() {
    data::SeismicVolume* chosen = nullptr;
    const QTreeWidgetItem* current = tree_->currentItem();
    for (host::DataObject* dob : model_->objects()) {
        auto* volume = dynamic_cast<data::SeismicVolume*>(dob);
        if (!volume) continue;
        if (!chosen) chosen = volume;
        const QTreeWidgetItem* item = tree_->tree_item(volume->name());
        if (current && (current == item || current->parent() == item)) chosen = volume;
    }
    if (!chosen) {
        logger().warning(_("A section view shows a seismic volume: open one first"));
        return;
    }
    const auto kind = seismic::SectionKind::iline;
    const widgets::SectionView* view =
        section_views_->add_view(*chosen, kind, chosen->section_index(kind));
    logger().info(format("New section view: {} of {}", view->objectName(), chosen->name()));
}

void MainWindow::open_line_through_points(const QString& name) {
    const auto* points = dynamic_cast<const data::PointSet*>(model_->object(name));
    if (!points) throw utils::LookupError(format("No point set named {}", name).toStdString());
    QStringList volumes;
    for (const host::DataObject* dob : model_->objects())
        if (dynamic_cast<const data::SeismicVolume*>(dob)) volumes << dob->name();
    if (volumes.isEmpty()) {
        logger().warning(_("An arbitrary line shows a seismic volume: open one first"));
        return;
    }
    LinePointsDialog dialog(*points, volumes, this);
    if (dialog.exec() != QDialog::Accepted) return;
    // The volume may have been closed while the dialog was open.
    auto* volume = dynamic_cast<data::SeismicVolume*>(model_->object(dialog.volume()));
    if (!volume) return;
    const widgets::SectionView* view = section_views_->add_line_view(*volume, dialog.points());
    logger().info(format("New section view: {} of {} along {}", view->objectName(), volume->name(),
                         view->line_edit()->text()));
}

void MainWindow::open_map_view() {
    const widgets::MapView* view = map_views_->add_view();
    logger().info(format("New map view: {}", view->objectName()));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    bool accept = true;
    const utils::UserAction users_own;
    utils::call_guarded(_("Closing the window"), [&] {
        accept = quit_confirmed_ || maybe_save();
        for (host::Dockable* module : modules_) accept = accept && module->closing_module(true);
    });
    quit_confirmed_ = false;
    if (accept) {
        save_window_layout();
        event->accept();
    } else {
        event->ignore();
    }
}

bool MainWindow::maybe_save() {
    if (!has_unsaved_changes()) return true;
    const auto answer = QMessageBox::question(
        this, _("korvex"), _("The project has unsaved changes. Save them before closing?"),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Cancel) return false;
    return answer == QMessageBox::Discard || save_dialog();
}

void MainWindow::new_project_dialog() {
    if (!maybe_save()) return;
    const QString path =
        QFileDialog::getSaveFileName(this, _("New project"), workdir_, project_filter());
    // The dialog has asked before replacing an existing file.
    if (!path.isEmpty() && session_->replace_with_new_project(path))
        recent_files_->add(project_path());
}

void MainWindow::open_project_dialog() {
    if (!maybe_save()) return;
    const QString path =
        QFileDialog::getOpenFileName(this, _("Open project"), workdir_, project_filter());
    if (!path.isEmpty()) open_project(path);
}

void MainWindow::open_recent(const QString& path) {
    if (QFileInfo(path).suffix() != ProjectDatabase::SUFFIX) {
        open_data_files({path});
    } else if (maybe_save()) {
        open_project(path);
    }
}

void MainWindow::crs_dialog() {
    QString label =
        _("The project's coordinate reference system, as an EPSG code (EPSG:23031) or WKT; "
          "empty for plain map coordinates:");
    QString crs = session_->crs();
    // Offered, not applied: the user still says OK.
    const auto proposal = crs.isEmpty() ? open_surveys_->proposed_crs() : std::nullopt;
    if (proposal) {
        crs = proposal->crs;
        label += '\n' + _("Proposed from the textual header of %1: %2")
                            .arg(proposal->volume, seismic::CoordinateSystem(crs).name());
    }
    bool chosen = false;
    crs = QInputDialog::getText(this, _("Coordinate reference system"), label, QLineEdit::Normal,
                                crs, &chosen);
    if (chosen) session_->set_crs(crs);
}

bool MainWindow::save_dialog() { return database() ? save_project() : save_as_dialog(); }

bool MainWindow::save_as_dialog() {
    const QString path =
        QFileDialog::getSaveFileName(this, _("Save project as"), workdir_, project_filter());
    if (path.isEmpty() || !save_project_as(path)) return false;
    recent_files_->add(project_path());
    return true;
}

void MainWindow::open_data_dialog() {
    open_data_files(OpenDataDialog(*file_intake_, *data_object_factory_).choose(workdir_));
}

void MainWindow::open_data_files(const QStringList& paths) {
    opener_->open_and_show(paths, DataOpener::Settings::asked,
                           [this](const QString& path, host::DataObject* dob) {
                               if (dob) recent_files_->add(path);
                           });
}

void MainWindow::save_window_layout() const {
    QSettings settings;
    settings.setValue(GEOMETRY_KEY, saveGeometry());
    settings.setValue(STATE_KEY, saveState());
}

void MainWindow::restore_window_layout() {
    const QSettings settings;
    restoreGeometry(settings.value(GEOMETRY_KEY).toByteArray());
    restoreState(settings.value(STATE_KEY).toByteArray());
}

void MainWindow::vertical_scale_dialog() {
    widgets::CubeViewer* viewer = viewer_area_->active_viewer();
    if (!viewer) return;
    widgets::CanvasWidget& canvas = viewer->base();
    bool accepted = false;
    const double factor = QInputDialog::getDouble(
        this, _("Vertical scale"), _("Times and depths are drawn this many times taller:"),
        canvas.z_scale(), 0.0001, 10000.0, 4, &accepted);
    if (accepted)
        undo_->change(canvas, _("vertical scale of %1").arg(canvas.name()),
                      &widgets::CanvasWidget::z_scale, &widgets::CanvasWidget::set_z_scale, factor);
}

void MainWindow::show_map_grid(bool on) {
    widgets::CubeViewer* viewer = viewer_area_->active_viewer();
    if (!viewer) return;
    widgets::Canvas& canvas = viewer->base().canvas();
    if (!on) return canvas.hide_map_grid();
    // Until a survey on the map fixes the scene's origin, the scene is the map.
    canvas.show_map_grid([surveys = open_surveys_] {
        return surveys->origin().value_or(std::array<double, 2>{0.0, 0.0});
    });
}

void MainWindow::update_title() {
    const QString path = project_path();
    const QString project = path.isEmpty() ? _("no project") : QFileInfo(path).fileName();
    setWindowTitle(QStringLiteral("korvex - %1").arg(project));
}

}  // namespace korvex::app
