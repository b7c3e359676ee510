// libFuzzer entry for the reader of the tabulated-body file "Fond.in". Not part
// of the test suite; build and run it with clang:
//
//   clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -I. \
//     tests/fuzz/tabulated_fuzz.cpp astro/tabulated.cpp astro/base_routines.cpp \
//     astro/geocentric.cpp people/cp1251.cpp -o /tmp/tabulated_fuzz
//   /tmp/tabulated_fuzz -max_total_time=60 -max_len=4096 [CORPUS_DIR]
//
// A small valid file to start from: the first bodies of data/Fond.in are too
// large for -max_len, so the fuzzer starts from nothing or from files written
// by the unit tests' builder.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "astro/tabulated.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelorin;
    std::string message;
    const int rc = LoadTabulatedBytes(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz", &message);
    if (rc != 0) {
        if (rc != kTabulatedFileDamaged || !TabulatedBodies().empty() || message.empty()) std::abort();
        return 0;
    }
    // Every accepted body must evaluate anywhere in and around its span.
    for (std::size_t k = 0; k < TabulatedBodies().size(); ++k) {
        const TabulatedHeader h = TabulatedBodies()[k].header;
        const double start = h.StartJD10 / 10.0, end = h.EndJD10 / 10.0;
        for (double f : {-0.1, 0.0, 1e-13, 0.25, 0.5, 0.999999, 1.0 - 1e-13, 1.0, 1.5}) {
            ChebyshevSums sums;
            FindTabulatedInterval(static_cast<int>(k), start + f * (end - start), sums);
            TabulatedPosition(static_cast<int>(k), start + f * (end - start) - 2415020.0);
        }
    }
    TChartBody pluto;
    double s = 0;
    ComputePluto(36525.0, pluto, s, s, s);
    if (!(pluto.Lon >= 0 && pluto.Lon < 360) && !std::isnan(pluto.Lon)) std::abort();
    return 0;
}
