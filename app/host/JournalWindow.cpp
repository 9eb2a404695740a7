#include "app/host/JournalWindow.h"

#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "services/DateFormat.h"

namespace keltro::app {

namespace {

struct LineColumn {
    const char* heading;
    const char* column;
    bool amount;
};

constexpr LineColumn kLineColumns[] = {
    {"Line", "lineno", false},         {"Account", "accno", false},
    {"Account name", "accname", false}, {"Amount", "amount", true},
    {"Base amount", "base_amount", true}, {"Currency", "Currency", false},
    {"Ledger", "ledgertype", false},   {"Customer", "customer_no", false},
};

QLabel* valueLabel(const std::string& text) {
    auto* label = new QLabel(QString::fromStdString(text));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

JournalWindow::JournalWindow(db::Database& db, const std::string& glKey, const std::string& dateFormat,
                             QWidget* parent)
    : QWidget(parent), m_dateFormat(dateFormat), m_header(new QFormLayout), m_lines(new QTableWidget(this)) {
    setWindowTitle(QString::fromStdString("G/L Ledger Review — " + glKey));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(m_header);
    layout->addWidget(m_lines, 1);
    m_lines->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lines->verticalHeader()->hide();
    showHeader(db, glKey);
    showLines(db, glKey);
    resize(820, 420);
}

std::string JournalWindow::dateText(const db::Value& value) const {
    const auto date = value.date();
    return date ? services::FormatUserDate(*date, m_dateFormat) : std::string();
}

void JournalWindow::showHeader(db::Database& db, const std::string& glKey) {
    const auto header = db.queryOne("SELECT * FROM [GL_header_table] WHERE [fkey] = ?", {glKey});
    if (!header) {
        m_header->addRow(valueLabel("No journal has the G/L key " + glKey + "."));
        return;
    }
    const auto& h = *header;
    m_header->addRow("Journal no", valueLabel(h["docno"].textOr()));
    m_header->addRow("Date", valueLabel(dateText(h["gldate"])));
    m_header->addRow("Description", valueLabel(h["Description"].textOr()));
    m_header->addRow("Source", valueLabel(h["Source"].textOr() + "  " + h["source_docno"].textOr()));
    m_header->addRow("Currency", valueLabel(h["Currency"].textOr() + "  rate " + h["exchange_rate"].textOr()));
    m_header->addRow("Period", valueLabel(h["period"].textOr() + " / " + h["fyear"].textOr()));
}

void JournalWindow::showLines(db::Database& db, const std::string& glKey) {
    const auto rows = db.query(
        "SELECT t.*, a.accname FROM [GL_transaction_table] t "
        "LEFT JOIN [Account_master_table] a ON a.accno = t.accno "
        "WHERE t.fkey = ? ORDER BY t.lineno",
        {glKey});
    m_lines->setColumnCount(static_cast<int>(std::size(kLineColumns)));
    m_lines->setRowCount(static_cast<int>(rows.size()));
    for (int c = 0; c < m_lines->columnCount(); ++c)
        m_lines->setHorizontalHeaderItem(c, new QTableWidgetItem(kLineColumns[c].heading));
    for (int r = 0; r < m_lines->rowCount(); ++r) {
        const auto& row = rows[static_cast<std::size_t>(r)];
        for (int c = 0; c < m_lines->columnCount(); ++c) {
            const LineColumn& column = kLineColumns[c];
            const db::Value& value = row[column.column];
            auto* cell = new QTableWidgetItem(QString::fromStdString(
                column.amount ? services::FormatAmount(value.numberOr(0)) : value.textOr()));
            if (column.amount) cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_lines->setItem(r, c, cell);
        }
    }
    m_lines->resizeColumnsToContents();
}

}  // namespace keltro::app
