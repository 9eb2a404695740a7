// The page format of one report for one user: print font, size and colour, row height,
// margins, even-row shading, column dividers, page splitting, orientation and paper.
//
// A report screen opens it on its own name ("Page Set&up"); it shows the user's stored
// row, or its initial values when the user has none, and "&Save" stores the row (added
// or replaced). A row height must be greater than the font size:
//
//     "row height must > font size"     nothing is saved
//     "Save format complete"            the row is stored
//
// Choosing a paper of the list puts its width, height and unit into their fields;
// "User defined paper size" leaves them as typed. Colours are picked by their six-digit
// hex value ("f0f0f0") and stored as colour numbers.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/Screen.h"
#include "reports/ReportFormat.h"

namespace keltro::reports {

// The named colours the colour pickers offer, each "hex;name".
const std::vector<std::string>& colourItems();
// Six hex digits (red, green, blue) as a colour number; any other character counts as 0.
long HexToColour(const std::string& hex);
// A colour number as six lower-case hex digits (red, green, blue).
std::string ColourToHex(long colour);

class Form_report_format : public framework::Screen {
public:
    // The format of `reportForm` for the context's user.
    explicit Form_report_format(std::string reportForm);

    const std::string& reportForm() const { return m_reportForm; }

protected:
    void onLoad() override;
    void onFieldChanged(const std::string& control) override;

private:
    void declareFields();
    void showFormat(const ReportFormat& format);
    void paperChosen();
    void save();
    ReportFormat formatOfFields() const;

    std::string m_reportForm;
};

// "Page Set&up" of a report: the format of `reportForm` for the context's user, loaded and
// shown by the host as a screen of its own (HostContext::showScreen).
std::shared_ptr<Form_report_format> OpenPageSetup(const framework::HostContext& context,
                                                  const std::string& reportForm);

}  // namespace keltro::reports
