#pragma once
// Unit phasors (cos x, sin x) and their products. The periodic terms of the
// series have arguments that are integer combinations of a few angles; their
// sines and cosines follow from the angles' own by the addition formulas, so a
// chart calls the trigonometric functions once per angle, not once per term.
#include <cassert>
#include <cmath>
#include <cstddef>

namespace pelorin {

struct Phasor {
    double c = 1;  // cos x
    double s = 0;  // sin x
};

inline Phasor PhasorOf(double x) { return {std::cos(x), std::sin(x)}; }

// (x + y)
inline Phasor operator*(Phasor a, Phasor b) { return {a.c * b.c - a.s * b.s, a.s * b.c + a.c * b.s}; }

// (-x)
inline Phasor Conj(Phasor a) { return {a.c, -a.s}; }

// Multiples k x for k = -N..N of one angle; At(k) is the phasor of k x.
template <int N>
struct Multiples {
    Phasor pos[N + 1];
    explicit Multiples(double x) {
        pos[0] = {1, 0};
        if constexpr (N >= 1) pos[1] = PhasorOf(x);
        for (int k = 2; k <= N; ++k) pos[k] = pos[k - 1] * pos[1];
    }
    Phasor At(int k) const { return k >= 0 ? pos[k] : Conj(pos[-k]); }
};

}  // namespace pelorin

namespace pelorin {

// Multiples of one angle up to a bound chosen at run time (at most 15).
struct Harmonics {
    Phasor pos[16];
    int n;
    Harmonics(double x, int bound) : n(bound) {
        assert(n >= 1 && n <= 15);
        pos[0] = {1, 0};
        pos[1] = PhasorOf(x);
        for (int k = 2; k <= n; ++k) pos[k] = pos[k - 1] * pos[1];
    }
    Phasor At(int k) const {
        assert(k >= -n && k <= n);
        return k >= 0 ? pos[k] : Conj(pos[-k]);
    }
};

// One periodic term of a planetary series: coef times the cosine (or sine) of
// k[0] a0 + k[1] a1 + k[2] a2 + k[3] a3 + phase, with the body's own angles;
// a term `secular` has its coefficient multiplied by the series' time factor.
struct PeriodicTerm {
    double coef;
    int k[4];
    double phase;
    bool secular = false;
};

template <std::size_t N>
struct PeriodicTable {
    const PeriodicTerm (&terms)[N];
    Phasor phase[N];
    explicit PeriodicTable(const PeriodicTerm (&t)[N]) : terms(t) {
        for (std::size_t i = 0; i < N; ++i) phase[i] = PhasorOf(t[i].phase);
    }
    // The phasors of the terms' whole arguments, angles a[0..3].
    template <typename F>
    void ForEach(const Harmonics* const a[4], F f) const {
        for (std::size_t i = 0; i < N; ++i) {
            Phasor p = phase[i];
            for (int j = 0; j < 4; ++j)
                if (terms[i].k[j] != 0) p = p * a[j]->At(terms[i].k[j]);
            f(terms[i], p);
        }
    }
    double SumCos(const Harmonics* const a[4], double timeFactor = 0) const {
        double sum = 0;
        ForEach(a, [&](const PeriodicTerm& t, Phasor p) {
            sum += (t.secular ? t.coef * timeFactor : t.coef) * p.c;
        });
        return sum;
    }
    double SumSin(const Harmonics* const a[4], double timeFactor = 0) const {
        double sum = 0;
        ForEach(a, [&](const PeriodicTerm& t, Phasor p) {
            sum += (t.secular ? t.coef * timeFactor : t.coef) * p.s;
        });
        return sum;
    }
};

}  // namespace pelorin
