// The zeros 1/2 + iγ of ζ on the critical line with t1 ≤ γ ≤ t2, numbered (n = 1 for γ = 14.1347...) and
// checked against the number of all zeros of ζ in the critical strip at those heights, N(t2) − N(t1), which
// Turing's method gives exactly. When the two agree, every zero of ζ with t1 ≤ Im ρ ≤ t2 lies on the critical
// line and is listed (each is then simple).
//
// The range is split into sub-ranges that worker threads take from a shared counter; the result does not
// depend on the number of threads. Safe to call from several threads at once: no global state.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

// Up to this height the search works (as far as the accurate method of ζ goes; slowly near the top).
constexpr double zero_search_height_limit = 1e13;

struct Zeta_Zero {
    int64_t n = 0;       // its number, counted by ordinate from 14.1347... as 1, with multiplicity
    double gamma = 0.0;  // within max(1e-10, 4 ulp(γ)) of the true ordinate
};

struct Zero_Search {
    double t1 = 0.0;  // the range searched, as taken: 0 ≤ t1 ≤ t2 ≤ zero_search_height_limit
    double t2 = 0.0;
    std::vector<Zeta_Zero> zeros;  // lowest first
    int64_t found = 0;             // zeros.size()
    int64_t expected = 0;    // N(t2) − N(t1): the zeros of ζ with t1 ≤ Im ρ ≤ t2, when `counted`
    bool counted = false;    // whether N(t2) − N(t1) is known exactly
    bool verified = false;   // counted and found == expected
    bool cancelled = false;  // the search stopped early; nothing else is meaningful then

    int64_t missing() const { return expected - found; }
};

// About how many zeros lie in [t1, t2] ((θ(t2) − θ(t1))/π, within a few): the work of find_zeros grows with
// it (some microseconds per zero at moderate heights, a tenth of a millisecond at 10^8), so that a caller can
// decline a range too long to wait for.
double zeros_expected_between(double t1, double t2);

// Called on the calling thread now and then with the share of the work done (0 to 1).
using Zero_Progress = std::function<void(double done)>;

// Every zero on the critical line with t1 ≤ γ ≤ t2. A negative t1 is taken as 0 (the zeros below the real
// axis are the conjugates of those above); t2 above zero_search_height_limit, NaN or t2 < t1 give an empty,
// unverified result. `cancel`, when given, stops the search within a few milliseconds once set.
Zero_Search find_zeros(double t1, double t2, int threads, const std::atomic<bool>* cancel = nullptr,
                       const Zero_Progress& progress = {});

struct Zero_Verification {
    int64_t found = 0;     // zeros of the list with t1 ≤ γ ≤ t2
    int64_t expected = 0;  // N(t2) − N(t1)
    bool counted = false;
    bool verified = false;
    bool cancelled = false;

    int64_t missing() const { return expected - found; }
};

// Counts the zeros of the list that lie in [t1, t2] and compares them with N(t2) − N(t1), computed here
// afresh. The list is taken as certified zeros (as find_zeros gives them); this step proves it complete.
// Those in the range must be in increasing order of γ, each once: a list that repeats one is not verified.
Zero_Verification verify_zeros(const std::vector<Zeta_Zero>& zeros, double t1, double t2, int threads,
                               const std::atomic<bool>* cancel = nullptr);
