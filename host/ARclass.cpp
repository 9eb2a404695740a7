#include "host/ARclass.h"

#include <map>

#include "invoice/ARform_invoice.h"
#include "matching/ARform_matching.h"
#include "matching/ARform_prepayment.h"
#include "receipts/ARform_fast_receipt.h"
#include "receipts/ARform_misc_receipt.h"
#include "receipts/ARform_receipt.h"
#include "reports/ARreport_invoice_receipt_history.h"
#include "revaluation/ARform_revalue.h"

namespace keltro::host {

using framework::Screen;

ARclass::ARclass(ScreenFactory& factory)
    : m_factory(factory),
      m_slots{{"frm_invoice", "ARform_invoice", "ARform_invoice", nullptr},
              {"frm_receipt", "ARform_receipt", "ARform_receipt", nullptr},
              {"frm_fastreceipt", "ARform_fast_receipt", "ARform_fastreceipt", nullptr},
              {"frm_misc", "ARform_misc_receipt", "ARform_misc", nullptr},
              {"frm_prepayment", "ARform_prepayment", "ARform_prepayment", nullptr},
              {"frm_matching", "ARform_matching", "ARform_matching", nullptr},
              {"frm_recur_inquiry", "ARreport_recur_inquiry", "ARreport_recur_inquiry", nullptr},
              {"frm_revalue", "ARform_revalue", "ARform_revalue", nullptr},
              {"frm_aging", "ARreport_aging", "ARreport_aging", nullptr},
              {"frm_inquiry", "ARreport_inquiry", "ARreport_inquiry", nullptr},
              {"frm_invoice_receipt_history", "ARreport_invoice_receipt_history",
               "ARreport_invoice_receipt_history", nullptr},
              {"frm_receipt_check_history", "ARreport_receipt_check_history",
               "ARreport_receipt_check_history", nullptr}} {}

ARclass::~ARclass() { class_terminate(); }

framework::HostContext ARclass::context() const {
    // Copied in this order, before the screen loads.
    framework::HostContext c;
    c.cnx = cnx;
    c.dbe = dbe;
    c.abcdb = abcdb;
    c.OPEN_DATABASE = OPEN_DATABASE;
    c.BASE_CURRENCY = BASE_CURRENCY;
    c.KELTRO_COMPANY_NAME = KELTRO_COMPANY_NAME;
    c.KELTRO_PATH = KELTRO_PATH;
    c.KELTRO_USER = KELTRO_USER;
    c.KELTRO_THEME = KELTRO_THEME;
    c.KELTRO_DATE_FORMAT = KELTRO_DATE_FORMAT;
    c.KELTRO_NO_PERIODS = KELTRO_NO_PERIODS;
    c.KELTRO_FONT_NAME = KELTRO_FONT_NAME;
    c.KELTRO_FONT_SIZE = KELTRO_FONT_SIZE;
    c.ui = ui;
    c.clock = clock;
    c.showScreen = [this](const std::shared_ptr<Screen>& screen) { m_factory.show(screen); };
    return c;
}

ARclass::Slot& ARclass::slot(const std::string& reference) {
    for (auto& s : m_slots)
        if (reference == s.reference) return s;
    throw framework::ScreenError("No screen reference " + reference);
}

std::shared_ptr<Screen> ARclass::referencedScreen(const std::string& className) const {
    for (const auto& s : m_slots)
        if (className == s.className) return s.screen;
    return nullptr;
}

std::string ARclass::screenOfMethod(const std::string& method) const {
    // The longest name wins: "frm_invoice_receipt_history_Exit" is not the invoice's.
    std::string best;
    std::size_t bestLength = 0;
    for (const auto& s : m_slots) {
        for (const std::string& name : {std::string(s.methodStem), std::string(s.reference) + "_"}) {
            if (method.find(name) != std::string::npos && name.size() > bestLength) {
                best = s.className;
                bestLength = name.size();
            }
        }
    }
    return best;
}

void ARclass::show(const std::string& reference, const std::function<void(Screen&)>& argument) {
    try {
        Slot& s = slot(reference);
        auto screen = m_factory.create(s.className);
        // The older screen stays open but no longer reaches the host.
        if (s.screen) s.screen->setNotifyHandler(nullptr);
        s.screen = screen;
        screen->setNotifyHandler([this](const framework::Notification& n) {
            relay(n.formx, n.docnox, n.arg2);
        });
        screen->setContext(context());
        screen->load();
        if (argument) argument(*screen);
        m_factory.show(screen);
    } catch (...) {
        // Show methods never fail towards the host.
    }
}

template <class T>
void ARclass::onScreen(const std::string& reference, const std::function<void(T&)>& step) {
    try {
        auto* screen = dynamic_cast<T*>(slot(reference).screen.get());
        if (screen && !screen->isClosed()) {
            step(*screen);
            screen->notifyChanged();
        }
    } catch (...) {
        // Go-to and switch methods never fail towards the host.
    }
}

void ARclass::exit(const std::string& reference) {
    Slot& s = slot(reference);
    if (!s.screen) throw framework::ScreenError(std::string(s.className) + " is not open");
    s.screen->close();
}

void ARclass::relay(const std::string& formx, const std::string& docnox, const std::string& arg2) {
    if (NotifyClients) NotifyClients(formx, docnox, arg2);
    if (ui) ui->pumpEvents();
}

// --- Show methods ------------------------------------------------------------------------

void ARclass::showform_ARform_invoice(const std::optional<std::string>& doctypex) {
    show("frm_invoice", [&](Screen& s) {
        static_cast<invoice::ARform_invoice&>(s).openAs(doctypex.value_or(""));
    });
}
void ARclass::showform_ARform_receipt() { show("frm_receipt"); }
void ARclass::showform_ARform_fastreceipt() { show("frm_fastreceipt"); }
void ARclass::showform_ARform_matching() { show("frm_matching"); }
void ARclass::showform_ARform_misc() { show("frm_misc"); }
void ARclass::showform_ARform_prepayment() { show("frm_prepayment"); }
void ARclass::showform_ARreport_recur_inquiry() { show("frm_recur_inquiry"); }
void ARclass::showform_ARform_revalue() { show("frm_revalue"); }
void ARclass::showform_ARreport_aging() { show("frm_aging"); }
void ARclass::showform_ARreport_inquiry() { show("frm_inquiry"); }
void ARclass::showform_ARreport_invoice_receipt_history(const std::optional<std::string>& docnox) {
    show("frm_invoice_receipt_history", [&](Screen& s) {
        if (docnox) static_cast<reports::ARreport_invoice_receipt_history&>(s).showDocument(*docnox);
    });
}
void ARclass::showform_ARreport_receipt_check_history() { show("frm_receipt_check_history"); }

// --- Methods on an opened screen -----------------------------------------------------------

void ARclass::switch_ARform_invoice(const std::string& doctypex) {
    onScreen<invoice::ARform_invoice>("frm_invoice", [&](auto& s) { s.switchTo(doctypex); });
}
void ARclass::ARform_invoice_goto_fkey(const std::string& fkeyx) {
    onScreen<invoice::ARform_invoice>("frm_invoice", [&](auto& s) { s.gotoFkey(fkeyx); });
}
void ARclass::ARform_invoice_goto_docno(const std::string& docnox) {
    onScreen<invoice::ARform_invoice>("frm_invoice", [&](auto& s) { s.gotoDocno(docnox); });
}
void ARclass::ARform_invoice_recurring_goto_docno(const std::string& docnox) {
    onScreen<invoice::ARform_invoice>("frm_invoice", [&](auto& s) { s.gotoRecurringNo(docnox); });
}
void ARclass::ARform_receipt_this_invoice(const std::string& docnox, const std::string& custnox) {
    onScreen<receipts::ARform_receipt>("frm_receipt",
                                       [&](auto& s) { s.receiptThisInvoice(docnox, custnox); });
}
void ARclass::ARform_receipt_goto_docno(const std::string& docnox) {
    onScreen<receipts::ARform_receipt>("frm_receipt", [&](auto& s) { s.gotoDocno(docnox); });
}
void ARclass::ARform_fastreceipt_goto_docno(const std::string& docnox) {
    onScreen<receipts::ARform_fast_receipt>("frm_fastreceipt", [&](auto& s) { s.gotoDocno(docnox); });
}
void ARclass::ARform_matching_goto_docno(const std::string& docnox) {
    onScreen<matching::ARform_matching>("frm_matching", [&](auto& s) { s.gotoDocno(docnox); });
}
void ARclass::ARform_misc_goto_docno(const std::string& docnox) {
    onScreen<receipts::ARform_misc_receipt>("frm_misc", [&](auto& s) { s.gotoDocno(docnox); });
}
void ARclass::ARform_prepayment_goto_fkey(const std::string& fkeyx) {
    onScreen<matching::ARform_prepayment>("frm_prepayment", [&](auto& s) { s.gotoFkey(fkeyx); });
}
void ARclass::ARform_prepayment_goto_docno(const std::string& docnox) {
    onScreen<matching::ARform_prepayment>("frm_prepayment", [&](auto& s) { s.gotoDocno(docnox); });
}
void ARclass::ARform_revalue_goto_docno(const std::string& docnox) {
    onScreen<revaluation::ARform_revalue>("frm_revalue", [&](auto& s) { s.gotoDocno(docnox); });
}

// --- Close methods --------------------------------------------------------------------------

void ARclass::frm_invoice_Exit() { exit("frm_invoice"); }
void ARclass::frm_receipt_Exit() { exit("frm_receipt"); }
void ARclass::frm_prepayment_Exit() { exit("frm_prepayment"); }
void ARclass::frm_matching_Exit() { exit("frm_matching"); }
void ARclass::frm_fastreceipt_Exit() { exit("frm_fastreceipt"); }
void ARclass::frm_misc_Exit() { exit("frm_misc"); }
void ARclass::frm_recur_inquiry_Exit() { exit("frm_recur_inquiry"); }
void ARclass::frm_revalue_Exit() { exit("frm_revalue"); }
void ARclass::frm_aging_Exit() { exit("frm_aging"); }
void ARclass::frm_inquiry_Exit() { exit("frm_inquiry"); }
void ARclass::frm_invoice_receipt_history_Exit() { exit("frm_invoice_receipt_history"); }
void ARclass::frm_receipt_check_history_Exit() { exit("frm_receipt_check_history"); }

// --- Notification relays: every screen kind's notification reaches the host the same way --

void ARclass::frm_invoice_NotifyClients(const std::string& formx, const std::string& docnox,
                                  const std::string& arg2) { relay(formx, docnox, arg2); }
void ARclass::frm_receipt_NotifyClients(const std::string& formx, const std::string& docnox,
                                  const std::string& arg2) { relay(formx, docnox, arg2); }
void ARclass::frm_prepayment_NotifyClients(const std::string& formx, const std::string& docnox,
                                  const std::string& arg2) { relay(formx, docnox, arg2); }
void ARclass::frm_matching_NotifyClients(const std::string& formx, const std::string& docnox,
                                  const std::string& arg2) { relay(formx, docnox, arg2); }
void ARclass::frm_fastreceipt_NotifyClients(const std::string& formx, const std::string& docnox,
                                  const std::string& arg2) { relay(formx, docnox, arg2); }
void ARclass::frm_misc_NotifyClients(const std::string& formx, const std::string& docnox,
                                  const std::string& arg2) { relay(formx, docnox, arg2); }
void ARclass::frm_recur_inquiry_NotifyClients(const std::string& formx, const std::string& docnox,
                                  const std::string& arg2) { relay(formx, docnox, arg2); }
void ARclass::frm_revalue_NotifyClients(const std::string& formx, const std::string& docnox,
                                  const std::string& arg2) { relay(formx, docnox, arg2); }
void ARclass::frm_aging_NotifyClients(const std::string& formx, const std::string& docnox,
                                  const std::string& arg2) { relay(formx, docnox, arg2); }
void ARclass::frm_inquiry_NotifyClients(const std::string& formx, const std::string& docnox,
                                  const std::string& arg2) { relay(formx, docnox, arg2); }
void ARclass::frm_invoice_receipt_history_NotifyClients(const std::string& formx, const std::string& docnox,
                                  const std::string& arg2) { relay(formx, docnox, arg2); }
void ARclass::frm_receipt_check_history_NotifyClients(const std::string& formx, const std::string& docnox,
                                  const std::string& arg2) { relay(formx, docnox, arg2); }

void ARclass::class_terminate() {
    abcdb = nullptr;
    dbe = nullptr;
}

}  // namespace keltro::host
