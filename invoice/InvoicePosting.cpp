#include "invoice/InvoicePosting.h"

#include <map>

#include "invoice/InvoiceKind.h"
#include "services/Money.h"
#include "store/PayItemLine.h"
#include "store/TaxCodes.h"

namespace keltro::invoice {

using services::roundMoney;

namespace {

class EntryCollector {
public:
    EntryCollector(db::Database& db, services::Ui& ui, const std::string& baseCurrency,
                   const PostedDocument& document)
        : m_db(db), m_ui(ui), m_document(document),
          m_foreign(document.currency != baseCurrency),
          m_sign(store::isCreditNote(document.doctype) ? -1.0 : 1.0) {}

    bool addLine(const EntryLine& line, const TaxTable& taxes) {
        if (!line.taxableAmount) return refuse("No taxable amount");
        if (!line.grossAmount) return refuse("No gross amount");
        if (line.salesAccno.empty()) return refuse("Please specify sales account");
        add(m_document.receivableAccno, *line.grossAmount);
        add(line.salesAccno, *line.taxableAmount);
        if (line.taxAmount.value_or(0) == 0 || line.taxCode.empty()) return true;
        for (const auto& row : taxes.rowsOf(line.payItem))
            if (!addTax(row)) return false;
        return true;
    }

    const services::JournalEntries& entries() const { return m_entries; }

private:
    bool refuse(const std::string& text) {
        m_ui.message(text);
        return false;
    }

    void add(const std::string& accno, double amount) {
        const double signedAmount = roundMoney(m_sign * amount);
        const double base = m_foreign
                                ? roundMoney(signedAmount * m_document.exchangeRate.value_or(0))
                                : signedAmount;
        m_entries.add(accno, m_document.currency, signedAmount, base);
    }

    bool addTax(const TaxRow& row) {
        const std::string& liability = liabilityAccount(row.authority);
        if (liability.empty()) return refuse("Tax authority " + row.authority + " has no liability account");
        add(liability, row.taxAmount);
        return true;
    }

    // Each authority is read once per posting, however many lines it taxes.
    const std::string& liabilityAccount(const std::string& authority) {
        auto found = m_liabilities.find(authority);
        if (found == m_liabilities.end()) {
            const auto read = store::findTaxAuthority(m_db, authority);
            found = m_liabilities.emplace(authority, read ? read->liabilityAccno : std::string()).first;
        }
        return found->second;
    }

    db::Database& m_db;
    services::Ui& m_ui;
    const PostedDocument& m_document;
    bool m_foreign;
    double m_sign;
    services::JournalEntries m_entries;
    std::map<std::string, std::string> m_liabilities;  // authority → liability account
};

services::JournalHeader journalHeader(const PostedDocument& document,
                                      const std::string& baseCurrency) {
    const auto& remark = kindOfDoctype(document.doctype).journalRemark;
    return {.source = kSourceInvoice,
            .sourceForm = kSourceForm,
            .sourceDocno = document.docno,
            .date = document.invoiceDate,
            .period = std::to_string(document.period),
            .fyear = document.fyear,
            .currency = document.currency,
            .exchangeRate = document.currency != baseCurrency ? document.exchangeRate
                                                              : std::nullopt,
            .remark = remark.empty() ? std::string() : std::string(remark) + document.docno};
}

}  // namespace

std::optional<services::JournalEntries> invoiceJournalEntries(
    db::Database& db, services::Ui& ui, const std::string& baseCurrency,
    const PostedDocument& document, const std::vector<EntryLine>& lines, const TaxTable& taxes) {
    EntryCollector collector(db, ui, baseCurrency, document);
    for (const auto& line : lines)
        if (!collector.addLine(line, taxes)) return std::nullopt;
    return collector.entries();
}

std::optional<std::string> postInvoiceJournal(services::JournalContext& context,
                                              const PostedDocument& document,
                                              const std::vector<EntryLine>& lines,
                                              const TaxTable& taxes,
                                              const RoundingAccounts& rounding) {
    const auto entries = invoiceJournalEntries(context.db(), context.ui(), context.baseCurrency,
                                               document, lines, taxes);
    if (!entries) return std::nullopt;
    services::JournalOptions options;
    options.rounding =
        services::RoundingLine{rounding.gainAccno, rounding.lossAccno, document.customerNo};
    return services::PostJournal(context, journalHeader(document, context.baseCurrency),
                                 *entries, options);
}

}  // namespace keltro::invoice
