#include "reports/ReportFields.h"

#include "framework/LookupList.h"

namespace keltro::reports {

using framework::Field;
using framework::FieldKind;

std::vector<Field> customerFields() {
    return {{.name = "cmbcustno", .kind = FieldKind::Combo, .caption = "Customer no",
             .columnSpec = framework::lists::kCustomerByNumber},
            {.name = "cmbcustname", .kind = FieldKind::Combo, .caption = "Customer name",
             .columnSpec = framework::lists::kCustomerByName}};
}

std::vector<Field> dateRangeFields(const std::string& name, const std::string& caption) {
    return {{.name = name, .kind = FieldKind::Date, .caption = caption + " from"},
            {.name = name + "_to", .kind = FieldKind::Date, .caption = caption + " to"}};
}

std::vector<Field> optionFields(const std::vector<OptionButton>& buttons,
                                const std::string& chosen) {
    std::vector<Field> fields;
    for (const auto& b : buttons)
        fields.push_back({.name = b.name, .kind = FieldKind::Option, .caption = b.caption,
                          .value = chosen == b.name ? "1" : "0"});
    return fields;
}

}  // namespace keltro::reports
