// The resampler: weights, edge rules, and the fast passes against the plain
// column-by-column rule.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <tuple>
#include <vector>

#include "imaging/JpegCodec.h"
#include "imaging/Resampler.h"

using namespace mosaik::imaging;

namespace {

const TResamplingFilter kAllFilters[] = {TResamplingFilter::Box,     TResamplingFilter::Triangle,
                                         TResamplingFilter::Hermite, TResamplingFilter::Bell,
                                         TResamplingFilter::BSpline, TResamplingFilter::Lanczos3,
                                         TResamplingFilter::Mitchell};

Bitmap Noise(int w, int h, uint32_t seed) {
  Bitmap b(w, h, PixelFormat::Bit32);
  for (auto& p : b.pixels) {
    seed = seed * 1664525u + 1013904223u;
    p = static_cast<uint8_t>(seed >> 24);
  }
  return b;
}

Bitmap Filled(int w, int h, uint8_t r, uint8_t g, uint8_t b) {
  Bitmap bm(w, h, PixelFormat::Bit32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = bm.row(y) + x * 4;
      p[0] = b, p[1] = g, p[2] = r, p[3] = 0;
    }
  return bm;
}

// The rule as written: per row and per column, three channel buffers, the
// contributor lists and the weighting rule, one pixel at a time.
Bitmap PlainStretch(int dw, int dh, TResamplingFilter filter, float radius, const Bitmap& src) {
  const float r = radius == 0 ? DefaultRadiusOf(filter) : radius;
  const TFilterFunction f = FilterFunctionOf(filter);
  const int sw = src.width, sh = src.height;
  Bitmap mid(dw, sh, PixelFormat::Bit32);
  Bitmap dst(dw, dh, PixelFormat::Bit32);
  std::vector<int32_t> cr, cg, cb;
  const auto pixel = [&](const TContributorEntry& e, uint8_t* out) {
    int32_t total = 0, sr = 0, sg = 0, sb = 0;
    for (int k = 0; k < e.N; ++k) {
      const auto& c = e.Contributors[static_cast<size_t>(k)];
      total += c.Weight;
      sr += c.Weight * cr[static_cast<size_t>(c.Pixel)];
      sg += c.Weight * cg[static_cast<size_t>(c.Pixel)];
      sb += c.Weight * cb[static_cast<size_t>(c.Pixel)];
    }
    out[0] = WeightedChannel(sb, total);
    out[1] = WeightedChannel(sg, total);
    out[2] = WeightedChannel(sr, total);
  };
  // A line shrunk to one pixel is its mean, rounded to nearest.
  const auto mean = [&](int n, uint8_t* out) {
    int32_t sr = 0, sg = 0, sb = 0;
    for (size_t i = 0; i < static_cast<size_t>(n); ++i) sr += cr[i], sg += cg[i], sb += cb[i];
    out[0] = static_cast<uint8_t>((sb + n / 2) / n);
    out[1] = static_cast<uint8_t>((sg + n / 2) / n);
    out[2] = static_cast<uint8_t>((sr + n / 2) / n);
  };
  const auto h = BuildContributors(dw, sw, f, r);
  cr.assign(static_cast<size_t>(sw), 0), cg = cr, cb = cr;
  for (int k = 0; k < sh; ++k) {
    for (int x = 0; x < sw; ++x) {
      const uint8_t* p = src.row(k) + x * 4;
      cb[static_cast<size_t>(x)] = p[0], cg[static_cast<size_t>(x)] = p[1], cr[static_cast<size_t>(x)] = p[2];
    }
    if (dw == 1) {
      mean(sw, mid.row(k));
      continue;
    }
    for (int i = 0; i < dw; ++i) pixel(h[static_cast<size_t>(i)], mid.row(k) + i * 4);
  }
  const auto v = BuildContributors(dh, sh, f, r);
  cr.assign(static_cast<size_t>(sh), 0), cg = cr, cb = cr;
  for (int k = 0; k < dw; ++k) {
    for (int y = 0; y < sh; ++y) {
      const uint8_t* p = mid.row(y) + k * 4;
      cb[static_cast<size_t>(y)] = p[0], cg[static_cast<size_t>(y)] = p[1], cr[static_cast<size_t>(y)] = p[2];
    }
    if (dh == 1)
      mean(sh, dst.row(0) + k * 4);
    else
      for (int i = 0; i < dh; ++i) pixel(v[static_cast<size_t>(i)], dst.row(i) + k * 4);
  }
  return dst;
}

// Compares blue, green and red of every pixel.
::testing::AssertionResult SamePixels(const Bitmap& a, const Bitmap& b) {
  if (a.width != b.width || a.height != b.height)
    return ::testing::AssertionFailure() << a.width << "x" << a.height << " vs " << b.width << "x" << b.height;
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x)
      for (int c = 0; c < 3; ++c)
        if (a.row(y)[x * 4 + c] != b.row(y)[x * 4 + c])
          return ::testing::AssertionFailure() << "pixel " << x << "," << y << " channel " << c << ": "
                                               << int(a.row(y)[x * 4 + c]) << " vs " << int(b.row(y)[x * 4 + c]);
  return ::testing::AssertionSuccess();
}

}  // namespace

