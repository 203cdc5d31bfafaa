#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include "korvex/app/data/data_export.h"

namespace korvex::app::data {

// Where the section caches of the volumes a window opens are kept, and how much room they
// may take. By default every cache is in the user's cache folder, one per SEG-Y file
// whichever project opens it; a user who wants a project's caches to travel with it asks
// for them beside the project ("NAME.cache" beside "NAME.kvd"), which falls back to the
// user's folder when the project's folder cannot be written. Both choices are settings.
// The window owns one and hands it to the volumes it opens.
class KORVEX_DATA_EXPORT CacheStore final : public QObject {
    Q_OBJECT

public:
    static constexpr const char* BESIDE_PROJECT_KEY = "caches/beside_project";
    static constexpr const char* LIMIT_KEY = "caches/limit_mb";
    static constexpr long long DEFAULT_LIMIT_MB = 50 * 1024;

    // The choices as the settings hold them, caches in `user_folder`.
    explicit CacheStore(const QString& user_folder, QObject* parent = nullptr);
    // In the user's cache folder (~/.cache/korvex/sections).
    explicit CacheStore(QObject* parent = nullptr);

    const QString& user_folder() const { return user_folder_; }
    bool beside_project() const { return beside_project_; }
    void set_beside_project(bool beside);
    // For all caches of a folder together; the least recently used go first.
    long long limit_bytes() const { return limit_bytes_; }
    void set_limit_bytes(long long bytes);
    // Whether a volume without a sound cache builds one once its first picture is up. A run
    // that only writes a picture ends before a cache could be used, and its exit would wait
    // for the pass; it builds none. Not a setting.
    bool builds() const { return builds_; }
    void set_builds(bool builds) { builds_ = builds; }
    // The project whose volumes are opened from now on; empty for none.
    void set_project(const QString& project_path);

    // Where a cache is looked for, first where a new one is built: beside the project when
    // asked for and writable, then the user's folder.
    QStringList folders() const;

private:
    QString user_folder_;
    QString project_path_;
    bool beside_project_ = false;
    long long limit_bytes_ = 0;
    bool builds_ = true;
};

}  // namespace korvex::app::data
