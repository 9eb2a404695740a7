// The component manifest: which library serves which class.
//
// A small text file the registration entry points write and hosts read, one line per
// class:
//
//     # Keltro components
//     Keltro_AR.ARclass=/opt/keltro/lib/libkeltro_ar_component.so
//
// It lives where KELTRO_COMPONENT_MANIFEST says, else at
// $XDG_DATA_HOME/keltro-ar/components.ini (XDG_DATA_HOME defaulting to ~/.local/share).
// Lines that are not "id=path" (comments, blank lines) are kept as they are. Saving
// writes a new file next to the old one and renames it over, so a reader never sees half
// a manifest.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace keltro::component {

class ManifestError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Manifest {
public:
    // The manifest file of this user (or of KELTRO_COMPONENT_MANIFEST).
    static std::string defaultPath();

    // Reads the file; a file that does not exist is an empty manifest.
    static Manifest read(const std::string& path);
    // Writes the file, creating its folder; throws ManifestError when it cannot.
    void write(const std::string& path) const;

    std::optional<std::string> library(const std::string& classId) const;
    void setLibrary(const std::string& classId, const std::string& libraryPath);
    // Takes the class's line out; false when there was none.
    bool remove(const std::string& classId);

private:
    std::vector<std::string> m_lines;
};

}  // namespace keltro::component