// The program resamples with Lanczos 3 only; the other filters are not
// called.
TEST(Resampler, FilterFunctionsAtKnownPoints) {
  EXPECT_EQ(Lanczos3Filter(0.0f), 1.0f);
  EXPECT_EQ(Lanczos3Filter(3.0f), 0.0f);
  EXPECT_EQ(Lanczos3Filter(-0.5f), Lanczos3Filter(0.5f));
  // sinc(0.5) * sinc(1/6) = (2/pi) * (3/pi): 0.6079271...
  EXPECT_NEAR(Lanczos3Filter(0.5f), 0.607927, 1e-6);
  // Single-precision pi makes sin(pi) a little off 0: weights round it away.
  EXPECT_LT(std::fabs(Lanczos3Filter(1.0f)), 1e-6f);
  // Worked out to 200 bits, rounding to single precision where the rule
  // rounds (pi x, each sine quotient, the product); a sine taken in single
  // precision misses each by one unit in the last place.
  EXPECT_EQ(Lanczos3Filter(0.25f), 0x1.c7b6dep-1f);
  EXPECT_EQ(Lanczos3Filter(1.9f), -0x1.85721p-6f);
  EXPECT_EQ(Lanczos3Filter(2.2f), 0x1.c174fep-6f);
  EXPECT_EQ(DefaultRadiusOf(TResamplingFilter::Lanczos3), 3.0f);
}

TEST(Resampler, WeightingRule) {
  // Truncated; clamped, not wrapped; a total of 0 shifts right by 8.
  const std::tuple<int, int, int> faelle[] = {{1000, 4, 250}, {1019, 4, 254}, {1023, 4, 255}, {1100, 4, 255},
                                              {-5, 3, 0},     {7, -2, 0},     {-7, -2, 3},    {600, 0, 2},
                                              {-600, 0, 0},   {255 * 256 + 255, 0, 255}};
  for (auto [summe, gesamt, wert] : faelle) EXPECT_EQ(WeightedChannel(summe, gesamt), wert) << summe << "/" << gesamt;
}

TEST(Resampler, EightToThreeLanczos3Weights) {
  // Worked out in single precision: s = 2/7, width = 10.5; centres 0,
  // 3.4999998 and 6.9999995.
  EXPECT_EQ(PassScale(3, 8), 2.0f / 7.0f);
  const auto list = BuildContributors(3, 8, Lanczos3Filter, 3.0f);
  ASSERT_EQ(list.size(), 3u);
  const std::vector<std::vector<std::pair<int, int>>> expected = {
      {{1, 7}, {2, 7}, {-6, 6}, {-11, 5}, {-7, 4}, {10, 3}, {37, 2}, {63, 1}, {73, 0},
       {63, 1}, {37, 2}, {10, 3}, {-7, 4}, {-11, 5}, {-6, 6}, {2, 7}, {1, 6}},
      {{1, 6}, {2, 5}, {2, 4}, {-3, 3}, {-9, 2}, {-10, 1}, {23, 1}, {51, 2}, {70, 3},
       {70, 4}, {51, 5}, {23, 6}, {-10, 7}, {-9, 6}, {-3, 5}, {2, 4}, {2, 3}, {1, 2}},
      {{1, 2}, {2, 1}, {-6, 1}, {-11, 2}, {-7, 3}, {10, 4}, {37, 5}, {63, 6}, {73, 7},
       {63, 7}, {37, 6}, {10, 5}, {-7, 4}, {-11, 3}, {-6, 2}, {2, 0}, {1, 0}},
  };
  // Candidates: -11..11, -7..14, -4..18.
  EXPECT_EQ(list[0].Contributors.size(), 23u);
  EXPECT_EQ(list[1].Contributors.size(), 22u);
  EXPECT_EQ(list[2].Contributors.size(), 23u);
  for (size_t i = 0; i < 3; ++i) {
    ASSERT_EQ(list[i].N, static_cast<int>(expected[i].size())) << "entry " << i;
    for (size_t k = 0; k < expected[i].size(); ++k) {
      EXPECT_EQ(list[i].Contributors[k].Weight, expected[i][k].first) << "entry " << i << " #" << k;
      EXPECT_EQ(list[i].Contributors[k].Pixel, expected[i][k].second) << "entry " << i << " #" << k;
    }
  }
  // A row 0, 10, 20, ... 70: entry 0 sums to 1370 over a total of 251.
  Bitmap row(8, 1, PixelFormat::Bit32);
  for (int x = 0; x < 8; ++x) row.row(0)[x * 4 + 1] = static_cast<uint8_t>(10 * x);
  Bitmap out;
  Stretch(3, 1, TResamplingFilter::Lanczos3, 0, row, out);
  EXPECT_EQ(out.row(0)[1], 1370 / 251);
}

