// What the desktop program does when an A/R screen asks it for work through ARclass's
// `NotifyClients` event (formx, docnox, arg2):
//
//     "G/L Ledger Review"                     the journal with G/L key docnox
//     "pdf viewer", "pdf viewer landscape"    the file docnox in the desktop's viewer
//     "A/R Invoice Entry"                     the invoice screen on document docnox
//     "A/R Receipt Entry"                     the receipt screen on docnox
//     "A/R Prepayment"                        the prepayment screen on docnox
//     "Miscellaneous Receipt"                 the miscellaneous receipt screen on docnox
//     "A/R Invoice Recurring"                 the invoice screen on recurring number docnox
//     "Receipt This Invoice"                  a receipt of invoice docnox for customer arg2
//     "Invoice Receipt History"               the invoice/receipt history of docnox
//
// Anything else ("Next App", the sales screens, printed documents) is told in the status
// bar. The A/R requests are answered with ARclass's own show and go-to methods; the
// others through what the desktop offers.
#pragma once

#include <functional>
#include <map>
#include <string>

#include "host/ARclass.h"

namespace keltro::app {

class HostRequests {
public:
    struct Desktop {
        std::function<void(const std::string& glKey)> openJournal;
        std::function<void(const std::string& file, const std::string& title)> openFile;
        std::function<void(const std::string& text)> showStatus;
    };

    HostRequests(host::ARclass& arclass, Desktop desktop);

    void answer(const std::string& formx, const std::string& docnox, const std::string& arg2);

private:
    using Answer = std::function<void(const std::string& docnox, const std::string& arg2)>;

    host::ARclass& m_arclass;
    Desktop m_desktop;
    std::map<std::string, Answer> m_answers;
};

}  // namespace keltro::app
