#include "print/PageComposer.h"

#include <algorithm>

#include "services/DateFormat.h"

namespace keltro::print {

namespace {

// A4 in points, with margins of about 15 mm.
constexpr double kPageWidth = 595.28;
constexpr double kPageHeight = 841.89;
constexpr double kMargin = 42;
constexpr double kContentWidth = kPageWidth - 2 * kMargin;
constexpr double kRight = kPageWidth - kMargin;
constexpr double kBottom = kPageHeight - kMargin;  // where the footer begins
constexpr double kPadding = 4;
constexpr double kBlockGap = 16;

const QColor kAccent(31, 58, 95);
const QColor kRuleColour(205, 210, 218);
const QColor kHeadingFill(232, 237, 243);

}  // namespace

Table::Table(std::vector<TableColumn> columns) : m_columns(std::move(columns)) {
    double fixed = 0;
    for (const auto& column : m_columns) fixed += column.width;
    double x = kMargin;
    for (const auto& column : m_columns) {
        const double width = column.width == 0 ? kContentWidth - fixed : column.width;
        m_lefts.push_back(x);
        m_widths.push_back(width);
        x += width;
    }
}

std::vector<Particular> particularsShown(std::vector<Particular> always, const std::vector<Particular>& optional) {
    for (const Particular& particular : optional)
        if (!particular.second.empty()) always.push_back(particular);
    return always;
}

QString documentName(const PrintoutHeading& heading) {
    return qtText(heading.title + (heading.title.empty() || heading.number.empty() ? "" : " ") + heading.number);
}

PageComposer::PageComposer(const PrintoutHeading& heading)
    : m_company(qtText(heading.companyName)),
      m_title(qtText(heading.title)),
      m_number(qtText(heading.number)),
      m_documentName(documentName(heading)) {
    // Measured at 72 dots per inch, a point is a unit of the layout.
    m_device.setDotsPerMeterX(2835);
    m_device.setDotsPerMeterY(2835);
    m_layout.pageSize = QSizeF(kPageWidth, kPageHeight);
}

double PageComposer::blockWidth() { return (kContentWidth - 2 * kBlockGap) / 3; }

double PageComposer::blockLeft(int block) { return kMargin + block * (blockWidth() + kBlockGap); }

QString PageComposer::amount(double value) {
    return QString::fromStdString(services::FormatAmount(value));
}

const QFontMetricsF& PageComposer::metrics(TextStyle style) {
    auto& slot = m_metrics[static_cast<std::size_t>(style)];
    if (!slot) slot.emplace(printFont(style), &m_device);
    return *slot;
}

// One line of text in its box, shortened with "…" when longer than the box.
void PageComposer::text(const QRectF& box, const QString& value, TextStyle style, Qt::Alignment align) {
    if (value.isEmpty()) return;
    const QString shown = metrics(style).elidedText(value, Qt::ElideRight, box.width());
    m_layout.texts.push_back({m_page, box, shown, style, align});
}

// Lines of text from the top of `box` down; gives the height they took.
double PageComposer::paragraph(double x, double y, double width, const QString& value, TextStyle style,
                               Qt::Alignment align) {
    const auto rows = wrap(value, style, width);
    const double h = step(style);
    for (std::size_t i = 0; i < rows.size(); ++i)
        text(QRectF(x, y + static_cast<double>(i) * h, width, h), rows[i], style, align | Qt::AlignVCenter);
    return static_cast<double>(rows.size()) * h;
}

// The text broken at spaces (and inside words too long for a line) to fit `width`.
std::vector<QString> PageComposer::wrap(const QString& value, TextStyle style, double width) {
    std::vector<QString> rows;
    const QFontMetricsF& fm = metrics(style);
    QString normalised = value;
    normalised.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QChar('\r'), QChar('\n'));
    for (const QString& paragraphText : normalised.split(QChar('\n'))) {
        const QString trimmedText = paragraphText.trimmed();
        if (trimmedText.isEmpty()) continue;
        QString row;
        for (QString word : trimmedText.split(QChar(' '), Qt::SkipEmptyParts)) {
            const QString candidate = row.isEmpty() ? word : row + QChar(' ') + word;
            if (fm.horizontalAdvance(candidate) <= width) {
                row = candidate;
                continue;
            }
            if (!row.isEmpty()) rows.push_back(row);
            row.clear();
            // A word wider than the line goes over several.
            while (fm.horizontalAdvance(word) > width && word.size() > 1) {
                qsizetype fits = word.size() - 1;
                while (fits > 1 && fm.horizontalAdvance(word.left(fits)) > width) --fits;
                rows.push_back(word.left(fits));
                word = word.mid(fits);
            }
            row = word;
        }
        if (!row.isEmpty()) rows.push_back(row);
    }
    return rows;
}