TEST(Resampler, EqualSizeIsIdentity) {
  const Bitmap src = Noise(23, 17, 7);
  Bitmap out;
  Stretch(23, 17, TResamplingFilter::Lanczos3, 0, src, out);
  EXPECT_TRUE(SamePixels(out, src));
  EXPECT_EQ(out.format, PixelFormat::Bit32);
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x) EXPECT_EQ(out.row(y)[x * 4 + 3], 0);
}

TEST(Resampler, ConstantStaysConstant) {
  const Bitmap src = Filled(37, 23, 200, 13, 77);
  const std::pair<int, int> sizes[] = {{10, 7}, {80, 50}, {1, 1}, {37, 1}, {3, 60}, {120, 9}};
  for (auto [w, h] : sizes) {
    Bitmap out;
    Stretch(static_cast<uint32_t>(w), static_cast<uint32_t>(h), TResamplingFilter::Lanczos3, 0, src, out);
    EXPECT_TRUE(SamePixels(out, Filled(w, h, 200, 13, 77))) << w << "x" << h;
  }
}

TEST(Resampler, FastPassesEqualThePlainRule) {
  struct Case {
    int sw, sh, dw, dh;
  };
  const Case cases[] = {{64, 48, 16, 12}, {61, 47, 19, 5},  {10, 10, 37, 23}, {5, 3, 120, 1},
                        {300, 7, 120, 2}, {2, 2, 7, 9},     {1, 1, 5, 3},     {1, 9, 4, 2},
                        {3, 1, 1, 1},     {97, 31, 96, 30}, {40, 40, 41, 39}, {600, 4, 17, 3},
                        {257, 257, 2, 2}};  // 1/256 exactly: the last scale filtered without block means
  uint32_t seed = 1;
  for (auto f : kAllFilters)
    for (float radius : {0.0f, 1.25f, 4.0f})
      for (const Case& c : cases) {
        const Bitmap src = Noise(c.sw, c.sh, ++seed);
        Bitmap out;
        Stretch(static_cast<uint32_t>(c.dw), static_cast<uint32_t>(c.dh), f, radius, src, out);
        const Bitmap plain = PlainStretch(c.dw, c.dh, f, radius, src);
        EXPECT_TRUE(SamePixels(out, plain)) << "filter " << static_cast<int>(f) << " radius " << radius << " " << c.sw
                                            << "x" << c.sh << " -> " << c.dw << "x" << c.dh;
        // The baseline loops too, where the processor has wider ones.
        RowStretcher base(c.sw, c.sh, c.dw, c.dh, f, radius, RowStretcher::Kernel::Baseline);
        for (int y = 0; y < c.sh; ++y) base.PushRow(src.row(y));
        EXPECT_TRUE(SamePixels(base.Finish(), plain)) << "baseline, filter " << static_cast<int>(f);
      }
}

