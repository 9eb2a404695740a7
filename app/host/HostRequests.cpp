#include "app/host/HostRequests.h"

namespace keltro::app {

HostRequests::HostRequests(host::ARclass& arclass, Desktop desktop)
    : m_arclass(arclass), m_desktop(std::move(desktop)) {
    host::ARclass& a = m_arclass;
    const Answer openPdf = [this](const std::string& file, const std::string& title) {
        m_desktop.openFile(file, title);
    };
    m_answers = {
        {"G/L Ledger Review", [this](const std::string& key, const std::string&) { m_desktop.openJournal(key); }},
        {"pdf viewer", openPdf},
        {"pdf viewer landscape", openPdf},
        {"A/R Invoice Entry",
         [&a](const std::string& docno, const std::string&) {
             a.showform_ARform_invoice();
             a.ARform_invoice_goto_docno(docno);
         }},
        {"A/R Receipt Entry",
         [&a](const std::string& docno, const std::string&) {
             a.showform_ARform_receipt();
             a.ARform_receipt_goto_docno(docno);
         }},
        {"A/R Prepayment",
         [&a](const std::string& docno, const std::string&) {
             a.showform_ARform_prepayment();
             a.ARform_prepayment_goto_docno(docno);
         }},
        {"Miscellaneous Receipt",
         [&a](const std::string& docno, const std::string&) {
             a.showform_ARform_misc();
             a.ARform_misc_goto_docno(docno);
         }},
        {"A/R Invoice Recurring",
         [&a](const std::string& docno, const std::string&) {
             a.showform_ARform_invoice();
             a.ARform_invoice_recurring_goto_docno(docno);
         }},
        {"Receipt This Invoice",
         [&a](const std::string& invoice, const std::string& customer) {
             a.showform_ARform_receipt();
             a.ARform_receipt_this_invoice(invoice, customer);
         }},
        {"Invoice Receipt History",
         [&a](const std::string& docno, const std::string&) { a.showform_ARreport_invoice_receipt_history(docno); }},
    };
}

void HostRequests::answer(const std::string& formx, const std::string& docnox, const std::string& arg2) {
    if (auto it = m_answers.find(formx); it != m_answers.end()) {
        it->second(docnox, arg2);
        return;
    }
    std::string text = "Request to the host: " + formx;
    for (const auto* part : {&docnox, &arg2})
        if (!part->empty()) text += " — " + *part;
    m_desktop.showStatus(text);
}

}  // namespace keltro::app
