// The component's one public class: the host creates it, fills its context properties,
// and asks it to show A/R screens or jump to a document.
//
// `ARclass` keeps one reference per screen kind to the most recently opened screen of that
// kind (`frm_invoice`, `frm_receipt` …). Every show method creates a new screen, copies
// the context into it (in a fixed order) before it loads, applies its argument and shows
// it modeless; an older screen of the same kind stays open but is no longer referenced,
// so its notifications no longer reach the host and its close method no longer reaches
// it. The screens' notifications come back through the `frm_…_NotifyClients` relays,
// which raise `NotifyClients` to the host and then let pending events run.
//
// Show, switch and go-to methods never fail towards the host: a step that cannot run
// (a go-to before its show) is passed over. Close methods do report failures.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/HostContext.h"
#include "host/ScreenFactory.h"

namespace keltro::host {

class ARclass {
public:
    using NotifyHandler =
        std::function<void(const std::string& formx, const std::string& docnox, const std::string& arg2)>;

    explicit ARclass(ScreenFactory& factory);
    ~ARclass();
    ARclass(const ARclass&) = delete;
    ARclass& operator=(const ARclass&) = delete;

    // --- Context properties (read and write) ----------------------------------------
    ::keltro::db::Database* cnx = nullptr;
    ::keltro::db::Database* dbe = nullptr;
    ::keltro::db::Database* abcdb = nullptr;
    std::string OPEN_DATABASE;
    std::string BASE_CURRENCY;
    std::string KELTRO_COMPANY_NAME;
    std::string KELTRO_PATH;
    std::string KELTRO_USER;
    std::string KELTRO_THEME;
    std::string KELTRO_DATE_FORMAT;
    std::string KELTRO_NO_PERIODS;
    std::string KELTRO_FONT_NAME;
    std::string KELTRO_FONT_SIZE;
    // How the screens speak to the person and read today.
    services::Ui* ui = nullptr;
    const services::Clock* clock = nullptr;

    // --- Write-only properties ----------------------------------------------------------
    void dbwkspace(::keltro::db::Database* workspace) { dbe = workspace; }
    void db(::keltro::db::Database* database) { abcdb = database; }
    void OPENdb(const std::string& path) { OPEN_DATABASE = path; }
    void basecurrency(const std::string& currency) { BASE_CURRENCY = currency; }
    void KTuser(const std::string& user) { KELTRO_USER = user; }
    void KTtheme(const std::string& theme) { KELTRO_THEME = theme; }

    // --- The event the host subscribes to -------------------------------------------------
    NotifyHandler NotifyClients;

    // --- Show methods -----------------------------------------------------------------------
    void showform_ARform_invoice(const std::optional<std::string>& doctypex = std::nullopt);
    void showform_ARform_receipt();
    void showform_ARform_fastreceipt();
    void showform_ARform_matching();
    void showform_ARform_misc();
    void showform_ARform_prepayment();
    void showform_ARreport_recur_inquiry();
    void showform_ARform_revalue();
    void showform_ARreport_aging();
    void showform_ARreport_inquiry();
    void showform_ARreport_invoice_receipt_history(const std::optional<std::string>& docnox = std::nullopt);
    void showform_ARreport_receipt_check_history();

    // --- Methods on an opened screen --------------------------------------------------------
    void switch_ARform_invoice(const std::string& doctypex);
    void ARform_invoice_goto_fkey(const std::string& fkeyx);
    void ARform_invoice_goto_docno(const std::string& docnox);
    void ARform_invoice_recurring_goto_docno(const std::string& docnox);
    void ARform_receipt_this_invoice(const std::string& docnox, const std::string& custnox);
    void ARform_receipt_goto_docno(const std::string& docnox);
    void ARform_fastreceipt_goto_docno(const std::string& docnox);
    void ARform_matching_goto_docno(const std::string& docnox);
    void ARform_misc_goto_docno(const std::string& docnox);
    void ARform_prepayment_goto_fkey(const std::string& fkeyx);
    void ARform_prepayment_goto_docno(const std::string& docnox);
    void ARform_revalue_goto_docno(const std::string& docnox);

    // --- Close methods (failures are not passed over) ------------------------------------
    void frm_invoice_Exit();
    void frm_receipt_Exit();
    void frm_prepayment_Exit();
    void frm_matching_Exit();
    void frm_fastreceipt_Exit();
    void frm_misc_Exit();
    void frm_recur_inquiry_Exit();
    void frm_revalue_Exit();
    void frm_aging_Exit();
    void frm_inquiry_Exit();
    void frm_invoice_receipt_history_Exit();
    void frm_receipt_check_history_Exit();

    // --- Notification relays ------------------------------------------------------------------
    void frm_invoice_NotifyClients(const std::string& formx, const std::string& docnox, const std::string& arg2);
    void frm_receipt_NotifyClients(const std::string& formx, const std::string& docnox, const std::string& arg2);
    void frm_prepayment_NotifyClients(const std::string& formx, const std::string& docnox, const std::string& arg2);
    void frm_matching_NotifyClients(const std::string& formx, const std::string& docnox, const std::string& arg2);
    void frm_fastreceipt_NotifyClients(const std::string& formx, const std::string& docnox, const std::string& arg2);
    void frm_misc_NotifyClients(const std::string& formx, const std::string& docnox, const std::string& arg2);
    void frm_recur_inquiry_NotifyClients(const std::string& formx, const std::string& docnox, const std::string& arg2);
    void frm_revalue_NotifyClients(const std::string& formx, const std::string& docnox, const std::string& arg2);
    void frm_aging_NotifyClients(const std::string& formx, const std::string& docnox, const std::string& arg2);
    void frm_inquiry_NotifyClients(const std::string& formx, const std::string& docnox, const std::string& arg2);
    void frm_invoice_receipt_history_NotifyClients(const std::string& formx, const std::string& docnox,
                                                   const std::string& arg2);
    void frm_receipt_check_history_NotifyClients(const std::string& formx, const std::string& docnox,
                                                 const std::string& arg2);

    // Releases the database references (the host keeps the database open).
    void class_terminate();

    // --- For drivers -------------------------------------------------------------------------
    // Calls a public method by its name with text arguments (missing optional arguments
    // stay missing). False for a name that is not a method of the class.
    bool call(const std::string& method, const std::vector<std::string>& args);
    // The screen a kind's reference holds now, by class name ("ARform_invoice"); null when
    // none was shown.
    std::shared_ptr<framework::Screen> referencedScreen(const std::string& className) const;
    // The class name of the screen a method works on ("ARform_invoice_goto_docno" gives
    // "ARform_invoice"); empty when it names none.
    std::string screenOfMethod(const std::string& method) const;

private:
    struct Slot {
        const char* reference;  // "frm_invoice"
        const char* className;  // "ARform_invoice"
        const char* methodStem; // how the show and go-to methods name it: "ARform_fastreceipt"
        std::shared_ptr<framework::Screen> screen;
    };

    framework::HostContext context() const;
    Slot& slot(const std::string& reference);
    // The four steps of every show method; `argument` runs after the load.
    void show(const std::string& reference,
              const std::function<void(framework::Screen&)>& argument = nullptr);
    // Runs a step on the referenced screen of a kind, passing over any failure.
    template <class T>
    void onScreen(const std::string& reference, const std::function<void(T&)>& step);
    void exit(const std::string& reference);
    void relay(const std::string& formx, const std::string& docnox, const std::string& arg2);

    ScreenFactory& m_factory;
    std::vector<Slot> m_slots;
};

}  // namespace keltro::host
