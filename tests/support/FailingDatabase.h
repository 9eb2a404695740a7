// A database that fails on purpose: it forwards everything to a real one and throws on
// the n-th statement, as a full disk or a lost connection would in the middle of a save.
// Tests use it to show that a failed save leaves nothing behind.
//
// What counts as a statement is the scope: `Writes` counts the statements that write or
// lock, wherever they run; `Transaction` counts every statement run inside a
// transaction (reads too) and the commit itself, so that a save can be failed at each
// thing it asks of the database between its begin and its commit. With `failAt` 0 it
// never fails and only counts, so a test can learn how many statements a save makes and
// then fail each one in turn; `kFailAtCommit` lets everything through up to the commit
// and fails that. One object can be armed again for the next attempt (`arm`), so a screen
// opened over it keeps its connection while the failure moves. A queued write that is to
// fail fails where PostgreSQL reports a queued write's failure: at the next statement
// that waits for its answer, or at the commit.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "db/Database.h"

namespace keltro::test {

class FailingDatabase final : public db::Database {
public:
    enum class Scope { Writes, Transaction };
    static constexpr int kFailAtCommit = -1;

    FailingDatabase(db::Database& real, int failAt, Scope scope = Scope::Writes)
        : m_real(real), m_failAt(failAt), m_scope(scope) {}

    // Starts counting again and fails at statement `failAt` (0: never).
    void arm(int failAt) {
        m_failAt = failAt;
        m_statements = 0;
        m_writes.clear();
    }

    db::Engine engine() const override { return m_real.engine(); }
    db::Rows query(std::string_view sql, const db::Params& params) override {
        raiseQueuedFailure();
        if (m_scope == Scope::Transaction && m_real.inTransaction()) statement(sql);
        return m_real.query(sql, params);
    }
    void forEachRow(std::string_view sql, const db::Params& params,
                    const std::function<void(const db::Row&)>& each) override {
        m_real.forEachRow(sql, params, each);
    }
    std::int64_t execute(std::string_view sql, const db::Params& params) override {
        raiseQueuedFailure();
        write(sql, params);
        return m_real.execute(sql, params);
    }
    void queue(std::string_view sql, const db::Params& params) override {
        raiseQueuedFailure();
        try {
            write(sql, params);
        } catch (const db::DbError& failure) {
            m_queuedFailure = failure;
            return;
        }
        m_real.queue(sql, params);
    }
    std::int64_t insert(std::string_view sql, const db::Params& params,
                        std::string_view idColumn) override {
        raiseQueuedFailure();
        write(sql, params);
        return m_real.insert(sql, params, idColumn);
    }
    void executeScript(std::string_view sql) override { m_real.executeScript(sql); }
    bool tableExists(std::string_view table) override { return m_real.tableExists(table); }
    void begin(const db::RetryPolicy& retry) override {
        m_queuedFailure.reset();
        m_real.begin(retry);
    }
    void commit() override {
        raiseQueuedFailure();
        if (m_scope == Scope::Transaction) {
            if (m_failAt == kFailAtCommit) fail("COMMIT");
            statement("COMMIT");
        }
        m_real.commit();
    }
    void rollback() override {
        m_queuedFailure.reset();
        m_real.rollback();
    }
    bool inTransaction() const override { return m_real.inTransaction(); }
    db::Rows lockRows(std::string_view selectSql, const db::Params& params,
                      const db::RetryPolicy& retry) override {
        raiseQueuedFailure();
        write(selectSql, params);
        return m_real.lockRows(selectSql, params, retry);
    }

    std::vector<db::Rows> lockRowsOfEach(std::string_view selectSql, const std::vector<db::Params>& each,
                                         const db::RetryPolicy& retry) override {
        raiseQueuedFailure();
        for (const auto& params : each) write(selectSql, params);
        return m_real.lockRowsOfEach(selectSql, each, retry);
    }

    // The statements counted so far (the failing one included).
    int statements() const { return m_statements; }
    int writes() const { return m_statements; }
    // Each write or lock that went through, as "sql|value|value…", in order.
    const std::vector<std::string>& writeLog() const { return m_writes; }

private:
    void write(std::string_view sql, const db::Params& params) {
        if (m_scope == Scope::Writes || m_real.inTransaction()) statement(sql);
        std::string logged(sql);
        for (const auto& value : params) logged += "|" + value.textOr("null");
        m_writes.push_back(std::move(logged));
    }
    void statement(std::string_view sql) {
        if (++m_statements == m_failAt) fail(sql);
    }
    void raiseQueuedFailure() {
        if (!m_queuedFailure) return;
        const db::DbError failure = *m_queuedFailure;
        m_queuedFailure.reset();
        throw failure;
    }
    [[noreturn]] static void fail(std::string_view sql) {
        throw db::DbError("injected failure", std::string(sql), "disk full", "13");
    }

    db::Database& m_real;
    int m_failAt;
    Scope m_scope;
    int m_statements = 0;
    std::vector<std::string> m_writes;
    std::optional<db::DbError> m_queuedFailure;
};

}  // namespace keltro::test
