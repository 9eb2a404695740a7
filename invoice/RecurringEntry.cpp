#include "invoice/RecurringEntry.h"

#include <cctype>

#include "services/DateFormat.h"
#include "services/FiscalPeriod.h"
#include "services/Numbering.h"
#include "store/PayItemLine.h"

namespace keltro::invoice {

namespace {

constexpr const char* kRecurDateMessage =
    "please specify recurring date 0-31 (31 = end of month, 0 = manual issueing)";

// A whole number as typed ("12", "-1"); nothing for other text.
std::optional<long> wholeNumberOf(const std::string& text) {
    const std::string t = trimmedText(text);
    std::size_t i = (!t.empty() && (t[0] == '-' || t[0] == '+')) ? 1 : 0;
    if (i == t.size() || t.size() > 9) return std::nullopt;
    for (; i < t.size(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(t[i]))) return std::nullopt;
    return std::stol(t);
}

class RecurringChecks {
public:
    RecurringChecks(db::Database& db, services::Ui& ui, const RecurringDraft& draft, SaveKind save)
        : m_db(db), m_ui(ui), m_draft(draft), m_save(save) {}

    std::optional<CheckedRecurring> run() {
        if (!customer() || !name() || !term() || !currency() || !recurDate() || !autoIssue() ||
            !invoiceCount() || !frequency() || !lines())
            return std::nullopt;
        return m_checked;
    }

private:
    bool refuse(const std::string& message) {
        m_ui.message(message);
        return false;
    }

    bool customer() {
        if (m_draft.customerNo.empty()) return refuse("Please specify customer no.");
        const auto found = store::findCustomer(m_db, m_draft.customerNo);
        if (!found) return refuse("Customer number is invalid");
        m_checked.receivableAccno = found->arAccno;
        return true;
    }

    bool name() {
        return !trimmedText(m_draft.recurName).empty() || refuse("Please specify recurring name");
    }

    bool term() {
        if (m_draft.paymentTerm.empty()) return refuse("Please specify Payment term");
        if (m_draft.paymentTerm == store::kCashTerm) return refuse("Payment term cash is invalid.");
        const auto found = store::findPaymentTerm(m_db, m_draft.paymentTerm);
        if (!found) return refuse("payment term is invalid");
        m_checked.term = *found;
        return true;
    }

    bool currency() { return !m_draft.currency.empty() || refuse("Please specify Currency"); }

    bool recurDate() {
        const std::string typed = trimmedText(m_draft.recurDateText);
        if (typed.empty()) return refuse(kRecurDateMessage);
        const auto day = wholeNumberOf(typed);
        if (!day) return refuse("recurring date is not numeric");
        if (*day < 0 || *day > 31) return refuse(kRecurDateMessage);
        m_checked.recurDate = static_cast<int>(*day);
        return true;
    }

    // A definition that issues by itself needs the days it is active.
    bool autoIssue() {
        if (m_checked.recurDate == 0) return true;
        if (!m_draft.effectiveDate) return refuse("please specify effective date");
        if (!m_draft.expirationDate) return refuse("please specify expiration date");
        if (m_save == SaveKind::Edit && m_draft.customerNo.empty())
            return refuse("For automatic recurring invoice please specify customer");
        return true;
    }

    bool invoiceCount() {
        const std::string typed = trimmedText(m_draft.noInvoiceText);
        if (typed.empty()) return true;
        const auto count = wholeNumberOf(typed);
        if (!count) return refuse("Number of invoice is invalid");
        m_checked.noInvoice = static_cast<int>(*count);
        return true;
    }

    bool frequency() {
        return m_draft.frequency == "monthly" || m_draft.frequency == "quarterly" ||
               refuse("recurring frequency is invalid");
    }

    bool lines() { return !m_draft.lines.empty() || refuse("No data input"); }

