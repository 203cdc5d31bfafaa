#pragma once

#include "korvex/app/app_export.h"
#include "korvex/app/project/project_snapshot.h"
#include "korvex/host/data_object.h"
#include "korvex/host/persistent_object.h"

namespace korvex::app {

// Stands in for an object of a project whose data file could not be loaded (moved,
// deleted, unreadable). It keeps its record, so saving the project does not lose the
// object, and it cannot be shown.
class KORVEX_APP_EXPORT MissingDataObject final : public host::DataObject,
                                                  public host::PersistentObject {
public:
    MissingDataObject(ObjectRecord record, QString reason);

    QString name() const override { return record_.name; }
    QVariantMap prop() const override;
    bool viewable_in_volume() const override { return false; }
    void make_visuals_in_volume(const QString& parent) override;
    void make_image_3d(const QString& section_type, const QString& parent) override;

    QString type_name() const override { return record_.type; }
    QString source_path() const override { return record_.source; }
    QVariantMap settings() const override { return record_.settings; }

    // Why the object could not be loaded, for the user.
    QString reason() const { return reason_; }

private:
    ObjectRecord record_;
    QString reason_;
};

}  // namespace korvex::app
