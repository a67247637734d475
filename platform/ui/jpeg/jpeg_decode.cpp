#include "platform/ui/jpeg/jpeg_decode.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace ui {

namespace {

// libjpeg's error manager extended by the way back out of a failed decode.
struct ErrorManager {
    jpeg_error_mgr Base;
    std::jmp_buf Back;
    char Message[JMSG_LENGTH_MAX];
    bool Warned;
};

void FormatMessage(j_common_ptr cinfo)
{
    auto *err = reinterpret_cast<ErrorManager *>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->Message);
}

[[noreturn]] void ErrorExit(j_common_ptr cinfo)
{
    FormatMessage(cinfo);
    std::longjmp(reinterpret_cast<ErrorManager *>(cinfo->err)->Back, 1);
}

// Level -1 is a corrupt-data warning: the picture would be drawn with grey
// where the data was bad, so it counts as a failure. Trace messages (level
// >= 0) are dropped; nothing goes to stderr.
void EmitMessage(j_common_ptr cinfo, int level)
{
    auto *err = reinterpret_cast<ErrorManager *>(cinfo->err);
    if (level < 0 && !err->Warned) {
        err->Warned = true;
        FormatMessage(cinfo);
        cinfo->err->num_warnings++;
    }
}

void OutputMessage(j_common_ptr) {}

} // namespace

bool DecodeJpeg(const uint8_t *data, size_t size, TJpegBitmap &out, std::string &error)
{
    out = TJpegBitmap{};
    error.clear();
    if (data == nullptr || size == 0) {
        error = "Empty JPEG data";
        return false;
    }
    jpeg_decompress_struct cinfo{};
    ErrorManager err{};
    cinfo.err = jpeg_std_error(&err.Base);
    err.Base.error_exit = ErrorExit;
    err.Base.emit_message = EmitMessage;
    err.Base.output_message = OutputMessage;

    // Nothing with a destructor is made between here and the end of the
    // decoding, so leaving by longjmp skips no C++ clean-up; out.Rgb was
    // made above and is emptied on the way out.
    if (setjmp(err.Back)) {
        jpeg_destroy_decompress(&cinfo);
        error = err.Message;
        out = TJpegBitmap{};
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, const_cast<unsigned char *>(data), static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    // Judged on the header, before the decoder sets up its buffers (a
    // progressive picture gets buffers for the whole picture there).
    if (static_cast<uint64_t>(cinfo.image_width) * cinfo.image_height > kJpegMaxPixels) {
        jpeg_destroy_decompress(&cinfo);
        error = "JPEG picture too large";
        return false;
    }
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    const uint64_t pixels = static_cast<uint64_t>(cinfo.output_width) * cinfo.output_height;
    if (cinfo.output_components != 3 || pixels == 0 || pixels > kJpegMaxPixels) {
        jpeg_destroy_decompress(&cinfo);
        error = pixels > kJpegMaxPixels ? "JPEG picture too large" : "Unsupported JPEG picture";
        return false;
    }
    out.Width = static_cast<int>(cinfo.output_width);
    out.Height = static_cast<int>(cinfo.output_height);
    const size_t stride = static_cast<size_t>(out.Width) * 3;
    out.Rgb.resize(stride * static_cast<size_t>(out.Height));
    while (cinfo.output_scanline < cinfo.output_height && !err.Warned) {
        JSAMPROW row = out.Rgb.data() + stride * cinfo.output_scanline;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    if (!err.Warned)
        jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    if (err.Warned) {
        error = err.Message;
        out = TJpegBitmap{};
        return false;
    }
    return true;
}

} // namespace ui
