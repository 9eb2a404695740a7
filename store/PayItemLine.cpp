#include "store/PayItemLine.h"

#include <array>
#include <stdexcept>

namespace keltro::store {

namespace {

// The column of one tax slot: "tax_authority1", "taxable_amount3" …
const std::string& slotColumn(std::string_view prefix, std::size_t slot) {
    struct SlotNames {
        std::string_view prefix;
        std::array<std::string, kTaxSlots> names;
    };
    static const std::array<SlotNames, 5> kNames = [] {
        std::array<SlotNames, 5> all{};
        const std::array<std::string_view, 5> prefixes{"tax_authority", "taxable_amount", "tax_rate",
                                                       "tax_amount", "taxable"};
        for (std::size_t p = 0; p < prefixes.size(); ++p) {
            all[p].prefix = prefixes[p];
            for (std::size_t i = 0; i < kTaxSlots; ++i)
                all[p].names[i] = std::string(prefixes[p]) + std::to_string(i + 1);
        }
        return all;
    }();
    for (const auto& slotNames : kNames)
        if (slotNames.prefix == prefix) return slotNames.names.at(slot);
    throw std::logic_error("No tax slot column " + std::string(prefix));
}

std::vector<TaxShare> readTaxShares(const db::Row& row) {
    std::vector<TaxShare> shares;
    for (std::size_t slot = 0; slot < kTaxSlots; ++slot) {
        std::string authority = row[slotColumn("tax_authority", slot)].textOr();
        if (authority.empty()) continue;
        shares.push_back({std::move(authority),
                          row[slotColumn("taxable_amount", slot)].numberOr(),
                          row[slotColumn("tax_rate", slot)].numberOr(),
                          row[slotColumn("tax_amount", slot)].numberOr(),
                          row[slotColumn("taxable", slot)].booleanOr(false)});
    }
    return shares;
}

// Unused slots stay Null; shares beyond the last slot are not stored.
void addTaxShareColumns(ColumnValues& row, const std::vector<TaxShare>& shares) {
    for (std::size_t slot = 0; slot < kTaxSlots; ++slot) {
        const bool used = slot < shares.size();
        auto value = [&](auto member) {
            return used ? db::Value(shares[slot].*member) : db::Value();
        };
        row.add(slotColumn("tax_authority", slot), value(&TaxShare::authority))
            .add(slotColumn("taxable_amount", slot), value(&TaxShare::taxableAmount))
            .add(slotColumn("tax_rate", slot), value(&TaxShare::rate))
            .add(slotColumn("tax_amount", slot), value(&TaxShare::taxAmount))
            .add(slotColumn("taxable", slot), value(&TaxShare::taxable));
    }
}

HeaderCopies readHeaderCopies(const db::Row& row) {
    HeaderCopies copies;
    copies.fkey = row["fkey"].textOr();
    copies.docno = row["docno"].textOr();
    copies.doctype = row["doctype"].textOr();
    copies.customerNo = row["customer_no"].textOr();
    copies.currency = row["Currency"].textOr();
    copies.exchangeRate = row["exchange_rate"].number();
    copies.invoiceDate = row["invoice_date"].date();
    copies.term = readTermCopies(row);
    copies.dueDate = row["due_date"].date();
    copies.discountDate = row["discount_date"].date();
    copies.period = optionalInt(row["period"]);
    copies.fyear = row["fyear"].textOr();
    return copies;
}

void addHeaderCopyColumns(ColumnValues& row, const HeaderCopies& copies) {
    row.add("company", kCompany)
        .addText("fkey", copies.fkey)
        .addText("docno", copies.docno)
        .addText("doctype", copies.doctype)
        .addText("customer_no", copies.customerNo)
        .addText("Currency", copies.currency)
        .add("exchange_rate", copies.exchangeRate)
        .add("invoice_date", copies.invoiceDate);
    addTermColumns(row, copies.term);
    row.add("due_date", copies.dueDate)
        .add("discount_date", copies.discountDate)
        .add("period", copies.period)
        .addText("fyear", copies.fyear);
}

}  // namespace

bool isCreditNote(std::string_view doctype) { return doctype == doctype::kCreditNote; }

TermCopies readTermCopies(const db::Row& row) {
    return {row["payment_term"].textOr(), optionalInt(row["duedays"]),
            optionalInt(row["early_days"]), row["early_discount"].number()};
}

void addTermColumns(ColumnValues& row, const TermCopies& term) {
    row.addText("payment_term", term.paymentTerm)
        .add("duedays", term.duedays)
        .add("early_days", term.earlyDays)
        .add("early_discount", term.earlyDiscount);
}

CreationStamp readCreationStamp(const db::Row& row) {
    return {row["user_created"].textOr(), row["date_created"].date(),
            row["time_created"].textOr()};
}

void addCreationColumns(ColumnValues& row, const CreationStamp& stamp) {
    row.addText("user_created", stamp.user)
        .add("date_created", stamp.date)
        .addText("time_created", stamp.time);
}

ChangeStamp readChangeStamp(const db::Row& row) {
    return {row["date_lastmodified"].date(), row["time_lastmodified"].textOr()};
}

void addChangeColumns(ColumnValues& row, const ChangeStamp& stamp) {
    row.add("date_lastmodified", stamp.date).addText("time_lastmodified", stamp.time);
}

void readPayItemLine(const db::Row& row, PayItemLine& line) {
    line.payItem = row["pay_item"].textOr();
    line.description = row["Description"].textOr();
    line.grossAmount = row["gross_amount"].numberOr();
    line.openAmount = row["open_amount"].numberOr();
    line.taxableAmount = row["taxable_amount"].numberOr();
    line.taxAmount = row["tax_amount"].numberOr();
    line.taxCode = row["tax_code"].textOr();
    line.taxes = readTaxShares(row);
    line.salesAccno = row["sales_accno"].textOr();
    line.arAccno = row["ar_accno"].textOr();
    line.computerId = row["computer_id"].textOr();
    line.created = readCreationStamp(row);
    line.userUpdated = row["user_updated"].textOr();
    line.modified = readChangeStamp(row);
    line.copies = readHeaderCopies(row);
}

void addPayItemColumns(ColumnValues& row, const HeaderCopies& copies, const PayItemLine& line) {
    addHeaderCopyColumns(row, copies);
    row.addText("pay_item", line.payItem)
        .addText("Description", line.description)
        .add("gross_amount", line.grossAmount)
        .add("open_amount", line.openAmount)
        .add("taxable_amount", line.taxableAmount)
        .add("tax_amount", line.taxAmount)
        .addText("tax_code", line.taxCode);
    addTaxShareColumns(row, line.taxes);
    row.addText("sales_accno", line.salesAccno)
        .addText("ar_accno", line.arAccno)
        .addText("computer_id", line.computerId);
    addCreationColumns(row, line.created);
    row.addText("user_updated", line.userUpdated);
    addChangeColumns(row, line.modified);
}

double negated(double amount) { return amount == 0.0 ? 0.0 : -amount; }

std::optional<double> negated(const std::optional<double>& amount) {
    if (!amount) return std::nullopt;
    return negated(*amount);
}

void negateAmounts(PayItemLine& line) {
    for (double* amount : {&line.grossAmount, &line.openAmount, &line.taxableAmount,
                           &line.taxAmount})
        *amount = negated(*amount);
    for (auto& share : line.taxes) {
        share.taxableAmount = negated(share.taxableAmount);
        share.taxAmount = negated(share.taxAmount);
    }
}

db::Rows queryLines(db::Database& db, std::string_view table, std::string_view fkey) {
    return db.query("SELECT * FROM [" + std::string(table) + "] WHERE fkey = ? ORDER BY [pay_item]",
                    {fkey});
}

void deleteLinesInTransaction(db::Database& db, std::string_view table, std::string_view fkey) {
    if (!db.inTransaction())
        throw std::logic_error("The lines of " + std::string(fkey) +
                               " are replaced only inside the saving transaction");
    db.execute("DELETE FROM [" + std::string(table) + "] WHERE fkey = ?", {fkey});
}

}  // namespace keltro::store
