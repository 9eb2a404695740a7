// The parts the invoice screen is made of, declared once: the header's fields (those of a
// document and those of a recurring definition), the totals below the lines, and the
// grids — the lines, and the tax per authority in two windows of their own.
#pragma once

#include <vector>

#include "framework/ScreenParts.h"

namespace keltro::invoice {

inline constexpr const char* kLineGrid = "dbgrid1";
inline constexpr const char* kTaxDetailGrid = "grid_tax";
inline constexpr const char* kTaxSummaryGrid = "grid_tax_summary";
inline constexpr const char* kTaxDetailsWindow = "Tax Details Window";
inline constexpr const char* kTaxSummaryWindow = "Tax Summary Window";
inline constexpr const char* kAddressWindow = "Address Window";

std::vector<framework::Field> invoiceHeaderFields();
// A definition's own fields; its name takes the place of the invoice date.
std::vector<framework::Field> recurringFields();
std::vector<framework::Field> invoiceTotalFields();
std::vector<framework::Grid> invoiceGrids();

}  // namespace keltro::invoice
