#include "receipts/ReceiptDisplay.h"

#include "framework/FieldText.h"
#include "framework/StandardCommands.h"
#include "services/DateFormat.h"

namespace keltro::receipts {

using framework::dateText;
using services::FormatAmount;

namespace {

std::string flag(bool on) { return on ? "1" : "0"; }

std::string amountText(const std::optional<double>& amount) {
    return amount ? FormatAmount(*amount) : std::string();
}

}  // namespace

FieldValues receiptFields(const ReceiptHeader& h, const std::string& customerName,
                          const std::string& dateFormat) {
    return {{"txtdocno", h.docno},
            {"txtfkey", h.fkey},
            {"txtglfkey", h.glFkey},
            {"txtid", h.id ? std::to_string(h.id) : ""},
            {"txtrcno", h.receiptNo},
            {"txtrcdate", dateText(h.receiptDate, dateFormat)},
            {"cmbperiod", h.period ? std::to_string(*h.period) : ""},
            {"cmbfyear", h.fyear},
            {"cmbcustno", h.customerNo},
            {"cmbcustname", customerName},
            {"txtpayer", h.payer},
            {"cmbpayby", h.payby},
            {"cmbcash", h.cashAccno},
            {"cmbbank", h.bankCode},
            {"txtcheck", h.checkNo},
            {"txtcheckdate", dateText(h.checkDate, dateFormat)},
            {"txtremark", h.remark},
            {"txtrcamount", FormatAmount(h.receiptAmount)},
            {"cmbcurrency", h.currency},
            {"cmbexrate", rateText(h.exchangeRate)},
            {"txtratedate", dateText(h.rateDate, dateFormat)},
            {"txtreceipt_base", FormatAmount(h.receiptBaseAmount)},
            {"cmbinvoice_currency", "*"},
            {"txttotal", FormatAmount(h.totalAmount)},
            {"label_total_currency", h.totalCurrency},
            {"txttotal_base", FormatAmount(h.totalBaseAmount)},
            {"txtunapplied_docno", h.unappliedDocno},
            {"txtunapplied_amount", amountText(h.unappliedAmount)},
            {"txtfast_docno", h.fastDocno},
            {"txtfast_invoice_no", h.fastApplyInvoiceNo},
            {"chkprint", flag(h.printed)},
            {"chkvoid", flag(h.isVoid)}};
}

FieldValues newReceiptFields() {
    return {{"txtdocno", framework::kNewDocumentNo},
            {"txtfkey", ""},
            {"txtglfkey", ""},
            {"txtid", ""},
            {"txtrcno", ""},
            {"txtpayer", ""},
            {"txtcheck", ""},
            {"txtcheckdate", ""},
            {"txtremark", ""},
            {"txtrcamount", FormatAmount(0)},
            {"cmbexrate", ""},
            {"txtratedate", ""},
            {"txtreceipt_base", FormatAmount(0)},
            {"cmbinvoice_currency", "*"},
            {"txttotal", FormatAmount(0)},
            {"label_total_currency", ""},
            {"txttotal_base", FormatAmount(0)},
            {"txtunapplied_docno", ""},
            {"txtunapplied_amount", ""},
            {"txtfast_docno", ""},
            {"txtfast_invoice_no", ""},
            {"chkprint", "0"},
            {"chkvoid", "0"}};
}

std::string accountCell(const std::string& accno, const AccountNamer& nameOf) {
    if (accno.empty()) return {};
    const std::string name = nameOf(accno);
    return name.empty() ? accno : accno + ";" + name;
}

framework::GridRow storedRow(const ReceiptLine& line, const std::string& doctype,
                             const std::string& dateFormat, const AccountNamer& nameOf) {
    return {{column::kDocumentType, doctype.empty() ? "" : documentTypeLabel(doctype)},
            {column::kPayItem, line.payItem},
            {column::kInvoiceNo, line.invoiceNo},
            {column::kInvoiceDate, dateText(line.invoiceDate, dateFormat)},
            {column::kGross, FormatAmount(line.grossAmount)},
            {column::kOpen, FormatAmount(line.openAmount)},
            {column::kDiscountAvailable, FormatAmount(line.discountAvailable)},
            {column::kCurrency, line.currency},
            {column::kInvoiceRate, rateText(line.invoiceRate)},
            {column::kReceiptRate, rateText(line.receiptRate)},
            {column::kApplied, FormatAmount(line.applied)},
            {column::kDiscountTaken, FormatAmount(line.discountTaken)},
            {column::kWriteOff, FormatAmount(line.writeoff)},
            {column::kDiscountAccount, accountCell(line.discountAccno, nameOf)},
            {column::kWriteOffAccount, accountCell(line.writeoffAccno, nameOf)},
            {column::kBaseAmount, FormatAmount(line.appliedBase)},
            {column::kNetBalance, FormatAmount(line.invoiceBalance)},
            {column::kDeposit, doctype == "ua" ? "1" : "0"},
            {column::kRemark, line.remark},
            {column::kComputerId, line.computerId}};
}

}  // namespace keltro::receipts
