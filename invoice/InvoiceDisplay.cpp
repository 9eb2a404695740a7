#include "invoice/InvoiceDisplay.h"

#include "services/DateFormat.h"

namespace keltro::invoice {

namespace {

std::string flag(bool on) { return on ? "1" : "0"; }

}  // namespace

std::string numberText(double value) { return db::Value(value).textOr(); }

std::string paidBoxOf(const store::ArHeader& header) {
    switch (store::paidState(header)) {
        case store::PaidState::FullyPaid: return "1";
        case store::PaidState::PartlyPaid: return "2";
        case store::PaidState::Unpaid: break;
    }
    return "0";
}

FieldValues headerFields(const store::ArHeader& h, const std::string& customerName,
                         const std::string& dateFormat) {
    return {{"cmbcompany", "1"},
            {"txtdocno", h.docno},
            {"txtfkey", h.fkey},
            {"txtglfkey", h.glFkey},
            {"txtid", h.id ? std::to_string(h.id) : ""},
            {"cmbcustno", h.customerNo},
            {"cmbcustname", customerName},
            {"txtinvdate", dateText(h.invoiceDate, dateFormat)},
            {"cmbterm", h.term.paymentTerm},
            {"txtduedate", dateText(h.dueDate, dateFormat)},
            {"txtdiscdate", dateText(h.discountDate, dateFormat)},
            {"cmbcurrency", h.currency},
            {"cmbexrate", h.exchangeRate ? numberText(*h.exchangeRate) : ""},
            {"txtratedate", dateText(h.rateDate, dateFormat)},
            {"cmbperiod", h.period ? std::to_string(*h.period) : ""},
            {"cmbfyear", h.fyear},
            {"txtcustomer_po", h.customerPo},
            {"txtorder_no", h.orderNo},
            {"txtapplydoc", h.applyToDocno},
            {"txtremark", h.remark},
            {"txtbill_address", h.billToAddress},
            {"txtship_address", h.shipToAddress},
            {"txtsource", h.source},
            {"txtsource_docno", h.sourceDocno},
            {"txtprepayment", h.prepayment ? services::FormatAmount(*h.prepayment) : ""},
            {"txtppfkey", h.ppfkey},
            {"chkpaid", paidBoxOf(h)},
            {"chkvoid", flag(h.isVoid)},
            {"chkprint", flag(h.printed)}};
}

FieldValues emptyHeaderFields() {
    FieldValues values = headerFields(store::ArHeader{}, "", "");
    values.push_back({"txtgross", "0.00"});
    values.push_back({"txttax", "0.00"});
    values.push_back({"txttotal", "0.00"});
    return values;
}

std::vector<std::map<std::string, std::string>> taxDetailRows(const TaxTable& taxes) {
    std::vector<std::map<std::string, std::string>> rows;
    for (const auto& row : taxes.rows())
        rows.push_back({{"no", row.payItem},
                        {"tax authority", row.authority},
                        {"taxable amount", services::FormatAmount(row.taxableBase)},
                        {"rate", numberText(row.rate)},
                        {"tax amount", services::FormatAmount(row.taxAmount)},
                        {"taxable", flag(row.taxable)},
                        {"tax code", row.taxCode}});
    return rows;
}

std::vector<std::map<std::string, std::string>> taxSummaryRows(const TaxTable& taxes) {
    std::vector<std::map<std::string, std::string>> rows;
    for (const auto& row : taxes.summary())
        rows.push_back({{"tax authority", row.authority},
                        {"taxable amount", services::FormatAmount(row.taxableBase)},
                        {"rate", numberText(row.rate)},
                        {"tax amount", services::FormatAmount(row.taxAmount)}});
    return rows;
}

}  // namespace keltro::invoice
