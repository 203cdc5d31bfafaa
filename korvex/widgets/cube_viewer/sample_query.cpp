#include "korvex/widgets/cube_viewer/sample_query.h"

namespace korvex::widgets {

// Out of line, so that the type is one across the libraries that implement and query it.
SampleQuery::~SampleQuery() = default;

}  // namespace korvex::widgets
