#include "reports/ARreport_recur_inquiry.h"

#include "framework/FieldText.h"
#include "framework/LookupList.h"
#include "invoice/RecurringGeneration.h"
#include "reports/RecurringDue.h"
#include "reports/ReportCommands.h"
#include "reports/ReportFields.h"
#include "services/DateFormat.h"
#include "store/Accounts.h"
#include "store/ReferenceData.h"

namespace keltro::reports {

namespace {

constexpr const char* kGrid = "dbgrid1";
constexpr const char* kAllCustomers = "*";
constexpr const char* kGenerated = "Generate invoices complete";
constexpr const char* kGenerationFailed = "Generate invoice from on due recurring-invoice failed";

namespace column {
constexpr const char* kRecurNo = "recurring no";
constexpr const char* kDueDate = "due date";
constexpr const char* kDue = "due";
}  // namespace column

std::string cell(const framework::GridRow& row, const std::string& caption) {
    const auto found = row.find(caption);
    return found == row.end() ? std::string() : found->second;
}

std::string optionalNumber(const std::optional<int>& number) {
    return number ? std::to_string(*number) : std::string();
}

}  // namespace

ARreport_recur_inquiry::ARreport_recur_inquiry()
    : ReportScreen("ARreport_recur_inquiry", "Recurring Invoice Inquiry",
                   {"RECURRING INVOICES", "recurring_invoice", "Preview Recurring Invoice Inquiry"}) {
    // "*" or nothing: every customer.
    for (auto& f : customerFields()) addField(std::move(f));

    // Not locked as a whole: a person ticks "due" on the rows to generate; the layout locks
    // every other column.
    addGrid({.name = kGrid,
             .declaredCaptions = {"customer no", "customer name", column::kRecurNo,
                                  "recurring name", "recurring date", "begin date",
                                  "expiration date", "no of invoice", "no of issue", "frequency",
                                  column::kDueDate, column::kDue}});
    declareCommands();
}

void ARreport_recur_inquiry::declareCommands() {
    for (auto& c : reportCommands("Preview")) addCommand(std::move(c));
    addExitCommand("&File");
    addCommand(findCommand());
    addCommand({.caption = "Clear", .toolbar = "Clear"});
    addCommand({.menu = "&Command", .caption = "&List Due Recur", .toolbar = "Due"});
    addCommand({.menu = "&Command", .caption = "&Generate Invoice", .toolbar = "Generate"});
    attach("&Find", [this] { find(); });
    attach("Clear", [this] { clear(); });
    attach("&List Due Recur", [this] { listDue(); });
    attach("&Generate Invoice", [this] { generateInvoices(); });
    attachReportActions();
}

void ARreport_recur_inquiry::attach(const std::string& caption, std::function<void()> action) {
    mutableCommand(caption).action = [this, action = std::move(action)] { guarded(action); };
}

void ARreport_recur_inquiry::onReportLoad() {
    guarded([this] {
        mutableField("cmbcustno").items = framework::lists::customersByNumber(database());
        mutableField("cmbcustname").items = framework::lists::customersByName(database());
    });
}

// The number and the name show the same customer; "*" stands for every one.
void ARreport_recur_inquiry::onFieldChanged(const std::string& control) {
    if (control == "cmbcustno") {
        const std::string number = framework::trimmedText(value("cmbcustno"));
        setValue("cmbcustname", number == kAllCustomers ? kAllCustomers : cachedCustomerName(number));
    } else if (control == "cmbcustname") {
        const std::string name = value("cmbcustname");
        const auto number =
            framework::ItemColumnWhere(field("cmbcustname").items, 0, name, 1);
        setValue("cmbcustno", name == kAllCustomers ? kAllCustomers : number.value_or(""));
    }
}

void ARreport_recur_inquiry::onCellDoubleClicked(const std::string& grid, std::size_t row,
                                                 const std::string& /*column*/) {
    if (grid != kGrid) return;
    const std::string recurNo = cell(this->grid(kGrid).rows.at(row), column::kRecurNo);
    if (!recurNo.empty()) raiseNotification("A/R Invoice Recurring", recurNo, "");
}

// --- Listing --------------------------------------------------------------------------------

void ARreport_recur_inquiry::find() {
    std::string customer = framework::trimmedText(value("cmbcustno"));
    if (customer == kAllCustomers) customer.clear();
    const auto headers = findDefinitions(database(), customer);
    auto& rows = mutableGrid(kGrid).rows;
    rows.clear();
    m_customerNames.clear();
    const long total = static_cast<long>(headers.size());
    for (long done = 0; done < total; ++done) {
        rows.push_back(rowOf(headers[static_cast<std::size_t>(done)]));
        ui().progress(done + 1, total);
        ui().pumpEvents();
    }
}

void ARreport_recur_inquiry::clear() {
    setValue("cmbcustno", "");
    setValue("cmbcustname", "");
    mutableGrid(kGrid).rows.clear();
}

void ARreport_recur_inquiry::listDue() {
    const auto due = listDueDefinitions(database(), clock().today(), [this](long done, long total) {
        ui().progress(done, total);
        ui().pumpEvents();
    });
    auto& rows = mutableGrid(kGrid).rows;
    rows.clear();
    m_customerNames.clear();
    for (const auto& definition : due) {
        rows.push_back(rowOf(definition.header));
        rows.back()[column::kDueDate] = shownDate(definition.dueDate);
    }
}

framework::GridRow ARreport_recur_inquiry::rowOf(const store::RecurHeader& header) {
    return {{"customer no", header.customerNo},
            {"customer name", cachedCustomerName(header.customerNo)},
            {column::kRecurNo, header.recurno},
            {"recurring name", header.recurName},
            {"recurring date", std::to_string(header.recurDate)},
            {"begin date", shownDate(header.beginDate)},
            {"expiration date", shownDate(header.endDate)},
            {"no of invoice", optionalNumber(header.noInvoice)},
            {"no of issue", optionalNumber(header.noIssue)},
            {"frequency", header.frequency},
            {column::kDueDate, ""},
            {column::kDue, "0"}};
}

std::string ARreport_recur_inquiry::cachedCustomerName(const std::string& customerNo) {
    auto found = m_customerNames.find(customerNo);
    if (found == m_customerNames.end()) {
        const auto customer = store::findCustomer(database(), customerNo);
        found = m_customerNames.emplace(customerNo, customer ? customer->name : "").first;
    }
    return found->second;
}

// --- Generating ----------------------------------------------------------------------------

void ARreport_recur_inquiry::generateInvoices() {
    bool generated = false;
    try {
        db::Transaction transaction(database());
        // Generated only once committed: a commit that fails undoes the whole run.
        if (generateTickedRows()) {
            transaction.commit();
            generated = true;
        }
    } catch (const std::exception& e) {
        ui().message(e.what());
    }
    if (!generated) return ui().message(kGenerationFailed);
    // What was generated is no longer ticked, so that a second press makes nothing twice.
    const std::string unticked = "0";
    for (auto& row : mutableGrid(kGrid).rows)
        if (cell(row, column::kDue) == "1") row[column::kDue] = unticked;
    ui().message(kGenerated);
}

bool ARreport_recur_inquiry::generateTickedRows() {
    db::Database& db = database();
    if (!m_ledger) m_ledger.emplace(db, ui());
    services::JournalContext journal{*m_ledger, clock(), context().KELTRO_USER,
                                     context().BASE_CURRENCY};
    invoice::GenerationContext generation{
        journal,
        {store::defaultModuleAccount(db, store::parameter::kGl, store::parameter::kRealizedGain),
         store::defaultModuleAccount(db, store::parameter::kGl, store::parameter::kRealizedLoss)},
        {}};
    const auto& rows = grid(kGrid).rows;
    const long total = static_cast<long>(rows.size());
    for (long done = 0; done < total; ++done) {
        const auto& row = rows[static_cast<std::size_t>(done)];
        const std::string recurNo = cell(row, column::kRecurNo);
        if (!recurNo.empty() && cell(row, column::kDue) == "1") {
            const auto definition = store::loadRecurringByNumber(db, recurNo);
            const auto invoiceDate = invoiceDateOf(row);
            if (!definition || !invoiceDate ||
                !invoice::generateRecurringInvoice(generation, *definition, *invoiceDate))
                return false;
        }
        ui().progress(done + 1, total);
        ui().pumpEvents();
    }
    return true;
}

// The row's due date in the user's format, or today when it has none.
std::optional<db::Date> ARreport_recur_inquiry::invoiceDateOf(const framework::GridRow& row) {
    const std::string shown = framework::trimmedText(cell(row, column::kDueDate));
    if (shown.empty()) return clock().today();
    return services::ParseUserDate(ui(), shown, context().KELTRO_DATE_FORMAT);
}

void ARreport_recur_inquiry::guarded(const std::function<void()>& step) {
    try {
        step();
    } catch (const std::exception& e) {
        ui().message(e.what());
    }
}

const services::Clock& ARreport_recur_inquiry::clock() const {
    return context().clock ? *context().clock : m_systemClock;
}

}  // namespace keltro::reports
