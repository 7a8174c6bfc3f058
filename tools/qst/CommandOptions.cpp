#include "CommandOptions.h"

std::string CommandOptions::value(std::string_view name) const {
    const auto it = given.find(name);
    return it == given.end() ? std::string() : it->second;
}

bool parseCommandOptions(const std::vector<std::string>& args, const std::vector<OptionSpec>& specs,
                         CommandOptions& options, std::string& why) {
    const std::string command = args.empty() ? std::string() : args[0];
    bool optionsDone = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsDone || arg.size() < 2 || arg[0] != '-') {
            options.positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsDone = true;
            continue;
        }
        std::string name = arg;
        std::string value;
        bool hasValue = false;
        if (const std::size_t eq = arg.find('=');
            arg.starts_with("--") && eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
            hasValue = true;
        }
        const OptionSpec* spec = nullptr;
        for (const OptionSpec& s : specs)
            if (name == s.name || (!s.shortName.empty() && name == s.shortName)) spec = &s;
        if (!spec) {
            why = "unknown option " + name + " for " + command;
            return false;
        }
        if (spec->takesValue && !hasValue) {
            if (i + 1 >= args.size()) {
                why = "option " + name + " needs a value";
                return false;
            }
            value = args[++i];
        } else if (!spec->takesValue && hasValue) {
            why = "option " + name + " takes no value";
            return false;
        }
        options.given[std::string(spec->name)] = value;
    }
    return true;
}

int usageError(std::ostream& err, const std::string& what) {
    err << "trivora-qst: " << what << "\nTry 'trivora-qst --help' for more information.\n";
    return 2;
}

bool asksForHelp(const std::vector<std::string>& args) {
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--") break;
        if (args[i] == "-h" || args[i] == "--help") return true;
    }
    return false;
}
