// The G/L journal review the desktop program opens when a screen asks for "G/L Ledger
// Review": the journal whose key is the document's G/L key, its header from
// `GL_header_table` and its lines from `GL_transaction_table` (`fkey` equal to the key),
// amounts shown "#,##0.00" and dates in the user's format. Read-only.
#pragma once

#include <QWidget>
#include <string>

#include "db/Database.h"

class QFormLayout;
class QTableWidget;

namespace keltro::app {

class JournalWindow : public QWidget {
    Q_OBJECT
public:
    JournalWindow(db::Database& db, const std::string& glKey, const std::string& dateFormat,
                  QWidget* parent = nullptr);

private:
    void showHeader(db::Database& db, const std::string& glKey);
    void showLines(db::Database& db, const std::string& glKey);
    std::string dateText(const db::Value& value) const;

    std::string m_dateFormat;
    QFormLayout* m_header;
    QTableWidget* m_lines;
};

}  // namespace keltro::app
