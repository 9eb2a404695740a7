#include "print/PageLayout.h"

#include <QFontDatabase>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace keltro::print {

namespace {

const QColor kInk(25, 28, 33);
const QColor kMuted(88, 96, 110);
const QColor kAccent(31, 58, 95);

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

bool writePdf(const PageLayout& layout, const QString& pdfPath, const QString& title) {
    QPdfWriter writer(pdfPath);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    // One device unit to the point, as the layout measures.
    writer.setResolution(72);
    writer.setCreator(QStringLiteral("Keltro A/R"));
    writer.setTitle(title.trimmed());
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
