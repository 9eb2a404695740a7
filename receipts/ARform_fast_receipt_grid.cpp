// The fast receipt screen's grid and the commands around a stored batch.
#include "framework/LookupList.h"
#include "matching/PrepaymentSave.h"
#include "receipts/ARform_fast_receipt.h"
#include "receipts/FastReceiptGeneration.h"
#include "receipts/MiscReceiptRecords.h"
#include "receipts/ReceiptApplication.h"
#include "receipts/ReceiptPrint.h"
#include "receipts/ReceiptRecords.h"
#include "services/DateFormat.h"
#include "services/Money.h"
#include "store/Accounts.h"
#include "store/ReferenceData.h"

namespace keltro::receipts {

using framework::Mode;
using framework::trimmedText;

namespace {

constexpr const char* kGrid = "dbgrid1";

}  // namespace

// --- Typing into the grid -----------------------------------------------------------------

bool ARform_fast_receipt::acceptCell(const std::string& /*grid*/, std::size_t /*row*/,
                                     const std::string& column, const std::string& text) {
    const std::string typed = trimmedText(text);
    if (typed.empty()) return true;
    const auto refuse = [&](const char* message) {
        ui().message(message);
        return false;
    };
    if (column == "account no" && !store::findAccount(database(), framework::ItemValue(typed)))
        return refuse("Invalid account no");
    if (column != "amount") return true;
    const auto amount = numberOf(typed);
    if (!amount) return refuse("please input numeric data");
    return *amount >= 0 || refuse("input must be positive");
}

void ARform_fast_receipt::onCellChanged(const std::string& gridName, std::size_t row,
                                        const std::string& column) {
    m_currentRow = row;
    auto& cells = mutableGrid(gridName).rows[row];
    if (column == "customer no") customerNoTyped(cells);
    if (column == "customer name") customerNameTyped(cells);
    if (column == "account no") accountTyped(cells);
    if (column == "check date") checkDateTyped(cells);
    if (column == "amount")
        if (const auto amount = numberOf(cells["amount"]))
            cells["amount"] = services::FormatAmount(services::roundMoney(*amount));
    if (cellOf(cells, "line no").empty()) cells["line no"] = nextLineno();
    if (cellOf(cells, "computer id").empty()) cells["computer id"] = services::ComputerName();
}

void ARform_fast_receipt::onCellClicked(const std::string& /*grid*/, std::size_t row,
                                        const std::string& /*column*/) {
    m_currentRow = row;
}

void ARform_fast_receipt::customerNoTyped(framework::GridRow& cells) {
    const std::string customerNo = framework::ItemValue(trimmedText(cells["customer no"]));
    const auto customer = store::findCustomer(database(), customerNo);
    cells["customer no"] = customerNo;
    cells["customer name"] = customer ? customer->name : "";
}

void ARform_fast_receipt::customerNameTyped(framework::GridRow& cells) {
    const std::string typed = trimmedText(cells["customer name"]);
    const auto& names = grid(kGrid).lookupItems.at("customer name");
    const auto number = framework::ItemColumnWhere(names, 0, framework::ItemValue(typed), 1);
    if (!number) return;
    cells["customer no"] = *number;
    customerNoTyped(cells);
}

void ARform_fast_receipt::accountTyped(framework::GridRow& cells) {
    const std::string accno = framework::ItemValue(trimmedText(cells["account no"]));
    const auto account = accno.empty() ? std::nullopt : store::findAccount(database(), accno);
    cells["account no"] = accno;
    cells["account name"] = account ? account->accname : "";
}

// A readable cheque date shows in the user's format; anything else stays as typed, and
// saving says what is wrong with it.
void ARform_fast_receipt::checkDateTyped(framework::GridRow& cells) {
    const auto date =
        framework::dateOfText(trimmedText(cells["check date"]), context().KELTRO_DATE_FORMAT);
    if (date) cells["check date"] = shownDateText(date);
}

std::string ARform_fast_receipt::nextLineno() const {
    int highest = 0;
    for (const auto& cells : grid(kGrid).rows)
        if (const auto lineno = numberOf(cellOf(cells, "line no")))
            highest = std::max(highest, static_cast<int>(*lineno));
    return std::to_string(highest + 1);
}

void ARform_fast_receipt::insertLine() {
    if (mode() == Mode::Browse) return;
    const std::string lineno = nextLineno();
    auto& rows = mutableGrid(kGrid).rows;
    rows.push_back({{"line no", lineno},
                    {"transaction type", labelOf(FastLineType::Receipt)},
                    {"receipt by", labelOf(ReceivedBy::Cash)}});
    m_currentRow = rows.size() - 1;
}

// Marks the selected row deleted, or takes the mark back from a row that has it.
void ARform_fast_receipt::deleteLine() {
    auto& rows = mutableGrid(kGrid).rows;
    if (mode() == Mode::Browse || m_currentRow >= rows.size()) return;
    auto& mark = rows[m_currentRow]["deleted"];
    mark = mark == "TRUE" ? "" : "TRUE";
}

// --- Commands around a stored batch ---------------------------------------------------------

void ARform_fast_receipt::voidCommand() {
    if (mode() != Mode::Browse || !m_shown) return;
    const auto stored = findFastReceipt(database(), m_shown->fkey);
    if (!stored) return;
    if (const std::string refusal = fastReceiptRefusal(*stored); !refusal.empty())
        return ui().message(refusal);
    if (!ui().ask("Are you sure to void this receipt?")) return;
    changeStored(
        [&] {
            auto where = saveContext();
            return voidFastReceipt(where, *stored);
        },
        stored->fkey, "Fast receipt " + stored->docno + " is void.", "Void Fast receipt failed");
}

void ARform_fast_receipt::generate() {
    if (mode() != Mode::Browse || !m_shown) return;
    const auto stored = findFastReceipt(database(), m_shown->fkey);
    if (!stored) return;
    if (const std::string refusal = fastReceiptRefusal(*stored); !refusal.empty())
        return ui().message(refusal);
    changeStored(
        [&] {
            auto where = saveContext();
            return generateFastReceiptDocuments(where, *stored);
        },
        stored->fkey, "Generate Receipts complete", "Generate receipt failed");
}

// The document made from the selected line, on its own screen.
void ARform_fast_receipt::actualReceipt() {
    const auto& rows = grid(kGrid).rows;
    if (mode() != Mode::Browse || m_currentRow >= rows.size()) return;
    const std::string docno = cellOf(rows[m_currentRow], "receipt document no");
    const std::string doctype = cellOf(rows[m_currentRow], "receipt document type");
    if (docno.empty()) return;
    if (doctype == kReceiptDoctype) return raiseNotification(kReceiptForm, docno, "");
    if (doctype == matching::kPrepaymentDoctype)
        return raiseNotification(matching::kPrepaymentForm, docno, "");
    if (doctype == kMiscReceiptDoctype) raiseNotification("Miscellaneous Receipt", docno, "");
}

void ARform_fast_receipt::preview() {
    if (!m_shown || mode() != Mode::Browse) return;
    raiseNotification("ActiveReport", "A/R Fast Receipt," + m_shown->docno + ",0",
                      fastReceiptPreviewQuery(m_shown->fkey));
}

}  // namespace keltro::receipts