void PageComposer::rule(double y, double from, double to, double width, const QColor& colour) {
    m_layout.rules.push_back({m_page, QLineF(from, y, to, y), width, colour});
}

void PageComposer::rule(double y) { rule(y, kMargin, kRight, 0.5, kRuleColour); }

void PageComposer::firstPageHeading() {
    const double titleWidth = kContentWidth * 0.45;
    const double companyWidth = kContentWidth - titleWidth - 12;
    double y = kMargin;
    const double companyHeight = paragraph(kMargin, y, companyWidth, m_company, TextStyle::Company);
    text(QRectF(kRight - titleWidth, y, titleWidth, step(TextStyle::Title)), m_title, TextStyle::Title,
         Qt::AlignRight | Qt::AlignVCenter);
    double titleHeight = step(TextStyle::Title);
    if (!m_number.isEmpty()) {
        text(QRectF(kRight - titleWidth, y + titleHeight, titleWidth, step(TextStyle::Strong)),
             "No. " + m_number, TextStyle::Strong, Qt::AlignRight | Qt::AlignVCenter);
        titleHeight += step(TextStyle::Strong);
    }
    y += std::max(companyHeight, titleHeight) + 8;
    rule(y, kMargin, kRight, 1.2, kAccent);
    m_y = y + 14;
}

// Later pages: the document's name again, small, above what continues.
void PageComposer::continuationHeading() {
    const double h = step(TextStyle::Strong);
    const double half = (kContentWidth - 12) / 2;
    text(QRectF(kMargin, kMargin, half, h), m_company, TextStyle::Strong);
    text(QRectF(kRight - half, kMargin, half, h), m_documentName + " (continued)", TextStyle::Strong,
         Qt::AlignRight | Qt::AlignVCenter);
    rule(kMargin + h + 4, kMargin, kRight, 1.0, kAccent);
    m_y = kMargin + h + 14;
}

void PageComposer::newPage() {
    ++m_page;
    m_layout.pageCount = m_page + 1;
    continuationHeading();
}

double PageComposer::captionedBlock(double x, const char* caption, const QString& name, const QString& body) {
    const double width = blockWidth();
    double y = m_y;
    text(QRectF(x, y, width, step(TextStyle::Caption)), QString::fromUtf8(caption), TextStyle::Caption);
    y += step(TextStyle::Caption) + 2;
    y += paragraph(x, y, width, name, TextStyle::Strong);
    y += paragraph(x, y, width, body, TextStyle::Body);
    return y;
}

double PageComposer::particulars(double x, const std::vector<Particular>& rows) {
    const double width = blockWidth();
    std::vector<QString> captions;
    double captionWidth = 0;
    for (const auto& row : rows) {
        captions.push_back(QString::fromStdString(row.first).toUpper());
        captionWidth = std::max(captionWidth, metrics(TextStyle::Caption).horizontalAdvance(captions.back()) + 8);
    }
    const double h = step(TextStyle::Body);
    double y = m_y;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        text(QRectF(x, y, captionWidth, h), captions[i], TextStyle::Caption);
        text(QRectF(x + captionWidth, y, width - captionWidth, h), QString::fromStdString(rows[i].second),
             TextStyle::Body, Qt::AlignRight | Qt::AlignVCenter);
        y += h;
    }
    return y;
}

void PageComposer::moveBelow(double bottom, double gap) { m_y = bottom + gap; }

