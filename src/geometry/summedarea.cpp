#include "geometry/summedarea.h"

#include <algorithm>
#include <map>

#include "geometry/circle.h"

namespace varnholt::geometry {

SummedArea::SummedArea(int64_t size, const std::vector<int32_t>& counts)
    : size_(size), sums_(static_cast<size_t>((size + 1) * (size + 1)), 0) {
  const int64_t stride = size + 1;
  for (int64_t y = 0; y < size; ++y) {
    int64_t row = 0;
    for (int64_t x = 0; x < size; ++x) {
      row += counts[static_cast<size_t>(x + size * y)];
      sums_[static_cast<size_t>((x + 1) + stride * (y + 1))] =
          sums_[static_cast<size_t>((x + 1) + stride * y)] + row;
    }
  }
}

int64_t SummedArea::rect(int64_t x0, int64_t y0, int64_t x1, int64_t y1) const {
  x0 = std::max<int64_t>(x0, 0);
  y0 = std::max<int64_t>(y0, 0);
  x1 = std::min(x1, size_ - 1);
  y1 = std::min(y1, size_ - 1);
  if (x0 > x1 || y0 > y1) return 0;
  const int64_t stride = size_ + 1;
  auto at = [&](int64_t x, int64_t y) { return sums_[static_cast<size_t>(x + stride * y)]; };
  return at(x1 + 1, y1 + 1) - at(x0, y1 + 1) - at(x1 + 1, y0) + at(x0, y0);
}

int64_t SummedArea::circle(int64_t cx, int64_t cy, int64_t radius) const {
  int64_t total = 0;
  for (int64_t dy = 1 - radius; dy < radius; ++dy) {
    const int64_t reach = circleHalfWidth(radius, dy);
    if (reach >= 0) total += rect(cx - reach, cy + dy, cx + reach, cy + dy);
  }
  return total;
}

FootprintRows::FootprintRows(const model::BuildingMeta& meta) {
  std::map<int64_t, std::vector<int64_t>> rows;
  for (const model::BuildingMetaBlock& cell : meta.blocks) {
    rows[cell.yOffset].push_back(cell.xOffset);
    minDx_ = std::min(minDx_, cell.xOffset);
    maxDx_ = std::max(maxDx_, cell.xOffset);
    minDy_ = std::min(minDy_, cell.yOffset);
    maxDy_ = std::max(maxDy_, cell.yOffset);
  }
  for (auto& [dy, columns] : rows) {
    std::sort(columns.begin(), columns.end());
    columns.erase(std::unique(columns.begin(), columns.end()), columns.end());
    for (size_t i = 0; i < columns.size();) {
      size_t j = i;
      while (j + 1 < columns.size() && columns[j + 1] == columns[j] + 1) ++j;
      runs_.push_back({dy, columns[i], columns[j]});
      i = j + 1;
    }
  }
}

int64_t FootprintRows::sum(const SummedArea& table, int64_t x, int64_t y) const {
  int64_t total = 0;
  for (const Run& run : runs_)
    total += table.rect(x + run.left, y + run.dy, x + run.right, y + run.dy);
  return total;
}

bool FootprintRows::inside(int64_t size, int64_t x, int64_t y) const {
  return x + minDx_ >= 0 && y + minDy_ >= 0 && x + maxDx_ < size && y + maxDy_ < size;
}

namespace {

void markFits(const SummedArea& bad, const FootprintRows& footprint, int64_t x0, int64_t y0,
              int64_t x1, int64_t y1, std::vector<int32_t>& fits) {
  const int64_t size = bad.size();
  for (int64_t y = std::max<int64_t>(0, y0); y <= std::min(size - 1, y1); ++y) {
    for (int64_t x = std::max<int64_t>(0, x0); x <= std::min(size - 1, x1); ++x) {
      if (footprint.inside(size, x, y) && footprint.sum(bad, x, y) == 0) {
        fits[static_cast<size_t>(x + size * y)] = 1;
      }
    }
  }
}

}  // namespace

std::vector<int32_t> footprintFits(const SummedArea& bad, const FootprintRows& footprint) {
  const int64_t size = bad.size();
  std::vector<int32_t> fits(static_cast<size_t>(size * size), 0);
  markFits(bad, footprint, 0, 0, size - 1, size - 1, fits);
  return fits;
}

std::vector<int32_t> footprintFits(const SummedArea& bad, const FootprintRows& footprint,
                                   const std::vector<std::array<int64_t, 2>>& centres,
                                   int64_t reach) {
  const int64_t size = bad.size();
  std::vector<int32_t> fits(static_cast<size_t>(size * size), 0);
  for (const auto& [x, y] : centres)
    markFits(bad, footprint, x - reach, y - reach, x + reach, y + reach, fits);
  return fits;
}

}  // namespace varnholt::geometry