    db::Database& m_db;
    services::Ui& m_ui;
    const RecurringDraft& m_draft;
    SaveKind m_save;
    CheckedRecurring m_checked;
};

// The header values a new definition and an edit both take from the screen.
void applyDraft(store::RecurHeader& h, const RecurringDraft& draft,
                const CheckedRecurring& checked) {
    const store::PaymentTerm& t = checked.term;
    h.recurName = draft.recurName;
    h.customerNo = draft.customerNo;
    h.currency = draft.currency;
    h.term = {t.termNo, t.duedays, t.earlyDays, t.earlyDiscount};
    h.remark = draft.remark;
    h.recurDate = checked.recurDate;
    h.beginDate = draft.effectiveDate;
    h.endDate = draft.expirationDate;
    h.noInvoice = checked.noInvoice;
    h.frequency = draft.frequency;
}

// The template lines with their tax groups; nothing after a line's message.
std::optional<std::vector<store::RecurLine>> templateLines(RecurringSaveContext& context,
                                                           const RecurringDraft& draft,
                                                           const CheckedRecurring& checked) {
    LineWriting writing;
    writing.receivableAccno = checked.receivableAccno;
    writing.stamp = {context.user, context.clock.today(), context.clock.timeOfDay(),
                     services::ComputerName()};
    const auto lines = storeLines(context.ui, draft.lines, *draft.taxes, writing);
    if (!lines) return std::nullopt;
    return std::vector<store::RecurLine>(lines->begin(), lines->end());
}

}  // namespace

std::optional<CheckedRecurring> checkRecurring(db::Database& db, services::Ui& ui,
                                               const RecurringDraft& draft, SaveKind save) {
    return RecurringChecks(db, ui, draft, save).run();
}

std::optional<std::string> saveNewRecurring(RecurringSaveContext& context,
                                            const RecurringDraft& draft,
                                            const CheckedRecurring& checked) {
    const auto period = services::FiscalPeriodOfDate(context.db, context.ui, context.clock.today());
    if (!period) return std::nullopt;
    const auto numbers = services::NumberNewDocument(context.db, context.ui, store::kCompany,
                                                     store::doctype::kRecurring, period->fyear);
    if (!numbers) return std::nullopt;
    const auto lines = templateLines(context, draft, checked);
    if (!lines) return std::nullopt;
    store::RecurHeader header;
    header.fkey = numbers->fkey;
    header.recurno = numbers->docno;
    applyDraft(header, draft, checked);
    header.created = {context.user, context.clock.today(), context.clock.timeOfDay()};
    store::insertRecurHeader(context.db, header);
    store::insertRecurLines(context.db, header, *lines);
    return header.fkey;
}

bool saveEditedRecurring(RecurringSaveContext& context, const RecurringDraft& draft,
                         const CheckedRecurring& checked) {
    auto header = store::findRecurHeader(context.db, draft.fkey);
    if (!header) return false;
    const auto lines = templateLines(context, draft, checked);
    if (!lines) return false;
    applyDraft(*header, draft, checked);
    header->modified = {context.clock.today(), context.clock.timeOfDay()};
    store::updateRecurHeader(context.db, *header);
    store::replaceRecurLines(context.db, *header, *lines);
    return true;
}

framework::FieldValues recurringFieldValues(const store::RecurHeader& h,
                                            const std::string& customerName,
                                            const std::string& dateFormat) {
    return {{"txtdocno", h.recurno},
            {"txtfkey", h.fkey},
            {"txtglfkey", ""},
            {"cmbcustno", h.customerNo},
            {"cmbcustname", customerName},
            {"cmbterm", h.term.paymentTerm},
            {"cmbcurrency", h.currency},
            {"txtremark", h.remark},
            {"txtrecurname", h.recurName},
            {"txtrecurdate", std::to_string(h.recurDate)},
            {"txteffectdate", framework::dateText(h.beginDate, dateFormat)},
            {"txtexpiredate", framework::dateText(h.endDate, dateFormat)},
            {"txtnoinvoice", h.noInvoice ? std::to_string(*h.noInvoice) : ""},
            {"cmbfreq", h.frequency}};
}

std::vector<store::ArLine> linesForGrid(const std::vector<store::RecurLine>& lines) {
    std::vector<store::ArLine> shown;
    shown.reserve(lines.size());
    for (const auto& line : lines) {
        store::ArLine l;
        static_cast<store::PayItemLine&>(l) = line;
        shown.push_back(std::move(l));
    }
    return shown;
}

}  // namespace keltro::invoice
