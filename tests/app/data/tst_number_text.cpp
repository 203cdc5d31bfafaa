#include <QTest>

#include "korvex/app/data/number_text.h"
#include "tests/support/test_main.h"

class NumberTextTest : public QObject {
    Q_OBJECT

private slots:
    // The survey page's formulas: a least-squares fit over an upright grid leaves terms
    // like 3.43255e-13 that read as a tilt; they are left out, real terms kept.
    void transform_terms_drop_the_fits_noise_data() {
        QTest::addColumn<double>("per_iline");
        QTest::addColumn<double>("per_xline");
        QTest::addColumn<QString>("text");
        const QChar minus(0x2212);
        QTest::newRow("upright") << 25.0 << 3.43255e-13 << "603100.00 + 25 IL";
        QTest::newRow("both noise") << -1e-12 << 2e-13 << "603100.00";
        QTest::newRow("turned") << 21.6506 << -6.25
                                << QString("603100.00 + 21.6506 IL %1 6.25 XL").arg(minus);
        QTest::newRow("small but real") << 25.0 << 1e-6 << "603100.00 + 25 IL + 1e-06 XL";
    }
    void transform_terms_drop_the_fits_noise() {
        QFETCH(double, per_iline);
        QFETCH(double, per_xline);
        QFETCH(QString, text);
        QCOMPARE(korvex::app::data::affine_text(603100.0, per_iline, per_xline, 25.0, 12.5), text);
    }
};

KORVEX_TEST_GUILESS_MAIN(NumberTextTest)
#include "tst_number_text.moc"
