#pragma once
// The compatibility score of a pair: the weights of the matched mutual aspects
// and (when the woman's birth time is known) of the man's bodies in her houses,
// summed apart by sign. One routine serves the pair report, which writes the
// matched texts, and the scan of all men, which mostly only sums: the caller
// chooses through the lookups it passes.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "analysis/aspects.h"
#include "analysis/text_base.h"

namespace pelorin {

struct ScoreLookups {
    // Weight of (man's body 1..10, aspect angle, woman's body 1..10), 0 for none.
    std::function<int(int manBody, int angle, int womanBody)> aspect;
    // Weight of (man's body 1..10, woman's house 1..12), 0 for none.
    std::function<int(int manBody, int house)> house;
};

// The pair report: WriteAspectText and WriteHouseText, appending to "Plus.txt"
// and "Minus.txt" of `dataDir`. The bases must outlive the lookups.
ScoreLookups PairReportLookups(const TextBase& aspects, const TextBase& houses, const std::string& dataDir);

// The scans (of all men, of all women): the weight-only AspectWeight and HouseWeight. They
// write no texts: "Plus.txt" and "Minus.txt" change only in a pair analysis.
ScoreLookups ScanLookups(const TextBase& aspects, const TextBase& houses);

// One matched fact with its weight (never 0). Body numbers 1..10.
struct ScoreFactor {
    // Aspect: his body and her body in aspect; House: his body in her house;
    // ReverseHouse: her body in his house.
    enum class Kind { Aspect, House, ReverseHouse };
    Kind kind = Kind::Aspect;
    int manBody = 0;    // aspects and houses, else 0
    int womanBody = 0;  // aspects and reverse houses, else 0
    int angle = 0;      // aspects only: 0, 60, 90, 120 or 180
    int house = 0;      // houses: her house 1..12; reverse houses: his; else 0
    int weight = 0;
    bool operator==(const ScoreFactor&) const = default;
};

// Her bodies in his houses, scored: the weights of the ReverseHouse factors.
struct ReverseScore {
    std::int32_t PlusTotal = 0;
    std::int32_t MinusTotal = 0;
    std::vector<ScoreFactor> Factors;  // houses 1..12 (outer), her bodies (inner)
};

// Weight of (her body 1..10, his house 1..12), 0 for none.
using ReverseLookup = std::function<int(int womanBody, int house)>;

// Scores her ten bodies (the Moon included) in his houses from `reverseOverlay`
// (her body's house of his, 0 for none): houses 1..12 outer, her bodies in chart
// order inner. Errors of the lookup pass through.
ReverseScore ScoreReverse(const HouseOverlay& reverseOverlay, const ReverseLookup& lookup);

// The weight-only lookup of her body in his house (HouseWeight on `reverseTexts`).
ReverseLookup ReverseWeightLookup(const TextBase& reverseTexts);

struct PairScore {
    std::int32_t PlusTotal = 0;   // sum of the positive weights, >= 0
    std::int32_t MinusTotal = 0;  // sum of the negative weights, <= 0
    // 100 * plus / (plus + |minus|), halves to even; nothing when no weight at
    // all was found (both totals 0), which has no percentage.
    std::optional<std::int32_t> CompatPercent;
    // Every weighted fact in the order of the passes (the order of the report);
    // the positive weights sum to PlusTotal, the negative ones to MinusTotal.
    std::vector<ScoreFactor> Factors;
    // Her bodies in his houses, when his houses are known (apart: the percentage
    // above does not count them).
    std::optional<ReverseScore> Reverse;
    // The second figure, "с его домами": the percentage of the totals with the
    // reverse weights added, when both have houses.
    std::optional<std::int32_t> PercentWithHisHouses;
};

// The factors, strongest (largest magnitude) first; equal magnitudes keep their
// order.
std::vector<ScoreFactor> StrongestFirst(std::vector<ScoreFactor> factors);

// The percentage of two totals, as above.
std::optional<std::int32_t> CompatPercentOf(std::int32_t plusTotal, std::int32_t minusTotal);

// x rounded to the nearest integer, halves to the even neighbour.
double RoundHalfEven(double x);

// The second figure as the report, the bar and the ranking show it:
// "с его домами: N %" (UTF-8).
std::string WithHisHousesText(int percent);

// The second figure of two scores: CompatPercentOf the totals with the reverse
// weights added.
std::optional<std::int32_t> PercentWithReverse(std::int32_t plusTotal, std::int32_t minusTotal,
                                               const ReverseScore& reverse);

// The paragraph of the pair report that a factor put there: its points heading
// and its text, as appended to "Plus.txt" or "Minus.txt" (Windows-1251, lines
// ended by CR LF). Empty when the databases hold no entry for it (a reverse
// house factor without `reverseTexts` included).
std::string FactorParagraph(const TextBase& aspectTexts, const TextBase& houseTexts, const ScoreFactor& factor,
                            const TextBase* reverseTexts = nullptr);

// Scores a pair. Aspect pass: the man's bodies except the Moon (outer) against the
// woman's ten bodies (inner); house pass, only when `womanTimeKnown`: houses 1..12
// (outer) against the man's bodies except the Moon (inner). The loop order is the
// order in which the writing lookups list the texts. Errors of the lookups pass
// through and end the scoring.
PairScore ScorePair(const AspectGrid& grid, const HouseOverlay& overlay, bool womanTimeKnown,
                    const ScoreLookups& lookups);

}  // namespace pelorin
