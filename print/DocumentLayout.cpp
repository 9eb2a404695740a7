#include "print/DocumentLayout.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <array>
#include <optional>

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
constexpr double kLineSpacing = 1.2;

const QColor kInk(25, 28, 33);
const QColor kMuted(88, 96, 110);
const QColor kAccent(31, 58, 95);
const QColor kRuleColour(205, 210, 218);
const QColor kHeadingFill(232, 237, 243);

struct StyleSpec {
    double points;
    bool bold;
};

StyleSpec specOf(TextStyle style) {
    switch (style) {
    case TextStyle::Company: return {16, true};
    case TextStyle::Title: return {18, true};
    case TextStyle::Caption: return {7.5, true};
    case TextStyle::Body: return {9, false};
    case TextStyle::Strong: return {10, true};
    case TextStyle::ColumnHead: return {8, true};
    case TextStyle::Footer: return {7.5, false};
    }
    return {9, false};
}

QColor colourOf(TextStyle style) {
    switch (style) {
    case TextStyle::Title: return kAccent;
    case TextStyle::Caption:
    case TextStyle::Footer: return kMuted;
    default: return kInk;
    }
}

// A sans-serif face that Debian installs with Qt, else the desktop's.
QString printFamily() {
    static const QString family = [] {
        const QStringList families = QFontDatabase::families();
        for (const char* name : {"Liberation Sans", "DejaVu Sans", "Noto Sans", "FreeSans"})
            if (families.contains(QString::fromLatin1(name))) return QString::fromLatin1(name);
        return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    }();
    return family;
}

QString qt(const std::string& text) { return QString::fromStdString(text); }
QString amount(double value) { return qt(services::FormatAmount(value)); }

// The columns of the line table; the description takes the width the others leave.
struct Column {
    const char* heading;
    double width;
    bool amount;
};

constexpr std::array<Column, 6> kColumns{{
    {"Item", 34, false},
    {"Description", 0, false},
    {"Tax code", 50, false},
    {"Taxable amount", 80, true},
    {"Tax amount", 72, true},
    {"Gross amount", 80, true},
}};
constexpr std::size_t kDescriptionColumn = 1;

double columnWidth(std::size_t c) {
    if (c != kDescriptionColumn) return kColumns[c].width;
    double others = 0;
    for (const auto& column : kColumns) others += column.width;
    return kContentWidth - others;
}

double columnLeft(std::size_t c) {
    double x = kMargin;
    for (std::size_t i = 0; i < c; ++i) x += columnWidth(i);
    return x;
}

class Layouter {
public:
    explicit Layouter(const DocumentPrintout& printout) : m_p(printout) {
        // Measured at 72 dots per inch, a point is a unit of the layout.
        m_device.setDotsPerMeterX(2835);
        m_device.setDotsPerMeterY(2835);
        m_layout.pageSize = QSizeF(kPageWidth, kPageHeight);
    }

    PageLayout run() {
        firstPageHeader();
        addressesAndParticulars();
        lines();
        closingBlock();
        footers();
        return std::move(m_layout);
    }

private:
    const QFontMetricsF& metrics(TextStyle style) {
        auto& slot = m_metrics[static_cast<std::size_t>(style)];
        if (!slot) slot.emplace(printFont(style), &m_device);
        return *slot;
    }
    double step(TextStyle style) { return metrics(style).height() * kLineSpacing; }

    // One line of text in its box, shortened with "…" when longer than the box.
    void text(const QRectF& box, const QString& value, TextStyle style,
              Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
        if (value.isEmpty()) return;
        const QString shown = metrics(style).elidedText(value, Qt::ElideRight, box.width());
        m_layout.texts.push_back({m_page, box, shown, style, align});
    }

    // Lines of text from the top of `box` down; gives the height they took.
    double paragraph(double x, double y, double width, const QString& value, TextStyle style,
                     Qt::Alignment align = Qt::AlignLeft) {
        const auto rows = wrap(value, style, width);
        const double h = step(style);
        for (std::size_t i = 0; i < rows.size(); ++i)
            text(QRectF(x, y + static_cast<double>(i) * h, width, h), rows[i], style,
                 align | Qt::AlignVCenter);
        return static_cast<double>(rows.size()) * h;
    }

