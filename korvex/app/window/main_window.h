#pragma once

#include <QMainWindow>
#include <QVariantMap>
#include <functional>
#include <memory>
#include <vector>

#include "korvex/app/app_export.h"
#include "korvex/app/start_up/main_window_options.h"
#include "korvex/host/main_holder.h"
#include "korvex/host/window_host.h"

class QAction;
class QDockWidget;
class QMenu;
class QToolButton;

namespace korvex::host {
class DataObject;
}

namespace korvex::utils {
class FileIntake;
class UndoService;
}  // namespace korvex::utils

namespace korvex::widgets {
class MenuToggle;
}

namespace korvex::modules {
class RunJournal;
class WorkspaceShell;
}  // namespace korvex::modules

namespace korvex::app::data {
class CacheStore;
class OpenSurveys;
}  // namespace korvex::app::data

namespace korvex::app {

class DataModel;
class DataObjectFactory;
class DataOpener;
class DataTree;
class DisplayRouter;
class EditMenu;
class JournalSink;
class LinkedCursor;
class MapViewArea;
class PanelPickList;
class PicksPanel;
class PluginManager;
class ProjectSession;
class RecentFiles;
class ScriptRunner;
class SectionViewArea;
class UserNotifier;
class ViewerArea;
class ViewerCursorMarks;

// The korvex application window: the 3D viewers in the centre, the data tree on the
// left, the dock modules at the bottom, and the File menu of the project they make up,
// which a ProjectSession keeps. Construct, then setup(), show(), post_visible_setup().
class KORVEX_APP_EXPORT MainWindow final : public QMainWindow,
                                           public host::WindowHost,
                                           public host::MainHolder {
    Q_OBJECT

public:
    explicit MainWindow(MainWindowOptions options = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    void setup();
    void post_visible_setup();

    host::DataRegistry* treebase() const override;
    host::ProjectHandle* database() const override;
    host::PluginRegistry* plugins_manager() const override;
    QString workdir() const override { return workdir_; }
    void add_dockwidget(host::Dockable* module) override;
    void run_script(const QString& path) override;
    QWidget* widget() const override { return const_cast<MainWindow*>(this); }
    host::WindowHost* main() const override;

    const MainWindowOptions& options() const { return options_; }
    // The kinds of data this window loads; more can be registered before they are used.
    DataObjectFactory& data_object_factory() const { return *data_object_factory_; }
    // Opens data files into the tree and shows them in the viewer in front.
    DataOpener* opener() const { return opener_; }
    // The loaded data objects, which the tree and the viewers follow.
    DataModel* model() const { return model_; }
    DataTree* tree() const { return tree_; }
    ViewerArea* viewer_area() const { return viewer_area_; }
    // The section views, beside the 3D viewers.
    SectionViewArea* section_views() const { return section_views_; }
    // The map views, beside the section views.
    MapViewArea* map_views() const { return map_views_; }
    PicksPanel* picks() const { return picks_; }
    // Where the mouse is in any view, for every view to mark.
    LinkedCursor* linked_cursor() const { return linked_cursor_; }
    const ViewerCursorMarks* cursor_marks() const { return cursor_marks_; }
    widgets::MenuToggle* menu_toggle() const { return menu_toggle_; }
    // Tells the user how actions end: the status bar, and message boxes unless scripted.
    UserNotifier* notifier() const { return notifier_; }
    RecentFiles* recent_files() const { return recent_files_; }
    // The user's changes that Undo takes back, the Edit menu's.
    utils::UndoService* undo_service() const { return undo_; }
    EditMenu* edit_menu() const { return edit_menu_; }
    // The project file in use; empty before a project is created, opened or saved.
    QString project_path() const;

    // Creates an empty project at `path` (".kvd" is appended when missing) and makes it
    // the current one. An existing project there is opened instead, never replaced; any
    // other existing file is refused. Failures are logged; returns whether it worked.
    bool create_new_project(const QString& path);
    // Replaces the session with the project at `path`. A file that is not a readable
    // project is refused with the reason logged, and the session stays as it was.
    // Its objects open without waiting; `restored` is called once they are all shown. The
    // project goes to the top of the recent files, however it was named (menu, command line).
    bool open_project(const QString& path, std::function<void()> restored = {});
    // Writes the session to the current project file (false when there is none).
    bool save_project();
    // Writes the session to `path`, which becomes the current project file.
    bool save_project_as(const QString& path);
    // Opens one data file without waiting, its type chosen by the file's suffix, and adds
    // it to the tree; `settings` as a project would give them (a SEG-Y file's header
    // bytes, say), empty to ask. Failures are logged. `done` gets the object, or nullptr.
    void load_data_file(const QString& path, const QVariantMap& settings = {},
                        std::function<void(host::DataObject*)> done = {});
    // Whether the session differs from the project file (or, with no file, holds data).
    bool has_unsaved_changes() const;
    // Whether the last project opened showed everything it records in its viewers.
    bool restored_completely() const;

    // Asks "Quit?", then closes the window on Yes; Cancel leaves everything as it was.
    // With unsaved changes Save is offered too: it saves, then closes.
    void confirm_quit();
    // Opens the appearance page of a data object, or raises the one already open.
    void show_appearance(const QString& name);
    // Opens a section view on the inline the 3D view shows of the volume chosen in the
    // tree, or of the first volume. Without a volume it says so and opens nothing.
    void open_section_view();
    // Asks for points of the point set `name`, in order, and a volume, then opens a section
    // view of that volume along the line through them. Without a volume it says so.
    void open_line_through_points(const QString& name);
    // A new map view in front, logged by name.
    void open_map_view();

    // The visible quit button.
    QToolButton* btn_quit = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void create_file_menu();
    void create_edit_menu();
    void create_view_menu();
    void create_toolbars();
    void create_tree_dock();
    void create_viewer_area();
    void create_picks_dock();
    void create_modules();
    void create_help_menu();

    // The File menu's dialogs; they run as the user's own actions (utils::UserAction).
    void new_project_dialog();
    void open_project_dialog();
    bool save_dialog();
    bool save_as_dialog();
    void open_data_dialog();
    // Asks for the vertical scale of the viewer in front.
    void vertical_scale_dialog();
    // Shows or hides the map grid of the viewer in front.
    void show_map_grid(bool on);
    // Loads the files and shows each in the viewer in front, each opened one a recent file.
    void open_data_files(const QStringList& paths);
    void open_recent(const QString& path);
    // Asks for the project's coordinate reference system, an EPSG code or WKT.
    void crs_dialog();
    // Window size and place, docks and toolbars, kept in the user's settings.
    void save_window_layout() const;
    void restore_window_layout();
    // Unsaved changes: asks to save them. False when the user cancels.
    bool maybe_save();

    void update_title();

    MainWindowOptions options_;
    QString workdir_;
    std::unique_ptr<DataObjectFactory> data_object_factory_;
    // Handed to the data it opens; a child, so it outlives none of them unnoticed.
    data::OpenSurveys* open_surveys_ = nullptr;
    data::CacheStore* cache_store_ = nullptr;
    std::unique_ptr<PluginManager> plugins_manager_;
    UserNotifier* notifier_ = nullptr;
    utils::UndoService* undo_ = nullptr;
    EditMenu* edit_menu_ = nullptr;
    RecentFiles* recent_files_ = nullptr;
    DataModel* model_ = nullptr;
    DisplayRouter* router_ = nullptr;
    DataTree* tree_ = nullptr;
    DataOpener* opener_ = nullptr;
    QDockWidget* tree_dock_ = nullptr;
    ViewerArea* viewer_area_ = nullptr;
    SectionViewArea* section_views_ = nullptr;
    MapViewArea* map_views_ = nullptr;
    PicksPanel* picks_ = nullptr;
    LinkedCursor* linked_cursor_ = nullptr;
    ViewerCursorMarks* cursor_marks_ = nullptr;
    QDockWidget* picks_dock_ = nullptr;
    // The Picks dock as the project reads and replaces it.
    std::unique_ptr<PanelPickList> pick_list_;
    widgets::MenuToggle* menu_toggle_ = nullptr;
    utils::FileIntake* file_intake_ = nullptr;
    QMenu* view_menu_ = nullptr;
    modules::RunJournal* run_journal_ = nullptr;
    std::shared_ptr<JournalSink> journal_sink_;
    modules::WorkspaceShell* workspace_shell_ = nullptr;
    std::vector<host::Dockable*> modules_;
    ScriptRunner* script_runner_ = nullptr;
    ProjectSession* session_ = nullptr;
    bool quit_confirmed_ = false;
    QtMessageHandler previous_message_handler_ = nullptr;
};

}  // namespace korvex::app
