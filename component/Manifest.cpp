#include "component/Manifest.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace keltro::component {

namespace {

namespace fs = std::filesystem;

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The class id of an "id=path" line; empty for any other line.
std::string classIdOf(const std::string& line) {
    if (line.empty() || line.front() == '#' || line.front() == ';' || line.front() == '[') return {};
    const auto eq = line.find('=');
    return eq == std::string::npos ? std::string() : line.substr(0, eq);
}

}  // namespace

std::string Manifest::defaultPath() {
    if (auto path = environment("KELTRO_COMPONENT_MANIFEST"); !path.empty()) return path;
    fs::path data = environment("XDG_DATA_HOME");
    if (data.empty()) data = fs::path(environment("HOME")) / ".local" / "share";
    return (data / "keltro-ar" / "components.ini").string();
}

Manifest Manifest::read(const std::string& path) {
    Manifest manifest;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        manifest.m_lines.push_back(line);
    }
    return manifest;
}

void Manifest::write(const std::string& path) const {
    const fs::path target(path);
    std::error_code ec;
    if (target.has_parent_path()) fs::create_directories(target.parent_path(), ec);
    const fs::path temporary = target.string() + ".new";
    {
        std::ofstream out(temporary, std::ios::trunc);
        for (const auto& line : m_lines) out << line << "\n";
        if (!out.flush()) throw ManifestError("Cannot write the component manifest " + path);
    }
    fs::rename(temporary, target, ec);
    if (ec) throw ManifestError("Cannot write the component manifest " + path + ": " + ec.message());
}

std::optional<std::string> Manifest::library(const std::string& classId) const {
    for (const auto& line : m_lines)
        if (classIdOf(line) == classId) return line.substr(classId.size() + 1);
    return std::nullopt;
}

void Manifest::setLibrary(const std::string& classId, const std::string& libraryPath) {
    const std::string entry = classId + "=" + libraryPath;
    for (auto& line : m_lines) {
        if (classIdOf(line) == classId) {
            line = entry;
            return;
        }
    }
    if (m_lines.empty()) m_lines.push_back("# Keltro components: class id = library");
    m_lines.push_back(entry);
}

bool Manifest::remove(const std::string& classId) {
    return std::erase_if(m_lines, [&](const std::string& line) { return classIdOf(line) == classId; }) > 0;
}

}  // namespace keltro::component
