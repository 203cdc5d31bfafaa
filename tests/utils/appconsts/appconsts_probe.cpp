// Prints the environment-derived constants, one per line, with <absent> for an absent value.
#include <cstdio>

#include "korvex/utils/appconsts/appconsts.h"

namespace consts = korvex::utils::appconsts;

static void print(const char* name, const std::optional<QString>& value) {
    std::printf("%s=%s\n", name, value ? qPrintable(*value) : "<absent>");
}

int main() {
    print("JAVASEIS_DATA_HOME", consts::JAVASEIS_DATA_HOME);
    std::printf("SECONDARIES_SIZE=%zu\n", consts::JAVASEIS_DATA_SECONDARIES.size());
    print("JAVASEIS_DATA_SECONDARIES", consts::JAVASEIS_DATA_SECONDARIES.front());
    std::printf("NCORE=%d\n", consts::NCORE.value_or(-1));
    return 0;
}
