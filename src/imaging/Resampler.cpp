#include "imaging/Resampler.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "imaging/JpegCodec.h"

#if defined(__SSE2__)
#include <immintrin.h>
#define MOSAIK_RESAMPLER_SSE2 1
#endif

// The weights must come out the same everywhere: no fused multiply-add may
// merge the single-precision steps of the contributor rule.
#if defined(__clang__)
#pragma STDC FP_CONTRACT OFF
#elif defined(__GNUC__)
#pragma GCC optimize("fp-contract=off")
#endif

namespace mosaik::imaging {

// --- Filters ---------------------------------------------------------------
// The filters take and return single precision; their formulas are
// evaluated in extended precision (long double) and rounded once on return.

namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;

// sin(t) / t rounded to single precision. The extended-precision sine is
// slow (its argument reduction dominates building the contributor lists), so
// the quotient is first taken in double precision: both quotients lie within
// 2^-50 of the exact one, so where the double one is that far from a
// rounding boundary of single precision, both round to the same value. Only
// the rare rest takes the extended path.
float SinOverT(float t) {
  const double q = std::sin(static_cast<double>(t)) / static_cast<double>(t);
  const auto lo = static_cast<float>(q * (1.0 - 0x1p-48)), hi = static_cast<float>(q * (1.0 + 0x1p-48));
  if (lo == hi) return lo;
  return static_cast<float>(std::sin(static_cast<long double>(t)) / static_cast<long double>(t));
}

float Sinc(float x) {
  if (x == 0.0f) return 1.0f;
  return SinOverT(static_cast<float>(kPi * static_cast<long double>(x)));
}

long double Abs(float x) { return std::fabs(static_cast<long double>(x)); }

}  // namespace

// Not symmetric at its ends on purpose: 0.5 belongs to the box, -0.5 not.
float BoxFilter(float x) { return (x > -0.5f && x <= 0.5f) ? 1.0f : 0.0f; }

float TriangleFilter(float x) {
  const long double a = Abs(x);
  return a < 1.0L ? static_cast<float>(1.0L - a) : 0.0f;
}

float HermiteFilter(float x) {
  const long double a = Abs(x);
  return a < 1.0L ? static_cast<float>((2.0L * a - 3.0L) * a * a + 1.0L) : 0.0f;
}

float BellFilter(float x) {
  const long double a = Abs(x);
  if (a < 0.5L) return static_cast<float>(0.75L - a * a);
  if (a < 1.5L) {
    const long double t = a - 1.5L;
    return static_cast<float>(0.5L * t * t);
  }
  return 0.0f;
}

float SplineFilter(float x) {
  const long double a = Abs(x);
  if (a < 1.0L) return static_cast<float>(0.5L * a * a * a - a * a + 2.0L / 3.0L);
  if (a < 2.0L) {
    const long double t = 2.0L - a;
    return static_cast<float>(t * t * t / 6.0L);
  }
  return 0.0f;
}

float Lanczos3Filter(float x) {
  const long double a = Abs(x);
  if (a >= 3.0L) return 0.0f;
  const float af = static_cast<float>(a);
  const float third = static_cast<float>(a / 3.0L);
  return static_cast<float>(static_cast<long double>(Sinc(af)) * static_cast<long double>(Sinc(third)));
}

float MitchellFilter(float x) {
  const long double a = Abs(x);
  const long double a2 = a * a, a3 = a2 * a;
  if (a < 1.0L) return static_cast<float>((7.0L * a3 - 12.0L * a2 + 16.0L / 3.0L) / 6.0L);
  if (a < 2.0L) return static_cast<float>(((-7.0L / 3.0L) * a3 + 12.0L * a2 - 20.0L * a + 32.0L / 3.0L) / 6.0L);
  return 0.0f;
}

TFilterFunction FilterFunctionOf(TResamplingFilter filter) {
  switch (filter) {
    case TResamplingFilter::Box: return BoxFilter;
    case TResamplingFilter::Triangle: return TriangleFilter;
    case TResamplingFilter::Hermite: return HermiteFilter;
    case TResamplingFilter::Bell: return BellFilter;
    case TResamplingFilter::BSpline: return SplineFilter;
    case TResamplingFilter::Lanczos3: return Lanczos3Filter;
    case TResamplingFilter::Mitchell: return MitchellFilter;
  }
  return Lanczos3Filter;
}

float DefaultRadiusOf(TResamplingFilter filter) {
  switch (filter) {
    case TResamplingFilter::Box: return 0.5f;
    case TResamplingFilter::Triangle:
    case TResamplingFilter::Hermite: return 1.0f;
    case TResamplingFilter::Bell: return 1.5f;
    case TResamplingFilter::BSpline:
    case TResamplingFilter::Mitchell: return 2.0f;
    case TResamplingFilter::Lanczos3: return 3.0f;
  }
  return 3.0f;
}

// --- Contributors ----------------------------------------------------------

