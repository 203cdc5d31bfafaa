#include "fuzz/entries.h"
#include "korvex/utils/errors.h"
#include "korvex/widgets/cube_viewer/view_state.h"

namespace korvex::fuzz {

void read_view_state(const QByteArray& bytes) {
    try {
        widgets::read_view_state(widgets::view_state_from_json(bytes));
    } catch (const utils::ValueError&) {
    }
}

}  // namespace korvex::fuzz
