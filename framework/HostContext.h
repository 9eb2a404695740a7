// What the host hands to the A/R component, and every screen keeps a copy of.
//
// The host sets these once, before it opens screens; a screen copies them when it is
// opened (before it loads) and does not see later changes. The three database references
// of the suite (`cnx`, the connection of the list controls; `dbe`, the workspace of the
// transactions; `abcdb`, the database of every query) are one open `db::Database` here.
// The person and the clock travel with the context too: every screen speaks through `ui`
// and reads today from `clock`. A dialog a screen opens of its own (a report's page
// format) is shown through `showScreen`, as the host shows every screen.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "db/Database.h"
#include "services/Clock.h"
#include "services/Ui.h"

namespace keltro::framework {

class Screen;

struct HostContext {
    db::Database* cnx = nullptr;
    db::Database* dbe = nullptr;
    db::Database* abcdb = nullptr;
    std::string OPEN_DATABASE;
    std::string BASE_CURRENCY;
    std::string KELTRO_COMPANY_NAME;
    std::string KELTRO_PATH;
    std::string KELTRO_USER;
    std::string KELTRO_THEME;
    std::string KELTRO_DATE_FORMAT;
    std::string KELTRO_NO_PERIODS;
    std::string KELTRO_FONT_NAME;
    std::string KELTRO_FONT_SIZE;

    services::Ui* ui = nullptr;
    const services::Clock* clock = nullptr;
    // Shows a loaded screen modeless: a window of its own, or (headless) one more open
    // screen the driver can reach. Unset: the screen is not shown.
    std::function<void(const std::shared_ptr<Screen>&)> showScreen;
};

}  // namespace keltro::framework