// Corner pixels are aligned: the first and last target pixels sit on the
// first and last source pixels. A line of one pixel cannot be aligned that
// way (the scale would be 0 and every centre a division by it): a single
// target pixel takes the scale of the lengths and sits in the middle of the
// source.
float PassScale(int dstLength, int srcLength) {
  if (srcLength == 1) return static_cast<float>(dstLength) / static_cast<float>(srcLength);
  if (dstLength == 1) return 1.0f / static_cast<float>(srcLength);
  return static_cast<float>(dstLength - 1) / static_cast<float>(srcLength - 1);
}

namespace {

// The weights of one target pixel for the source positions left, left + 1,
// ... before they are brought into the line; zeros included.
struct RawEntry {
  int32_t left = 0;
  std::vector<int32_t> weights;
};

std::vector<RawEntry> RawContributors(int dstLength, int srcLength, TFilterFunction f, float radius) {
  if (dstLength <= 0 || srcLength <= 0) return {};
  const float s = PassScale(dstLength, srcLength);
  const bool centred = dstLength == 1 && srcLength > 1;
  std::vector<RawEntry> out(static_cast<size_t>(dstLength));
  const bool shrinking = s < 1.0f;
  const float width = shrinking ? radius / s : radius;
  for (int i = 0; i < dstLength; ++i) {
    const float center = centred ? static_cast<float>(srcLength - 1) / 2.0f : static_cast<float>(i) / s;
    const auto left = static_cast<int64_t>(std::floor(center - width));
    const auto right = static_cast<int64_t>(std::ceil(center + width));
    if (right - left + 1 > (int64_t{1} << 26)) throw std::length_error("Der Filter ist für dieses Bild zu breit.");
    RawEntry& e = out[static_cast<size_t>(i)];
    e.left = static_cast<int32_t>(left);
    e.weights.resize(static_cast<size_t>(right - left + 1));
    for (int64_t j = left; j <= right; ++j) {
      const float d = center - static_cast<float>(j);
      const float w = shrinking ? f(d * s) * s * 256.0f : f(d) * 256.0f;
      e.weights[static_cast<size_t>(j - left)] = static_cast<int32_t>(std::lrint(w));
    }
  }
  return out;
}

// A single reflection at each end, then clamped: a wide filter on a very
// short line would otherwise reach past the other end.
int32_t IntoLine(int64_t j, int32_t length) {
  int64_t m = j < 0 ? -j : (j >= length ? 2 * int64_t{length} - j - 1 : j);
  return static_cast<int32_t>(std::clamp<int64_t>(m, 0, length - 1));
}

}  // namespace

TContributorList BuildContributors(int dstLength, int srcLength, TFilterFunction filter, float radius) {
  const auto raw = RawContributors(dstLength, srcLength, filter, radius);
  TContributorList list(raw.size());
  for (size_t i = 0; i < raw.size(); ++i) {
    TContributorEntry& e = list[i];
    e.Contributors.resize(raw[i].weights.size());
    for (size_t k = 0; k < raw[i].weights.size(); ++k) {
      const int32_t w = raw[i].weights[k];
      if (w == 0) continue;
      e.Contributors[static_cast<size_t>(e.N)] = {w, IntoLine(raw[i].left + static_cast<int64_t>(k), srcLength)};
      ++e.N;
    }
  }
  return list;
}

uint8_t WeightedChannel(int32_t sum, int32_t total) {
  const int32_t v = total != 0 ? sum / total : (sum >> 8);
  return static_cast<uint8_t>(std::clamp(v, 0, 255));
}

// --- The passes ------------------------------------------------------------
//
// Both passes give exactly the pixels of the plain rule (for each target
// pixel, sum weight x value over its contributors, divide, clamp); they only
// arrange the work differently:
// - the horizontal pass copies each source row into a line padded with the
//   mirrored pixels, so that every target pixel reads one contiguous run of
//   pixels (a dropped zero weight becomes a zero in the run, which adds
//   nothing);
// - the vertical pass works row by row over the intermediate picture
//   instead of column by column;
// - weights are paired for 16-bit multiply-add (|weight| <= 256 and values
//   <= 255 keep every sum far inside 32 bits);
// - the division is done in single precision where that is provably the
//   same as the integer division after clamping: a quotient below 256 lies
//   at least 1/total below the next integer, more than half a unit in the
//   last place for total < 2^17, and sums below 2^24 are exact in single
//   precision.

