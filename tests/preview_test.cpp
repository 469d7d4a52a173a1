#include "varnholt/inspect.h"
#include "varnholt/report.h"

#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>
#include <set>

#include "blank_map.h"
#include "expect_error.h"
#include "tempdir.h"
#include "varnholt/model/error.h"

namespace varnholt::inspect {

namespace {

using model::LandscapeType;
using model::Map;
using Colour = std::array<uint8_t, 3>;

Colour pixel(const Image& image, uint32_t x, uint32_t y) {
  const size_t at = 3 * (x + size_t{image.width} * y);
  return {image.rgb[at], image.rgb[at + 1], image.rgb[at + 2]};
}

int brightness(const Colour& c) { return c[0] + c[1] + c[2]; }

// 12 x 12 grass at height 20; row 0 holds the ground kinds side by side.
Map tinyMap() {
  Map map = testing::blankMap(12);
  map.heights.assign(144, 20);
  const LandscapeType row0[] = {LandscapeType::WATER1, LandscapeType::WATER8,
                                LandscapeType::GRASS,  LandscapeType::SAND,
                                LandscapeType::DESERT, LandscapeType::MOOR,
                                LandscapeType::MUD,    LandscapeType::MOUNTAIN,
                                LandscapeType::SNOW,   LandscapeType::RIVER1};
  for (uint32_t x = 0; x < 10; ++x) map.landscape[x] = row0[x];
  map.heights[10] = 60;  // grass at (10, 0), higher than (2, 0)
  map.objects[11 + 12 * 11] = model::ObjectType::TREE_ELM_1;
  map.objects[10 + 12 * 11] = model::ObjectType::RES_STONE_05;
  map.party[0 + 12 * 11] = 2;
  map.buildings = {{1, model::BuildingType::TOWER, 5, 6, {}, {}, {}}};
  return map;
}

TEST(Preview, ColoursTellGroundObjectsPartiesAndTowers) {
  const Image image = renderPreview(tinyMap());
  ASSERT_EQ(image.width, 12u);
  ASSERT_EQ(image.height, 12u);
  ASSERT_EQ(image.rgb.size(), 3u * 144);

  const Colour shallow = pixel(image, 0, 0);
  const Colour deep = pixel(image, 1, 0);
  EXPECT_GT(brightness(shallow), brightness(deep));
  EXPECT_GT(shallow[2], shallow[0]);
  EXPECT_GT(deep[2], deep[0]);

  std::set<Colour> kinds;
  for (uint32_t x = 0; x < 10; ++x) kinds.insert(pixel(image, x, 0));
  EXPECT_EQ(kinds.size(), 10u);  // every ground kind of row 0 in its own colour
  EXPECT_GT(brightness(pixel(image, 10, 0)), brightness(pixel(image, 2, 0)));  // height shading

  const Colour grass = pixel(image, 2, 0);
  const Colour tree = pixel(image, 11, 11);
  const Colour stone = pixel(image, 10, 11);
  EXPECT_LT(brightness(tree), brightness(grass));
  EXPECT_GT(tree[1], tree[0]);
  EXPECT_LT(brightness(stone), brightness(grass));
  EXPECT_NE(tree, stone);

  const Colour claimed = pixel(image, 0, 11);
  const Colour plain = pixel(image, 1, 11);
  const Colour yellow = partyColour(2);
  EXPECT_NE(claimed, plain);
  EXPECT_LT(std::abs(claimed[0] - yellow[0]), std::abs(plain[0] - yellow[0]));

  EXPECT_EQ(pixel(image, 5, 6), (Colour{255, 255, 255}));  // centre
  EXPECT_EQ(pixel(image, 6, 6), partyColour(1));
  EXPECT_EQ(pixel(image, 8, 6), (Colour{0, 0, 0}));  // frame, three tiles out
  EXPECT_EQ(pixel(image, 5, 9), (Colour{0, 0, 0}));
  EXPECT_NE(pixel(image, 9, 6), (Colour{0, 0, 0}));
}

TEST(Preview, PartyColoursDiffer) {
  std::set<Colour> colours;
  for (int party = 0; party < 254; ++party) colours.insert(partyColour(static_cast<uint8_t>(party)));
  EXPECT_GT(colours.size(), 200u);
}

using PreviewFile = testing::TempDirTest;

// Reads a PNG back as 8-bit RGB through libpng.
Image readPng(const std::string& path) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  EXPECT_TRUE(png_image_begin_read_from_file(&png, path.c_str())) << png.message;
  png.format = PNG_FORMAT_RGB;
  Image image;
  image.width = png.width;
  image.height = png.height;
  image.rgb.resize(PNG_IMAGE_SIZE(png));
  EXPECT_TRUE(png_image_finish_read(&png, nullptr, image.rgb.data(), 0, nullptr)) << png.message;
  return image;
}

TEST_F(PreviewFile, ScaledPngHoldsTheSamePixels) {
  const Image image = renderPreview(tinyMap());
  const std::string path = (dir_ / "tiny.png").string();
  writePng(image, 3, path);
  const Image read = readPng(path);
  ASSERT_EQ(read.width, 36u);
  ASSERT_EQ(read.height, 36u);
  for (uint32_t y = 0; y < 36; ++y) {
    for (uint32_t x = 0; x < 36; ++x) {
      ASSERT_EQ(pixel(read, x, y), pixel(image, x / 3, y / 3)) << x << ", " << y;
    }
  }
}

TEST_F(PreviewFile, RefusedSizesAndUnwritablePaths) {
  struct Case {
    int64_t size;
    int64_t scale;
    const char* message;
  };
  const Case cases[] = {
      {320, 0, "the preview scale must be 1 to 16, not 0"},
      {320, 17, "the preview scale must be 1 to 16, not 17"},
      {320, -3, "the preview scale must be 1 to 16, not -3"},
      {1025, 16, "a preview of 16400 x 16400 pixels is too large (at most 16384 per edge)"},
      {0, 1, "an empty map has no preview"},
  };
  for (const Case& c : cases) {
    testing::expectErrorMessage([&] { checkPreviewSize(c.size, c.scale); }, c.message);
  }
  EXPECT_NO_THROW(checkPreviewSize(1024, 16));

  const Image image = renderPreview(tinyMap());
  const std::string missingDir = (dir_ / "no" / "such.png").string();
  testing::expectErrorMessage([&] { writePng(image, 1, missingDir); },
                              "cannot write " + missingDir + ": No such file or directory");
  if (std::filesystem::exists("/dev/full")) {
    try {
      writePng(image, 16, "/dev/full");
      ADD_FAILURE() << "no error";
    } catch (const Error& error) {
      EXPECT_EQ(std::string(error.what()).rfind("cannot write /dev/full: ", 0), 0u) << error.what();
    }
    EXPECT_TRUE(std::filesystem::exists("/dev/full"));
  }
}

}  // namespace
}  // namespace varnholt::inspect
