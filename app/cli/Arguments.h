// The command line of `keltro-ar`: a command, its options (`--name value` or a bare
// `--flag`) and its positional words.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace keltro::app {

class Arguments {
public:
    // `flags` names the options that take no value.
    Arguments(const std::vector<std::string>& words, const std::set<std::string>& flags);

    const std::string& command() const { return m_command; }
    std::optional<std::string> option(const std::string& name) const;
    std::string optionOr(const std::string& name, std::string fallback) const;
    bool flag(const std::string& name) const { return m_flags.contains(name); }
    const std::vector<std::string>& positional() const { return m_positional; }

private:
    std::string m_command;
    std::map<std::string, std::string> m_options;
    std::set<std::string> m_flags;
    std::vector<std::string> m_positional;
};

// A mistake on the command line; `main` prints it with the usage and exits 2.
struct UsageError {
    std::string text;
};

}  // namespace keltro::app