TEST(Resampler, OnePixelLinesAndShortSources) {
  // A single target pixel sits in the middle of its source line.
  EXPECT_EQ(PassScale(1, 20), 0.05f);
  EXPECT_EQ(PassScale(5, 1), 5.0f);
  EXPECT_EQ(PassScale(1, 1), 1.0f);
  // A side of one pixel is the mean of the whole source side, rounded (a
  // kernel folded onto the line would weigh its middle): a white top
  // quarter over black gives 63.75, 64, also beyond the 256:1 of the block
  // pre-reduction, and across as down.
  struct Mean {
    int sw, sh, white, dw, dh;
    uint8_t value;
  };
  for (const Mean& c : {Mean{50, 40, 10, 12, 1, 64}, Mean{3, 1200, 300, 3, 1, 64}, Mean{40, 2, 10, 1, 2, 64},
                        Mean{20, 3, 0, 20, 1, 0}}) {
    Bitmap strip(c.sw, c.sh, PixelFormat::Bit32);
    for (int y = 0; y < c.sh; ++y)
      for (int x = 0; x < c.sw; ++x) strip.row(y)[x * 4 + 1] = (c.dh == 1 ? y : x) < c.white ? 255 : 0;
    Bitmap flat;
    Stretch(static_cast<uint32_t>(c.dw), static_cast<uint32_t>(c.dh), TResamplingFilter::Lanczos3, 0, strip, flat);
    ASSERT_EQ(flat.width * flat.height, c.dw * c.dh);
    for (int i = 0; i < c.dw * c.dh; ++i) EXPECT_EQ(flat.pixels[static_cast<size_t>(i) * 4 + 1], c.value) << c.sh;
  }

  // Sources of one and two pixels enlarged with wide filters: every index
  // stays inside the line.
  for (auto f : kAllFilters)
    for (int src = 1; src <= 3; ++src)
      for (int dst : {1, 2, 5, 40})
        for (float radius : {0.0f, 7.5f}) {
          const auto list = BuildContributors(dst, src, FilterFunctionOf(f), radius == 0 ? DefaultRadiusOf(f) : radius);
          for (const auto& e : list)
            for (int k = 0; k < e.N; ++k)
              EXPECT_LT(static_cast<unsigned>(e.Contributors[static_cast<size_t>(k)].Pixel), static_cast<unsigned>(src));
        }
  Bitmap dot = Filled(1, 1, 9, 99, 199);
  Bitmap big;
  Stretch(6, 4, TResamplingFilter::Lanczos3, 0, dot, big);
  EXPECT_TRUE(SamePixels(big, Filled(6, 4, 9, 99, 199)));
}

TEST(Resampler, DegenerateInputs) {
  // Beyond 256:1 the weights would all round to 0 (black): a stitched
  // panorama of stripes keeps its mean colour, each channel its own.
  Bitmap stripes(6000, 300, PixelFormat::Bit32);
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 6000; ++x) {
      uint8_t* p = stripes.row(y) + x * 4;
      p[2] = static_cast<uint8_t>((x + y) % 2 * 200);
      p[1] = static_cast<uint8_t>(x % 3 * 90);
      p[0] = static_cast<uint8_t>(y % 2 * 250);
    }
  Bitmap out;
  for (auto f : {TResamplingFilter::Lanczos3, TResamplingFilter::Box}) {
    Stretch(20, 1, f, 0, stripes, out);
    for (int x = 0; x < 20; ++x) {
      EXPECT_NEAR(out.row(0)[x * 4 + 2], 100, 2) << x;
      EXPECT_NEAR(out.row(0)[x * 4 + 1], 90, 2) << x;
      EXPECT_NEAR(out.row(0)[x * 4 + 0], 125, 2) << x;
    }
    // Shrunk across only: each row keeps its own colour.
    Stretch(20, 300, f, 0, stripes, out);
    EXPECT_EQ(std::pair(out.row(0)[0], out.row(1)[0]), std::pair(uint8_t{0}, uint8_t{250}));
    // Down to two rows: the last, shorter block of rows counts as well.
    Stretch(20, 2, f, 0, stripes, out);
    EXPECT_NEAR(out.row(1)[1], 90, 2);
  }
  RowStretcher missing(50, 40, 13, 11, TResamplingFilter::Lanczos3, 0);
  missing.PushRow(Noise(50, 1, 1).row(0));
  EXPECT_THROW(missing.Finish(), std::logic_error);
}

