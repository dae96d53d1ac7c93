#include "GaugeWidget.h"

#include <QPainter>

#include <algorithm>

namespace tembrel {

GaugeWidget::GaugeWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GaugeWidget::SetMaximum(std::int32_t maximum) {
    maximum_ = std::max<std::int32_t>(maximum, 1);
    SetProgress(progress_);
}

void GaugeWidget::SetProgress(std::int64_t progress) {
    const std::int64_t clamped = std::clamp<std::int64_t>(progress, 0, maximum_);
    if (clamped != progress_) {
        progress_ = clamped;
        update();
    }
}

void GaugeWidget::AddProgress(std::int64_t step) {
    // Saturate first: the sum of two 64-bit values could otherwise overflow.
    const std::int64_t room = std::int64_t{maximum_} - progress_;
    SetProgress(step > room ? std::int64_t{maximum_} : progress_ + step);
}

QString GaugeWidget::Text() const {
    // Progress is held within [0, maximum], so the product cannot overflow.
    return QStringLiteral("%1%").arg(progress_ * 100 / maximum_);
}

void GaugeWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect outer = rect();
    const QColor background = palette().color(QPalette::ToolTipBase);
    const QColor border = palette().color(QPalette::WindowText);

    painter.setPen(border);
    painter.setBrush(background);
    painter.drawRect(outer.adjusted(0, 0, -1, -1));

    const QRect inner = outer.adjusted(1, 1, -1, -1);
    const int filled = static_cast<int>(inner.width() * progress_ / maximum_);
    const QRect bar(inner.left(), inner.top(), filled, inner.height());
    painter.fillRect(bar, BarColour());

    // The text reads in the background colour where the bar lies under it.
    const QString text = Text();
    painter.setClipRect(inner);
    painter.setPen(border);
    painter.drawText(inner, Qt::AlignCenter, text);
    painter.setClipRect(bar);
    painter.setPen(background);
    painter.drawText(inner, Qt::AlignCenter, text);
}

} // namespace tembrel
