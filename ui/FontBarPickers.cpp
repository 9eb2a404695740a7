#include "ui/FontBarPickers.h"

#include <QFontDatabase>
#include <QPainter>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QTreeView>

#include "framework/ColourPicker.h"
#include "framework/FontPicker.h"
#include "ui/MultiColumnCombo.h"
#include "ui/Theme.h"

namespace keltro::ui {

namespace {

using framework::cFontsCombo;

bool isSymbolFamily(const QString& family) {
    return QFontDatabase::writingSystems(family).contains(QFontDatabase::Symbol);
}

// A family's name, then its sample in its own family (or in "Arial").
class FontSampleDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem plain = option;
        initStyleOption(&plain, index);
        const QString family = plain.text;
        plain.text.clear();
        QStyle* style = plain.widget ? plain.widget->style() : nullptr;
        if (style) style->drawControl(QStyle::CE_ItemViewItem, &plain, painter, plain.widget);
        painter->save();
        const bool selected = option.state & QStyle::State_Selected;
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        QRect rect = option.rect.adjusted(3, 0, -3, 0);
        painter->setFont(option.font);
        painter->drawText(rect, Qt::AlignLeft | Qt::AlignVCenter, family);
        rect.setLeft(rect.left() + option.fontMetrics.horizontalAdvance(family) + 12);
        const framework::FontFamily f{family.toStdString(), isSymbolFamily(family)};
        QFont sample(QString::fromStdString(cFontsCombo::SampleFamily(f)));
        sample.setPointSizeF(option.font.pointSizeF());
        painter->setFont(sample);
        painter->drawText(rect, Qt::AlignLeft | Qt::AlignVCenter, cFontsCombo::kSampleText);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        const QString caption = index.data().toString() + "  " + cFontsCombo::kSampleText;
        size.setWidth(option.fontMetrics.horizontalAdvance(caption) + 24);
        return size;
    }
};

}  // namespace

void InstallFontFamilies() {
    cFontsCombo::SetFamilySource([] {
        std::vector<framework::FontFamily> families;
        for (const QString& family : QFontDatabase::families())
            families.push_back({family.toStdString(), isSymbolFamily(family)});
        // The picker starts on Arial, which the display may know by another name only.
        if (std::none_of(families.begin(), families.end(),
                         [](const auto& f) { return f.name == cFontsCombo::kStartFamily; }))
            families.push_back({cFontsCombo::kStartFamily});
        return families;
    });
}

void DecorateColourPicker(MultiColumnCombo& combo) {
    QStandardItemModel* model = combo.listModel();
    for (int row = 0; row < model->rowCount(); ++row) {
        QStandardItem* item = model->item(row, 0);
        if (!item) continue;
        const long colour = framework::cColorsCombo::HexToColour(item->text().toStdString());
        item->setData(colourOfNumber(colour), Qt::DecorationRole);
    }
}

void DecorateFontPicker(MultiColumnCombo& combo) {
    combo.listView()->setItemDelegateForColumn(0, new FontSampleDelegate(combo.listView()));
    combo.listView()->setMinimumWidth(320);
}

}  // namespace keltro::ui
