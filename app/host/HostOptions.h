// The command line of `keltro-host`, the desktop program.
//
//     keltro-host [--db URL] [--user ID] [--date-format dd/mm/yyyy] [--path DIR]
//                 [--periods 12] [--today YYYY-MM-DD] [--screenshots DIR]
//     keltro-host --register | --unregister [--library PATH]
//
// Without --db the program opens the demo database in the user's data folder and creates
// it, with the demo company, the first time. --register and --unregister record the
// component library (the one beside the program, or --library) in the component manifest,
// or take it out, and end.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <string>

namespace keltro::app {

struct HostOptions {
    std::string dbUrl;                // empty: the demo database
    std::string user = "admin";
    std::string dateFormat = "dd/mm/yyyy";
    std::string path;                 // empty: the program's folder
    std::string periods = "12";
    std::optional<std::string> today;
    std::optional<std::string> screenshotFolder;
    bool registerComponent = false;
    bool unregisterComponent = false;
    std::string library;              // empty: the component beside the program
    bool help = false;
};

struct HostUsageError {
    std::string text;
};

// Reads the arguments (the first is the program); throws HostUsageError for a mistake.
HostOptions parseHostOptions(const QStringList& arguments);

// The text --help prints.
std::string hostUsage();

}  // namespace keltro::app
