#pragma once

#include <QObject>

#include "korvex/app/data/data_export.h"
#include "korvex/host/data_object.h"

namespace korvex::app::data {

// A data object whose look a user changes from its page (colours, limits, sizes). The
// data model passes sig_style_changed on to its followers as a change of the object.
class KORVEX_DATA_EXPORT StyledObject : public QObject, public host::DataObject {
    Q_OBJECT

public:
    explicit StyledObject(QObject* parent = nullptr) : QObject(parent) {}
    ~StyledObject() override;

signals:
    void sig_style_changed();
};

}  // namespace korvex::app::data
