// The line format every figure of the bench command uses, so that native and Windows benchmarks and
// the script's own measurements print one table (scripts/bench prints the same columns).
#pragma once

#include <cstdio>
#include <string>

inline std::string FormatNumber(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// A heading for the figures that follow.
inline void BenchSection(const std::string& title) {
    std::printf("== %s\n", title.c_str());
}

// An indented line of detail behind a figure.
inline void BenchDetail(const std::string& text) {
    std::printf("   %s\n", text.c_str());
}

// One figure: what is measured, our value, the value it is compared with (measured in the same run),
// their ratio with its unit ("x faster", "x of curl"...), the goal for that ratio, and a note.
inline void BenchFigure(const std::string& name, const std::string& ours, const std::string& baseline, double ratio,
                        const std::string& unit, const std::string& goal, const std::string& note) {
    std::printf("%-30s %-16s vs %-26s %6.2f%-10s goal %-8s %s\n", name.c_str(), ours.c_str(), baseline.c_str(), ratio,
                unit.c_str(), goal.c_str(), note.c_str());
    std::fflush(stdout);
}
