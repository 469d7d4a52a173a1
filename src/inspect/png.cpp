#include "varnholt/report.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "varnholt/escaping.h"
#include "varnholt/model/error.h"

namespace varnholt::inspect {

namespace {

constexpr size_t kMessageSize = 256;

[[noreturn]] void onPngError(png_structp png, png_const_charp message) {
  std::snprintf(static_cast<char*>(png_get_error_ptr(png)), kMessageSize, "%s", message);
  png_longjmp(png, 1);
}

void onPngWarning(png_structp, png_const_charp) {}

// libpng's output; a failed write stops libpng, the file keeps the reason.
void writeData(png_structp png, png_bytep data, size_t length) {
  auto* file = static_cast<mapfile::PendingFile*>(png_get_io_ptr(png));
  file->write({data, length});
  if (file->failed()) png_error(png, "write failed");
}

void flushData(png_structp) {}

// Writes the picture through libpng; false after a libpng error. Nothing here
// has a destructor, so the error's longjmp back to setjmp skips none.
bool writeRows(mapfile::PendingFile* out, const Image& image, uint32_t scale, uint8_t* row,
               char* error) {
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

void writePng(const Image& image, uint32_t scale, mapfile::PendingFile& file) {
  checkPreviewSize(std::max(image.width, image.height), scale);
  std::vector<uint8_t> row(size_t{3} * image.width * scale);
  char error[kMessageSize] = "libpng could not start";
  if (writeRows(&file, image, scale, row.data(), error)) return;
  if (file.failed()) file.commit();  // throws the system's reason
  throw exception("cannot write " + escapeControlCharacters(file.path()) + ": " + error);
}

}  // namespace varnholt::inspect
