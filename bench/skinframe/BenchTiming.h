// Timing and reporting for the skinned-frame benchmark: a QueryPerformanceCounter clock, runs
// of a step timed one by one, and the figures (median, min, max in milliseconds) printed
// beside the goal.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace lbb::bench {

// Milliseconds on the performance counter.
inline double NowMs() {
  static const double perMs = [] {
    LARGE_INTEGER f{};
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER c{};
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / perMs;
}

struct Figures {
  double median = 0, min = 0, max = 0, total = 0;
};

inline Figures Summarise(std::vector<double> ms) {
  Figures f;
  if (ms.empty()) return f;
  std::sort(ms.begin(), ms.end());
  f.median = ms[ms.size() / 2];
  f.min = ms.front();
  f.max = ms.back();
  for (double v : ms)
    f.total += v;
  return f;
}

// `step` run `runs` times, each run timed on its own.
inline std::vector<double> TimeRuns(int runs, const std::function<void()>& step) {
  std::vector<double> ms;
  ms.reserve(static_cast<size_t>(runs));
  for (int i = 0; i < runs; ++i) {
    const double t0 = NowMs();
    step();
    ms.push_back(NowMs() - t0);
  }
  return ms;
}

// One measurement against its goal (the median at most `goalMs`); true when it is met.
inline bool ReportGoal(const char* what, const std::vector<double>& ms, double goalMs) {
  const Figures f = Summarise(ms);
  const bool met = f.median <= goalMs;
  std::printf(
      "%s, %zu runs:\n  median %.3f ms  min %.3f ms  max %.3f ms  goal: median <= %g ms "
      "(%s)\n",
      what, ms.size(), f.median, f.min, f.max, goalMs, met ? "met" : "MISSED");
  std::fflush(stdout);
  return met;
}

// One part of a breakdown: its median and extremes, no goal.
inline void ReportPart(const char* what, const std::vector<double>& ms) {
  const Figures f = Summarise(ms);
  std::printf("    %-46s median %8.4f ms  min %8.4f  max %8.4f\n", what, f.median, f.min, f.max);
  std::fflush(stdout);
}

}  // namespace lbb::bench
