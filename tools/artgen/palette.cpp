#include "tools/artgen/palette.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace ostrel::artgen {

namespace {

struct Entry {
  std::array<int, 3> channels;
  double count;
};
using Box = std::vector<Entry>;

int LongestAxis(const Box& box, int* range) {
  int best = 0;
  *range = -1;
  for (int axis = 0; axis < 3; ++axis) {
    const auto [low, high] = std::minmax_element(box.begin(), box.end(), [axis](auto& a, auto& b) {
      return a.channels[axis] < b.channels[axis];
    });
    const int span = high->channels[axis] - low->channels[axis];
    if (span > *range) {
      *range = span;
      best = axis;
    }
  }
  return best;
}

// Splits the box at the count-weighted median of its longest axis.
std::pair<Box, Box> Split(Box box) {
  int range = 0;
  const int axis = LongestAxis(box, &range);
  std::sort(box.begin(), box.end(),
            [axis](auto& a, auto& b) { return a.channels[axis] < b.channels[axis]; });
  double total = 0;
  for (const Entry& e : box) total += e.count;
  double seen = 0;
  size_t cut = 1;
  for (; cut < box.size() - 1; ++cut) {
    seen += box[cut - 1].count;
    if (seen >= total / 2) break;
  }
  return {Box(box.begin(), box.begin() + long(cut)), Box(box.begin() + long(cut), box.end())};
}

// The box's main colour when one colour outweighs all others together (flat areas stay
// exact), otherwise the weighted mean.
QRgb Representative(const Box& box) {
  double sum[3] = {0, 0, 0}, total = 0;
  const Entry* heaviest = &box.front();
  for (const Entry& e : box) {
    for (int c = 0; c < 3; ++c) sum[c] += e.channels[c] * e.count;
    total += e.count;
    if (e.count > heaviest->count) heaviest = &e;
  }
  if (heaviest->count * 2 >= total) {
    return qRgb(heaviest->channels[0], heaviest->channels[1], heaviest->channels[2]);
  }
  return qRgb(int(std::lround(sum[0] / total)), int(std::lround(sum[1] / total)),
              int(std::lround(sum[2] / total)));
}

}  // namespace

Palette::Palette(const std::vector<QImage>& frames, int maxColours) {
  std::unordered_map<QRgb, double> histogram;
  for (const QImage& frame : frames) {
    const QImage opaque = frame.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < opaque.height(); ++y) {
      const QRgb* row = reinterpret_cast<const QRgb*>(opaque.constScanLine(y));
      for (int x = 0; x < opaque.width(); ++x) histogram[row[x] | 0xFF000000u] += 1;
    }
  }
  Box all;
  for (const auto& [colour, count] : histogram) {
    // Square root of the count: rare edge colours keep a say against large flat areas.
    all.push_back({{qRed(colour), qGreen(colour), qBlue(colour)}, std::sqrt(count)});
  }
  std::vector<Box> boxes{all};
  while (int(boxes.size()) < maxColours) {
    auto widest = boxes.end();
    int widestRange = 0;
    for (auto it = boxes.begin(); it != boxes.end(); ++it) {
      int range = 0;
      if (it->size() > 1) LongestAxis(*it, &range);
      if (range > widestRange) {
        widestRange = range;
        widest = it;
      }
    }
    if (widest == boxes.end()) break;  // every colour has its own box
    auto [low, high] = Split(std::move(*widest));
    *widest = std::move(low);
    boxes.push_back(std::move(high));
  }
  for (const Box& box : boxes) colours_.push_back(Representative(box));
}

unsigned char Palette::IndexOf(QRgb pixel) {
  pixel |= 0xFF000000u;
  if (auto found = nearest_.find(pixel); found != nearest_.end()) return found->second;
  int best = 0;
  long bestDistance = -1;
  for (size_t i = 0; i < colours_.size(); ++i) {
    const long dr = qRed(pixel) - qRed(colours_[i]), dg = qGreen(pixel) - qGreen(colours_[i]),
               db = qBlue(pixel) - qBlue(colours_[i]);
    const long distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
    if (bestDistance < 0 || distance < bestDistance) {
      bestDistance = distance;
      best = int(i);
    }
  }
  nearest_.emplace(pixel, static_cast<unsigned char>(best));
  return static_cast<unsigned char>(best);
}

}  // namespace ostrel::artgen