namespace {

constexpr int32_t kMaxFastTotal = 1 << 17;
constexpr int64_t kMaxFastSum = 1 << 24;

bool FastDivision(int32_t total, int64_t absWeights) { return total > 0 && total < kMaxFastTotal && absWeights * 255 < kMaxFastSum; }

int32_t PairWeights(int32_t w0, int32_t w1) {
  return static_cast<int32_t>((static_cast<uint32_t>(w0) & 0xFFFFu) | (static_cast<uint32_t>(w1) << 16));
}

// Taps are taken eight at a time (zero weights fill the last group).
constexpr int32_t kGroup = 8;

struct HorizontalPass {
  struct Entry {
    int32_t start = 0;   // first pixel read: in the source row, or in the padded line
    int32_t groups = 0;  // groups of kGroup taps
    int32_t offset = 0;  // into pairWeights (kGroup / 2 pairs a group)
    int32_t total = 0;
    bool fast = false;
    bool direct = false;  // reads the source row itself
    bool narrow = false;  // weights fit the 8-bit kernel (see below)
    int32_t byteOffset = 0;  // into byteWeights
  };
  int32_t minLeft = 0;
  std::vector<int32_t> padMap;  // padded position -> source pixel
  // The padded positions that entries near the ends read.
  std::vector<std::pair<int32_t, int32_t>> padRanges;
  std::vector<Entry> entries;
  std::vector<int32_t> pairWeights;
  std::vector<int32_t> spreadWeights;  // kGroup * 2 a group, for the wide kernel
  std::vector<int8_t> byteWeights;     // kGroup * 4 a group, for the 8-bit kernel
  std::vector<int16_t> weights;  // the same weights one by one (plain loops)

  HorizontalPass(int dstW, int srcW, TFilterFunction f, float radius) {
    auto raw = RawContributors(dstW, srcW, f, radius);
    // Zeros at either end of a run cost time and add nothing.
    int64_t lo = INT64_MAX, hi = INT64_MIN;
    for (auto& e : raw) {
      auto& w = e.weights;
      size_t a = 0, b = w.size();
      while (a < b && w[a] == 0) ++a;
      while (b > a && w[b - 1] == 0) --b;
      if (a == b) {
        w.clear();
        e.left = 0;
        continue;
      }
      w = std::vector<int32_t>(w.begin() + static_cast<ptrdiff_t>(a), w.begin() + static_cast<ptrdiff_t>(b));
      e.left += static_cast<int32_t>(a);
      w.resize((w.size() + kGroup - 1) / kGroup * kGroup, 0);
      lo = std::min<int64_t>(lo, e.left);
      hi = std::max<int64_t>(hi, e.left + static_cast<int64_t>(w.size()));
    }
    if (lo > hi) lo = hi = 0;
    minLeft = static_cast<int32_t>(lo);
    padMap.resize(static_cast<size_t>(hi - lo));
    for (size_t p = 0; p < padMap.size(); ++p) padMap[p] = IntoLine(lo + static_cast<int64_t>(p), srcW);
    std::vector<bool> needed(padMap.size(), false);
    entries.resize(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
      Entry& e = entries[i];
      const auto& w = raw[i].weights;
      e.groups = static_cast<int32_t>(w.size() / kGroup);
      e.direct = raw[i].left >= 0 && raw[i].left + static_cast<int64_t>(w.size()) <= srcW;
      e.start = e.direct ? raw[i].left : static_cast<int32_t>(raw[i].left - lo);
      if (!e.direct)
        for (size_t k = 0; k < w.size(); ++k) needed[static_cast<size_t>(e.start) + k] = true;
      e.offset = static_cast<int32_t>(pairWeights.size());
      int64_t total = 0, absSum = 0;
      for (size_t k = 0; k < w.size(); k += 2) pairWeights.push_back(PairWeights(w[k], w[k + 1]));
      // Per group the pairs as the wide kernel multiplies them: (0, 1) four
      // times and (4, 5) four times, then (2, 3) and (6, 7).
      for (size_t k = 0; k < w.size(); k += kGroup)
        for (size_t half : {0, 2})
          for (size_t lane : {0, 4})
            for (int r = 0; r < 4; ++r) spreadWeights.push_back(PairWeights(w[k + lane + half], w[k + lane + half + 1]));
      for (int32_t v : w) {
        total += v;
        absSum += v < 0 ? -v : v;
        weights.push_back(static_cast<int16_t>(v));
      }
      e.total = static_cast<int32_t>(total);
      e.fast = FastDivision(e.total, absSum);
      // Two pixels times two 8-bit weights must stay inside a 16-bit sum:
      // 255 * (|wa| + |wb|) <= 32767 for each pair (0, 1) and (2, 3). True
      // whenever the picture shrinks to a quarter or less.
      e.narrow = true;
      for (size_t k = 0; k < w.size(); k += 2)
        e.narrow = e.narrow && std::abs(w[k]) <= 127 && std::abs(w[k + 1]) <= 127 &&
                   std::abs(w[k]) + std::abs(w[k + 1]) <= 128;
      e.byteOffset = static_cast<int32_t>(byteWeights.size());
      if (e.narrow)
        for (size_t k = 0; k < w.size(); k += kGroup)
          for (size_t lane : {0, 4})
            for (int r = 0; r < 4; ++r)
              for (size_t t = 0; t < 4; ++t) byteWeights.push_back(static_cast<int8_t>(w[k + lane + t]));
    }
    for (size_t p = 0; p < needed.size();) {
      if (!needed[p]) {
        ++p;
        continue;
      }
      size_t q = p;
      while (q < needed.size() && needed[q]) ++q;
      padRanges.emplace_back(static_cast<int32_t>(p), static_cast<int32_t>(q));
      p = q;
    }
  }

