#include "fuzz/entries.h"
#include "fuzz/scratch_file.h"
#include "korvex/utils/dotenv.h"

namespace korvex::fuzz {

void read_dotenv(const QByteArray& bytes) {
    utils::dotenv_values(scratch_file(".env", bytes), utils::DotenvPrecedence::Environment);
}

}  // namespace korvex::fuzz
