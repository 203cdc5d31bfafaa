#pragma once

#include <vector>

#include "korvex/app/catalog/data_object_factory.h"
#include "korvex/app/data/data_export.h"

class QMainWindow;

namespace korvex::app::data {

class CacheStore;
class OpenSurveys;

// The kinds of data this folder reads, ready for the application's DataObjectFactory:
// SEG-Y volumes and delimited point sets. A SEG-Y file opened afresh asks for the header
// bytes of its line numbers, or guesses the usual ones; a point file guesses its columns
// from its values, and asks only when they leave it open. A volume's long work shows in
// `progress_host`'s status bar (none without a host). Volumes register with `surveys`, and
// point sets are placed and picked through it (nowhere without it). Volumes keep their
// section caches where `caches` says.
KORVEX_DATA_EXPORT std::vector<DataObjectFactory::DataType> data_types(QMainWindow* progress_host,
                                                                       OpenSurveys* surveys,
                                                                       CacheStore* caches);

}  // namespace korvex::app::data
