// keltro-host: the desktop program of Keltro A/R. It opens the company database, loads the
// A/R component through the component manifest, creates ARclass with the host context and
// shows the A/R screens in its workspace.
#include <QApplication>
#include <QMessageBox>
#include <filesystem>
#include <iostream>

#include "app/host/CompanyDatabase.h"
#include "app/host/HostOptions.h"
#include "app/host/HostWindow.h"
#include "app/host/Screenshots.h"
#include "component/ComponentLoader.h"
#include "component/Manifest.h"
#include "services/Clock.h"
#include "ui/QtUi.h"

namespace {

using namespace keltro;

// The component library beside the program, else the one this build made.
std::string defaultComponentLibrary() {
    std::error_code ec;
    const auto beside = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path() /
                        "libkeltro_ar_component.so";
    if (!ec && std::filesystem::is_regular_file(beside, ec)) return beside.string();
    return KELTRO_COMPONENT_LIBRARY;
}

int runRegistration(const app::HostOptions& options) {
    const std::string library = options.library.empty() ? defaultComponentLibrary() : options.library;
    if (options.registerComponent) {
        component::registerComponent(library);
        std::cout << "Registered " << library << " in " << component::Manifest::defaultPath() << "\n";
    } else {
        component::unregisterComponent(library);
        std::cout << "Unregistered " << library << " from " << component::Manifest::defaultPath() << "\n";
    }
    return 0;
}

void setContext(host::ARclass& arclass, app::CompanyDatabase& company, const app::HostOptions& options,
                services::Ui& ui, const services::Clock& clock) {
    arclass.cnx = &company.db();
    arclass.dbwkspace(&company.db());
    arclass.db(&company.db());
    arclass.OPENdb(company.openDatabaseText());
    arclass.basecurrency(company.baseCurrency());
    arclass.KELTRO_COMPANY_NAME = company.companyName();
    arclass.KELTRO_PATH = options.path.empty() ? QCoreApplication::applicationDirPath().toStdString() : options.path;
    arclass.KTuser(options.user);
    arclass.KTtheme("default");
    arclass.KELTRO_DATE_FORMAT = options.dateFormat;
    arclass.KELTRO_NO_PERIODS = options.periods;
    const QFont font = QApplication::font();
    arclass.KELTRO_FONT_NAME = font.family().toStdString();
    arclass.KELTRO_FONT_SIZE = QString::number(font.pointSizeF()).toStdString();
    arclass.ui = &ui;
    arclass.clock = &clock;
}

int runDesktop(const app::HostOptions& options) {
    const auto clock = services::makeClock(options.today);
    app::CompanyDatabase company(options.dbUrl, clock->today());
    component::LoadedComponent component(component::kARclassId, defaultComponentLibrary());
    ui::QtUi qtUi;
    app::HostWindow window(company.db(), company.companyName(), options.dateFormat);
    auto arclass = component.createInstance(window.screenFactory());
    setContext(*arclass, company, options, qtUi, *clock);
    window.attach(*arclass);
    window.resize(1200, 780);
    window.show();
    if (options.screenshotFolder) app::scheduleScreenshots(window, *arclass, *options.screenshotFolder);
    const int status = QApplication::exec();
    // Screens first (they save their layouts), then ARclass, then the library.
    window.closeScreens();
    arclass.reset();
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    app::HostOptions options;
    try {
        options = app::parseHostOptions(arguments);
        if (options.help) {
            std::cout << app::hostUsage();
            return 0;
        }
        if (options.registerComponent || options.unregisterComponent) return runRegistration(options);
    } catch (const app::HostUsageError& e) {
        std::cerr << "keltro-host: " << e.text << "\n\n" << app::hostUsage();
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "keltro-host: " << e.what() << "\n";
        return 1;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName("keltro-host");
    QApplication::setApplicationDisplayName("Keltro A/R");
    try {
        return runDesktop(options);
    } catch (const std::exception& e) {
        std::cerr << "keltro-host: " << e.what() << "\n";
        if (!options.screenshotFolder) QMessageBox::critical(nullptr, "Keltro A/R", QString::fromStdString(e.what()));
        return 1;
    }
}
