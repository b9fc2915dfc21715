#include "gui/jpeg_image.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace zeb::gui {

namespace {

// libjpeg reports fatal errors through error_exit, which by default ends the process; here it
// jumps back to DecodeJpeg instead. Nothing with a destructor lives in DecodeJpeg across the
// jump: the pixels are a malloc'ed buffer that becomes a QImage only after the last libjpeg call.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

void ErrorExit(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void SilentMessage(j_common_ptr) {}

void FreePixels(void* pixels) {
    std::free(pixels);
}

} // namespace

QImage DecodeJpeg(const QByteArray& data) {
    if (data.isEmpty())
        return {};
    jpeg_decompress_struct cinfo;
    ErrorManager error;
    cinfo.err = jpeg_std_error(&error.pub);
    error.pub.error_exit = ErrorExit;
    error.pub.output_message = SilentMessage;
    unsigned char* volatile pixels = nullptr;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&cinfo);
        std::free(pixels);
        return {};
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    if (cinfo.output_components != 3) {
        jpeg_destroy_decompress(&cinfo);
        return {};
    }
    const int width = static_cast<int>(cinfo.output_width);
    const int height = static_cast<int>(cinfo.output_height);
    const qsizetype stride = (static_cast<qsizetype>(width) * 3 + 3) / 4 * 4;
    pixels = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(stride * height)));
    if (!pixels) {
        jpeg_destroy_decompress(&cinfo);
        return {};
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = pixels + stride * cinfo.output_scanline;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return QImage(pixels, width, height, stride, QImage::Format_RGB888, FreePixels, pixels);
}

} // namespace zeb::gui
