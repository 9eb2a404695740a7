#include "ui/FieldControl.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

#include "framework/FormSettings.h"
#include "ui/MultiColumnCombo.h"
#include "ui/Theme.h"

namespace keltro::ui {

using framework::FieldKind;

namespace {

constexpr int kTextWidth = 150;
constexpr int kDateWidth = 100;
constexpr int kMultiLineRows = 3;

void paintBase(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, colour);
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
}

// Check boxes and option buttons take the font and text colour their name's kind gives
// (text and list fields take the screens' font already).
void styleByName(QWidget* widget, const std::string& name) {
    const auto style = framework::StyleOfControl(name, "", "");
    if (!style.fontName.empty()) {
        QFont font = widget->font();
        font.setFamily(QString::fromStdString(style.fontName));
        widget->setFont(font);
    }
    if (style.foreColor) {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::WindowText, colourOfNumber(*style.foreColor));
        widget->setPalette(palette);
    }
}

Qt::CheckState checkStateOf(const std::string& value) {
    if (value == "1") return Qt::Checked;
    if (value == "2") return Qt::PartiallyChecked;
    return Qt::Unchecked;
}

// The width of a list field: its first column's, within reason.
int comboWidth(const std::vector<framework::ListColumn>& columns) {
    if (columns.empty()) return kTextWidth;
    return std::clamp(pixelsOfTwips(columns.front().width) + 24, 90, 240);
}

}  // namespace

FieldControl::FieldControl(const framework::Field& field, const FieldStyle& style, QWidget* parent)
    : QObject(parent), m_name(field.name), m_kind(field.kind) {
    if (m_kind != FieldKind::Check && m_kind != FieldKind::Option) {
        m_caption = new QLabel(QString::fromStdString(field.caption), parent);
        m_caption->setObjectName(QString::fromStdString("caption_" + field.name));
    }
    m_input = createInput(field, style, parent);
    m_input->setObjectName(QString::fromStdString(field.name));
    if (m_caption) m_caption->setBuddy(m_input);
    show(field);
}

QWidget* FieldControl::createInput(const framework::Field& field, const FieldStyle& style, QWidget* parent) {
    switch (m_kind) {
    case FieldKind::Text: return createLineEdit(style, false, parent);
    case FieldKind::Date: return createLineEdit(style, true, parent);
    case FieldKind::MultiLine: return createMultiLine(style, parent);
    case FieldKind::Combo: return createCombo(field, style, parent);
    case FieldKind::Check: return createCheck(field, parent);
    case FieldKind::Option: return createOption(field, parent);
    case FieldKind::Label: return createLabel(parent);
    }
    return createLabel(parent);
}

QWidget* FieldControl::createLineEdit(const FieldStyle& style, bool date, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setFont(style.font);
    if (date) {
        edit->setPlaceholderText(style.dateFormat);
        edit->setFixedWidth(kDateWidth);
    } else {
        edit->setMinimumWidth(kTextWidth);
    }
    connect(edit, &QLineEdit::editingFinished, this, [this, edit] {
        if (!edit->isModified()) return;
        edit->setModified(false);
        emitEntered(edit->text());
    });
    return edit;
}

QWidget* FieldControl::createMultiLine(const FieldStyle& style, QWidget* parent) {
    auto* edit = new QPlainTextEdit(parent);
    edit->setFont(style.font);
    edit->setTabChangesFocus(true);
    edit->setMinimumWidth(kTextWidth);
    edit->setFixedHeight(QFontMetrics(style.font).lineSpacing() * kMultiLineRows + 12);
    edit->installEventFilter(this);
    return edit;
}

QWidget* FieldControl::createCombo(const framework::Field& field, const FieldStyle& style, QWidget* parent) {
    auto* combo = new MultiColumnCombo(parent);
    combo->setFont(style.font);
    const auto columns = framework::ParseColumnSpec(field.columnSpec);
    combo->setColumns(columns);
    combo->setMinimumWidth(comboWidth(columns));
    connect(combo, &QComboBox::activated, this,
            [this](int index) { emit picked(QString::fromStdString(m_name), index); });
    QLineEdit* edit = combo->lineEdit();
    connect(edit, &QLineEdit::editingFinished, this, [this, edit] {
        if (!edit->isModified()) return;
        edit->setModified(false);
        emitEntered(edit->text());
    });
    return combo;
}

