// A database that fails on purpose: it forwards everything to a real one and throws on
// the n-th statement that writes or locks, as a full disk or a lost connection would in
// the middle of a save. Tests use it to show that a failed save leaves nothing behind.
// With `failAt` 0 it never fails and only counts, so a test can learn how many writes a
// save makes and then fail each one in turn.
#pragma once

#include <string>

#include "db/Database.h"

namespace keltro::test {

class FailingDatabase final : public db::Database {
public:
    FailingDatabase(db::Database& real, int failAt) : m_real(real), m_failAt(failAt) {}

    db::Engine engine() const override { return m_real.engine(); }
    db::Rows query(std::string_view sql, const db::Params& params) override {
        return m_real.query(sql, params);
    }
    void forEachRow(std::string_view sql, const db::Params& params,
                    const std::function<void(const db::Row&)>& each) override {
        m_real.forEachRow(sql, params, each);
    }
    std::int64_t execute(std::string_view sql, const db::Params& params) override {
        write(sql);
        return m_real.execute(sql, params);
    }
    std::int64_t insert(std::string_view sql, const db::Params& params,
                        std::string_view idColumn) override {
        write(sql);
        return m_real.insert(sql, params, idColumn);
    }
    void executeScript(std::string_view sql) override { m_real.executeScript(sql); }
    bool tableExists(std::string_view table) override { return m_real.tableExists(table); }
    void begin(const db::RetryPolicy& retry) override { m_real.begin(retry); }
    void commit() override { m_real.commit(); }
    void rollback() override { m_real.rollback(); }
    bool inTransaction() const override { return m_real.inTransaction(); }
    db::Rows lockRows(std::string_view selectSql, const db::Params& params,
                      const db::RetryPolicy& retry) override {
        write(selectSql);
        return m_real.lockRows(selectSql, params, retry);
    }

    // The statements that wrote or locked so far.
    int writes() const { return m_writes; }

private:
    void write(std::string_view sql) {
        if (++m_writes == m_failAt)
            throw db::DbError("injected failure", std::string(sql), "disk full", "13");
    }

    db::Database& m_real;
    int m_failAt;
    int m_writes = 0;
};

}  // namespace keltro::test
