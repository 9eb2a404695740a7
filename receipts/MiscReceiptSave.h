// Saving a miscellaneous receipt: the checks, then the receipt, its lines and its journal
// in one transaction, or nothing.
//
// The checks, in order, each stopping the save with its message:
//
//     the lines must add up to the receipt amount     "Transaction is unbalance"
//     the amount                                      "please specify receipt amount" …
//     the receipt date                                "please specify receipt date"
//     pay by and the account it debits                (receipts/PayByAccount.h; a card's
//                                                      payable account takes card money)
//     the currency and its rate                       "please specify currency" …
//     period, fiscal year and the working period      "please specify period" …
//
// Lines over the receipt amount are refused as lines under it are, so that no receipt is
// saved that does not balance.
//
// The journal ("AR-MISC", "Miscellaneous Receipt", remark "receipt no. " + docno) debits
// the account the money went into with the receipt amount and credits each line's account
// with the line amount, per account and currency; base amounts at the receipt's rate, each
// line in its own currency at the rate its amounts imply, and a rounding line when a
// foreign receipt's base amounts miss by a cent. A credit on an income or liability
// account is a positive amount; a credit on an asset or expense account (an asset sold, an
// expense refunded) reduces it, so the journal always balances.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "db/Database.h"
#include "receipts/MiscReceiptRecords.h"
#include "services/Balances.h"
#include "services/Clock.h"
#include "services/JournalWriter.h"
#include "services/Ui.h"

namespace keltro::receipts {

inline constexpr const char* kMiscReceiptForm = "Miscellaneous Receipt";
inline constexpr const char* kMiscReceiptSource = "AR-MISC";

// The receipt as the screen holds it, texts as typed; the lines are those with an account.
struct MiscReceiptDraft {
    std::string amountText;
    std::optional<db::Date> receiptDate;
    std::string receiptNo;
    std::string payer;
    std::string payby;
    std::string cashAccno;
    std::string bankCode;
    std::string checkNo;
    std::optional<db::Date> checkDate;
    std::string remark;
    std::string currency;
    std::string rateText;
    std::optional<db::Date> rateDate;
    std::string periodText;
    std::string fyear;
    std::vector<MiscReceiptLine> lines;
};

// What the checks found out.
struct CheckedMiscReceipt {
    double amount = 0;
    std::optional<double> rate;  // foreign currency only
    db::Date receiptDate;
    std::string debitAccno;
    std::string cashAccno;
    std::string bankCode;
    int period = 0;
    std::string fyear;
};

// The receipt amount less the lines' total; nothing typed counts as 0.
double miscUnbalance(const std::string& amountText, const std::vector<MiscReceiptLine>& lines);

std::optional<CheckedMiscReceipt> checkNewMiscReceipt(db::Database& db, services::Ui& ui,
                                                      const std::string& baseCurrency,
                                                      const MiscReceiptDraft& draft);

// The realized gain and loss accounts of the rounding line.
struct MiscReceiptAccounts {
    std::string realizedGain;
    std::string realizedLoss;
};

struct MiscReceiptSaveContext {
    db::Database& db;
    services::Ui& ui;
    const services::Clock& clock;
    services::LedgerContext& ledger;
    std::string user;
    std::string baseCurrency;
    MiscReceiptAccounts accounts;

    services::JournalContext journal() const { return {ledger, clock, user, baseCurrency}; }
};

// The receipt to write: number, key, amounts and lines filled in.
struct MiscReceiptRecord {
    MiscReceiptHeader header;
    std::vector<MiscReceiptLine> lines;
};

// Writes the receipt, its lines and its journal inside the caller's transaction and puts
// the journal's key on the header; nothing after a message. The receipt's number and key
// come from the caller (`header.docno`, `header.fkey`).
std::optional<std::string> writeMiscReceipt(MiscReceiptSaveContext& context,
                                            MiscReceiptRecord& record,
                                            const std::string& debitAccno);

// A new receipt from the screen, numbered and written in its own transaction; its key.
std::optional<std::string> saveNewMiscReceipt(MiscReceiptSaveContext& context,
                                              const MiscReceiptDraft& draft,
                                              const CheckedMiscReceipt& checked);

}  // namespace keltro::receipts
