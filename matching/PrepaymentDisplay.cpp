#include "matching/PrepaymentDisplay.h"

#include "framework/StandardCommands.h"
#include "matching/PrepaymentSave.h"
#include "services/DateFormat.h"

namespace keltro::matching {

using services::FormatAmount;

framework::FieldValues ownFields(const receipts::ReceiptHeader& h) {
    return {{"txtdoctype", h.doctype},
            {"txtorder_no", h.orderNo},
            {"txtcustomer_po", h.customerPo},
            {"txtliability_account", h.prepaymentLiabilityAccno},
            {"txtprepayment_invoice_no", h.prepaymentInvoiceNo},
            {"txtsource", h.sourceForm},
            {"labelbank_currency", h.bankAccno}};
}

framework::FieldValues entryDefaults(const std::string& today) {
    return {{"txtdocno", framework::kNewDocumentNo},
            {"txtdoctype", kPrepaymentDoctype},
            {"cmbcompany", "1"},
            {"txtfkey", ""},
            {"txtglfkey", ""},
            {"txtid", ""},
            {"txtrcdate", today},
            {"txtratedate", today},
            {"txtrcamount", ""},
            {"txtreceipt_base", ""},
            {"cmbexrate", ""},
            {"cmbcustno", ""},
            {"cmbcustname", ""},
            {"txtrcno", ""},
            {"txtpayer", ""},
            {"cmbpayby", ""},
            {"cmbcash", ""},
            {"cmbbank", ""},
            {"txtcheck", ""},
            {"txtcheckdate", ""},
            {"txtremark", ""},
            {"txtorder_no", ""},
            {"txtcustomer_po", ""},
            {"txtliability_account", ""},
            {"txtprepayment_invoice_no", ""},
            {"txtsource", kPrepaymentForm},
            {"txtfast_docno", ""},
            {"labelbank_currency", ""},
            {"chkprint", "0"},
            {"chkvoid", "0"}};
}

framework::GridRow storedRow(const receipts::ReceiptLine& line, const std::string& dateFormat) {
    return {{"pay item", line.payItem},
            {"invoice no", line.invoiceNo},
            {"invoice date", framework::dateText(line.invoiceDate, dateFormat)},
            {"gross amount", FormatAmount(line.grossAmount)},
            {"open amount", FormatAmount(line.openAmount)},
            {"applied amount", FormatAmount(line.applied)},
            {"balance", FormatAmount(line.invoiceBalance)},
            {"currency", line.currency},
            {"computer id", line.computerId}};
}

}  // namespace keltro::matching
