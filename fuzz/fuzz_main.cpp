// The libFuzzer entry point of one fuzzer; KORVEX_FUZZ_ENTRY names its function.
#include <cstddef>
#include <cstdint>

#include "fuzz/entries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    korvex::fuzz::KORVEX_FUZZ_ENTRY(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<int>(size)));
    return 0;
}