  // Copies the pixels the padded entries read into the padded line.
  void Pad(const uint8_t* row, uint8_t* padded) const {
    for (auto [a, b] : padRanges)
      for (int32_t p = a; p < b; ++p)
        std::memcpy(padded + static_cast<size_t>(p) * 4, row + static_cast<size_t>(padMap[static_cast<size_t>(p)]) * 4, 4);
  }
};

struct VerticalPass {
  struct Entry {
    int32_t pairs = 0;
    int32_t offset = 0;  // into rows and pairWeights (pairs)
    int32_t total = 0;
    bool fast = false;
  };
  std::vector<Entry> entries;
  std::vector<int32_t> rows;  // two source rows per pair
  std::vector<int32_t> pairWeights;
  std::vector<int16_t> weights;

  VerticalPass(int dstH, int srcH, TFilterFunction f, float radius) {
    const TContributorList list = BuildContributors(dstH, srcH, f, radius);
    entries.resize(list.size());
    for (size_t i = 0; i < list.size(); ++i) {
      const TContributorEntry& c = list[i];
      Entry& e = entries[i];
      e.offset = static_cast<int32_t>(pairWeights.size());
      int64_t total = 0, absSum = 0;
      std::vector<TContributor> kept(c.Contributors.begin(), c.Contributors.begin() + c.N);
      if (kept.size() % 2) kept.push_back({0, kept.empty() ? 0 : kept.back().Pixel});
      for (size_t k = 0; k < kept.size(); k += 2) {
        rows.push_back(kept[k].Pixel);
        rows.push_back(kept[k + 1].Pixel);
        pairWeights.push_back(PairWeights(kept[k].Weight, kept[k + 1].Weight));
        weights.push_back(static_cast<int16_t>(kept[k].Weight));
        weights.push_back(static_cast<int16_t>(kept[k + 1].Weight));
      }
      for (const TContributor& t : kept) {
        total += t.Weight;
        absSum += t.Weight < 0 ? -t.Weight : t.Weight;
      }
      e.pairs = static_cast<int32_t>(kept.size() / 2);
      e.total = static_cast<int32_t>(total);
      e.fast = FastDivision(e.total, absSum);
    }
  }
};

constexpr size_t RoundUp16(size_t n) { return (n + 15) & ~size_t{15}; }

#if MOSAIK_RESAMPLER_SSE2
// The four channel sums of one target pixel to bytes (the fourth byte 0).
inline int32_t Quotient(__m128i acc, const HorizontalPass::Entry& e) {
  acc = _mm_and_si128(acc, _mm_set_epi32(0, -1, -1, -1));
  __m128i q;
  if (e.fast) {
    q = _mm_cvttps_epi32(_mm_div_ps(_mm_cvtepi32_ps(acc), _mm_set1_ps(static_cast<float>(e.total))));
  } else {
    alignas(16) int32_t s[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(s), acc);
    q = _mm_set_epi32(0, WeightedChannel(s[2], e.total), WeightedChannel(s[1], e.total),
                      WeightedChannel(s[0], e.total));
  }
  q = _mm_packs_epi32(q, q);
  return _mm_cvtsi128_si32(_mm_packus_epi16(q, q));
}

// Two taps a step: the pixels of the pair interleaved by channel, one
// 16-bit multiply-add with both weights.
void HorizontalLineSse2(const HorizontalPass& h, const uint8_t* row, const uint8_t* padded, uint8_t* out) {
  const __m128i zero = _mm_setzero_si128();
  for (size_t i = 0; i < h.entries.size(); ++i) {
    const auto& e = h.entries[i];
    const uint8_t* p = (e.direct ? row : padded) + static_cast<size_t>(e.start) * 4;
    const int32_t* w = h.pairWeights.data() + e.offset;
    __m128i acc = zero;
    for (int32_t k = 0; k < e.groups * (kGroup / 2); ++k, p += 8) {
      __m128i px = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
      px = _mm_unpacklo_epi8(px, _mm_srli_si128(px, 4));  // b0 b1 g0 g1 r0 r1 x0 x1
      px = _mm_unpacklo_epi8(px, zero);
      acc = _mm_add_epi32(acc, _mm_madd_epi16(px, _mm_set1_epi32(w[k])));
    }
    const int32_t v = Quotient(acc, e);
    std::memcpy(out + i * 4, &v, 4);
  }
}

#if defined(__GNUC__) && defined(__x86_64__)
#define MOSAIK_RESAMPLER_AVX2 1
// Eight taps a step: 32 bytes of pixels, spread by byte shuffles into the
// channel pairs of taps (0, 1) and (4, 5), and of (2, 3) and (6, 7).
__attribute__((target("avx2"))) void HorizontalLineAvx2(const HorizontalPass& h, const uint8_t* row,
                                                         const uint8_t* padded, uint8_t* out) {
  const __m256i pairsA = _mm256_setr_epi8(0, -1, 4, -1, 1, -1, 5, -1, 2, -1, 6, -1, 3, -1, 7, -1,  //
                                          0, -1, 4, -1, 1, -1, 5, -1, 2, -1, 6, -1, 3, -1, 7, -1);
  const __m256i pairsB = _mm256_setr_epi8(8, -1, 12, -1, 9, -1, 13, -1, 10, -1, 14, -1, 11, -1, 15, -1,  //
                                          8, -1, 12, -1, 9, -1, 13, -1, 10, -1, 14, -1, 11, -1, 15, -1);
  const __m256i transpose = _mm256_setr_epi8(0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15,  //
                                             0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15);
  const __m256i ones = _mm256_set1_epi16(1);
  for (size_t i = 0; i < h.entries.size(); ++i) {
    const auto& e = h.entries[i];
    const uint8_t* p = (e.direct ? row : padded) + static_cast<size_t>(e.start) * 4;
    __m256i acc = _mm256_setzero_si256();
    if (e.narrow) {
      // Pixels transposed per four taps (b0 b1 b2 b3 g0 g1 g2 g3 ...), 8-bit
      // multiply-add into 16 bits, then the two 16-bit sums of a channel
      // into 32 bits.
      const int8_t* wb = h.byteWeights.data() + e.byteOffset;
      for (int32_t g = 0; g < e.groups; ++g, p += 32, wb += 32) {
        const __m256i px = _mm256_shuffle_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)), transpose);
        const __m256i part = _mm256_maddubs_epi16(px, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(wb)));
        acc = _mm256_add_epi32(acc, _mm256_madd_epi16(part, ones));
      }
      const __m128i sum = _mm_add_epi32(_mm256_castsi256_si128(acc), _mm256_extracti128_si256(acc, 1));
      const int32_t v = Quotient(sum, e);
      std::memcpy(out + i * 4, &v, 4);
      continue;
    }
    const int32_t* w = h.spreadWeights.data() + static_cast<size_t>(e.offset) * 4;
    for (int32_t g = 0; g < e.groups; ++g, p += 32, w += 16) {
      const __m256i px = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
      acc = _mm256_add_epi32(acc, _mm256_madd_epi16(_mm256_shuffle_epi8(px, pairsA),
                                                    _mm256_loadu_si256(reinterpret_cast<const __m256i*>(w))));
      acc = _mm256_add_epi32(acc, _mm256_madd_epi16(_mm256_shuffle_epi8(px, pairsB),
                                                    _mm256_loadu_si256(reinterpret_cast<const __m256i*>(w + 8))));
    }
    const __m128i sum = _mm_add_epi32(_mm256_castsi256_si128(acc), _mm256_extracti128_si256(acc, 1));
    const int32_t v = Quotient(sum, e);
    std::memcpy(out + i * 4, &v, 4);
  }
}
#endif
#endif

