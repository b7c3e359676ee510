#include "analysis/score.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace pelorin {

ScoreLookups PairReportLookups(const TextBase& aspects, const TextBase& houses, const std::string& dataDir) {
    return {[&aspects, dataDir](int m, int a, int w) { return WriteAspectText(aspects, dataDir, m, a, w); },
            [&houses, dataDir](int m, int h) { return WriteHouseText(houses, dataDir, m, h); }};
}

ScoreLookups ScanLookups(const TextBase& aspects, const TextBase& houses) {
    return {[&aspects](int m, int a, int w) { return AspectWeight(aspects, m, a, w); },
            [&houses](int m, int h) { return HouseWeight(houses, m, h); }};
}

std::vector<ScoreFactor> StrongestFirst(std::vector<ScoreFactor> factors) {
    std::stable_sort(factors.begin(), factors.end(), [](const ScoreFactor& a, const ScoreFactor& b) {
        return std::abs(a.weight) > std::abs(b.weight);
    });
    return factors;
}

std::string FactorParagraph(const TextBase& aspectTexts, const TextBase& houseTexts, const ScoreFactor& factor,
                            const TextBase* reverseTexts) {
    const bool aspect = factor.kind == ScoreFactor::Kind::Aspect;
    const bool reverse = factor.kind == ScoreFactor::Kind::ReverseHouse;
    if (reverse && reverseTexts == nullptr) return {};
    const TextBase& base = aspect ? aspectTexts : reverse ? *reverseTexts : houseTexts;
    const FoundEntry e = aspect    ? base.Find(EntryKind::Aspect, {factor.manBody, factor.angle, factor.womanBody, 0})
                         : reverse ? base.Find(EntryKind::House, {factor.womanBody, factor.house, 0, 0})
                                   : base.Find(EntryKind::House, {factor.manBody, factor.house, 0, 0});
    if (e.line == 0) return {};
    return PointsHeading(e.weight, base.name(), e.line) + "\r\n" + base.EntryText(e.line, 2);
}

double RoundHalfEven(double x) {
    const double f = std::floor(x);
    const double d = x - f;
    if (d < 0.5) return f;
    if (d > 0.5) return f + 1;
    return std::fmod(f, 2.0) == 0 ? f : f + 1;
}

std::optional<std::int32_t> CompatPercentOf(std::int32_t plusTotal, std::int32_t minusTotal) {
    const double all = static_cast<double>(plusTotal) + std::fabs(static_cast<double>(minusTotal));
    if (all == 0) return std::nullopt;
    return static_cast<std::int32_t>(RoundHalfEven(100.0 * plusTotal / all));
}

std::string WithHisHousesText(int percent) { return "с его домами: " + std::to_string(percent) + " %"; }

std::optional<std::int32_t> PercentWithReverse(std::int32_t plusTotal, std::int32_t minusTotal,
                                               const ReverseScore& reverse) {
    return CompatPercentOf(plusTotal + reverse.PlusTotal, minusTotal + reverse.MinusTotal);
}

ReverseLookup ReverseWeightLookup(const TextBase& reverseTexts) {
    return [&reverseTexts](int womanBody, int house) { return HouseWeight(reverseTexts, womanBody, house); };
}

ReverseScore ScoreReverse(const HouseOverlay& reverseOverlay, const ReverseLookup& lookup) {
    ReverseScore s;
    for (int h = 1; h <= 12; ++h)
        for (int b = 0; b < kBodyCount; ++b) {
            if (reverseOverlay[static_cast<std::size_t>(b)] != h) continue;
            const int w = lookup(b + 1, h);
            if (w == 0) continue;
            (w > 0 ? s.PlusTotal : s.MinusTotal) += w;
            s.Factors.push_back({ScoreFactor::Kind::ReverseHouse, 0, b + 1, 0, h, w});
        }
    return s;
}

namespace {

void Add(PairScore& s, int weight, ScoreFactor f) {
    if (weight == 0) return;
    if (weight > 0) s.PlusTotal += weight;
    else s.MinusTotal += weight;
    f.weight = weight;
    s.Factors.push_back(f);
}

}  // namespace

PairScore ScorePair(const AspectGrid& grid, const HouseOverlay& overlay, bool womanTimeKnown,
                    const ScoreLookups& lookups) {
    PairScore s;
    for (int c = 0; c < kBodyCount; ++c) {
        if (c == kMoon) continue;  // the man's Moon never counts
        for (int r = 0; r < kBodyCount; ++r) {
            const std::uint8_t a = grid[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
            if (a == kNoAspect) continue;
            Add(s, lookups.aspect(c + 1, a, r + 1),
                {ScoreFactor::Kind::Aspect, c + 1, r + 1, static_cast<int>(a), 0, 0});
        }
    }
    if (womanTimeKnown) {
        for (int h = 1; h <= 12; ++h) {
            for (int c = 0; c < kBodyCount; ++c) {
                if (c == kMoon) continue;
                if (overlay[static_cast<std::size_t>(c)] == h)
                    Add(s, lookups.house(c + 1, h), {ScoreFactor::Kind::House, c + 1, 0, 0, h, 0});
            }
        }
    }
    s.CompatPercent = CompatPercentOf(s.PlusTotal, s.MinusTotal);
    return s;
}

}  // namespace pelorin
