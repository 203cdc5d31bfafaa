#pragma once

#include "korvex/host/data_object.h"
#include "korvex/host/persistent_object.h"

namespace korvex::testing {

// A data object made up for tests, drawn as the outline of the unit cube; a "volume"
// also offers the three sections through its middle. It can be written to a small text
// file and loaded back, as a project restores it.
class SyntheticObject final : public host::DataObject, public host::PersistentObject {
public:
    static constexpr const char* TYPE = "Synthetic";

    explicit SyntheticObject(QString name, bool volume = true, QString source = {},
                             QVariantMap settings = {});

    // Writes a file that load() reads back into an object of that name and kind.
    static void write(const QString& path, const QString& name, bool volume);
    // The same, as "NAME.syn" in `folder`; returns the file's path.
    static QString write_in(const QString& folder, const QString& name, bool volume = true);
    // Throws utils::ValueError when the file is not one that write() made.
    static std::unique_ptr<host::DataObject> load(const QString& path, const QVariantMap& settings);

    QString name() const override { return name_; }
    QVariantMap prop() const override { return {{"name", name_}}; }
    bool viewable_in_volume() const override { return viewable; }
    void make_visuals_in_volume(const QString& parent) override;
    void make_image_3d(const QString& section_type, const QString& parent) override;

    QString type_name() const override { return TYPE; }
    QString source_path() const override { return source_; }
    QVariantMap settings() const override { return settings_; }

    bool viewable = true;
    int visuals_made = 0;
    int images_made = 0;
    QVariantMap settings_;

private:
    QString name_;
    QString source_;
};

}  // namespace korvex::testing
