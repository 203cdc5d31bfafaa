#include <QTest>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "korvex/seismic/sample_format.h"
#include "tests/support/test_main.h"

namespace sample_format = korvex::seismic::sample_format;

namespace {

constexpr int IBM_FLOAT = 1;

uint32_t bits_of(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// fraction * 16^(exponent - 64) / 2^24, rounded once.
float ibm_value(uint32_t word) {
    const float magnitude = std::ldexp(static_cast<float>(word & 0xffffff),
                                       4 * static_cast<int>(word >> 24 & 0x7f) - 280);
    return word >> 31 ? -magnitude : magnitude;
}

// Every sign and exponent with fractions normalised or not, so that blocks hold exponents
// whose results are normal floats beside ones that round to subnormals, zero or infinity;
// then zeros of every exponent among ordinary amplitudes, as muted samples sit in a trace.
std::vector<uint32_t> ibm_words() {
    const uint32_t fractions[] = {0,        1,        0xf,      0x10,     0xabc,    0xfffff,
                                  0x100000, 0x123456, 0x7fffff, 0x800000, 0xfffffe, 0xffffff};
    std::vector<uint32_t> words;
    for (const uint32_t sign : {0u, 0x80000000u})
        for (uint32_t exponent = 0; exponent < 128; ++exponent)
            for (const uint32_t fraction : fractions)
                words.push_back(sign | exponent << 24 | fraction);
    for (const uint32_t sign : {0u, 0x80000000u})
        for (uint32_t exponent = 0; exponent < 128; ++exponent) {
            words.push_back(sign | exponent << 24);
            words.push_back(0x41100000);  // 1.0
        }
    return words;
}

}  // namespace

class SampleFormatTest : public QObject {
    Q_OBJECT

private slots:
    void ibm_floats_convert_exactly_data() {
        QTest::addColumn<bool>("little");
        QTest::newRow("big-endian") << false;
        QTest::newRow("little-endian") << true;
    }

    void ibm_floats_convert_exactly() {
        QFETCH(bool, little);
        const std::vector<uint32_t> words = ibm_words();
        std::vector<char> file(words.size() * 4);
        for (std::size_t i = 0; i < words.size(); ++i) {
            const uint32_t word = little ? words[i] : __builtin_bswap32(words[i]);
            std::memcpy(file.data() + i * 4, &word, 4);
        }
        const int format = IBM_FLOAT | (little ? sample_format::LITTLE_ENDIAN_FLAG : 0);
        const float untouched = -12345.0f;
        const auto hex = [](uint32_t bits) { return QString::number(bits, 16); };
        // Starts and lengths off the vector width: tails, and blocks shifted across exponents.
        for (const std::size_t start : {0, 3})
            for (const std::size_t count : {0, 1, 7, 8, 9, 31, int(words.size()) - 3}) {
                std::vector<float> out(count + 1, untouched);
                sample_format::to_floats(format, file.data() + start * 4, out.data(), count);
                for (std::size_t i = 0; i < count; ++i) {
                    const uint32_t word = words[start + i];
                    QVERIFY2(bits_of(out[i]) == bits_of(ibm_value(word)),
                             qPrintable(QString("IBM %1 gave the float %2, not %3")
                                            .arg(hex(word), hex(bits_of(out[i])),
                                                 hex(bits_of(ibm_value(word))))));
                }
                QCOMPARE(out[count], untouched);
            }
    }
};

KORVEX_TEST_GUILESS_MAIN(SampleFormatTest)
#include "tst_sample_format.moc"
