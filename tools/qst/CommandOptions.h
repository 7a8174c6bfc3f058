#pragma once

#include <map>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

// The options a command of trivora-qst accepts: each with its long name, an optional short
// one, and whether it takes a value.
struct OptionSpec {
    std::string_view name;
    std::string_view shortName;
    bool takesValue = false;
};

// A command's arguments, read by the specs: the arguments that are no option, and the
// options given, by long name (flags with an empty value).
struct CommandOptions {
    std::vector<std::string> positional;
    std::map<std::string, std::string, std::less<>> given;

    bool has(std::string_view name) const { return given.find(name) != given.end(); }
    std::string value(std::string_view name) const;
};

// Reads args (args[0] being the command) into options. "--name=value" and "--name value"
// both give a value; "--" ends the options. False with the message in why on an unknown
// option, a missing value or a value given to a flag.
bool parseCommandOptions(const std::vector<std::string>& args, const std::vector<OptionSpec>& specs,
                         CommandOptions& options, std::string& why);

// Reports misuse on err, with a hint at --help, and returns the exit status for it, 2.
int usageError(std::ostream& err, const std::string& what);

// Whether args ask for help (-h or --help before any "--").
bool asksForHelp(const std::vector<std::string>& args);
