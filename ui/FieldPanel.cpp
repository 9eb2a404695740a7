#include "ui/FieldPanel.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/FieldControl.h"

namespace keltro::ui {

using framework::Command;
using framework::Field;
using framework::FieldKind;

namespace {

constexpr int kFieldPairsPerRow = 3;
constexpr int kGroupsPerRow = 3;

bool isPlaced(const Command& command, const std::string& page) {
    return command.page == page && (!command.page.empty() || !command.group.empty());
}

QString buttonText(const Command& command) {
    return QString::fromStdString(command.buttonText.empty() ? command.caption : command.buttonText);
}

void stretchInputColumns(QGridLayout* grid, int pairs) {
    for (int c = 1; c < pairs * 2; c += 2) grid->setColumnStretch(c, 1);
}

}  // namespace

FieldPanel::FieldPanel(const framework::Screen& screen, const std::string& page, bool footer,
                       const FieldStyle& style, const std::function<bool(const Field&)>& skip, QWidget* parent)
    : QWidget(parent), m_page(page) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    const auto fields = fieldsHere(screen, footer, skip);
    if (footer) {
        layout->addWidget(footerRow(fields, style));
        return;
    }
    std::vector<const Field*> flat;
    std::vector<const Field*> grouped;
    for (const Field* f : fields) (f->group.empty() ? flat : grouped).push_back(f);
    if (!flat.empty()) layout->addWidget(flatFields(flat, style));
    layout->addWidget(groupBoxes(screen, grouped, style));
    layout->addWidget(looseButtons(screen));
}

std::vector<const Field*> FieldPanel::fieldsHere(const framework::Screen& screen, bool footer,
                                                 const std::function<bool(const Field&)>& skip) const {
    std::vector<const Field*> fields;
    for (const auto& f : screen.fields())
        if (f.page == m_page && f.footer == footer && !(skip && skip(f))) fields.push_back(&f);
    return fields;
}

FieldControl* FieldPanel::addControl(const Field& field, const FieldStyle& style, QWidget* parent) {
    auto* control = new FieldControl(field, style, parent);
    m_controls.push_back(control);
    return control;
}

QPushButton* FieldPanel::addButton(const Command& command, QWidget* parent) {
    auto* button = new QPushButton(buttonText(command), parent);
    button->setObjectName(QString::fromStdString(command.caption));
    button->setCheckable(command.checkable);
    button->setAutoDefault(false);
    m_buttons.push_back({command.caption, button});
    return button;
}

QWidget* FieldPanel::flatFields(const std::vector<const Field*>& fields, const FieldStyle& style) {
    auto* panel = new QWidget(this);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(8);
    placePairs(fields, style, grid, 0);
    stretchInputColumns(grid, kFieldPairsPerRow);
    return panel;
}

// Caption–input pairs, three to a row, from `firstColumn` of the grid on.
void FieldPanel::placePairs(const std::vector<const Field*>& fields, const FieldStyle& style, QGridLayout* grid,
                            int firstColumn) {
    int slot = 0;
    for (const Field* field : fields) {
        auto* control = addControl(*field, style, grid->parentWidget());
        const int row = slot / kFieldPairsPerRow;
        const int column = firstColumn + (slot % kFieldPairsPerRow) * 2;
        if (control->captionLabel())
            grid->addWidget(control->captionLabel(), row, column, Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(control->input(), row, column + 1);
        ++slot;
    }
}

// The boxes with their fields: as the screen arranged them, then any other group in the
// order its first field or button is declared.
std::vector<framework::FieldGroup> FieldPanel::boxesOf(const framework::Screen& screen,
                                                       const std::vector<const Field*>& fields) const {
    std::vector<framework::FieldGroup> boxes;
    auto box = [&](const std::string& name) -> framework::FieldGroup& {
        for (auto& b : boxes)
            if (b.name == name) return b;
        return boxes.emplace_back(framework::FieldGroup{name, {}});
    };
    auto isHere = [&](const std::string& name) {
        return std::any_of(fields.begin(), fields.end(), [&](const Field* f) { return f->name == name; });
    };
    for (const auto& arranged : screen.fieldGroups())
        for (const auto& name : arranged.fields)
            if (isHere(name)) box(arranged.name).fields.push_back(name);
    for (const Field* f : fields) {
        auto& b = box(f->group);
        if (std::find(b.fields.begin(), b.fields.end(), f->name) == b.fields.end()) b.fields.push_back(f->name);
    }
    for (const auto& c : screen.commands())
        if (isPlaced(c, m_page) && !c.group.empty()) box(c.group);
    return boxes;
}

QWidget* FieldPanel::groupBoxes(const framework::Screen& screen, const std::vector<const Field*>& fields,
                                const FieldStyle& style) {
    const auto boxes = boxesOf(screen, fields);
    auto* panel = new QWidget(this);
    auto* layout = new QGridLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        auto* box = new QGroupBox(QString::fromStdString(boxes[i].name), panel);
        fillBox(screen, boxes[i], style, box);
        layout->addWidget(box, static_cast<int>(i) / kGroupsPerRow, static_cast<int>(i) % kGroupsPerRow);
    }
    for (int c = 0; c < kGroupsPerRow; ++c) layout->setColumnStretch(c, 1);
    panel->setVisible(!boxes.empty());
    return panel;
}

// One caption–input pair to a row; check boxes side by side; the box's buttons last.
void FieldPanel::fillBox(const framework::Screen& screen, const framework::FieldGroup& group,
                         const FieldStyle& style, QGroupBox* box) {
    auto* grid = new QGridLayout(box);
    int row = 0;
    QHBoxLayout* checks = nullptr;
    for (const auto& name : group.fields) {
        auto* control = addControl(screen.field(name), style, box);
        if (!control->captionLabel()) {
            if (!checks) {
                checks = new QHBoxLayout;
                grid->addLayout(checks, row++, 1);
            }
            checks->addWidget(control->input());
            continue;
        }
        if (checks) checks->addStretch(1);
        checks = nullptr;
        grid->addWidget(control->captionLabel(), row, 0, Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(control->input(), row++, 1);
    }
    if (checks) checks->addStretch(1);
    for (const auto& c : screen.commands())
        if (isPlaced(c, m_page) && c.group == group.name) grid->addWidget(addButton(c, box), row++, 1, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(row, 1);
}

QWidget* FieldPanel::looseButtons(const framework::Screen& screen) {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch(1);
    bool any = false;
    for (const auto& c : screen.commands()) {
        if (!isPlaced(c, m_page) || !c.group.empty()) continue;
        layout->addWidget(addButton(c, row));
        any = true;
    }
    row->setVisible(any);
    return row;
}

QWidget* FieldPanel::footerRow(const std::vector<const Field*>& fields, const FieldStyle& style) {
    auto* row = new QWidget(this);
    auto* grid = new QGridLayout(row);
    grid->setContentsMargins(0, 4, 0, 0);
    grid->setColumnStretch(0, 1);  // the pairs stand at the right
    placePairs(fields, style, grid, 1);
    return row;
}

}  // namespace keltro::ui
