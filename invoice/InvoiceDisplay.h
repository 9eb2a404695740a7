// How a document shows on the invoice screen: the text of each header control.
//
// Dates show in the user's format, amounts "#,##0.00", a rate as the shortest text that
// reads back as the same number ("1.1012"), the paid box as 1 (fully paid), 2 (partly
// paid, grey) or 0. A control the document leaves empty shows empty text.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "framework/FieldText.h"
#include "db/Value.h"
#include "invoice/InvoiceTax.h"
#include "store/ArDocument.h"

namespace keltro::invoice {

using framework::FieldValues;

// The header controls of a shown document (the totals are the lines').
FieldValues headerFields(const store::ArHeader& header, const std::string& customerName,
                         const std::string& dateFormat);

// The header controls of a screen that shows no document.
FieldValues emptyHeaderFields();

using framework::dateText;
std::string numberText(double value);
// `chkpaid`: "1" fully paid, "2" partly paid, "0" otherwise.
std::string paidBoxOf(const store::ArHeader& header);

// The rows of the "Tax Details Window" and of the "Tax Summary Window".
std::vector<std::map<std::string, std::string>> taxDetailRows(const TaxTable& taxes);
std::vector<std::map<std::string, std::string>> taxSummaryRows(const TaxTable& taxes);

}  // namespace keltro::invoice
