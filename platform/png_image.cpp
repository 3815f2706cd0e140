// Decoding PNG bytes with libpng into an image the toolkit can show.
#include <png.h>

#include <QImage>

#include <cstring>
#include <vector>

#include "platform/gui.h"
#include "platform/qt_widgets.h"

ImageId DecodePngImage(const unsigned char* begin, const unsigned char* end)
{
    if (!begin || !end || end <= begin) return 0;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, begin, static_cast<size_t>(end - begin))) return 0;
    image.format = PNG_FORMAT_RGB;
    if (image.width == 0 || image.height == 0 || image.width > 4096 || image.height > 4096) {
        png_image_free(&image);
        return 0;
    }
    QImage decoded(static_cast<int>(image.width), static_cast<int>(image.height), QImage::Format_RGB888);
    if (decoded.isNull() ||
        !png_image_finish_read(&image, nullptr, decoded.bits(), static_cast<png_int_32>(decoded.bytesPerLine()), nullptr)) {
        png_image_free(&image);
        return 0;
    }
    return RegisterImage(decoded);
}
