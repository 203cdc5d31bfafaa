#include "korvex/utils/appconsts/appconsts.h"

#include <cstdlib>
#include <thread>

namespace korvex::utils::appconsts {

namespace {

std::optional<int> processor_count() {
    const unsigned count = std::thread::hardware_concurrency();
    return count == 0 ? std::nullopt : std::optional<int>(static_cast<int>(count));
}

std::optional<QString> environment_value(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<QString>(QString::fromLocal8Bit(value)) : std::nullopt;
}

}  // namespace

// Defined in this order on purpose: static initialisation within one file follows it.
const std::chrono::seconds LMT_LST_DELTA{1};
const std::optional<int> NCORE = processor_count();
const long long SQLITE_LIMIT_LENGTH = 1000000000;
const std::optional<QString> JAVASEIS_DATA_HOME = environment_value("JAVASEIS_DATA_HOME");
std::vector<std::optional<QString>> JAVASEIS_DATA_SECONDARIES{
    environment_value("JAVASEIS_DATA_SECONDARIES")};
const QString SURVEY_BOX_LINE = QStringLiteral("SURVEY_BOX_LINE");
const QString SURVEY_BOX_LABEL = QStringLiteral("SURVEY_BOX_LABEL");
const std::array<QString, 3> SECTION_TYPES{"iline", "xline", "depth"};
const QString FILTER_ALL_FILES = QStringLiteral(";;All files (*)");
const std::array<QString, 3> COORDINATE_PROPERTY_NAMES{"X", "Y", "Z"};
const std::array<QString, 18> DEFAULT_PROPERTY_NAMES{"X", "Y", "Z", "A", "B", "C", "D", "E", "F",
                                                     "G", "H", "I", "J", "K", "L", "M", "N", "O"};
const OrderedMap<QString, QString> DELIMITER2CHAR{
    {"comma", ","}, {",", ","}, {"space", " "}, {" ", " "}};

}  // namespace korvex::utils::appconsts