// One horizontal line: a source row (and the padded line for the entries
// near its ends) in, target pixels out (the fourth byte 0).
void HorizontalLine(const HorizontalPass& h, const uint8_t* row, const uint8_t* padded, uint8_t* out, bool wide) {
#if MOSAIK_RESAMPLER_AVX2
  if (wide) return HorizontalLineAvx2(h, row, padded, out);
#else
  (void)wide;
#endif
#if MOSAIK_RESAMPLER_SSE2
  HorizontalLineSse2(h, row, padded, out);
#else
  for (size_t i = 0; i < h.entries.size(); ++i) {
    const auto& e = h.entries[i];
    const uint8_t* p = (e.direct ? row : padded) + static_cast<size_t>(e.start) * 4;
    const int16_t* w = h.weights.data() + static_cast<size_t>(e.offset) * 2;
    int32_t b = 0, g = 0, r = 0;
    for (int32_t k = 0; k < e.groups * kGroup; ++k, p += 4) {
      b += w[k] * p[0];
      g += w[k] * p[1];
      r += w[k] * p[2];
    }
    out[i * 4 + 0] = WeightedChannel(b, e.total);
    out[i * 4 + 1] = WeightedChannel(g, e.total);
    out[i * 4 + 2] = WeightedChannel(r, e.total);
    out[i * 4 + 3] = 0;
  }
#endif
}

