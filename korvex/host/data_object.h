#pragma once

#include <QString>
#include <QVariantMap>
#include <map>

#include "korvex/host/host_export.h"
#include "korvex/scene/item.h"

namespace korvex::host {

// One loaded dataset as the viewers see it. Viewers are known to it by name: it keeps
// one item per viewer name, so the same object can be shown in several viewers.
class KORVEX_HOST_EXPORT DataObject {
public:
    virtual ~DataObject();

    virtual QString name() const = 0;
    // What a user wants to know about the object, property name -> value.
    virtual QVariantMap prop() const = 0;
    virtual bool viewable_in_volume() const = 0;

    // Makes the item that draws the object in viewer `parent`, stored in visuals_in_volume.
    virtual void make_visuals_in_volume(const QString& parent) = 0;
    // Makes the section of `section_type` for viewer `parent`, stored in section_image3d.
    virtual void make_image_3d(const QString& section_type, const QString& parent) = 0;

    // What users call a section of `section_type`; the type itself unless the object knows
    // better (the "depth" sections of a volume recorded in time are time slices).
    virtual QString section_label(const QString& section_type) const { return section_type; }

    // viewer name -> item
    std::map<QString, scene::Item> visuals_in_volume;
    // section type ("iline", "xline", "depth") -> viewer name -> item
    std::map<QString, std::map<QString, scene::Item>> section_image3d;
};

}  // namespace korvex::host
