#pragma once

#include <QStringList>
#include <functional>

#include "korvex/host/data_object.h"

namespace korvex::testing {

// A data object whose visuals are made by `make_item` (by default one queryable
// section, see RecordingSection) and whose section images are sections across x, y, z.
// It has room for all three section types, and counts what it was asked to make.
class FakeDataObject final : public host::DataObject {
public:
    explicit FakeDataObject(const QString& name, bool viewable = true);

    QString name() const override { return name_; }
    QVariantMap prop() const override {
        ++prop_reads;
        return properties;
    }
    bool viewable_in_volume() const override { return viewable_; }
    void make_visuals_in_volume(const QString& parent) override;
    void make_image_3d(const QString& section_type, const QString& parent) override;

    std::function<scene::Item()> make_item;
    // What prop() answers, and how often it was asked.
    QVariantMap properties;
    mutable int prop_reads = 0;
    int visuals_made = 0;
    QStringList images_made;

private:
    QString name_;
    bool viewable_;
};

}  // namespace korvex::testing
