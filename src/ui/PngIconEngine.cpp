#include "PngIconEngine.h"

#include <QImageReader>
#include <QPainter>

#include <algorithm>

namespace tembrel {

PngIconEngine::PngIconEngine(const QString& pattern, const QList<int>& sides)
    : pattern_(pattern), sides_(sides) {
    std::sort(sides_.begin(), sides_.end());
}

QPixmap PngIconEngine::ReadPng(const QString& path) {
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

int PngIconEngine::SideFor(const QSize& size) const {
    const int wanted = std::max(size.width(), size.height());
    for (const int side : sides_) {
        if (side >= wanted) {
            return side;
        }
    }
    return sides_.isEmpty() ? 0 : sides_.back();
}

QPixmap PngIconEngine::pixmap(const QSize& size, QIcon::Mode, QIcon::State) {
    const int side = SideFor(size);
    if (side == 0) {
        return {};
    }
    auto found = read_.find(side);
    if (found == read_.end()) {
        found = read_.emplace(side, ReadPng(pattern_.arg(side))).first;
    }
    // As Qt's own pixmap icons: made smaller to fit, never larger.
    const QPixmap& picture = found->second;
    if (picture.isNull() || !size.isValid() ||
        (picture.width() <= size.width() && picture.height() <= size.height())) {
        return picture;
    }
    return picture.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

void PngIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
                          QIcon::State state) {
    const qreal ratio = painter->device() != nullptr ? painter->device()->devicePixelRatioF() : 1.0;
    QPixmap picture = pixmap(rect.size() * ratio, mode, state);
    picture.setDevicePixelRatio(ratio);
    painter->drawPixmap(rect, picture);
}

QSize PngIconEngine::actualSize(const QSize& size, QIcon::Mode, QIcon::State) {
    const int side = SideFor(size);
    if (side == 0) {
        return {};
    }
    QSize actual(side, side);
    if (actual.width() > size.width() || actual.height() > size.height()) {
        actual.scale(size, Qt::KeepAspectRatio);
    }
    return actual;
}

QList<QSize> PngIconEngine::availableSizes(QIcon::Mode, QIcon::State) {
    QList<QSize> sizes;
    for (const int side : sides_) {
        sizes.append(QSize(side, side));
    }
    return sizes;
}

QIconEngine* PngIconEngine::clone() const {
    return new PngIconEngine(*this);
}

QString PngIconEngine::key() const {
    return QStringLiteral("tembrel-png");
}

} // namespace tembrel
