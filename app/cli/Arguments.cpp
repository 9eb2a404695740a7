#include "app/cli/Arguments.h"

namespace keltro::app {

Arguments::Arguments(const std::vector<std::string>& words, const std::set<std::string>& flags) {
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (!word.starts_with("--") || word == "-") {
            if (m_command.empty())
                m_command = word;
            else
                m_positional.push_back(word);
            continue;
        }
        std::string name = word.substr(2);
        if (auto eq = name.find('='); eq != std::string::npos) {
            m_options[name.substr(0, eq)] = name.substr(eq + 1);
        } else if (flags.contains(name)) {
            m_flags.insert(name);
        } else if (i + 1 < words.size()) {
            m_options[name] = words[++i];
        } else {
            throw UsageError{"--" + name + " needs a value"};
        }
    }
}

std::optional<std::string> Arguments::option(const std::string& name) const {
    auto it = m_options.find(name);
    if (it == m_options.end()) return std::nullopt;
    return it->second;
}

std::string Arguments::optionOr(const std::string& name, std::string fallback) const {
    return option(name).value_or(std::move(fallback));
}

}  // namespace keltro::app
