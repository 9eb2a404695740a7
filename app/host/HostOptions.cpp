#include "app/host/HostOptions.h"

#include <QCommandLineParser>

namespace keltro::app {

namespace {

struct OptionNames {
    const char* name;
    const char* valueName;  // null for a flag
    const char* description;
};

constexpr OptionNames kOptions[] = {
    {"db", "URL", "The company database: sqlite:PATH or postgresql://… "
                  "(default: the demo database, sqlite:~/.local/share/keltro-ar/demo.sqlite)."},
    {"user", "ID", "The user id (default admin)."},
    {"date-format", "FORMAT", "The user's date format (default dd/mm/yyyy)."},
    {"path", "DIR", "The installation folder (default: the program's folder)."},
    {"periods", "N", "Periods of the fiscal year (default 12)."},
    {"today", "YYYY-MM-DD", "The date taken as today (default: KELTRO_TODAY, else the system's)."},
    {"screenshots", "DIR", "Open the main window and the invoice screen, save them as PNG files "
                           "in DIR and end."},
    {"register", nullptr, "Record the component library in the component manifest and end."},
    {"unregister", nullptr, "Take the component library out of the component manifest and end."},
    {"library", "PATH", "The component library for --register and --unregister."},
};

void addOptions(QCommandLineParser& parser) {
    for (const auto& o : kOptions) {
        if (o.valueName)
            parser.addOption({o.name, QString::fromUtf8(o.description), o.valueName});
        else
            parser.addOption({o.name, QString::fromUtf8(o.description)});
    }
    parser.addHelpOption();
}

std::string valueOr(const QCommandLineParser& parser, const char* name, const std::string& fallback) {
    return parser.isSet(name) ? parser.value(name).toStdString() : fallback;
}

}  // namespace

HostOptions parseHostOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    addOptions(parser);
    if (!parser.parse(arguments)) throw HostUsageError{parser.errorText().toStdString()};
    if (!parser.positionalArguments().isEmpty())
        throw HostUsageError{"unexpected argument " + parser.positionalArguments().front().toStdString()};
    HostOptions options;
    options.help = parser.isSet("help");
    options.dbUrl = valueOr(parser, "db", options.dbUrl);
    options.user = valueOr(parser, "user", options.user);
    options.dateFormat = valueOr(parser, "date-format", options.dateFormat);
    options.path = valueOr(parser, "path", options.path);
    options.periods = valueOr(parser, "periods", options.periods);
    if (parser.isSet("today")) options.today = parser.value("today").toStdString();
    if (parser.isSet("screenshots")) options.screenshotFolder = parser.value("screenshots").toStdString();
    options.registerComponent = parser.isSet("register");
    options.unregisterComponent = parser.isSet("unregister");
    options.library = valueOr(parser, "library", options.library);
    if (options.registerComponent && options.unregisterComponent)
        throw HostUsageError{"--register and --unregister exclude each other"};
    return options;
}

std::string hostUsage() {
    std::string text = "usage: keltro-host [options]\n\nKeltro A/R, the desktop program.\n\noptions:\n";
    for (const auto& o : kOptions) {
        std::string option = std::string("  --") + o.name + (o.valueName ? std::string(" ") + o.valueName : "");
        text += option + "\n      " + o.description + "\n";
    }
    return text + "  --help\n      Show this text.\n";
}

}  // namespace keltro::app
