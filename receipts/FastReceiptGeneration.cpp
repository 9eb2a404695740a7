#include "receipts/FastReceiptGeneration.h"

#include "matching/PrepaymentSave.h"
#include "receipts/MiscReceiptRecords.h"
#include "receipts/ReceiptRecords.h"
#include "receipts/ReceiptSave.h"
#include "receipts/ReceiptValidation.h"
#include "services/Numbering.h"
#include "store/PayItemLine.h"
#include "store/ReferenceData.h"

namespace keltro::receipts {

namespace {

// The document a line became.
struct Generated {
    std::string docno;
    std::string doctype;
};

class Generator {
public:
    Generator(FastReceiptSaveContext& context, const FastReceiptHeader& batch)
        : m_context(context), m_batch(batch) {
        const auto bank = context.db.queryOne(
            "SELECT account_no FROM Bank_master_table WHERE bank_code = ?", {batch.bankCode});
        m_bankAccno = bank ? (*bank)["account_no"].textOr() : std::string();
    }

    std::optional<Generated> generate(const FastReceiptLine& line) {
        switch (line.type) {
            case FastLineType::Receipt:
            case FastLineType::UnappliedCash: return receipt(line);
            case FastLineType::Prepayment: return prepayment(line);
            case FastLineType::Miscellaneous: return miscellaneous(line);
        }
        return std::nullopt;
    }

private:
    std::optional<services::NewDocumentNumbers> numbers(const char* doctype,
                                                        const FastReceiptLine& line) {
        return services::NumberNewDocument(m_context.db, m_context.ui, store::kCompany, doctype,
                                           line.fyear);
    }

    double baseOf(double amount) const {
        return receiptBaseAmount(amount, m_batch.exchangeRate.value_or(1),
                                 m_batch.exchangeRate.has_value());
    }

    // The receipt header every kind of receipt starts from.
    ReceiptHeader header(const FastReceiptLine& line, const services::NewDocumentNumbers& n,
                         const char* doctype) const {
        ReceiptHeader h;
        h.doctype = doctype;
        h.docno = n.docno;
        h.fkey = n.fkey;
        h.receiptNo = line.receiptNo;
        h.receiptDate = m_batch.receiptDate;
        h.customerNo = line.customerNo;
        h.payer = line.payer;
        h.payby = labelOf(line.by);
        h.bankAccno = m_bankAccno;
        h.bankCode = m_batch.bankCode;
        h.remark = "Fast receipt no. " + m_batch.docno;
        h.receiptAmount = line.amount;
        h.checkNo = line.checkNo;
        h.checkDate = line.checkDate;
        h.currency = m_batch.currency;
        h.exchangeRate = m_batch.exchangeRate;
        h.rateDate = m_batch.rateDate;
        h.receiptBaseAmount = baseOf(line.amount);
        h.fastDocno = m_batch.docno;
        h.glFkey = line.glFkey;
        h.period = line.period;
        h.fyear = line.fyear;
        h.sourceForm = kFastReceiptForm;
        h.created = {m_context.user, m_context.clock.today(), m_context.clock.timeOfDay()};
        return h;
    }

    std::optional<Generated> receipt(const FastReceiptLine& line) {
        const auto n = numbers(kReceiptDoctype, line);
        if (!n) return std::nullopt;
        ReceiptHeader h = header(line, *n, kReceiptDoctype);
        if (line.type == FastLineType::Receipt) {
            h.newFromFast = true;
            h.fastApplyInvoiceNo = line.invoiceNo;
        }
        insertReceiptHeader(m_context.db, h);
        if (line.type == FastLineType::UnappliedCash && !unappliedCash(h)) return std::nullopt;
        return Generated{h.docno, kReceiptDoctype};
    }

    bool unappliedCash(const ReceiptHeader& h) {
        const UnappliedCash cash{h.customerNo, *h.receiptDate, h.currency,  h.exchangeRate,
                                 h.period.value_or(0), h.fyear, h.docno, h.checkNo,
                                 kFastReceiptForm};
        const auto docno = addUnappliedCashDocument(
            {m_context.db, m_context.ui, m_context.clock, m_context.user}, cash, h.receiptAmount);
        if (!docno) return false;
        setUnappliedDocument(m_context.db, h.fkey, *docno, h.receiptAmount);
        return true;
    }

    std::optional<Generated> prepayment(const FastReceiptLine& line) {
        const auto n = numbers(matching::kPrepaymentDoctype, line);
        if (!n) return std::nullopt;
        ReceiptHeader h = header(line, *n, matching::kPrepaymentDoctype);
        h.orderNo = line.orderNo;
        h.customerPo = line.customerPo;
        if (const auto customer = store::findCustomer(m_context.db, line.customerNo))
            h.prepaymentLiabilityAccno = customer->prepaymentAccno;
        insertReceiptHeader(m_context.db, h);
        matching::insertPrepaymentCredit(m_context.db, h, h.checkNo);
        return Generated{h.docno, matching::kPrepaymentDoctype};
    }

    std::optional<Generated> miscellaneous(const FastReceiptLine& line) {
        const auto n = numbers(kMiscReceiptDoctype, line);
        if (!n) return std::nullopt;
        MiscReceiptHeader h;
        h.docno = n->docno;
        h.fkey = n->fkey;
        h.receiptNo = line.receiptNo;
        h.receiptDate = m_batch.receiptDate;
        h.currency = m_batch.currency;
        h.exchangeRate = m_batch.exchangeRate;
        h.rateDate = m_batch.rateDate;
        h.payer = line.payer;
        h.payby = labelOf(line.by);
        h.bankCode = m_batch.bankCode;
        h.bankAccno = m_bankAccno;
        h.checkNo = line.checkNo;
        h.checkDate = line.checkDate;
        h.remark = "Fast receipt no. " + m_batch.docno;
        h.receiptAmount = line.amount;
        h.period = line.period;
        h.fyear = line.fyear;
        h.glFkey = line.glFkey;
        h.fastDocno = m_batch.docno;
        h.userCreated = m_context.user;
        insertMiscReceipt(m_context.db, h);
        insertMiscReceiptLine(m_context.db, h,
                              {1, line.accno, line.amount, line.description, "", line.computerId});
        return Generated{h.docno, kMiscReceiptDoctype};
    }

    FastReceiptSaveContext& m_context;
    const FastReceiptHeader& m_batch;
    std::string m_bankAccno;
};

}  // namespace

bool generateFastReceiptDocuments(FastReceiptSaveContext& context, const FastReceiptHeader& batch) {
    db::Transaction transaction(context.db);
    Generator generator(context, batch);
    const auto lines = fastReceiptLines(context.db, batch.fkey);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto generated = generator.generate(lines[i]);
        if (!generated) return false;
        setFastLineDocument(context.db, batch.fkey, lines[i].lineno, generated->docno,
                            generated->doctype);
        context.ui.progress(static_cast<long>(i + 1), static_cast<long>(lines.size()));
        context.ui.pumpEvents();
    }
    markFastReceiptComplete(context.db, batch.fkey);
    transaction.commit();
    return true;
}

}  // namespace keltro::receipts
