#include "host/ScreenFactory.h"

#include <algorithm>
#include <functional>
#include <map>

#include "invoice/ARform_invoice.h"
#include "matching/ARform_matching.h"
#include "matching/ARform_prepayment.h"
#include "receipts/ARform_fast_receipt.h"
#include "receipts/ARform_misc_receipt.h"
#include "receipts/ARform_receipt.h"
#include "reports/ARreport_aging.h"
#include "reports/ARreport_inquiry.h"
#include "reports/ARreport_invoice_receipt_history.h"
#include "reports/ARreport_receipt_check_history.h"
#include "reports/ARreport_recur_inquiry.h"
#include "revaluation/ARform_revalue.h"

namespace keltro::host {

namespace {

using Maker = std::function<std::shared_ptr<framework::Screen>()>;

template <class T>
Maker maker() {
    return [] { return std::make_shared<T>(); };
}

const std::vector<std::pair<std::string, Maker>>& makers() {
    static const std::vector<std::pair<std::string, Maker>> table = {
        {"ARform_invoice", maker<invoice::ARform_invoice>()},
        {"ARform_receipt", maker<receipts::ARform_receipt>()},
        {"ARform_fast_receipt", maker<receipts::ARform_fast_receipt>()},
        {"ARform_misc_receipt", maker<receipts::ARform_misc_receipt>()},
        {"ARform_prepayment", maker<matching::ARform_prepayment>()},
        {"ARform_matching", maker<matching::ARform_matching>()},
        {"ARreport_recur_inquiry", maker<reports::ARreport_recur_inquiry>()},
        {"ARform_revalue", maker<revaluation::ARform_revalue>()},
        {"ARreport_aging", maker<reports::ARreport_aging>()},
        {"ARreport_inquiry", maker<reports::ARreport_inquiry>()},
        {"ARreport_invoice_receipt_history", maker<reports::ARreport_invoice_receipt_history>()},
        {"ARreport_receipt_check_history", maker<reports::ARreport_receipt_check_history>()},
    };
    return table;
}

}  // namespace

const std::vector<std::string>& screenClassNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> out;
        for (const auto& [name, make] : makers()) out.push_back(name);
        return out;
    }();
    return names;
}

std::shared_ptr<framework::Screen> ScreenFactory::create(const std::string& className) {
    for (const auto& [name, make] : makers())
        if (name == className) return make();
    throw framework::ScreenError("There is no screen \"" + className + "\"");
}

void HeadlessScreenFactory::show(const std::shared_ptr<framework::Screen>& screen) {
    m_screens.push_back(screen);
}

std::vector<std::shared_ptr<framework::Screen>> HeadlessScreenFactory::openScreens() {
    std::erase_if(m_screens, [](const auto& s) { return s->isClosed(); });
    return m_screens;
}

}  // namespace keltro::host
