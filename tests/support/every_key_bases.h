#pragma once
// Databases with an entry for every key a pair analysis asks for, texts and
// weights made from the key: a report that shows every matched fact.
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "analysis/text_base.h"

namespace pelorin::test {

inline pelorin::TextDatabases EveryKeyBases() {
    using namespace pelorin;
    auto header = [](int f1, int f2, int f3, int f4, int f5, int f6, int f7) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "*%4d%4d%4d%4d%4d%4d%4d", f1, f2, f3, f4, f5, f6, f7);
        return std::string(buf);
    };
    auto weighted = [](int w) { return std::pair<int, int>{w > 0 ? w : 0, w < 0 ? -w : 0}; };
    auto weightOf = [](int seed) {
        const int w = seed % 21 - 10;
        return w == 0 ? 1 : w;
    };
    std::vector<std::string> aspects, houses, natal, signs, reverse;
    for (int m = 1; m <= 10; ++m)
        for (int a : {0, 60, 90, 120, 180})
            for (int w = 1; w <= 10; ++w) {
                const auto [p, n] = weighted(weightOf(m * 7 + a / 30 * 3 + w * 5));
                aspects.push_back(header(p, n, m, a, 0, 0, w));
                aspects.push_back("title");
                aspects.push_back("aspect " + std::to_string(m) + " " + std::to_string(a) + " " + std::to_string(w));
                aspects.push_back("@");
            }
    for (int b = 1; b <= 10; ++b)
        for (int h = 1; h <= 12; ++h) {
            const auto [p, n] = weighted(weightOf(b * 5 + h * 3));
            houses.push_back(header(p, n, b, 0, h, 0, 0));
            houses.push_back("title");
            houses.push_back("house " + std::to_string(b) + " " + std::to_string(h));
            houses.push_back("@");
        }
    for (int b = 1; b <= 10; ++b)
        for (int h = 1; h <= 12; ++h) {
            const auto [p, n] = weighted(weightOf(b * 3 + h * 7));
            reverse.push_back(header(p, n, b, 0, h, 0, 0));
            reverse.push_back("title");
            reverse.push_back("her " + std::to_string(b) + " " + std::to_string(h));
            reverse.push_back("@");
        }
    for (int i = 1; i <= 10; ++i)
        for (int c : {0, 120, 180})
            for (int j = 1; j <= 10; ++j)
                for (int f : {0, 50}) {
                    natal.push_back(header(i, c, j, f, 0, 0, 0));
                    natal.push_back("natal " + std::to_string(i) + " " + std::to_string(c) + " " + std::to_string(j) +
                                    " " + std::to_string(f));
                    natal.push_back("@");
                }
    for (int s = 1; s <= 12; ++s)
        for (int b = 1; b <= 10; ++b)
            for (int f : {0, 50}) {
                signs.push_back(header(0, s, b, f, 0, 0, 0));
                signs.push_back("title");
                signs.push_back("sign " + std::to_string(s) + " " + std::to_string(b) + " " + std::to_string(f));
                signs.push_back("@");
            }
    TextDatabases t;
    t.AspectTexts = TextBase("aspects", aspects);
    t.HouseTexts = TextBase("houses", houses);
    t.NatalAspectTexts = TextBase("natal", natal);
    t.SignTexts = TextBase("signs", signs);
    t.ReverseHouseTexts = TextBase("her_houses", reverse);
    return t;
}

}  // namespace pelorin::test
