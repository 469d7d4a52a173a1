#include "inspect/png.h"

#include <png.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "model/error.h"
#include "platform/paths.h"

namespace varnholt::inspect {

namespace {

struct PngError {
  char message[256];
  int systemError;  // errno of a failed write, 0 when libpng itself gave up
};

[[noreturn]] void onPngError(png_structp png, png_const_charp message) {
  auto* error = static_cast<PngError*>(png_get_error_ptr(png));
  std::snprintf(error->message, sizeof error->message, "%s", message);
  png_longjmp(png, 1);
}

void onPngWarning(png_structp, png_const_charp) {}

// libpng's output, keeping the system's reason when a write fails.
void writeData(png_structp png, png_bytep data, size_t length) {
  if (std::fwrite(data, 1, length, static_cast<std::FILE*>(png_get_io_ptr(png))) != length) {
    static_cast<PngError*>(png_get_error_ptr(png))->systemError = errno;
    png_error(png, "write failed");
  }
}

void flushData(png_structp png) { std::fflush(static_cast<std::FILE*>(png_get_io_ptr(png))); }

// Writes the picture through libpng; false after a libpng error. Nothing here
// has a destructor, so the error's longjmp back to setjmp skips none.
bool writeRows(std::FILE* out, const Image& image, uint32_t scale, uint8_t* row,
               PngError* error) {
  png_structp png =
      png_create_write_struct(PNG_LIBPNG_VER_STRING, error, onPngError, onPngWarning);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, out, writeData, flushData);
  png_set_IHDR(png, info, image.width * scale, image.height * scale, 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (uint32_t y = 0; y < image.height; ++y) {
    const uint8_t* source = &image.rgb[size_t{3} * image.width * y];
    for (uint32_t x = 0; x < image.width; ++x) {
      for (uint32_t s = 0; s < scale; ++s) std::memcpy(row + 3 * (x * scale + s), source + 3 * x, 3);
    }
    for (uint32_t s = 0; s < scale; ++s) png_write_row(png, row);
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

void writePng(const Image& image, uint32_t scale, const std::string& path) {
  checkPreviewSize(std::max(image.width, image.height), scale);
  std::vector<uint8_t> row(size_t{3} * image.width * scale);
  std::FILE* out = platform::openForWriting(path);
  if (out == nullptr) throw exception("cannot write " + path + ": " + std::strerror(errno));
  PngError error{"libpng could not start", 0};
  const bool written = writeRows(out, image, scale, row.data(), &error);
  const bool closed = std::fclose(out) == 0;
  if (written && closed) return;
  const int closeError = errno;
  const std::string reason = written             ? std::strerror(closeError)
                             : error.systemError ? std::strerror(error.systemError)
                                                 : error.message;
  platform::removeRegularFile(path);
  throw exception("cannot write " + path + ": " + reason);
}

}  // namespace varnholt::inspect