// One target row of the vertical pass over rows of `bytes` bytes (a
// multiple of 16; every row readable that far).
void VerticalRow(const VerticalPass& v, size_t i, const uint8_t* const* rowPtr, size_t bytes, uint8_t* out) {
  const auto& e = v.entries[i];
  const int32_t* rows = v.rows.data() + static_cast<size_t>(e.offset) * 2;
#if MOSAIK_RESAMPLER_SSE2
  const int32_t* w = v.pairWeights.data() + e.offset;
  const __m128i zero = _mm_setzero_si128();
  const __m128 div = _mm_set1_ps(static_cast<float>(e.total));
  for (size_t x = 0; x < bytes; x += 16) {
    __m128i a0 = zero, a1 = zero, a2 = zero, a3 = zero;
    for (int32_t k = 0; k < e.pairs; ++k) {
      const __m128i va = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rowPtr[rows[2 * k]] + x));
      const __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rowPtr[rows[2 * k + 1]] + x));
      const __m128i wk = _mm_set1_epi32(w[k]);
      const __m128i lo = _mm_unpacklo_epi8(va, vb);
      const __m128i hi = _mm_unpackhi_epi8(va, vb);
      a0 = _mm_add_epi32(a0, _mm_madd_epi16(_mm_unpacklo_epi8(lo, zero), wk));
      a1 = _mm_add_epi32(a1, _mm_madd_epi16(_mm_unpackhi_epi8(lo, zero), wk));
      a2 = _mm_add_epi32(a2, _mm_madd_epi16(_mm_unpacklo_epi8(hi, zero), wk));
      a3 = _mm_add_epi32(a3, _mm_madd_epi16(_mm_unpackhi_epi8(hi, zero), wk));
    }
    __m128i q0, q1, q2, q3;
    if (e.fast) {
      q0 = _mm_cvttps_epi32(_mm_div_ps(_mm_cvtepi32_ps(a0), div));
      q1 = _mm_cvttps_epi32(_mm_div_ps(_mm_cvtepi32_ps(a1), div));
      q2 = _mm_cvttps_epi32(_mm_div_ps(_mm_cvtepi32_ps(a2), div));
      q3 = _mm_cvttps_epi32(_mm_div_ps(_mm_cvtepi32_ps(a3), div));
    } else {
      alignas(16) int32_t s[16];
      _mm_store_si128(reinterpret_cast<__m128i*>(s), a0);
      _mm_store_si128(reinterpret_cast<__m128i*>(s + 4), a1);
      _mm_store_si128(reinterpret_cast<__m128i*>(s + 8), a2);
      _mm_store_si128(reinterpret_cast<__m128i*>(s + 12), a3);
      for (int32_t& c : s) c = WeightedChannel(c, e.total);
      q0 = _mm_load_si128(reinterpret_cast<const __m128i*>(s));
      q1 = _mm_load_si128(reinterpret_cast<const __m128i*>(s + 4));
      q2 = _mm_load_si128(reinterpret_cast<const __m128i*>(s + 8));
      q3 = _mm_load_si128(reinterpret_cast<const __m128i*>(s + 12));
    }
    const __m128i packed = _mm_packus_epi16(_mm_packs_epi32(q0, q1), _mm_packs_epi32(q2, q3));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), packed);
  }
#else
  const int16_t* w = v.weights.data() + static_cast<size_t>(e.offset) * 2;
  for (size_t x = 0; x < bytes; ++x) {
    int32_t s = 0;
    for (int32_t k = 0; k < e.pairs * 2; ++k) s += w[k] * rowPtr[rows[k]][x];
    out[x] = WeightedChannel(s, e.total);
  }
#endif
}

void CheckSize(int64_t w, int64_t h) {
  if (w <= 0 || h <= 0) throw std::invalid_argument("Ungültige Bildgröße für die Größenänderung.");
  if (w > INT32_MAX / 8 || h > INT32_MAX / 8 || static_cast<uint64_t>(w) * static_cast<uint64_t>(h) > (uint64_t{1} << 32))
    throw std::length_error("Das Bild ist für die Größenänderung zu groß.");
}

}  // namespace

bool WideKernels() {
#if MOSAIK_RESAMPLER_AVX2
  static const bool avx2 = __builtin_cpu_supports("avx2");
  return avx2;
#else
  return false;
#endif
}

namespace {

// Below a scale of 1/256 every weight of a shrinking pass rounds to 0 and
// the picture would come out black. Such a pass first averages blocks of
// this many source pixels, leaving the filter a scale of about 1/16; every
// other pass is untouched.
// A line shrunk to one pixel is the mean of the whole line: one kernel
// folded onto it would weigh its middle (a strip thumbnail of a white top
// quarter over black would come out 58 instead of 64). The block is then the
// line, and the filter sees one pixel, which it keeps.
int BoxFactor(int dstLength, int srcLength) {
  if (dstLength == 1) return srcLength;
  if (PassScale(dstLength, srcLength) >= 1.0f / 256.0f) return 1;
  return std::max(2, srcLength / (16 * dstLength));
}

int Blocks(int length, int factor) { return (length + factor - 1) / factor; }

// The mean of each block of `factor` pixels (the last block may be short),
// rounded to nearest.
void BoxRow(const uint8_t* in, int length, int factor, uint8_t* out) {
  for (int a = 0, o = 0; a < length; a += factor, ++o) {
    const int n = std::min(factor, length - a);
    const auto count = static_cast<uint32_t>(n);
    for (size_t c = 0; c < 4; ++c) {
      uint32_t sum = 0;
      for (int k = 0; k < n; ++k) sum += in[static_cast<size_t>(a + k) * 4 + c];
      out[static_cast<size_t>(o) * 4 + c] = static_cast<uint8_t>((sum + count / 2) / count);
    }
  }
}

}  // namespace

