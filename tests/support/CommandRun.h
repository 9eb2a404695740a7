// The built keltro-ar program run as a person runs it from a shell, for the tests of its
// commands: the exit status and what it printed on each stream. Only the test programs
// that are given KELTRO_AR_BINARY include it.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace keltro::test {

// A file of this test process's own in the temporary folder.
inline std::filesystem::path ownTempFile(const std::string& name) {
    return std::filesystem::temp_directory_path() /
           ("keltro_test_" + std::to_string(getpid()) + "_" + name);
}

struct CommandRun {
    int status;  // the exit status; -1 when the program did not exit by itself
    std::string out;
    std::string err;
};

// `arguments` reach the shell as they are: quote what needs quoting.
inline CommandRun runKeltroAr(const std::string& arguments) {
    const auto errFile = ownTempFile("stderr.txt");
    const std::string command =
        std::string(KELTRO_AR_BINARY) + " " + arguments + " 2>'" + errFile.string() + "'";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return {-1, "", "cannot start " + command};
    std::string out;
    std::array<char, 4096> buffer{};
    while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe)) out.append(buffer.data(), n);
    const int status = pclose(pipe);
    std::ostringstream err;
    err << std::ifstream(errFile).rdbuf();
    std::filesystem::remove(errFile);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out, err.str()};
}

}  // namespace keltro::test
