#include "korvex/app/data/number_text.h"

#include <QLocale>
#include <cmath>

#include "korvex/config/base.h"

namespace korvex::app::data {

QString map_text(double value) { return QString::number(value, 'f', 2); }

QString time_text(double time, double sample_interval) {
    const QString interval = exact_text(sample_interval);
    const int point = interval.indexOf('.');
    return QString::number(time, 'f', point < 0 ? 0 : interval.size() - point - 1);
}

QString exact_text(double value) {
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

QString amplitude_text(float value) {
    // Large values are written out whole; the shortest double of a float's value would
    // print its binary noise (0.1f as 0.10000000149011612).
    return std::fabs(value) >= 1e6f ? QString::number(double(value), 'f', 0)
                                    : QString::number(double(value), 'g', 7);
}

QString affine_text(double constant, double per_iline, double per_xline, double iline_bin,
                    double xline_bin) {
    constexpr double NOISE = 1e-9;
    const auto term = [](double factor, double bin, const QString& name) {
        if (std::abs(factor) < NOISE * bin) return QString();
        return QStringLiteral(" %1 %2 %3")
            .arg(factor < 0 ? QChar(0x2212) : QChar('+'))
            .arg(std::abs(factor), 0, 'g', 6)
            .arg(name);
    };
    return QString::number(constant, 'f', 2) + term(per_iline, iline_bin, config::_("IL")) +
           term(per_xline, xline_bin, config::_("XL"));
}

}  // namespace korvex::app::data
