#pragma once

#include <QIconEngine>
#include <QList>
#include <QPixmap>
#include <QSize>
#include <QString>

#include <map>

namespace tembrel {

// An icon of square PNG pictures, one per size, each read only when a size
// near it is first asked for. The window's icon has six sizes; the system
// asks for one or two of them, and none before the window is painted, so the
// start reads none it does not show. Read as PNG and nothing else: left to
// recognise the format, Qt would first load every image plugin to ask it.
class PngIconEngine final : public QIconEngine {
public:
    // The pictures by their side in pixels: "pattern" with %1 for the side.
    PngIconEngine(const QString& pattern, const QList<int>& sides);

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    QIconEngine* clone() const override;
    QString key() const override;

    // The PNG picture at path, empty when it cannot be read.
    static QPixmap ReadPng(const QString& path);

private:
    // The smallest side that covers size, else the largest.
    int SideFor(const QSize& size) const;

    QString pattern_;
    QList<int> sides_;            // ascending
    std::map<int, QPixmap> read_; // the sides read so far
};

} // namespace tembrel
