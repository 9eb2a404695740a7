#include "invoice/RecurringGeneration.h"

#include "invoice/InvoiceKind.h"
#include "invoice/InvoiceTax.h"
#include "services/DateFormat.h"
#include "services/FiscalPeriod.h"
#include "services/Money.h"
#include "services/Numbering.h"
#include "store/ArDocument.h"
#include "store/ReferenceData.h"

namespace keltro::invoice {

using services::roundMoney;

namespace {

// What the generation settles before it writes anything of the invoice.
struct InvoiceFacts {
    store::Customer customer;
    services::FiscalPeriod period;
    store::TermCopies term;
    store::TermDates dates;
    std::optional<double> exchangeRate;  // foreign currency only
};

services::Ui& ui(GenerationContext& context) { return context.journal.ui(); }
db::Database& database(GenerationContext& context) { return context.journal.db(); }

bool refuse(GenerationContext& context, const std::string& text) {
    ui(context).message(text);
    return false;
}

bool settleCustomer(GenerationContext& context, const std::string& customerNo, InvoiceFacts& facts) {
    // Locked: the owing balance is about to change.
    auto customer = store::lockCustomer(database(context), customerNo);
    if (!customer || customer->arAccno.empty())
        return refuse(context, "Error : Acccount Receivable account for " + customerNo + " is empty");
    facts.customer = std::move(*customer);
    return true;
}

// The term as it stands now; its dates count from the invoice date.
bool settleTerm(GenerationContext& context, const store::TermCopies& copied,
                const db::Date& invoiceDate, InvoiceFacts& facts) {
    facts.term.paymentTerm = copied.paymentTerm;
    if (copied.paymentTerm.empty()) return true;
    const auto term = store::findPaymentTerm(database(context), copied.paymentTerm);
    if (!term) return refuse(context, "payment term is invalid");
    facts.term = {term->termNo, term->duedays, term->earlyDays, term->earlyDiscount};
    if (term->duedays) facts.dates.dueDate = store::addDays(invoiceDate, *term->duedays);
    if (term->earlyDays.value_or(0) > 0)
        facts.dates.discountDate = store::addDays(invoiceDate, *term->earlyDays);
    return true;
}

bool settleRate(GenerationContext& context, const std::string& currency, InvoiceFacts& facts) {
    if (currency == context.journal.baseCurrency) return true;
    const auto rate = store::latestExchangeRate(database(context), currency,
                                                context.journal.clock.today());
    if (!rate) return refuse(context, "No exchange rate for currency " + currency);
    facts.exchangeRate = rate->rate;
    return true;
}

std::optional<InvoiceFacts> settleFacts(GenerationContext& context, const store::RecurHeader& definition,
                                        const db::Date& invoiceDate) {
    InvoiceFacts facts;
    if (!settleCustomer(context, definition.customerNo, facts)) return std::nullopt;
    const auto period = services::FiscalPeriodOfDate(database(context), ui(context), invoiceDate);
    if (!period) return std::nullopt;
    facts.period = *period;
    if (!settleTerm(context, definition.term, invoiceDate, facts)) return std::nullopt;
    if (!settleRate(context, definition.currency, facts)) return std::nullopt;
    return facts;
}

store::ArHeader invoiceHeader(GenerationContext& context, const store::RecurHeader& definition,
                              const db::Date& invoiceDate, const InvoiceFacts& facts,
                              const services::NewDocumentNumbers& numbers) {
    const services::JournalContext& journal = context.journal;
    store::ArHeader h;
    h.doctype = std::string(store::doctype::kSaleInvoice);
    h.fkey = numbers.fkey;
    h.docno = numbers.docno;
    h.customerNo = definition.customerNo;
    h.invoiceDate = invoiceDate;
    h.dueDate = facts.dates.dueDate;
    h.discountDate = facts.dates.discountDate;
    h.term = facts.term;
    h.remark = definition.remark;
    h.currency = definition.currency;
    h.exchangeRate = facts.exchangeRate;
    if (facts.exchangeRate) h.rateDate = journal.clock.today();
    h.billToAddress = facts.customer.address;
    h.shipToAddress = facts.customer.address;
    h.period = facts.period.period;
    h.fyear = facts.period.fyear;
    h.source = kSourceRecurring;
    h.recurNo = definition.recurno;
    h.month = store::monthText(invoiceDate.month);
    h.year = std::to_string(invoiceDate.year);
    h.created = {journal.user, journal.clock.today(), journal.clock.timeOfDay()};
    return h;
}

std::vector<store::ArLine> invoiceLines(GenerationContext& context,
                                        const std::vector<store::RecurLine>& templateLines,
                                        const std::string& receivableAccno) {
    const services::JournalContext& journal = context.journal;
    const store::CreationStamp stamp{journal.user, journal.clock.today(), journal.clock.timeOfDay()};
    const std::string computer = services::ComputerName();
    std::vector<store::ArLine> lines;
    lines.reserve(templateLines.size());
    for (const auto& templateLine : templateLines) {
        store::ArLine line;
        static_cast<store::PayItemLine&>(line) = templateLine;
        line.openAmount = templateLine.grossAmount;
        line.taxes.clear();
        line.arAccno = receivableAccno;
        line.created = stamp;
        line.computerId = computer;
        line.userUpdated.clear();
        line.modified = {};
        line.sourceForm = kRecurringForm;
        lines.push_back(std::move(line));
    }
    return lines;
}

// The sales authorities of a code, read once per run.
const std::vector<store::TaxAuthorityRate>& salesAuthorities(GenerationContext& context,
                                                             const std::string& taxCode) {
    auto found = context.salesAuthorities.find(taxCode);
    if (found == context.salesAuthorities.end())
        found = context.salesAuthorities
                    .emplace(taxCode, store::salesTaxAuthorities(database(context), taxCode))
                    .first;
    return found->second;
}

// Each taxed line's tax per authority, computed again from its taxable amount: no lower or
// upper bound applies, and authorities without a liability account take no share.
std::optional<TaxTable> recomputedTaxes(GenerationContext& context,
                                        const std::vector<store::ArLine>& lines) {
    TaxTable taxes;
    for (const auto& line : lines) {
        if (line.taxAmount == 0) continue;
        std::vector<store::TaxAuthorityRate> unbounded = salesAuthorities(context, line.taxCode);
        if (unbounded.empty()) {
            refuse(context, "Error : No tax code " + line.taxCode);
            return std::nullopt;
        }
        for (auto& authority : unbounded) authority.minCharged = authority.maxCharged = std::nullopt;
        std::erase_if(unbounded, [](const auto& a) { return a.liabilityAccno.empty(); });
        const LineTax tax = computeLineTax(line.payItem, line.taxCode, line.taxableAmount,
                                           TaxEntry::Taxable, unbounded);
        taxes.replaceLine(line.payItem, tax.rows);
    }
    return taxes;
}

std::vector<EntryLine> entryLinesOf(const std::vector<store::ArLine>& lines) {
    std::vector<EntryLine> entries;
    entries.reserve(lines.size());
    for (const auto& line : lines)
        entries.push_back({line.payItem, line.description, line.grossAmount, line.taxableAmount,
                           line.taxAmount, line.taxCode, line.salesAccno});
    return entries;
}

std::optional<std::string> postInvoice(GenerationContext& context, const store::ArHeader& header,
                                       const std::vector<store::ArLine>& lines,
                                       const std::string& receivableAccno) {
    services::JournalContext& journal = context.journal;
    const auto taxes = recomputedTaxes(context, lines);
    if (!taxes) return std::nullopt;
    const PostedDocument document{header.doctype,   header.docno,        header.customerNo,
                                  *header.invoiceDate, *header.period,   header.fyear,
                                  header.currency,  header.exchangeRate, receivableAccno};
    const auto entries = invoiceJournalEntries(database(context), ui(context), journal.baseCurrency,
                                               document, entryLinesOf(lines), *taxes);
    if (!entries) return std::nullopt;
    const services::JournalHeader journalHeader{
        .source = kRecurringJournalSource,
        .sourceForm = kRecurringForm,
        .sourceDocno = header.docno,
        .date = *header.invoiceDate,
        .period = std::to_string(*header.period),
        .fyear = header.fyear,
        .currency = header.currency,
        .exchangeRate = header.exchangeRate,
        .remark = std::string(kindOfDoctype(header.doctype).journalRemark) + header.docno};
    services::JournalOptions options;
    options.rounding = services::RoundingLine{context.rounding.gainAccno,
                                              context.rounding.lossAccno, header.customerNo};
    return services::PostJournal(journal, journalHeader, *entries, options);
}

void addToOwingBalance(GenerationContext& context, const store::Customer& customer,
                       const std::vector<store::ArLine>& lines) {
    double owing = customer.owingBalance.value_or(0);
    for (const auto& line : lines) owing = roundMoney(owing + line.grossAmount);
    store::setOwingBalance(database(context), customer.customerNo, owing);
}

}  // namespace

std::optional<std::string> generateRecurringInvoice(GenerationContext& context,
                                                    const store::RecurringDefinition& definition,
                                                    const db::Date& invoiceDate) {
    const auto facts = settleFacts(context, definition.header, invoiceDate);
    if (!facts) return std::nullopt;
    const auto numbers =
        services::NumberNewDocument(database(context), ui(context), store::kCompany,
                                    store::doctype::kSaleInvoice, facts->period.fyear);
    if (!numbers) return std::nullopt;
    store::ArHeader header = invoiceHeader(context, definition.header, invoiceDate, *facts, *numbers);
    const std::string& receivable = facts->customer.arAccno;
    const auto lines = invoiceLines(context, definition.lines, receivable);
    // Posted first, so that the header is written once, with its journal's key.
    const auto journalKey = postInvoice(context, header, lines, receivable);
    if (!journalKey) return std::nullopt;
    header.glFkey = *journalKey;
    store::queueHeader(database(context), header);
    store::insertLines(database(context), header, lines);
    addToOwingBalance(context, facts->customer, lines);
    return header.fkey;
}

}  // namespace keltro::invoice
