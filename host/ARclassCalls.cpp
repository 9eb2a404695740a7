// Calling ARclass's public methods by name, as the headless driver and scripts do.
#include <functional>
#include <map>

#include "host/ARclass.h"

namespace keltro::host {

namespace {

using Args = std::vector<std::string>;
using Method = std::function<void(ARclass&, const Args&)>;

std::string arg(const Args& args, std::size_t i) { return i < args.size() ? args[i] : std::string(); }

std::optional<std::string> optionalArg(const Args& args, std::size_t i) {
    if (i < args.size()) return args[i];
    return std::nullopt;
}

Method noArgs(void (ARclass::*method)()) {
    return [method](ARclass& c, const Args&) { (c.*method)(); };
}

Method oneArg(void (ARclass::*method)(const std::string&)) {
    return [method](ARclass& c, const Args& a) { (c.*method)(arg(a, 0)); };
}

Method twoArgs(void (ARclass::*method)(const std::string&, const std::string&)) {
    return [method](ARclass& c, const Args& a) { (c.*method)(arg(a, 0), arg(a, 1)); };
}

Method threeArgs(void (ARclass::*method)(const std::string&, const std::string&, const std::string&)) {
    return [method](ARclass& c, const Args& a) { (c.*method)(arg(a, 0), arg(a, 1), arg(a, 2)); };
}

Method optionalOneArg(void (ARclass::*method)(const std::optional<std::string>&)) {
    return [method](ARclass& c, const Args& a) { (c.*method)(optionalArg(a, 0)); };
}

const std::map<std::string, Method>& methods() {
    static const std::map<std::string, Method> table = {
        {"showform_ARform_invoice", optionalOneArg(&ARclass::showform_ARform_invoice)},
        {"showform_ARform_receipt", noArgs(&ARclass::showform_ARform_receipt)},
        {"showform_ARform_fastreceipt", noArgs(&ARclass::showform_ARform_fastreceipt)},
        {"showform_ARform_matching", noArgs(&ARclass::showform_ARform_matching)},
        {"showform_ARform_misc", noArgs(&ARclass::showform_ARform_misc)},
        {"showform_ARform_prepayment", noArgs(&ARclass::showform_ARform_prepayment)},
        {"showform_ARreport_recur_inquiry", noArgs(&ARclass::showform_ARreport_recur_inquiry)},
        {"showform_ARform_revalue", noArgs(&ARclass::showform_ARform_revalue)},
        {"showform_ARreport_aging", noArgs(&ARclass::showform_ARreport_aging)},
        {"showform_ARreport_inquiry", noArgs(&ARclass::showform_ARreport_inquiry)},
        {"showform_ARreport_invoice_receipt_history",
         optionalOneArg(&ARclass::showform_ARreport_invoice_receipt_history)},
        {"showform_ARreport_receipt_check_history", noArgs(&ARclass::showform_ARreport_receipt_check_history)},

        {"switch_ARform_invoice", oneArg(&ARclass::switch_ARform_invoice)},
        {"ARform_invoice_goto_fkey", oneArg(&ARclass::ARform_invoice_goto_fkey)},
        {"ARform_invoice_goto_docno", oneArg(&ARclass::ARform_invoice_goto_docno)},
        {"ARform_invoice_recurring_goto_docno", oneArg(&ARclass::ARform_invoice_recurring_goto_docno)},
        {"ARform_receipt_this_invoice", twoArgs(&ARclass::ARform_receipt_this_invoice)},
        {"ARform_receipt_goto_docno", oneArg(&ARclass::ARform_receipt_goto_docno)},
        {"ARform_fastreceipt_goto_docno", oneArg(&ARclass::ARform_fastreceipt_goto_docno)},
        {"ARform_matching_goto_docno", oneArg(&ARclass::ARform_matching_goto_docno)},
        {"ARform_misc_goto_docno", oneArg(&ARclass::ARform_misc_goto_docno)},
        {"ARform_prepayment_goto_fkey", oneArg(&ARclass::ARform_prepayment_goto_fkey)},
        {"ARform_prepayment_goto_docno", oneArg(&ARclass::ARform_prepayment_goto_docno)},
        {"ARform_revalue_goto_docno", oneArg(&ARclass::ARform_revalue_goto_docno)},

        {"frm_invoice_Exit", noArgs(&ARclass::frm_invoice_Exit)},
        {"frm_receipt_Exit", noArgs(&ARclass::frm_receipt_Exit)},
        {"frm_prepayment_Exit", noArgs(&ARclass::frm_prepayment_Exit)},
        {"frm_matching_Exit", noArgs(&ARclass::frm_matching_Exit)},
        {"frm_fastreceipt_Exit", noArgs(&ARclass::frm_fastreceipt_Exit)},
        {"frm_misc_Exit", noArgs(&ARclass::frm_misc_Exit)},
        {"frm_recur_inquiry_Exit", noArgs(&ARclass::frm_recur_inquiry_Exit)},
        {"frm_revalue_Exit", noArgs(&ARclass::frm_revalue_Exit)},
        {"frm_aging_Exit", noArgs(&ARclass::frm_aging_Exit)},
        {"frm_inquiry_Exit", noArgs(&ARclass::frm_inquiry_Exit)},
        {"frm_invoice_receipt_history_Exit", noArgs(&ARclass::frm_invoice_receipt_history_Exit)},
        {"frm_receipt_check_history_Exit", noArgs(&ARclass::frm_receipt_check_history_Exit)},

        {"frm_invoice_NotifyClients", threeArgs(&ARclass::frm_invoice_NotifyClients)},
        {"frm_receipt_NotifyClients", threeArgs(&ARclass::frm_receipt_NotifyClients)},
        {"frm_prepayment_NotifyClients", threeArgs(&ARclass::frm_prepayment_NotifyClients)},
        {"frm_matching_NotifyClients", threeArgs(&ARclass::frm_matching_NotifyClients)},
        {"frm_fastreceipt_NotifyClients", threeArgs(&ARclass::frm_fastreceipt_NotifyClients)},
        {"frm_misc_NotifyClients", threeArgs(&ARclass::frm_misc_NotifyClients)},
        {"frm_recur_inquiry_NotifyClients", threeArgs(&ARclass::frm_recur_inquiry_NotifyClients)},
        {"frm_revalue_NotifyClients", threeArgs(&ARclass::frm_revalue_NotifyClients)},
        {"frm_aging_NotifyClients", threeArgs(&ARclass::frm_aging_NotifyClients)},
        {"frm_inquiry_NotifyClients", threeArgs(&ARclass::frm_inquiry_NotifyClients)},
        {"frm_invoice_receipt_history_NotifyClients",
         threeArgs(&ARclass::frm_invoice_receipt_history_NotifyClients)},
        {"frm_receipt_check_history_NotifyClients",
         threeArgs(&ARclass::frm_receipt_check_history_NotifyClients)},

        {"class_terminate", noArgs(&ARclass::class_terminate)},
    };
    return table;
}

}  // namespace

bool ARclass::call(const std::string& method, const std::vector<std::string>& args) {
    auto it = methods().find(method);
    if (it == methods().end()) return false;
    it->second(*this, args);
    return true;
}

}  // namespace keltro::host
