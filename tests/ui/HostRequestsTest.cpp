// keltro-host's answers to the screens' requests: each A/R request opens the screen it
// names, the journal and PDF requests go to the desktop, and anything else is only told.
#include <gtest/gtest.h>

#include "app/host/HostRequests.h"
#include "schema/DemoCompany.h"
#include "schema/Schema.h"
#include "services/Clock.h"
#include "support/TestDatabase.h"

namespace keltro {
namespace {

struct Request {
    const char* formx;
    const char* opens;     // the screen it opens; null for the desktop's requests
    const char* desktop;   // what the desktop was asked, "" when nothing
};

const Request kRequests[] = {
    {"A/R Invoice Entry", "ARform_invoice", ""},
    {"A/R Receipt Entry", "ARform_receipt", ""},
    {"A/R Prepayment", "ARform_prepayment", ""},
    {"Miscellaneous Receipt", "ARform_misc_receipt", ""},
    {"A/R Invoice Recurring", "ARform_invoice", ""},
    {"Receipt This Invoice", "ARform_receipt", ""},
    {"Invoice Receipt History", "ARreport_invoice_receipt_history", ""},
    {"G/L Ledger Review", nullptr, "journal 1gl-7"},
    {"pdf viewer", nullptr, "file 1gl-7 (1001)"},
    {"pdf viewer landscape", nullptr, "file 1gl-7 (1001)"},
    {"Next App", nullptr, "status Request to the host: Next App — 1gl-7 — 1001"},
};

TEST(HostRequests, eachRequestIsAnsweredByWhatItNames) {
    test::TestDatabase database;
    {
        db::Transaction tx(database.db());
        schema::createSchema(database.db());
        schema::addDemoCompany(database.db(), {2026, 1, 15});
        tx.commit();
    }
    const services::FixedClock clock({2026, 1, 15});
    services::RecordingUi ui;
    for (const Request& request : kRequests) {
        SCOPED_TRACE(request.formx);
        host::HeadlessScreenFactory views;
        host::ARclass arclass(views);
        arclass.abcdb = arclass.dbe = arclass.cnx = &database.db();
        arclass.KELTRO_USER = "admin";
        arclass.KELTRO_DATE_FORMAT = "dd/mm/yyyy";
        arclass.ui = &ui;
        arclass.clock = &clock;
        std::string desktop;
        app::HostRequests requests(
            arclass, {[&](const std::string& key) { desktop = "journal " + key; },
                      [&](const std::string& file, const std::string& title) {
                          desktop = "file " + file + " (" + title + ")";
                      },
                      [&](const std::string& text) { desktop = "status " + text; }});

        requests.answer(request.formx, "1gl-7", "1001");

        std::vector<std::string> opened;
        for (const auto& screen : views.openScreens()) opened.push_back(screen->className());
        EXPECT_EQ(opened, request.opens ? std::vector<std::string>{request.opens} : std::vector<std::string>{});
        EXPECT_EQ(desktop, request.desktop);
    }
}

}  // namespace
}  // namespace keltro