void PageComposer::tableHeadings() {
    const Table& table = *m_table;
    const double h = step(TextStyle::ColumnHead) + 2 * kPadding;
    m_layout.fills.push_back({m_page, QRectF(kMargin, m_y, kContentWidth, h), kHeadingFill});
    for (std::size_t c = 0; c < table.size(); ++c)
        text(QRectF(table.left(c) + kPadding, m_y, table.width(c) - 2 * kPadding, h),
             QString::fromUtf8(table.column(c).heading), TextStyle::ColumnHead,
             (table.column(c).amount ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    m_y += h;
}

void PageComposer::beginTable(Table table) {
    m_table = std::move(table);
    tableHeadings();
}

void PageComposer::tableRow(const std::vector<QString>& cells) {
    const Table& table = *m_table;
    const double h = step(TextStyle::Body);
    std::vector<std::vector<QString>> wrapped(table.size());
    std::size_t rows = 1;
    for (std::size_t c = 0; c < table.size() && c < cells.size(); ++c)
        if (table.wraps(c)) {
            wrapped[c] = wrap(cells[c], TextStyle::Body, table.width(c) - 2 * kPadding);
            rows = std::max(rows, wrapped[c].size());
        }
    const double rowHeight = static_cast<double>(rows) * h + 2 * kPadding;
    if (m_y + rowHeight > kBottom) {
        newPage();
        tableHeadings();
    }
    const double top = m_y + kPadding;
    for (std::size_t c = 0; c < table.size() && c < cells.size(); ++c) {
        const QRectF box(table.left(c) + kPadding, top, table.width(c) - 2 * kPadding, h);
        if (table.wraps(c)) {
            for (std::size_t i = 0; i < wrapped[c].size(); ++i)
                text(box.translated(0, static_cast<double>(i) * h), wrapped[c][i], TextStyle::Body);
        } else {
            text(box, cells[c], TextStyle::Body,
                 (table.column(c).amount ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        }
    }
    m_y += rowHeight;
    rule(m_y);
}

void PageComposer::endTable() { m_y += 12; }

void PageComposer::closing(const Summary& summary) {
    const double h = step(TextStyle::Body);
    const double totalsHeight =
        static_cast<double>(summary.subtotals.size()) * h + 8 + step(TextStyle::Strong);
    const double breakdownHeight =
        summary.breakdown.empty()
            ? 0
            : step(TextStyle::Caption) + 2 + static_cast<double>(summary.breakdown.size()) * h;
    const auto remark = wrap(summary.remark, TextStyle::Body, kContentWidth);
    const double remarkHeight =
        remark.empty() ? 0 : 14 + step(TextStyle::Caption) + static_cast<double>(remark.size()) * h;
    if (m_y + std::max(totalsHeight, breakdownHeight) + remarkHeight > kBottom) newPage();

    const double top = m_y;
    if (!summary.breakdown.empty()) {
        double y = top;
        text(QRectF(kMargin, y, 200, step(TextStyle::Caption)), summary.breakdownCaption, TextStyle::Caption);
        y += step(TextStyle::Caption) + 2;
        for (const SummaryRow& row : summary.breakdown) {
            text(QRectF(kMargin, y, 120, h), row.label, TextStyle::Body);
            text(QRectF(kMargin + 120, y, 80, h), amount(row.amount), TextStyle::Body,
                 Qt::AlignRight | Qt::AlignVCenter);
            y += h;
        }
    }

    // The amounts stand under the table's last column.
    const double lastWidth = m_table ? m_table->width(m_table->size() - 1) : 80;
    const double valueWidth = lastWidth - kPadding;
    const double valueLeft = kRight - kPadding - valueWidth;
    const double labelWidth = 150;
    const double labelLeft = valueLeft - 12 - labelWidth;
    double y = top;
    const auto totalRow = [&](const SummaryRow& row, TextStyle style) {
        const double rowHeight = step(style);
        text(QRectF(labelLeft, y, labelWidth, rowHeight), row.label, style, Qt::AlignRight | Qt::AlignVCenter);
        text(QRectF(valueLeft, y, valueWidth, rowHeight), amount(row.amount), style,
             Qt::AlignRight | Qt::AlignVCenter);
        y += rowHeight;
    };
    for (const SummaryRow& row : summary.subtotals) totalRow(row, TextStyle::Body);
    y += 4;
    rule(y, labelLeft, kRight, 1.0, kAccent);
    y += 4;
    totalRow(summary.total, TextStyle::Strong);
    m_y = std::max(y, top + breakdownHeight);

    if (!remark.empty()) {
        m_y += 14;
        text(QRectF(kMargin, m_y, kContentWidth, step(TextStyle::Caption)), "REMARK", TextStyle::Caption);
        m_y += step(TextStyle::Caption) + 2;
        for (const QString& row : remark) {
            text(QRectF(kMargin, m_y, kContentWidth, h), row, TextStyle::Body);
            m_y += h;
        }
    }
}

PageLayout PageComposer::finish() {
    const double h = step(TextStyle::Footer);
    const int pages = m_layout.pageCount;
    QString left = m_company;
    if (!m_documentName.isEmpty()) left += (left.isEmpty() ? "" : " — ") + m_documentName;
    for (m_page = 0; m_page < pages; ++m_page) {
        const double y = kBottom + 10;
        rule(y - 4);
        text(QRectF(kMargin, y, kContentWidth * 0.75, h), left, TextStyle::Footer);
        text(QRectF(kRight - 100, y, 100, h), QString("Page %1 of %2").arg(m_page + 1).arg(pages),
             TextStyle::Footer, Qt::AlignRight | Qt::AlignVCenter);
    }
    return std::move(m_layout);
}

}  // namespace keltro::print
