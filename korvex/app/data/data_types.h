#pragma once

#include <vector>

#include "korvex/app/data_object_factory.h"

namespace korvex::app::data {

// The kinds of data this folder reads, ready for the application's DataObjectFactory:
// SEG-Y volumes and delimited point sets. With `interactive`, a SEG-Y file opened afresh
// (no saved settings) first asks for the header bytes of its line numbers.
std::vector<DataObjectFactory::DataType> data_types(bool interactive);

}  // namespace korvex::app::data