    // The text broken at spaces (and inside words too long for a line) to fit `width`.
    std::vector<QString> wrap(const QString& value, TextStyle style, double width) {
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

    void rule(double y, double from = kMargin, double to = kRight, double width = 0.5,
              const QColor& colour = kRuleColour) {
        m_layout.rules.push_back({m_page, QLineF(from, y, to, y), width, colour});
    }

    QString documentName() const {
        QString name = qt(m_p.title);
        if (!m_p.number.empty()) name += (name.isEmpty() ? "" : " ") + qt(m_p.number);
        return name;
    }

    void firstPageHeader() {
        const double titleWidth = kContentWidth * 0.45;
        const double companyWidth = kContentWidth - titleWidth - 12;
        double y = kMargin;
        const double companyHeight = paragraph(kMargin, y, companyWidth, qt(m_p.companyName), TextStyle::Company);
        text(QRectF(kRight - titleWidth, y, titleWidth, step(TextStyle::Title)), qt(m_p.title),
             TextStyle::Title, Qt::AlignRight | Qt::AlignVCenter);
        double titleHeight = step(TextStyle::Title);
        if (!m_p.number.empty()) {
            text(QRectF(kRight - titleWidth, y + titleHeight, titleWidth, step(TextStyle::Strong)),
                 "No. " + qt(m_p.number), TextStyle::Strong, Qt::AlignRight | Qt::AlignVCenter);
            titleHeight += step(TextStyle::Strong);
        }
        y += std::max(companyHeight, titleHeight) + 8;
        rule(y, kMargin, kRight, 1.2, kAccent);
        m_y = y + 14;
    }

    // Later pages: the document's name again, small, above the continued lines.
    void continuationHeader() {
        const double h = step(TextStyle::Strong);
        const double half = (kContentWidth - 12) / 2;
        text(QRectF(kMargin, kMargin, half, h), qt(m_p.companyName), TextStyle::Strong);
        text(QRectF(kRight - half, kMargin, half, h), documentName() + " (continued)", TextStyle::Strong,
             Qt::AlignRight | Qt::AlignVCenter);
        rule(kMargin + h + 4, kMargin, kRight, 1.0, kAccent);
        m_y = kMargin + h + 14;
    }

    double addressBlock(double x, double width, const char* caption, const std::string& address) {
        double y = m_y;
        text(QRectF(x, y, width, step(TextStyle::Caption)), caption, TextStyle::Caption);
        y += step(TextStyle::Caption) + 2;
        y += paragraph(x, y, width, qt(m_p.customerName), TextStyle::Strong);
        y += paragraph(x, y, width, qt(address), TextStyle::Body);
        return y;
    }

    void addressesAndParticulars() {
        constexpr double gap = 16;
        const double width = (kContentWidth - 2 * gap) / 3;
        double bottom = addressBlock(kMargin, width, "BILL TO", m_p.billTo);
        // Without an address of its own the document ships to where it bills.
        const std::string& shipTo = m_p.shipTo.empty() ? m_p.billTo : m_p.shipTo;
        bottom = std::max(bottom, addressBlock(kMargin + width + gap, width, "SHIP TO", shipTo));

        // The particulars: always the dates, the customer and the currency; the others
        // when the document has them.
        const std::pair<const char*, std::string> particulars[] = {
            {"Date", m_p.date},           {"Due date", m_p.dueDate},
            {"Customer no", m_p.customerNo}, {"Payment term", m_p.paymentTerm},
            {"Currency", m_p.currency},   {"Customer PO", m_p.customerPo},
            {"Order no", m_p.orderNo},    {"Applies to", m_p.applyTo},
        };
        std::vector<std::pair<QString, QString>> shown;
        for (const auto& [label, value] : particulars) {
            const bool always = std::string_view(label) == "Date" || std::string_view(label) == "Due date";
            if (always || !value.empty()) shown.emplace_back(QString::fromLatin1(label).toUpper(), qt(value));
        }
        double labelWidth = 0;
        for (const auto& row : shown)
            labelWidth = std::max(labelWidth, metrics(TextStyle::Caption).horizontalAdvance(row.first) + 8);
        const double x = kRight - width;
        const double h = step(TextStyle::Body);
        double y = m_y;
        for (const auto& [label, value] : shown) {
            text(QRectF(x, y, labelWidth, h), label, TextStyle::Caption);
            text(QRectF(x + labelWidth, y, width - labelWidth, h), value, TextStyle::Body,
                 Qt::AlignRight | Qt::AlignVCenter);
            y += h;
        }
        m_y = std::max(bottom, y) + 18;
    }

    void columnHeadings() {
        const double h = step(TextStyle::ColumnHead) + 2 * kPadding;
        m_layout.fills.push_back({m_page, QRectF(kMargin, m_y, kContentWidth, h), kHeadingFill});
        for (std::size_t c = 0; c < kColumns.size(); ++c)
            text(QRectF(columnLeft(c) + kPadding, m_y, columnWidth(c) - 2 * kPadding, h),
                 QString::fromLatin1(kColumns[c].heading), TextStyle::ColumnHead,
                 (kColumns[c].amount ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        m_y += h;
    }

    void newPage() {
        ++m_page;
        m_layout.pageCount = m_page + 1;
        continuationHeader();
    }

    void lines() {
        columnHeadings();
        const double h = step(TextStyle::Body);
        for (const PrintedLine& line : m_p.lines) {
            const double descriptionWidth = columnWidth(kDescriptionColumn) - 2 * kPadding;
            auto description = wrap(qt(line.description), TextStyle::Body, descriptionWidth);
            const double rowHeight =
                static_cast<double>(std::max<std::size_t>(1, description.size())) * h + 2 * kPadding;
            if (m_y + rowHeight > kBottom) {
                newPage();
                columnHeadings();
            }
            const QString cells[] = {qt(line.payItem), {}, qt(line.taxCode),
                                     amount(line.taxableAmount), amount(line.taxAmount),
                                     amount(line.grossAmount)};
            const double top = m_y + kPadding;
            for (std::size_t c = 0; c < kColumns.size(); ++c) {
                const QRectF box(columnLeft(c) + kPadding, top, columnWidth(c) - 2 * kPadding, h);
                if (c == kDescriptionColumn) {
                    for (std::size_t i = 0; i < description.size(); ++i)
                        text(box.translated(0, static_cast<double>(i) * h), description[i], TextStyle::Body);
                } else {
                    text(box, cells[c], TextStyle::Body,
                         (kColumns[c].amount ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
                }
            }
            m_y += rowHeight;
            rule(m_y);
        }
        m_y += 12;
    }

    // Tax per authority on the left, the totals on the right, the remark below.
    void closingBlock() {
        const double h = step(TextStyle::Body);
        const double totalsHeight = 2 * h + 8 + step(TextStyle::Strong);
        const double taxesHeight =
            m_p.taxes.empty() ? 0 : step(TextStyle::Caption) + 2 + static_cast<double>(m_p.taxes.size()) * h;
        const auto remark = wrap(qt(m_p.remark), TextStyle::Body, kContentWidth);
        const double remarkHeight =
            remark.empty() ? 0 : 14 + step(TextStyle::Caption) + static_cast<double>(remark.size()) * h;
        if (m_y + std::max(totalsHeight, taxesHeight) + remarkHeight > kBottom) newPage();

        const double top = m_y;
        if (!m_p.taxes.empty()) {
            double y = top;
            text(QRectF(kMargin, y, 200, step(TextStyle::Caption)), "TAX BY AUTHORITY", TextStyle::Caption);
            y += step(TextStyle::Caption) + 2;
            for (const AuthorityTax& tax : m_p.taxes) {
                text(QRectF(kMargin, y, 120, h), qt(tax.authority), TextStyle::Body);
                text(QRectF(kMargin + 120, y, 80, h), amount(tax.amount), TextStyle::Body,
                     Qt::AlignRight | Qt::AlignVCenter);
                y += h;
            }
        }

        const double valueWidth = columnWidth(kColumns.size() - 1) - kPadding;
        const double valueLeft = kRight - kPadding - valueWidth;
        const double labelWidth = 150;
        const double labelLeft = valueLeft - 12 - labelWidth;
        double y = top;
        const auto totalRow = [&](const QString& label, double value, TextStyle style) {
            const double rowHeight = step(style);
            text(QRectF(labelLeft, y, labelWidth, rowHeight), label, style, Qt::AlignRight | Qt::AlignVCenter);
            text(QRectF(valueLeft, y, valueWidth, rowHeight), amount(value), style,
                 Qt::AlignRight | Qt::AlignVCenter);
            y += rowHeight;
        };
        totalRow("Taxable amount", m_p.taxableTotal(), TextStyle::Body);
        totalRow("Tax", m_p.taxTotal(), TextStyle::Body);
        y += 4;
        rule(y, labelLeft, kRight, 1.0, kAccent);
        y += 4;
        const QString totalLabel = m_p.currency.empty() ? QString("Total") : "Total " + qt(m_p.currency);
        totalRow(totalLabel, m_p.total(), TextStyle::Strong);
        m_y = std::max(y, top + taxesHeight);

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

    void footers() {
        const double h = step(TextStyle::Footer);
        const int pages = m_layout.pageCount;
        QString left = qt(m_p.companyName);
        if (!documentName().isEmpty()) left += (left.isEmpty() ? "" : " — ") + documentName();
        for (m_page = 0; m_page < pages; ++m_page) {
            const double y = kBottom + 10;
            rule(y - 4);
            text(QRectF(kMargin, y, kContentWidth * 0.75, h), left, TextStyle::Footer);
            text(QRectF(kRight - 100, y, 100, h), QString("Page %1 of %2").arg(m_page + 1).arg(pages),
                 TextStyle::Footer, Qt::AlignRight | Qt::AlignVCenter);
        }
    }

    const DocumentPrintout& m_p;
    QImage m_device{1, 1, QImage::Format_RGB32};
    std::array<std::optional<QFontMetricsF>, 7> m_metrics;
    PageLayout m_layout;
    int m_page = 0;
    double m_y = 0;
};

}  // namespace

QFont printFont(TextStyle style) {
    const StyleSpec spec = specOf(style);
    QFont font(printFamily());
    font.setPointSizeF(spec.points);
    font.setBold(spec.bold);
    // The same advances on the page as when measured.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

PageLayout layoutDocument(const DocumentPrintout& printout) { return Layouter(printout).run(); }

bool renderDocumentPdf(const DocumentPrintout& printout, const QString& pdfPath) {
    const PageLayout layout = layoutDocument(printout);
    QPdfWriter writer(pdfPath);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    // One device unit to the point, as the layout measures.
    writer.setResolution(72);
    writer.setCreator(QStringLiteral("Keltro A/R"));
    writer.setTitle(QString::fromStdString(printout.title + " " + printout.number).trimmed());
    QPainter painter;
    if (!painter.begin(&writer)) return false;
    painter.setRenderHint(QPainter::Antialiasing);
    for (int page = 0; page < layout.pageCount; ++page) {
        if (page > 0) writer.newPage();
        for (const auto& fill : layout.fills)
            if (fill.page == page) painter.fillRect(fill.box, fill.colour);
        for (const auto& r : layout.rules) {
            if (r.page != page) continue;
            painter.setPen(QPen(r.colour, r.width));
            painter.drawLine(r.line);
        }
        for (const auto& t : layout.texts) {
            if (t.page != page) continue;
            painter.setFont(printFont(t.style));
            painter.setPen(colourOf(t.style));
            painter.drawText(t.box, static_cast<int>(t.align) | Qt::TextSingleLine, t.text);
        }
    }
    return painter.end();
}

}  // namespace keltro::print
