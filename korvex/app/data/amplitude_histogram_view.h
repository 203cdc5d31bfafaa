#pragma once

#include <QWidget>
#include <cstdint>
#include <vector>

namespace korvex::app::data {

// The counts of a volume's amplitudes in equal bins from its minimum to its maximum,
// drawn as bars: where the clip cuts, and whether a few spikes stretch the range.
class AmplitudeHistogramView final : public QWidget {
    Q_OBJECT

public:
    explicit AmplitudeHistogramView(QWidget* parent = nullptr);

    // Empty counts show a note that the figures come once every trace is read.
    void set_counts(std::vector<uint64_t> counts);
    const std::vector<uint64_t>& counts() const { return counts_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<uint64_t> counts_;
};

}  // namespace korvex::app::data
