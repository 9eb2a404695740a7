// The host's side of a headless session, for tests of whole screens: ARclass with a
// headless screen factory, a person who answers from a queue, a clock stopped on the demo
// company's day and a list of the requests that reached the host.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "framework/Screen.h"
#include "host/ARclass.h"
#include "host/ScreenFactory.h"
#include "services/Clock.h"
#include "services/Ui.h"
#include "support/TestDatabase.h"

namespace keltro::test {

class HeadlessDesk {
public:
    explicit HeadlessDesk(db::Database& db) : clock(kDemoToday), arclass(factory) {
        useDatabase(db);
        arclass.BASE_CURRENCY = "USD";
        arclass.KELTRO_USER = "admin";
        arclass.KELTRO_DATE_FORMAT = "dd/mm/yyyy";
        arclass.KELTRO_NO_PERIODS = "12";
        arclass.KELTRO_PATH = "C:\\Keltro";
        arclass.ui = &ui;
        arclass.clock = &clock;
        arclass.NotifyClients = [this](const std::string& formx, const std::string& docnox,
                                       const std::string& arg2) {
            notifications.push_back({formx, docnox, arg2});
        };
    }
    HeadlessDesk(const HeadlessDesk&) = delete;
    HeadlessDesk& operator=(const HeadlessDesk&) = delete;

    void useDatabase(db::Database& db) { arclass.cnx = arclass.dbe = arclass.abcdb = &db; }

    // Runs an ARclass method and gives the screen of `className` it left referenced.
    framework::Screen& call(const std::string& method, const std::string& className,
                            const std::vector<std::string>& args = {}) {
        if (!arclass.call(method, args)) throw std::invalid_argument("ARclass has no method " + method);
        auto screen = arclass.referencedScreen(className);
        if (!screen) throw std::runtime_error(className + " is not open after " + method);
        return *screen;
    }

    services::RecordingUi ui;
    services::FixedClock clock;
    host::HeadlessScreenFactory factory;
    host::ARclass arclass;
    std::vector<framework::Notification> notifications;
};

}  // namespace keltro::test
