// skinpack check PKG: the problems CheckSkinPackage finds, one a line; exit status 1 when any.
#include "tools/skinpack/Commands.h"
#include "tools/skinpack/SkinCheck.h"

#include <cstdio>

namespace {

int RunCheck(const Args& args) {
    const std::vector<std::string> problems = CheckSkinPackage(ReadInput(args[0]));
    for (const std::string& p : problems)
        std::printf("%s: %s\n", args[0].c_str(), p.c_str());
    return problems.empty() ? 0 : 1;
}

const bool registered =
    RegisterCommand({"check", "PKG", "report what the engine would find wrong in a skin package", 1, RunCheck});

} // namespace
