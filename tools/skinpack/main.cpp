#include "tools/skinpack/Commands.h"

#include "skin/data/Streams.h"

#include <algorithm>
#include <cstdio>
#include <exception>

std::vector<Command>& MutableTable() {
    static std::vector<Command> table;
    return table;
}

bool RegisterCommand(const Command& command) {
    MutableTable().push_back(command);
    return true;
}

const std::vector<Command>& CommandTable() {
    std::vector<Command>& table = MutableTable();
    std::sort(table.begin(), table.end(),
              [](const Command& a, const Command& b) { return std::string(a.name) < b.name; });
    return table;
}

std::string ReadInput(const std::string& fileName) {
    std::string bytes;
    if (!TryReadFileBytes(fileName, bytes)) throw ESkinpackError("cannot read \"" + fileName + "\"");
    return bytes;
}

void WriteOutput(const std::string& fileName, const std::string& bytes) {
    try {
        WriteFileBytes(fileName, bytes);
    } catch (const EStreamError&) {
        throw ESkinpackError("cannot write \"" + fileName + "\"");
    }
}

namespace {

void Usage(FILE* out) {
    std::fprintf(out, "usage: skinpack COMMAND ARGS...\n\ncommands:\n");
    for (const Command& c : CommandTable()) {
        std::string line = std::string(c.name) + " " + c.usage;
        std::fprintf(out, "  %-28s %s\n", line.c_str(), c.summary);
    }
}

int Run(const Args& argv) {
    if (argv.size() < 2 || argv[1] == "-h" || argv[1] == "--help" || argv[1] == "help") {
        Usage(argv.size() < 2 ? stderr : stdout);
        return argv.size() < 2 ? 2 : 0;
    }
    for (const Command& c : CommandTable()) {
        if (argv[1] != c.name) continue;
        Args args(argv.begin() + 2, argv.end());
        if (args.size() != c.argCount) {
            std::fprintf(stderr, "skinpack: usage: skinpack %s %s\n", c.name, c.usage);
            return 2;
        }
        try {
            return c.run(args);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "skinpack %s: %s\n", c.name, e.what());
            return 1;
        }
    }
    std::fprintf(stderr, "skinpack: unknown command \"%s\"\n", argv[1].c_str());
    Usage(stderr);
    return 2;
}

} // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    Args args;
    for (int i = 0; i < argc; ++i)
        args.push_back(WideToUtf8(argv[i]));
    return Run(args);
}
#else
int main(int argc, char** argv) {
    return Run(Args(argv, argv + argc));
}
#endif
