#include "skin/data/SkinLive.h"

#include "skin/data/SkinFolder.h"

#include "skin/data/Streams.h"

#include <chrono>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

TSkinLive::TSkinLive(std::string path) : path_(std::move(path)) {}

namespace {

std::uint64_t ContentHash(const std::string& bytes) {
    std::uint64_t h = 1469598103934665603ull; // FNV-1a
    for (unsigned char c : bytes)
        h = (h ^ c) * 1099511628211ull;
    return h;
}

} // namespace

std::string TSkinLive::Fingerprint() const {
    // Every plain file of the folder: name, size and write time. A description file given by name
    // stands for its folder.
    const TSkinFolder folder = ListSkinFolder(path_);
    std::string print = folder.Error;
    const auto now = fs::file_time_type::clock::now();
    std::error_code ec;
    for (fs::directory_iterator it(fs::u8path(folder.Dir), ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code e;
        if (!it->is_regular_file(e)) continue;
        const auto size = it->file_size(e);
        const auto time = it->last_write_time(e);
        print += it->path().filename().u8string() + '\n' + std::to_string(size) + ' ' +
                 std::to_string(time.time_since_epoch().count());
        // Write times can be as coarse as a second (the C runtime's on Windows), so a file rewritten
        // at its old size within the same second would look unchanged: a file written in the last few
        // seconds is told by its content too. Files at rest cost no reading.
        std::string bytes;
        if (now - time < std::chrono::seconds(3) && TryReadFileBytes(it->path().u8string(), bytes))
            print += ' ' + std::to_string(ContentHash(bytes));
        print += '\n';
    }
    return print;
}

TSkinLive::TEvent TSkinLive::Load() {
    std::vector<TSkinProblem> problems = CheckSkinFolder(path_);
    std::string package, error;
    if (SkinCheckStatus(problems) == 2 || !PackSkinFolder(ListSkinFolder(path_), package, error)) {
        if (problems.empty()) {
            TSkinProblem p;
            p.File = path_;
            p.Message = error;
            problems.push_back(p);
        }
        problems_ = std::move(problems);
        return TEvent::Broken;
    }
    package_ = std::move(package);
    problems_ = std::move(problems);
    ++reloads_;
    return TEvent::Reloaded;
}

TSkinLive::TEvent TSkinLive::Poll(std::uint64_t nowMs) {
    const std::string print = Fingerprint();
    if (!started_) {
        started_ = true;
        fingerprint_ = print;
        return Load();
    }
    if (print != fingerprint_) {
        fingerprint_ = print;
        changedAt_ = nowMs;
        pending_ = true;
        return TEvent::None;
    }
    if (!pending_ || nowMs - changedAt_ < kQuietMs) return TEvent::None;
    pending_ = false;
    return Load();
}

std::string SkinProblemsSummary(const std::vector<TSkinProblem>& problems) {
    const TSkinProblem* first = FirstSkinProblem(problems);
    if (!first) return std::string();
    std::string text = first->Text();
    if (problems.size() > 1)
        text += " (+" + std::to_string(problems.size() - 1) + " more: skinpack check lists them all)";
    return text;
}
