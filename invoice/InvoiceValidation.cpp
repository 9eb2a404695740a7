#include "invoice/InvoiceValidation.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "services/DateFormat.h"
#include "store/Accounts.h"
#include "store/WorkingPeriod.h"

namespace keltro::invoice {

namespace {

enum class Check {
    Customer,
    Term,
    Currency,
    InvoiceDate,
    Lines,
    Receivable,
    Period,
    FiscalYear,
    WorkingPeriod
};

constexpr Check kInvoiceOrder[] = {Check::Customer,    Check::Term,   Check::Currency,
                                   Check::InvoiceDate, Check::Lines,  Check::Receivable,
                                   Check::Period,      Check::FiscalYear, Check::WorkingPeriod};
constexpr Check kReceivableLastOrder[] = {Check::Customer,   Check::Term,   Check::Currency,
                                          Check::InvoiceDate, Check::Lines, Check::Period,
                                          Check::FiscalYear, Check::WorkingPeriod,
                                          Check::Receivable};

std::optional<int> periodOfText(const std::string& text) {
    const bool digits = std::all_of(text.begin(), text.end(),
                                    [](unsigned char c) { return std::isdigit(c) != 0; });
    if (text.empty() || text.size() > 6 || !digits) return std::nullopt;
    const int period = std::atoi(text.c_str());
    if (period < 1) return std::nullopt;
    return period;
}

class Validation {
public:
    Validation(const ValidationContext& context, const InvoiceKind& kind, SaveKind save,
               const TypedHeader& header, const std::vector<EntryLine>& lines)
        : m_context(context), m_kind(kind), m_save(save), m_header(header), m_lines(lines) {}

    std::optional<ValidatedEntry> run() {
        const bool receivableLast = isNote(m_kind) || m_save == SaveKind::Edit;
        const auto& order = receivableLast ? kReceivableLastOrder : kInvoiceOrder;
        for (Check check : order)
            if (!passes(check)) return std::nullopt;
        return m_entry;
    }

private:
    bool refuse(const std::string& text) {
        m_context.ui.message(text);
        return false;
    }

    bool passes(Check check) {
        switch (check) {
            case Check::Customer: return customer();
            case Check::Term: return term();
            case Check::Currency: return currency();
            case Check::InvoiceDate:
                return m_header.invoiceDate || refuse("please specify invoice date");
            case Check::Lines: return !m_lines.empty() || refuse("No data input");
            case Check::Receivable: return receivable();
            case Check::Period: return period();
            case Check::FiscalYear:
                m_entry.fyear = m_header.fyear;
                return !m_header.fyear.empty() || refuse("please specify fiscal year");
            case Check::WorkingPeriod:
                return store::checkWorkingPeriod(m_context.db, m_context.ui, m_entry.fyear,
                                                 m_entry.period);
        }
        return false;
    }

    bool customer() {
        if (m_header.customerNo.empty()) return refuse("Please specify customer no.");
        auto found = store::lockCustomer(m_context.db, m_header.customerNo);
        if (!found) return refuse("Customer number is invalid");
        m_entry.customer = std::move(*found);
        if (isInvoice(m_kind) && m_save == SaveKind::NewDocument && !m_entry.customer.active)
            return refuse(m_entry.customer.name + " is inactive. Invoice will not be saved.");
        return true;
    }

    bool term() {
        if (m_header.paymentTerm.empty()) return refuse("Please specify Payment term");
        auto found = store::findPaymentTerm(m_context.db, m_header.paymentTerm);
        if (!found) return refuse("payment term is invalid");
        m_entry.term = std::move(*found);
        return true;
    }

    bool currency() {
        if (m_header.currency.empty()) return refuse("Please specify Currency");
        if (m_header.currency == m_context.baseCurrency) return true;
        m_entry.exchangeRate = rateOfText(m_header.exchangeRate);
        return m_entry.exchangeRate.has_value() || refuse("Please specify exchange rate");
    }

    bool receivable() {
        auto account = store::receivableAccount(m_context.ui, m_entry.customer,
                                                m_context.moduleReceivable);
        if (!account) return false;
        m_entry.receivableAccno = *account;
        return true;
    }

    bool period() {
        const auto period = periodOfText(m_header.period);
        if (!period) return refuse("please specify period");
        m_entry.period = *period;
        return true;
    }

    const ValidationContext& m_context;
    const InvoiceKind& m_kind;
    SaveKind m_save;
    const TypedHeader& m_header;
    const std::vector<EntryLine>& m_lines;
    ValidatedEntry m_entry;
};

}  // namespace

std::optional<ValidatedEntry> validateEntry(const ValidationContext& context,
                                            const InvoiceKind& kind, SaveKind save,
                                            const TypedHeader& header,
                                            const std::vector<EntryLine>& lines) {
    return Validation(context, kind, save, header, lines).run();
}

std::optional<double> rateOfText(const std::string& text) {
    if (!isNumericText(text)) return std::nullopt;
    const double rate = services::ParseAmountText(text);
    if (rate <= 0) return std::nullopt;
    return rate;
}

}  // namespace keltro::invoice
