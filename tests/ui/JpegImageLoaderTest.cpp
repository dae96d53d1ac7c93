#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QSet>
#include <QtTest>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

#include "JpegImageLoader.h"

using tembrel::JpegImageLoader;

namespace {

// Where the first frame header (SOFn) of a JPEG stream sits, and what it says.
struct FrameHeader {
    int marker = 0;
    qsizetype offset = -1; // of the 0xFF that starts the segment
    int width = 0;
    int height = 0;
};

// Walks the marker segments from SOI up to the first frame header.
FrameHeader FirstFrameHeader(const QByteArray& jpeg) {
    const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(jpeg[i]); };
    if (jpeg.size() < 4 || byte(0) != 0xFF || byte(1) != 0xD8) {
        return {};
    }
    qsizetype pos = 2;
    while (pos + 4 <= jpeg.size()) {
        if (byte(pos) != 0xFF) {
            return {};
        }
        const int marker = byte(pos + 1);
        if (marker == 0xFF) { // fill byte
            ++pos;
            continue;
        }
        const bool isFrame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (isFrame) {
            if (pos + 9 > jpeg.size()) {
                return {};
            }
            return {marker, pos, (byte(pos + 7) << 8) | byte(pos + 8),
                    (byte(pos + 5) << 8) | byte(pos + 6)};
        }
        if (marker == 0xDA || marker == 0xD9) { // a scan or the end before any frame
            return {};
        }
        pos += 2 + ((byte(pos + 2) << 8) | byte(pos + 3));
    }
    return {};
}

// Encodes with libjpeg directly, so the decoder meets streams whose content
// the test knows. The image must be RGB888.
QByteArray Encode(const QImage& image, bool progressive, bool grey) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(image.width());
    cinfo.image_height = static_cast<JDIMENSION>(image.height());
    cinfo.input_components = grey ? 1 : 3;
    cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    if (progressive) {
        jpeg_simple_progression(&cinfo);
    }
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<unsigned char> greyRow(static_cast<std::size_t>(image.width()));
    while (cinfo.next_scanline < cinfo.image_height) {
        const uchar* rgb = image.constScanLine(static_cast<int>(cinfo.next_scanline));
        JSAMPROW row = const_cast<uchar*>(rgb);
        if (grey) {
            for (int x = 0; x < image.width(); ++x) {
                greyRow[static_cast<std::size_t>(x)] = rgb[3 * x];
            }
            row = greyRow.data();
        }
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    QByteArray data(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
    std::free(buffer);
    return data;
}

// 32 x 16: a 16 x 16 block of `left` beside one of `right`, so each block
// fills whole chroma-subsampled units and keeps its colour when compressed.
QImage TwoBlocks(QColor left, QColor right) {
    QImage image(32, 16, QImage::Format_RGB888);
    image.fill(right);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            image.setPixelColor(x, y, left);
        }
    }
    return image;
}

bool Near(QColor actual, QColor expected, int tolerance) {
    return std::abs(actual.red() - expected.red()) <= tolerance &&
           std::abs(actual.green() - expected.green()) <= tolerance &&
           std::abs(actual.blue() - expected.blue()) <= tolerance;
}

QByteArray BuiltInPicture() {
    QFile file(QStringLiteral(":/about.jpg"));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

} // namespace

class JpegImageLoaderTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        Q_INIT_RESOURCE(resources); // the static library's resources, used directly here
    }

    void builtInPictureIsProgressive245By178() {
        const QByteArray jpeg = BuiltInPicture();
        QVERIFY(!jpeg.isEmpty());
        const FrameHeader frame = FirstFrameHeader(jpeg);
        QCOMPARE(frame.marker, 0xC2); // SOF2: progressive, Huffman-coded
        QCOMPARE(frame.width, 245);
        QCOMPARE(frame.height, 178);
    }

    void builtInPictureDecodesTo245By178() {
        const QImage image = JpegImageLoader::Load(QStringLiteral(":/about.jpg"));
        QVERIFY(!image.isNull());
        QCOMPARE(image.size(), QSize(245, 178));
        // A drawing, not a flat or grey filler: it has many colours.
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 4) {
            for (int x = 0; x < image.width(); x += 4) {
                colours.insert(image.pixel(x, y));
            }
        }
        QVERIFY2(colours.size() > 100, qPrintable(QString::number(colours.size())));
    }

    // Qt's own JPEG reader, where installed, is an independent judge of the
    // pixels: both must read the same picture.
    void decodesLikeQtsReader() {
        const QByteArray jpeg = BuiltInPicture();
        QBuffer buffer;
        buffer.setData(jpeg);
        QImageReader reader(&buffer, "jpeg");
        QImage reference;
        if (!reader.canRead() || !reader.read(&reference)) {
            QSKIP("Qt has no JPEG reader here");
        }
        reference = reference.convertToFormat(QImage::Format_RGB888);
        const QImage image = JpegImageLoader::Decode(jpeg);
        QCOMPARE(image.size(), reference.size());
        int worst = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor a = image.pixelColor(x, y);
                const QColor b = reference.pixelColor(x, y);
                worst = std::max({worst, std::abs(a.red() - b.red()),
                                  std::abs(a.green() - b.green()), std::abs(a.blue() - b.blue())});
            }
        }
        QVERIFY2(worst <= 2, qPrintable(QStringLiteral("largest difference %1").arg(worst)));
    }

    void decodesKnownBlocks_data() {
        QTest::addColumn<bool>("progressive");
        QTest::addColumn<bool>("grey");
        QTest::addColumn<QColor>("left");
        QTest::addColumn<QColor>("right");
        const QColor red(220, 30, 30), blue(30, 60, 200);
        const QColor dark(40, 40, 40), light(200, 200, 200);
        QTest::newRow("baseline colour") << false << false << red << blue;
        QTest::newRow("progressive colour") << true << false << red << blue;
        QTest::newRow("baseline grey") << false << true << dark << light;
        QTest::newRow("progressive grey") << true << true << dark << light;
    }

    void decodesKnownBlocks() {
        QFETCH(bool, progressive);
        QFETCH(bool, grey);
        QFETCH(QColor, left);
        QFETCH(QColor, right);
        const QByteArray jpeg = Encode(TwoBlocks(left, right), progressive, grey);
        QCOMPARE(FirstFrameHeader(jpeg).marker, progressive ? 0xC2 : 0xC0);

        const QImage image = JpegImageLoader::Decode(jpeg);
        QCOMPARE(image.size(), QSize(32, 16));
        for (const QPoint p : {QPoint(4, 4), QPoint(8, 8), QPoint(11, 12)}) {
            QVERIFY2(Near(image.pixelColor(p), left, 6), qPrintable(image.pixelColor(p).name()));
        }
        for (const QPoint p : {QPoint(20, 4), QPoint(24, 8), QPoint(28, 12)}) {
            QVERIFY2(Near(image.pixelColor(p), right, 6), qPrintable(image.pixelColor(p).name()));
        }
        if (grey) { // a grey picture comes out as equal channels
            const QColor c = image.pixelColor(5, 5);
            QCOMPARE(c.red(), c.green());
            QCOMPARE(c.green(), c.blue());
        }
    }

    void damagedDataGivesNullImage_data() {
        QTest::addColumn<QByteArray>("jpeg");
        const QByteArray good = BuiltInPicture();
        const QByteArray baseline =
            Encode(TwoBlocks(QColor(220, 30, 30), QColor(30, 60, 200)), false, false);
        const FrameHeader frame = FirstFrameHeader(good);
        QVERIFY(frame.offset > 0);

        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not a JPEG") << QByteArray("GIF89a this is something else");
        QTest::newRow("start marker only") << QByteArray("\xFF\xD8", 2);
        QTest::newRow("cut inside the headers") << good.left(frame.offset + 5);
        QTest::newRow("progressive cut in its scans") << good.left(good.size() / 2);
        QTest::newRow("progressive without end marker") << good.left(good.size() - 2);
        QTest::newRow("baseline cut in its scan") << baseline.left(baseline.size() - 40);
        QTest::newRow("baseline without end marker") << baseline.left(baseline.size() - 2);

        QByteArray noWidth = good;
        noWidth[frame.offset + 7] = 0;
        noWidth[frame.offset + 8] = 0;
        QTest::newRow("zero width") << noWidth;

        QByteArray twelveBit = good;
        twelveBit[frame.offset + 4] = 12;
        QTest::newRow("12-bit samples") << twelveBit;

        QByteArray noComponents = good;
        noComponents[frame.offset + 9] = 0;
        QTest::newRow("no components") << noComponents;
    }

    void damagedDataGivesNullImage() {
        QFETCH(QByteArray, jpeg);
        QVERIFY(JpegImageLoader::Decode(jpeg).isNull());
    }

    // A failed decode leaves nothing behind that spoils the next one.
    void decodesAfterAFailure() {
        QVERIFY(JpegImageLoader::Decode(BuiltInPicture().left(300)).isNull());
        QCOMPARE(JpegImageLoader::Decode(BuiltInPicture()).size(), QSize(245, 178));
    }

    void unreadableFileGivesNullImage() {
        QVERIFY(JpegImageLoader::Load(QStringLiteral(":/no/such/picture.jpg")).isNull());
    }
};

QTEST_MAIN(JpegImageLoaderTest)
#include "JpegImageLoaderTest.moc"