TEST(Resampler, CloseToExactLanczos) {
  // The same resampling in double precision with unrounded weights and no
  // rounding between the passes, truncated at the end as the resampler
  // truncates; a smooth picture, shrunk and enlarged. Nearly every pixel is
  // within 1 of it.
  const int sw = 90, sh = 60;
  Bitmap src(sw, sh, PixelFormat::Bit32);
  for (int y = 0; y < sh; ++y)
    for (int x = 0; x < sw; ++x)
      for (int c = 0; c < 3; ++c)
        src.row(y)[x * 4 + c] =
            static_cast<uint8_t>(128 + 100 * std::sin(0.07 * x * (c + 1) + 0.05 * y) * std::cos(0.04 * y - c));
  const auto exact = [](int dst, int srcLen) {
    // Weights per target pixel over the whole line, mirrored as the
    // resampler mirrors.
    std::vector<std::vector<double>> w(static_cast<size_t>(dst), std::vector<double>(static_cast<size_t>(srcLen)));
    const double s = dst == 1 ? 1.0 / srcLen : double(dst - 1) / (srcLen - 1);
    const double width = s < 1 ? 3 / s : 3;
    for (int i = 0; i < dst; ++i) {
      const double center = dst == 1 ? (srcLen - 1) / 2.0 : i / s;
      double total = 0;
      for (int j = static_cast<int>(std::floor(center - width)); j <= std::ceil(center + width); ++j) {
        const double d = (center - j) * (s < 1 ? s : 1);
        const double a = std::fabs(d);
        const auto sinc = [](double v) { return v == 0 ? 1.0 : std::sin(M_PI * v) / (M_PI * v); };
        const double f = a < 3 ? sinc(a) * sinc(a / 3) : 0;
        int m = j < 0 ? -j : (j >= srcLen ? 2 * srcLen - j - 1 : j);
        m = std::max(0, std::min(srcLen - 1, m));
        w[static_cast<size_t>(i)][static_cast<size_t>(m)] += f;
        total += f;
      }
      for (double& v : w[static_cast<size_t>(i)]) v /= total;
    }
    return w;
  };
  for (auto [dw, dh] : {std::pair{30, 20}, std::pair{61, 43}, std::pair{135, 90}}) {
    Bitmap out;
    Stretch(static_cast<uint32_t>(dw), static_cast<uint32_t>(dh), TResamplingFilter::Lanczos3, 0, src, out);
    const auto wx = exact(dw, sw), wy = exact(dh, sh);
    int worst = 0, count = 0, outside = 0;
    for (int c = 0; c < 3; ++c)
      for (int i = 0; i < dh; ++i)
        for (int k = 0; k < dw; ++k) {
          double v = 0;
          for (int y = 0; y < sh; ++y) {
            double row = 0;
            for (int x = 0; x < sw; ++x) row += wx[static_cast<size_t>(k)][static_cast<size_t>(x)] * src.row(y)[x * 4 + c];
            v += wy[static_cast<size_t>(i)][static_cast<size_t>(y)] * row;
          }
          const int ref = static_cast<int>(std::floor(std::max(0.0, std::min(255.0, v))));
          const int diff = std::abs(ref - out.row(i)[k * 4 + c]);
          worst = std::max(worst, diff);
          ++count;
          if (diff > 1) ++outside;
        }
    // Both passes truncate and the weights are rounded to 1/256: an error
    // of 2 can happen, rarely.
    EXPECT_LE(worst, 2) << dw << "x" << dh;
    EXPECT_LT(outside * 100, count) << dw << "x" << dh;
  }
}

TEST(Resampler, PlainMethodSamplesPixelCentres) {
  // x = ((2i + 1) * W) / (2w): 6 -> 4 takes 0, 2, 3, 5; 2 -> 5 takes 0, 0, 1, 1, 1.
  Bitmap src(6, 2, PixelFormat::Bit32);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 6; ++x) src.row(y)[x * 4] = static_cast<uint8_t>(10 * x + 100 * y);
  RowSampler s(6, 2, 4, 5);
  for (int y = 0; y < 2; ++y) s.PushRow(src.row(y));
  const Bitmap out = s.Finish();
  const int xs[] = {0, 2, 3, 5};
  const int ys[] = {0, 0, 1, 1, 1};
  for (int i = 0; i < 5; ++i)
    for (int k = 0; k < 4; ++k) EXPECT_EQ(out.row(i)[k * 4], 10 * xs[k] + 100 * ys[i]) << k << "," << i;
}
