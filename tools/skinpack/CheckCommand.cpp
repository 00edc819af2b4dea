// skinpack check PKG|DIR: every problem of a skin, one a line as "FILE:LINE: [Section] Key: message"
// (see skin/data/SkinCheck.h); a count on standard error. Exit status 0 clean, 1 warnings only, 2 errors.
#include "tools/skinpack/Commands.h"

#include "skin/data/SkinCheck.h"

#include <cstdio>

namespace {

int RunCheck(const Args& args) {
    const std::vector<TSkinProblem> problems = CheckSkinPath(args[0]);
    int errors = 0, warnings = 0;
    for (const TSkinProblem& p : problems) {
        std::printf("%s\n", p.Text().c_str());
        ++(p.Level == TSkinProblemLevel::Error ? errors : warnings);
    }
    std::fflush(stdout);
    if (!problems.empty())
        std::fprintf(stderr, "skinpack check: %d error%s, %d warning%s\n", errors, errors == 1 ? "" : "s", warnings,
                     warnings == 1 ? "" : "s");
    return SkinCheckStatus(problems);
}

const bool registered = RegisterCommand(
    {"check", "PKG|DIR", "report, by file and line, what the engine would read otherwise than written", 1, RunCheck});

} // namespace
