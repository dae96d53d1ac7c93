#pragma once

#include <QWidget>

#include <cstdint>

namespace tembrel {

// The progress gauge: a navy bar on the tooltip-background colour inside a
// single border, with the whole percentage done centred on it ("%d%%",
// truncated). Progress is clamped to [0, maximum] on every change.
class GaugeWidget final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GaugeWidget)

public:
    explicit GaugeWidget(QWidget* parent = nullptr);

    std::int32_t Maximum() const { return maximum_; }
    // A maximum below 1 is taken as 1.
    void SetMaximum(std::int32_t maximum);

    std::int64_t Progress() const { return progress_; }
    void SetProgress(std::int64_t progress);
    void AddProgress(std::int64_t step);

    QString Text() const;

    static QColor BarColour() { return {0, 0, 128}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::int32_t maximum_ = 100;
    std::int64_t progress_ = 0;
};

} // namespace tembrel