struct RowStretcher::Impl {
  int srcW, srcH, dstW, dstH;
  int boxW, boxH;      // block sizes of the pre-reduction (1: none)
  int interH;          // rows of the intermediate: source rows over boxH
  bool wide = false;
  HorizontalPass h;
  TFilterFunction f;
  float radius;
  size_t interStride;
  std::vector<uint8_t> boxed;   // the source row averaged across (boxW > 1)
  std::vector<uint32_t> sums;   // rows of the intermediate summed down (boxH > 1)
  std::vector<uint8_t> line;    // one intermediate row before it is summed
  std::vector<uint8_t> padded;  // the padded source line, 4 bytes a pixel
  std::vector<uint8_t> inter;   // interH rows of interStride bytes
  int rowsIn = 0;

  Impl(int sw, int sh, int dw, int dh, TFilterFunction fn, float r)
      : srcW(sw), srcH(sh), dstW(dw), dstH(dh), boxW(BoxFactor(dw, sw)), boxH(BoxFactor(dh, sh)),
        interH(Blocks(sh, boxH)), h(dw, Blocks(sw, boxW), fn, r), f(fn), radius(r),
        interStride(RoundUp16(static_cast<size_t>(dw) * 4)),
        boxed(boxW > 1 ? static_cast<size_t>(Blocks(sw, boxW)) * 4 : 0),
        sums(boxH > 1 ? static_cast<size_t>(dw) * 4 : 0),
        line(boxH > 1 ? interStride : 0),
        padded(h.padMap.size() * 4 + 16),
        inter(interStride * static_cast<size_t>(interH) + 16) {}
};

namespace {
float RadiusOrDefault(TResamplingFilter filter, float radius) {
  return radius == 0.0f ? DefaultRadiusOf(filter) : radius;
}
}  // namespace

RowStretcher::RowStretcher(int srcWidth, int srcHeight, int dstWidth, int dstHeight, TResamplingFilter filter,
                           float radius, Kernel kernel) {
  CheckSize(srcWidth, srcHeight);
  CheckSize(dstWidth, dstHeight);
  impl_ = std::make_unique<Impl>(srcWidth, srcHeight, dstWidth, dstHeight, FilterFunctionOf(filter),
                                 RadiusOrDefault(filter, radius));
  impl_->wide = kernel == Kernel::Best && WideKernels();
}

RowStretcher::~RowStretcher() = default;

void RowStretcher::PushRow(const uint8_t* bgrx) {
  Impl& m = *impl_;
  if (m.rowsIn >= m.srcH) throw std::logic_error("RowStretcher: mehr Zeilen als das Bild hat");
  if (m.boxW > 1) {
    BoxRow(bgrx, m.srcW, m.boxW, m.boxed.data());
    bgrx = m.boxed.data();
  }
  m.h.Pad(bgrx, m.padded.data());
  uint8_t* interRow = m.inter.data() + m.interStride * static_cast<size_t>(m.rowsIn / m.boxH);
  if (m.boxH == 1) {
    HorizontalLine(m.h, bgrx, m.padded.data(), interRow, m.wide);
  } else {
    HorizontalLine(m.h, bgrx, m.padded.data(), m.line.data(), m.wide);
    for (size_t i = 0; i < m.sums.size(); ++i) m.sums[i] += m.line[i];
    const int n = m.rowsIn % m.boxH + 1;
    if (n == m.boxH || m.rowsIn + 1 == m.srcH) {
      for (size_t i = 0; i < m.sums.size(); ++i)
        interRow[i] = static_cast<uint8_t>((m.sums[i] + static_cast<uint32_t>(n) / 2) / static_cast<uint32_t>(n));
      std::fill(m.sums.begin(), m.sums.end(), 0u);
    }
  }
  ++m.rowsIn;
}

Bitmap RowStretcher::Finish() {
  Impl& m = *impl_;
  if (m.rowsIn != m.srcH) throw std::logic_error("RowStretcher: es fehlen Zeilen");
  const VerticalPass v(m.dstH, m.interH, m.f, m.radius);
  std::vector<const uint8_t*> rowPtr(static_cast<size_t>(m.interH));
  for (int y = 0; y < m.interH; ++y) rowPtr[static_cast<size_t>(y)] = m.inter.data() + m.interStride * static_cast<size_t>(y);
  Bitmap target(m.dstW, m.dstH, PixelFormat::Bit32);
  // Rows of the intermediate are padded to 16 bytes; the target's are not.
  std::vector<uint8_t> line(m.interStride + 16);
  uint8_t* aligned = line.data() + ((16 - reinterpret_cast<uintptr_t>(line.data()) % 16) % 16);
  const size_t rowBytes = static_cast<size_t>(m.dstW) * 4;
  for (int i = 0; i < m.dstH; ++i) {
    VerticalRow(v, static_cast<size_t>(i), rowPtr.data(), m.interStride, aligned);
    std::memcpy(target.row(i), aligned, rowBytes);
  }
  return target;
}

