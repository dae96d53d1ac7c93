#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QString>

namespace tembrel {

// Decodes JPEG data with libjpeg itself, so the picture looks the same
// whichever image plugins Qt was built with. Any failure, including data
// that libjpeg only warns about (a truncated or damaged stream), gives a null
// QImage; nothing is printed and nothing is thrown.
class JpegImageLoader final {
public:
    // Baseline and progressive JPEGs in greyscale or colour, as RGB888.
    static QImage Decode(QByteArrayView jpegData);

    // The same for a file or a Qt resource (":/about.jpg"); an unreadable
    // file gives a null QImage.
    static QImage Load(const QString& path);
};

} // namespace tembrel
