// The command table of skinpack. A command gets its arguments (after the command name), writes its
// results to stdout and returns the exit status; failures throw (main prints them to stderr).
#pragma once

#include "framework/SysUtils.h"

#include <string>
#include <vector>

using Args = std::vector<std::string>;

// A failure the user caused or can fix: printed as "skinpack: <text>", exit status 1.
class ESkinpackError : public Exception {
public:
    using Exception::Exception;
};

struct Command {
    const char* name;
    const char* usage;   // arguments, for the help text
    const char* summary; // one line
    size_t argCount;
    int (*run)(const Args& args);
};

// Commands register themselves from their own source file:
//   static const bool registered = RegisterCommand({"check", "PKG", "...", 1, RunCheck});
bool RegisterCommand(const Command& command);
const std::vector<Command>& CommandTable();

// Helpers shared by the commands (UTF-8 names everywhere).
std::string ReadInput(const std::string& fileName);
void WriteOutput(const std::string& fileName, const std::string& bytes);
