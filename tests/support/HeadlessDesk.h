// The host's side of a headless session, for tests of whole screens: ARclass with a
// headless screen factory, a person who answers from a queue, a clock stopped on the demo
// company's day and a list of the requests that reached the host. Header-only, so the Qt
// and component test programs use it too.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "framework/Screen.h"
#include "host/ARclass.h"
#include "host/ScreenFactory.h"
#include "services/Clock.h"
#include "services/Ui.h"
#include "support/TestDatabase.h"

namespace keltro::test {

// Fills the context properties of an ARclass (or a screen's HostContext) as the desktop does
// for the demo company's administrator.
template <class Context>
void fillContext(Context& c, db::Database& db, services::Ui& ui, const services::Clock& clock) {
    c.cnx = c.dbe = c.abcdb = &db;
    c.BASE_CURRENCY = "USD";
    c.KELTRO_USER = "admin";
    c.KELTRO_DATE_FORMAT = "dd/mm/yyyy";
    c.KELTRO_NO_PERIODS = "12";
    c.KELTRO_PATH = "C:\\Keltro";
    c.ui = &ui;
    c.clock = &clock;
}

// Every show method of ARclass and the screen it opens.
inline const std::vector<std::pair<std::string, std::string>> kShowMethods = {
    {"showform_ARform_invoice", "ARform_invoice"},
    {"showform_ARform_receipt", "ARform_receipt"},
    {"showform_ARform_fastreceipt", "ARform_fast_receipt"},
    {"showform_ARform_matching", "ARform_matching"},
    {"showform_ARform_misc", "ARform_misc_receipt"},
    {"showform_ARform_prepayment", "ARform_prepayment"},
    {"showform_ARreport_recur_inquiry", "ARreport_recur_inquiry"},
    {"showform_ARform_revalue", "ARform_revalue"},
    {"showform_ARreport_aging", "ARreport_aging"},
    {"showform_ARreport_inquiry", "ARreport_inquiry"},
    {"showform_ARreport_invoice_receipt_history", "ARreport_invoice_receipt_history"},
    {"showform_ARreport_receipt_check_history", "ARreport_receipt_check_history"},
};

class HeadlessDesk {
public:
    explicit HeadlessDesk(db::Database& db) : clock(kDemoToday), arclass(factory) {
        fillContext(arclass, db, ui, clock);
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
