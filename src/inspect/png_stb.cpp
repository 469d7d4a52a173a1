// PNG output through stb's header-only writer, for systems without libpng
// (the Windows build). It encodes the whole scaled picture in memory, where
// libpng streams it row by row; the pixels are the same.
#include "varnholt/report.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#include <stb_image_write.h>
#pragma GCC diagnostic pop

#include <algorithm>
#include <cstring>
#include <vector>

#include "varnholt/escaping.h"
#include "varnholt/model/error.h"

namespace varnholt::inspect {

namespace {

// stb's output; a failed write is kept by the file, which reports it.
void writeData(void* file, void* data, int size) {
  static_cast<mapfile::PendingFile*>(file)->write(
      {static_cast<const uint8_t*>(data), static_cast<size_t>(size)});
}

// image with each pixel drawn as a scale x scale square.
std::vector<uint8_t> scaled(const Image& image, uint32_t scale) {
  const size_t rowBytes = size_t{3} * image.width * scale;
  std::vector<uint8_t> pixels(rowBytes * image.height * scale);
  for (uint32_t y = 0; y < image.height; ++y) {
    uint8_t* row = &pixels[rowBytes * scale * y];
    const uint8_t* source = &image.rgb[size_t{3} * image.width * y];
    for (uint32_t x = 0; x < image.width; ++x) {
      for (uint32_t s = 0; s < scale; ++s) {
        std::memcpy(row + 3 * (x * scale + s), source + 3 * x, 3);
      }
    }
    for (uint32_t s = 1; s < scale; ++s) std::memcpy(row + rowBytes * s, row, rowBytes);
  }
  return pixels;
}

}  // namespace

void writePng(const Image& image, uint32_t scale, mapfile::PendingFile& file) {
  checkPreviewSize(std::max(image.width, image.height), scale);
  const std::vector<uint8_t> pixels = scaled(image, scale);
  const int width = static_cast<int>(image.width * scale);
  const int height = static_cast<int>(image.height * scale);
  const bool encoded =
      stbi_write_png_to_func(writeData, &file, width, height, 3, pixels.data(), width * 3) != 0;
  if (file.failed()) file.commit();  // throws the system's reason
  if (!encoded) {
    throw exception("cannot write " + escapeControlCharacters(file.path()) +
                    ": the PNG encoder ran out of memory");
  }
}

}  // namespace varnholt::inspect
