// Live editing of an unpacked skin: watches a skin folder (see SkinFolder.h) by its files' names,
// sizes and write times, and once a change has settled (no further change for kQuietMs) checks the
// folder and packs it. A change the check finds errors in keeps the last good package, so that a
// half-made edit never replaces a working skin. Clocks come from the caller: the Windows side polls
// from a timer, tests with times of their own.
#pragma once

#include "skin/data/SkinCheck.h"

#include <cstdint>
#include <string>
#include <vector>

class TSkinLive {
public:
    // A change that settles waits this long after the last write it saw: a burst of saves gives
    // one reload.
    static constexpr std::uint64_t kQuietMs = 60;

    enum class TEvent {
        None,     // nothing new
        Reloaded, // Package() holds the changed skin (Problems() its warnings, if any)
        Broken,   // the change has errors: Package() is still the last good skin, Problems() says why
    };

    // path: a skin folder, or a description file in one. The first Poll sees the folder as it is
    // and loads it at once (Reloaded or Broken).
    explicit TSkinLive(std::string path);

    TEvent Poll(std::uint64_t nowMs);

    const std::string& Path() const { return path_; }
    const std::string& Package() const { return package_; }
    const std::vector<TSkinProblem>& Problems() const { return problems_; }
    int Reloads() const { return reloads_; } // Reloaded events so far, the first load included

private:
    std::string Fingerprint() const;
    TEvent Load();

    std::string path_;
    std::string fingerprint_;
    bool started_ = false;
    bool pending_ = false;
    std::uint64_t changedAt_ = 0;
    std::string package_;
    std::vector<TSkinProblem> problems_;
    int reloads_ = 0;
};

// The text to show for a skin that did not load: the first error (else warning) as the check
// prints it, and how many more there are.
std::string SkinProblemsSummary(const std::vector<TSkinProblem>& problems);