// --- The plain method --------------------------------------------------------

RowSampler::RowSampler(int srcWidth, int srcHeight, int dstWidth, int dstHeight)
    : srcH_(srcHeight), dstW_(dstWidth), dstH_(dstHeight) {
  CheckSize(srcWidth, srcHeight);
  CheckSize(dstWidth, dstHeight);
  target_ = Bitmap(dstWidth, dstHeight, PixelFormat::Bit32);
  xs_.resize(static_cast<size_t>(dstWidth));
  for (int i = 0; i < dstWidth; ++i)
    xs_[static_cast<size_t>(i)] =
        static_cast<int32_t>(((2 * int64_t{i} + 1) * srcWidth) / (2 * int64_t{dstWidth}));
}

void RowSampler::PushRow(const uint8_t* bgrx) {
  if (nextSrc_ >= srcH_) throw std::logic_error("RowSampler: mehr Zeilen als das Bild hat");
  while (nextDst_ < dstH_ && ((2 * int64_t{nextDst_} + 1) * srcH_) / (2 * int64_t{dstH_}) == nextSrc_) {
    uint8_t* out = target_.row(nextDst_);
    for (int i = 0; i < dstW_; ++i) {
      std::memcpy(out + i * 4, bgrx + static_cast<size_t>(xs_[static_cast<size_t>(i)]) * 4, 3);
      out[i * 4 + 3] = 0;
    }
    ++nextDst_;
  }
  ++nextSrc_;
}

Bitmap RowSampler::Finish() {
  if (nextSrc_ != srcH_) throw std::logic_error("RowSampler: es fehlen Zeilen");
  return std::move(target_);
}

// --- Whole bitmaps -------------------------------------------------------------

namespace {

// One row of any bitmap as 32-bit pixels.
void RowToBgrx(const Bitmap& b, int y, uint8_t* out) {
  const uint8_t* r = b.row(y);
  const auto fromPalette = [&](int x, uint32_t index) {
    const uint32_t c = index < b.palette.size() ? b.palette[index] : 0;
    out[x * 4 + 0] = static_cast<uint8_t>(c);
    out[x * 4 + 1] = static_cast<uint8_t>(c >> 8);
    out[x * 4 + 2] = static_cast<uint8_t>(c >> 16);
    out[x * 4 + 3] = 0;
  };
  for (int x = 0; x < b.width; ++x) {
    switch (b.format) {
      case PixelFormat::Bit32:
        std::memcpy(out + x * 4, r + x * 4, 4);
        break;
      case PixelFormat::Bit24:
        std::memcpy(out + x * 4, r + x * 3, 3);
        out[x * 4 + 3] = 0;
        break;
      case PixelFormat::Bit8: fromPalette(x, r[x]); break;
      case PixelFormat::Bit4: fromPalette(x, (r[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F); break;
      case PixelFormat::Bit1: fromPalette(x, (r[x / 8] >> (7 - x % 8)) & 1); break;
    }
  }
}

template <class RowFn>
void StretchRows(uint32_t newWidth, uint32_t newHeight, TResamplingFilter filter, float radius, int srcW, int srcH,
                 RowFn rowFn, Bitmap& target) {
  if (newWidth > INT32_MAX / 8 || newHeight > INT32_MAX / 8)
    throw std::length_error("Das Bild ist für die Größenänderung zu groß.");
  const int w = static_cast<int>(newWidth), h = static_cast<int>(newHeight);
  if (w == 0 || h == 0) {
    target = Bitmap(w, h, PixelFormat::Bit32);
    return;
  }
  RowStretcher st(srcW, srcH, w, h, filter, radius);
  std::vector<uint8_t> row(static_cast<size_t>(srcW) * 4);
  for (int y = 0; y < srcH; ++y) {
    rowFn(y, row.data());
    st.PushRow(row.data());
  }
  target = st.Finish();
}

}  // namespace

void Stretch(uint32_t newWidth, uint32_t newHeight, TResamplingFilter filter, float radius, const Bitmap& source,
             Bitmap& target) {
  if (source.width <= 0 || source.height <= 0) return;
  StretchRows(newWidth, newHeight, filter, radius, source.width, source.height,
              [&](int y, uint8_t* out) { RowToBgrx(source, y, out); }, target);
}

void Stretch(uint32_t newWidth, uint32_t newHeight, TResamplingFilter filter, float radius, const RgbBitmap& source,
             Bitmap& target) {
  if (source.Width <= 0 || source.Height <= 0) return;
  StretchRows(newWidth, newHeight, filter, radius, source.Width, source.Height,
              [&](int y, uint8_t* out) {
                const uint8_t* r = source.Row(y);
                for (int x = 0; x < source.Width; ++x) {
                  out[x * 4 + 0] = r[x * 3 + 2];
                  out[x * 4 + 1] = r[x * 3 + 1];
                  out[x * 4 + 2] = r[x * 3 + 0];
                  out[x * 4 + 3] = 0;
                }
              },
              target);
}

}  // namespace mosaik::imaging