QWidget* FieldControl::createCheck(const framework::Field& field, QWidget* parent) {
    auto* box = new QCheckBox(QString::fromStdString(field.caption), parent);
    box->setTristate(field.triState);
    styleByName(box, field.name);
    // A click ticks or clears the box; only the screen makes it grey.
    connect(box, &QCheckBox::clicked, this, [this] { emitEntered(m_value == "1" ? "0" : "1"); });
    return box;
}

QWidget* FieldControl::createOption(const framework::Field& field, QWidget* parent) {
    auto* option = new QRadioButton(QString::fromStdString(field.caption), parent);
    // Which option of a group is on is the screen's decision, not the toolkit's.
    option->setAutoExclusive(false);
    styleByName(option, field.name);
    connect(option, &QRadioButton::clicked, this, [this](bool on) { emitEntered(on ? "1" : "0"); });
    return option;
}

QWidget* FieldControl::createLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    label->setAutoFillBackground(true);
    label->setMinimumWidth(kTextWidth);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    paintBase(label, kReadOnlyBackground);
    return label;
}

bool FieldControl::eventFilter(QObject* watched, QEvent* event) {
    auto* edit = qobject_cast<QPlainTextEdit*>(watched);
    if (edit && event->type() == QEvent::FocusOut && edit->document()->isModified()) {
        edit->document()->setModified(false);
        emitEntered(edit->toPlainText());
    }
    return QObject::eventFilter(watched, event);
}

void FieldControl::dropCaption() {
    delete m_caption;
    m_caption = nullptr;
}

void FieldControl::show(const framework::Field& field) {
    const QSignalBlocker block(m_input);
    showValue(field);
    showReadOnly(field.locked || m_kind == FieldKind::Label);
    showColours(field);
    m_input->setVisible(field.visible);
    if (m_caption) m_caption->setVisible(field.visible);
}

void FieldControl::showValue(const framework::Field& field) {
    m_value = field.value;
    const QString value = QString::fromStdString(field.value);
    if (auto* edit = qobject_cast<QLineEdit*>(m_input)) {
        if (edit->text() != value) edit->setText(value);
    } else if (auto* text = qobject_cast<QPlainTextEdit*>(m_input)) {
        if (text->toPlainText() != value) text->setPlainText(value);
    } else if (auto* combo = qobject_cast<MultiColumnCombo*>(m_input)) {
        const QSignalBlocker blockEdit(combo->lineEdit());
        if (field.items != m_items) {
            m_items = field.items;
            combo->setItems(m_items);
        }
        if (combo->currentText() != value) combo->setEditText(value);
    } else if (auto* box = qobject_cast<QCheckBox*>(m_input)) {
        box->setCheckState(checkStateOf(field.value));
    } else if (auto* option = qobject_cast<QRadioButton*>(m_input)) {
        option->setChecked(field.value == "1");
    } else if (auto* label = qobject_cast<QLabel*>(m_input)) {
        label->setText(value);
    }
}

// A screen's own colours ("white on red") over the read-only or editable look.
void FieldControl::showColours(const framework::Field& field) {
    if (!field.foreColor && !field.backColor && !m_coloured) return;
    m_coloured = field.foreColor || field.backColor;
    QPalette palette = m_input->palette();
    if (field.backColor) {
        palette.setColor(QPalette::Base, colourOfNumber(*field.backColor));
        palette.setColor(QPalette::Window, colourOfNumber(*field.backColor));
    }
    const QColor text = field.foreColor ? colourOfNumber(*field.foreColor) : QApplication::palette().color(QPalette::Text);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::WindowText, text);
    m_input->setPalette(palette);
}

void FieldControl::showReadOnly(bool readOnly) {
    const QColor base = readOnly ? readOnlyBackground(m_name) : kEditableBackground;
    if (auto* edit = qobject_cast<QLineEdit*>(m_input)) {
        edit->setReadOnly(readOnly);
        paintBase(edit, base);
    } else if (auto* text = qobject_cast<QPlainTextEdit*>(m_input)) {
        text->setReadOnly(readOnly);
        paintBase(text, base);
    } else if (auto* combo = qobject_cast<MultiColumnCombo*>(m_input)) {
        combo->setReadOnly(readOnly, readOnlyBackground(m_name));
    } else if (m_kind == FieldKind::Check || m_kind == FieldKind::Option) {
        m_input->setEnabled(!readOnly);
    }
}

}  // namespace keltro::ui
