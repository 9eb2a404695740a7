#include "reports/ReportScreen.h"

#include "framework/FieldText.h"
#include "framework/LookupList.h"
#include "services/DateFormat.h"

namespace keltro::reports {

using framework::trimmedText;

ReportScreen::ReportScreen(std::string className, std::string title, ReportTitles titles)
    : Screen(std::move(className), std::move(title)), m_titles(std::move(titles)) {
    addWindow(kPrintColumnWindow);
    addGrid({.name = kPrintColumnGrid, .declaredCaptions = {"caption", "Print"},
             .page = kPrintColumnWindow});
}

void ReportScreen::attachReportActions() {
    mutableCommand("Page Set&up").action = [this] { openPageSetup(); };
    mutableCommand("Print &Column").action = [this] { openPrintColumns(); };
    mutableCommand("&Preview").action = [this] { preview(); };
}

std::string ReportScreen::layoutForm() const {
    const auto& form = grid(kReportGrid).layoutForm;
    return form.empty() ? className() : form;
}

void ReportScreen::onLoad() {
    // The print-column list has no stored layout of its own.
    auto& list = mutableGrid(kPrintColumnGrid);
    list.columns = {{.caption = "caption", .locked = true, .width = 2400},
                    {.caption = "Print", .checkBox = true, .width = 800, .alignment = 2}};
    onReportLoad();
}

void ReportScreen::fillCustomerLists(bool everyCustomer) {
    db::Database& db = database();
    auto& numbers = mutableField("cmbcustno").items;
    numbers = framework::lists::customersByNumber(db);
    if (everyCustomer) numbers.insert(numbers.begin(), "*;every customer");
    mutableField("cmbcustname").items = framework::lists::customersByName(db);
}

std::string ReportScreen::chosenCustomer() const { return trimmedText(value("cmbcustno")); }

void ReportScreen::rememberCustomer() {
    db::Database& db = database();
    db::Transaction tx(db);
    db.execute("DELETE FROM Recent_value_table WHERE form_name = ? AND control_name = 'customer'",
               {className()});
    db.execute("INSERT INTO Recent_value_table (form_name, control_name, [Value]) VALUES (?, 'customer', ?)",
               {className(), chosenCustomer()});
    tx.commit();
}

void ReportScreen::recallCustomer() {
    const auto row = database().queryOne(
        "SELECT [Value] FROM Recent_value_table WHERE form_name = ? AND control_name = 'customer'",
        {className()});
    if (!row) return;
    setValue("cmbcustno", row->at(0).textOr());
    onFieldChanged("cmbcustno");
}

void ReportScreen::onFieldChanged(const std::string& control) {
    if (control == "cmbcustno") {
        const auto name = framework::ItemColumnWhere(field("cmbcustno").items, 0, chosenCustomer(), 1);
        setValue("cmbcustname", chosenCustomer() == "*" ? "" : name.value_or(""));
    } else if (control == "cmbcustname") {
        const auto number = framework::ItemColumnWhere(field("cmbcustname").items, 0, value(control), 1);
        if (number) setValue("cmbcustno", *number);
    } else if (field(control).kind == framework::FieldKind::Date) {
        setValue(control, framework::retypedDate(ui(), value(control), context().KELTRO_DATE_FORMAT));
    }
}

std::optional<db::Date> ReportScreen::dateField(const std::string& control) const {
    return framework::dateOfText(value(control), context().KELTRO_DATE_FORMAT);
}

std::string ReportScreen::shownDate(const std::optional<db::Date>& date) const {
    return framework::dateText(date, context().KELTRO_DATE_FORMAT);
}

std::string ReportScreen::customerName(const std::string& customerNo) const {
    const auto row = database().queryOne("SELECT customer_name FROM Customer_table WHERE customer_no = ?", {customerNo});
    return row ? row->at(0).textOr() : std::string();
}

framework::GridRow ReportScreen::settledLineCells(const db::Row& line, const char* currencyColumn) const {
    using services::FormatAmount;
    return {{"pay item", line["pay_item"].textOr()},
            {"invoice no", line["invoice_no"].textOr()},
            {"invoice date", shownDate(line["invoice_date"].date())},
            {"gross amount", FormatAmount(line["gross_amount"].numberOr())},
            {"open amount", FormatAmount(line["open_amount"].numberOr())},
            {"applied amount", FormatAmount(line["applied_amount"].numberOr())},
            {"balance", FormatAmount(line["invoice_balance"].numberOr())},
            {"discount available", FormatAmount(line["discount_available"].numberOr())},
            {"write-off", FormatAmount(line["writeoff"].numberOr())},
            {"discount taken", FormatAmount(line["discount_taken"].numberOr())},
            {"currency", line[currencyColumn].textOr()}};
}

void ReportScreen::showRows(std::vector<framework::GridRow> rows) {
    mutableGrid(kReportGrid).rows = std::move(rows);
}

void ReportScreen::reportProgress(long done, long total) {
    ui().progress(done, total);
    ui().pumpEvents();
}

// --- Printing ------------------------------------------------------------------------

void ReportScreen::openPageSetup() {
    m_pageSetup = OpenPageSetup(context(), className());
}

void ReportScreen::openPrintColumns() {
    auto& rows = mutableGrid(kPrintColumnGrid).rows;
    rows.clear();
    for (const auto& column : ReadPrintColumns(database(), layoutForm(), kReportGrid))
        rows.push_back({{"caption", column.caption}, {"Print", column.print ? "1" : "0"}});
    openWindow(kPrintColumnWindow);
}

void ReportScreen::onCellChanged(const std::string& gridName, std::size_t row, const std::string& column) {
    if (gridName != kPrintColumnGrid || column != "Print") return;
    auto& cells = mutableGrid(kPrintColumnGrid).rows[row];
    const bool ticked = cells["Print"] == "1" || cells["Print"] == "TRUE";
    cells["Print"] = std::string(1, ticked ? '1' : '0');
    WritePrintFlag(database(), layoutForm(), kReportGrid, cells["caption"], ticked);
}

std::optional<PrintedFiles> ReportScreen::printReport() {
    return PrintReport(context(), className(), layoutForm(), grid(kReportGrid), m_titles);
}

void ReportScreen::preview() {
    if (const auto files = printReport())
        raiseNotification(files->viewerRequest(), files->pdf, m_titles.previewTitle);
}

}  // namespace keltro::reports
