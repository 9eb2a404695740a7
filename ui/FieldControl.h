// One field of a screen on a window: its caption label and the widget of its kind, kept in
// step with the screen's field, and reporting what the person typed or chose.
//
//     Text       QLineEdit               MultiLine  QPlainTextEdit
//     Date       QLineEdit, typed in the user's date format (shown as its placeholder)
//     Combo      MultiColumnCombo (headings, widths and alignment from the column spec)
//     Check      QCheckBox, tristate when the field is ("0", "1", "2" for grey; a click
//                ticks or clears it, only the screen makes it grey)
//     Option     QRadioButton ("0", "1")
//     Label      QLabel showing the value
//
// Leaving a changed text (Return, Tab, a click elsewhere) emits `entered` with the text;
// ticking a check box or an option emits `entered` at once; choosing a list row emits
// `picked` with its position. What the screen decides comes back through `show`, which
// changes the widgets without emitting anything. A read-only field keeps its text
// readable on the read-only colour but takes no typing.
#pragma once

#include <QFont>
#include <QObject>
#include <QString>
#include <string>
#include <vector>

#include "framework/ScreenParts.h"

class QLabel;
class QWidget;

namespace keltro::ui {

struct FieldStyle {
    QFont font;          // text and list fields
    QString dateFormat;  // "dd/mm/yyyy"
};

class FieldControl : public QObject {
    Q_OBJECT
public:
    FieldControl(const framework::Field& field, const FieldStyle& style, QWidget* parent);

    const std::string& name() const { return m_name; }
    framework::FieldKind kind() const { return m_kind; }
    // Null for check boxes and options, which carry their caption themselves.
    QLabel* captionLabel() const { return m_caption; }
    QWidget* input() const { return m_input; }

    // For a field whose caption stands elsewhere (the font bar's pickers).
    void dropCaption();

    // Shows the field as the screen holds it now.
    void show(const framework::Field& field);

signals:
    void entered(const QString& control, const QString& text);
    void picked(const QString& control, int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* createInput(const framework::Field& field, const FieldStyle& style, QWidget* parent);
    QWidget* createLineEdit(const FieldStyle& style, bool date, QWidget* parent);
    QWidget* createMultiLine(const FieldStyle& style, QWidget* parent);
    QWidget* createCombo(const framework::Field& field, const FieldStyle& style, QWidget* parent);
    QWidget* createCheck(const framework::Field& field, QWidget* parent);
    QWidget* createOption(const framework::Field& field, QWidget* parent);
    QWidget* createLabel(QWidget* parent);
    void showValue(const framework::Field& field);
    void showReadOnly(bool readOnly);
    void showColours(const framework::Field& field);
    void emitEntered(const QString& text) { emit entered(QString::fromStdString(m_name), text); }

    std::string m_name;
    framework::FieldKind m_kind;
    QLabel* m_caption = nullptr;
    QWidget* m_input = nullptr;
    std::string m_value;  // as the screen holds it
    std::vector<std::string> m_items;
    bool m_coloured = false;  // the screen's colours are on the widget
};

}  // namespace keltro::ui
