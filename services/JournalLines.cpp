#include "services/JournalLines.h"

namespace keltro::services {

namespace {

constexpr const char* kLineColumns =
    "company, fkey, docno, lineno, accno, acccode, subacc, subacc2, subacc3, subacc4, subacc5, "
    "amount, base_amount, Currency, ledgertype, exchange_rate, gldate, period, fyear, "
    "customer_no, Source, source_form, source_docno, user_created, userid, date_created, "
    "time_created";

const std::string& insertLineSql() {
    static const std::string sql = [] {
        const std::string_view columns = kLineColumns;
        std::string places = "?";
        for (char c : columns)
            if (c == ',') places += ", ?";
        return std::string("INSERT INTO GL_transaction_table (") + kLineColumns + ") VALUES (" +
               places + ")";
    }();
    return sql;
}

void insertLine(db::Database& db, const JournalLine& line) {
    db::Params values;
    values.reserve(32);
    values.insert(values.end(), {kLedgerCompany, line.fkey, line.docno, line.lineno, line.accno});
    values.insert(values.end(), line.segments.begin(), line.segments.end());
    values.insert(
        values.end(),
        {line.amount, line.baseAmount, line.currency, line.ledgertype, line.exchangeRate,
         line.gldate, line.period, line.fyear, line.customerNo, line.source, line.sourceForm,
         line.sourceDocno, line.userCreated, line.userid, line.dateCreated, line.timeCreated});
    db.queue(insertLineSql(), values);
}

JournalLine readLine(const db::Row& row) {
    JournalLine line;
    line.fkey = row["fkey"].textOr();
    line.docno = row["docno"].textOr();
    line.lineno = row["lineno"].integerOr(0);
    line.accno = row["accno"].textOr();
    const char* segments[] = {"acccode", "subacc", "subacc2", "subacc3", "subacc4", "subacc5"};
    for (std::size_t i = 0; i < line.segments.size(); ++i)
        line.segments[i] = row[segments[i]].textOr();
    line.amount = row["amount"].number();
    line.baseAmount = row["base_amount"].number();
    line.currency = row["Currency"].textOr();
    line.ledgertype = row["ledgertype"].textOr();
    line.exchangeRate = row["exchange_rate"].number();
    line.gldate = row["gldate"].date();
    line.period = row["period"].textOr();
    line.fyear = row["fyear"].textOr();
    line.customerNo = row["customer_no"].text();
    line.source = row["Source"].textOr();
    line.sourceForm = row["source_form"].textOr();
    line.sourceDocno = row["source_docno"].textOr();
    line.userCreated = row["user_created"].text();
    line.userid = row["userid"].text();
    line.dateCreated = row["date_created"].date();
    line.timeCreated = row["time_created"].text();
    return line;
}

}  // namespace

LedgerLine JournalLine::ledgerLine() const {
    return {fyear, kLedgerCompany, ledgertype, accno, currency, period, amount, baseAmount};
}

void StampJournalLine(const JournalContext& context, JournalLine& line) {
    line.userCreated = context.user;
    line.userid.reset();
    line.dateCreated = context.clock.today();
    line.timeCreated = context.clock.timeOfDay();
}

bool PostJournalLine(JournalContext& context, const JournalLine& line,
                     const store::Account& account) {
    insertLine(context.db(), line);
    const LedgerLine ledgerLine = line.ledgerLine();
    return UpdateAccountBalance(context.ledger, ledgerLine, account) &&
           UpdatePeriodBalance(context.ledger, ledgerLine, account);
}

std::vector<JournalLine> ReadJournalLines(db::Database& db, std::string_view journalKey) {
    std::vector<JournalLine> lines;
    for (const auto& row : db.query(
             "SELECT * FROM [GL_transaction_table] WHERE fkey = ? ORDER BY lineno", {journalKey}))
        lines.push_back(readLine(row));
    return lines;
}

std::int64_t LastJournalLineNo(db::Database& db, std::string_view journalKey) {
    const auto row = db.queryOne(
        "SELECT MAX(lineno) AS last FROM GL_transaction_table WHERE fkey = ?", {journalKey});
    return row ? (*row)["last"].integerOr(0) : 0;
}

const store::Account* AccountCache::find(const std::string& accno) {
    auto found = m_accounts.find(accno);
    if (found == m_accounts.end())
        found = m_accounts.emplace(accno, store::findAccount(m_db, accno)).first;
    return found->second ? &*found->second : nullptr;
}

std::map<std::string, std::vector<store::AllocationShare>, std::less<>> AccountCache::prefetch(
    const std::vector<std::string>& accnos) {
    auto read = store::findAccountsAndShares(m_db, accnos);
    for (const auto& accno : accnos) {
        auto account = read.accounts.find(accno);
        m_accounts.insert_or_assign(
            accno, account == read.accounts.end() ? std::nullopt : std::optional(std::move(account->second)));
    }
    return std::move(read.shares);
}

}  // namespace keltro::services
