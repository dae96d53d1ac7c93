#include "JpegImageLoader.h"

#include <QFile>

#include <csetjmp>
#include <cstddef>
#include <cstdio> // jpeglib.h needs FILE and size_t declared first

#include <jpeglib.h>

namespace tembrel {

namespace {

// libjpeg reports fatal errors through error_exit, which must not return.
// We jump back to the decoding function; that frame holds only plain C
// structures, so the jump skips no destructor.
struct JumpingErrorManager {
    jpeg_error_mgr pub; // first member: libjpeg sees a jpeg_error_mgr*
    std::jmp_buf jump;
};

[[noreturn]] void JumpOnError(j_common_ptr cinfo) {
    auto* manager = reinterpret_cast<JumpingErrorManager*>(cinfo->err);
    std::longjmp(manager->jump, 1);
}

// The default prints to stderr; warnings are still counted in num_warnings.
void PrintNothing(j_common_ptr) {}

// Fills `image`, owned by the caller so that a jump leaves no object of this
// frame to destroy. Returns false on any error or warning.
bool DecodeInto(const unsigned char* data, std::size_t size, QImage& image) {
    jpeg_decompress_struct cinfo;
    JumpingErrorManager errors;
    cinfo.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = JumpOnError;
    errors.pub.output_message = PrintNothing;
    if (setjmp(errors.jump) != 0) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }

    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);

    image = QImage(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height),
                   QImage::Format_RGB888);
    if (image.isNull()) { // the picture is too large to hold
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = image.scanLine(static_cast<int>(cinfo.output_scanline));
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);

    // A warning means damaged data that libjpeg patched over (grey filler for
    // a truncated scan, say): not the picture we were given.
    const bool clean = errors.pub.num_warnings == 0;
    jpeg_destroy_decompress(&cinfo);
    return clean;
}

} // namespace

QImage JpegImageLoader::Decode(QByteArrayView jpegData) {
    QImage image;
    const auto* bytes = reinterpret_cast<const unsigned char*>(jpegData.data());
    if (!DecodeInto(bytes, static_cast<std::size_t>(jpegData.size()), image)) {
        return {};
    }
    return image;
}

QImage JpegImageLoader::Load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return Decode(file.readAll());
}

} // namespace tembrel
