// PNG output through stb's header-only writer, for systems without libpng
// (the Windows build). It encodes the whole scaled picture in memory, where
// libpng streams it row by row; the pixels are the same.
#include "inspect/png.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#include <stb_image_write.h>
#pragma GCC diagnostic pop

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "model/error.h"
#include "platform/paths.h"

namespace varnholt::inspect {

namespace {

struct Output {
  std::FILE* file;
  int systemError;  // errno of the first failed write, 0 while all succeed
};

void writeData(void* context, void* data, int size) {
  auto* output = static_cast<Output*>(context);
  if (output->systemError != 0) return;
  const auto length = static_cast<size_t>(size);
  if (std::fwrite(data, 1, length, output->file) != length) {
    output->systemError = errno != 0 ? errno : EIO;
  }
}

// image with each pixel drawn as a scale x scale square.
std::vector<uint8_t> scaled(const Image& image, uint32_t scale) {
  const size_t rowBytes = size_t{3} * image.width * scale;
  std::vector<uint8_t> pixels(rowBytes * image.height * scale);
  for (uint32_t y = 0; y < image.height; ++y) {
    uint8_t* row = &pixels[rowBytes * scale * y];
    const uint8_t* source = &image.rgb[size_t{3} * image.width * y];
    for (uint32_t x = 0; x < image.width; ++x) {
      for (uint32_t s = 0; s < scale; ++s) std::memcpy(row + 3 * (x * scale + s), source + 3 * x, 3);
    }
    for (uint32_t s = 1; s < scale; ++s) std::memcpy(row + rowBytes * s, row, rowBytes);
  }
  return pixels;
}

}  // namespace

void writePng(const Image& image, uint32_t scale, const std::string& path) {
  checkPreviewSize(std::max(image.width, image.height), scale);
  const std::vector<uint8_t> pixels = scaled(image, scale);
  std::FILE* file = platform::openForWriting(path);
  if (file == nullptr) throw exception("cannot write " + path + ": " + std::strerror(errno));
  Output output{file, 0};
  const int width = static_cast<int>(image.width * scale);
  const int height = static_cast<int>(image.height * scale);
  const bool encoded = stbi_write_png_to_func(writeData, &output, width, height, 3,
                                              pixels.data(), width * 3) != 0;
  const bool flushed = std::fflush(file) == 0;
  if (output.systemError == 0 && !flushed) output.systemError = errno;
  const bool closed = std::fclose(file) == 0;
  if (output.systemError == 0 && !closed) output.systemError = errno;
  if (encoded && output.systemError == 0) return;
  platform::removeRegularFile(path);
  throw exception("cannot write " + path + ": " +
                  (output.systemError != 0 ? std::strerror(output.systemError)
                                           : "the PNG encoder ran out of memory"));
}

}  // namespace varnholt::inspect
