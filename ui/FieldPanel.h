// The fields of one part of a screen window, laid out: the header, a tab page, one of the
// screen's own windows (`page`), or the strip of totals below the grid (`footer`).
//
// Fields without a group stand three caption–input pairs to a row, as declared. Fields
// with a group stand in a framed box of that name, one pair to a row (check boxes side by
// side), boxes and fields in the order the screen arranged them, three boxes to a row.
// Commands placed on the part become push buttons: in their group's box, or in a row of
// their own below the fields. The footer's pairs stand three to a row at the right, so
// that totals read as totals.
//
// The panel only builds widgets; the window connects them and keeps them in step with
// the screen.
#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "framework/Screen.h"

class QGridLayout;
class QGroupBox;
class QPushButton;

namespace keltro::ui {

class FieldControl;
struct FieldStyle;

class FieldPanel : public QWidget {
    Q_OBJECT
public:
    struct Button {
        std::string caption;  // the command's, as the screen runs it
        QPushButton* button;
    };

    // `skip` leaves out fields shown elsewhere (the font bar's pickers).
    FieldPanel(const framework::Screen& screen, const std::string& page, bool footer, const FieldStyle& style,
               const std::function<bool(const framework::Field&)>& skip, QWidget* parent);

    const std::vector<FieldControl*>& controls() const { return m_controls; }
    const std::vector<Button>& buttons() const { return m_buttons; }
    bool isEmpty() const { return m_controls.empty() && m_buttons.empty(); }

private:
    std::vector<const framework::Field*> fieldsHere(const framework::Screen& screen, bool footer,
                                                    const std::function<bool(const framework::Field&)>& skip) const;
    FieldControl* addControl(const framework::Field& field, const FieldStyle& style, QWidget* parent);
    QPushButton* addButton(const framework::Command& command, QWidget* parent);
    void placePairs(const std::vector<const framework::Field*>& fields, const FieldStyle& style, QGridLayout* grid,
                    int firstColumn);
    QWidget* flatFields(const std::vector<const framework::Field*>& fields, const FieldStyle& style);
    std::vector<framework::FieldGroup> boxesOf(const framework::Screen& screen,
                                               const std::vector<const framework::Field*>& fields) const;
    void fillBox(const framework::Screen& screen, const framework::FieldGroup& group, const FieldStyle& style,
                 QGroupBox* box);
    QWidget* groupBoxes(const framework::Screen& screen, const std::vector<const framework::Field*>& fields,
                        const FieldStyle& style);
    QWidget* looseButtons(const framework::Screen& screen);
    QWidget* footerRow(const std::vector<const framework::Field*>& fields, const FieldStyle& style);

    std::string m_page;
    std::vector<FieldControl*> m_controls;
    std::vector<Button> m_buttons;
};

}  // namespace keltro::ui
