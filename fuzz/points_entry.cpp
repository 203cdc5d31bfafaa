#include "fuzz/entries.h"
#include "fuzz/scratch_file.h"
#include "korvex/app/data/point_table.h"
#include "korvex/utils/errors.h"

namespace korvex::fuzz {

void read_points(const QByteArray& bytes) {
    const QString path = scratch_file("points.txt", bytes);
    try {
        const app::data::PointTable table =
            app::data::PointTable::read(path, app::data::PointTable::sniff_delimiter(path));
        for (int column = 0; column < table.names().size(); ++column)
            table.column(table.names()[column]);
    } catch (const utils::ValueError&) {
    }
}

}  // namespace korvex::fuzz
