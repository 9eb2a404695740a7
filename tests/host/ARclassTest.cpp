// ARclass as the host sees it: context handed over before a screen loads, one reference
// per screen kind, notifications relayed only from the referenced screen, go-to methods
// that never fail towards the host and close methods that do.
#include <gtest/gtest.h>

#include <array>

#include "host/ARclass.h"

namespace keltro::host {
namespace {

// A screen that remembers the context it loaded with and can raise a notification.
class ProbeScreen : public framework::Screen {
public:
    explicit ProbeScreen(const std::string& className) : Screen(className, className) {}
    void raise(const std::string& formx) { raiseNotification(formx, "D1", "A2"); }
    framework::HostContext atLoad;

protected:
    void onLoad() override { atLoad = context(); }
};

class ProbeFactory : public HeadlessScreenFactory {
public:
    std::shared_ptr<framework::Screen> create(const std::string& className) override {
        return created.emplace_back(std::make_shared<ProbeScreen>(className));
    }
    std::vector<std::shared_ptr<ProbeScreen>> created;
};

class CountingUi : public services::RecordingUi {
public:
    void pumpEvents() override { ++pumps; }
    int pumps = 0;
};

using Request = std::array<std::string, 3>;  // formx, docnox, arg2

class ARclassTest : public ::testing::Test {
protected:
    ARclassTest() : arclass(factory) {
        arclass.KELTRO_USER = "clerk";
        arclass.KELTRO_DATE_FORMAT = "mm/dd/yyyy";
        arclass.KELTRO_PATH = "C:\\Keltro";
        arclass.ui = &ui;
        arclass.NotifyClients = [this](const auto& f, const auto& d, const auto& a) { requests.push_back({f, d, a}); };
    }

    ProbeFactory factory;
    CountingUi ui;
    ARclass arclass;
    std::vector<Request> requests;
};

// A screen shown twice: each loads with the context of its own show, the older stays open
// and only the newer reaches the host.
TEST_F(ARclassTest, eachShowHandsOverTheContextAndTheNewestScreenOfAKindReachesTheHost) {
    arclass.showform_ARform_receipt();
    arclass.KTuser("admin");  // reaches only screens opened after it
    arclass.showform_ARform_receipt();
    ASSERT_EQ(factory.created.size(), 2u);
    const auto& first = factory.created[0]->atLoad;
    EXPECT_EQ(first.KELTRO_USER, "clerk");
    EXPECT_EQ(first.KELTRO_DATE_FORMAT, "mm/dd/yyyy");
    EXPECT_EQ(first.KELTRO_PATH, "C:\\Keltro");
    EXPECT_EQ(factory.created[0]->context().KELTRO_USER, "clerk");
    EXPECT_EQ(factory.created[1]->atLoad.KELTRO_USER, "admin");
    EXPECT_EQ(factory.openScreens().size(), 2u) << "the older receipt screen stays open";
    EXPECT_EQ(arclass.referencedScreen("ARform_receipt"), factory.created[1]);

    factory.created[0]->raise("from the first");
    factory.created[1]->raise("from the second");
    EXPECT_EQ(requests, (std::vector<Request>{{"from the second", "D1", "A2"}}));
    EXPECT_EQ(ui.pumps, 1) << "pending events run once after each relayed request";

    // The close method reaches the referenced screen only.
    arclass.frm_receipt_Exit();
    EXPECT_TRUE(factory.created[1]->isClosed());
    EXPECT_FALSE(factory.created[0]->isClosed());
}

TEST_F(ARclassTest, withoutScreensGoToMethodsAreHarmlessRelaysRunAndCloseMethodsReport) {
    EXPECT_NO_THROW(arclass.ARform_invoice_goto_docno("INV-26-00001"));
    EXPECT_NO_THROW(arclass.ARform_receipt_this_invoice("INV-26-00001", "1001"));
    EXPECT_NO_THROW(arclass.switch_ARform_invoice("cn"));
    EXPECT_NO_THROW(arclass.ARform_revalue_goto_docno("RV-26-00001"));
    EXPECT_TRUE(arclass.call("frm_aging_NotifyClients", {"Next App", "", ""}));
    EXPECT_TRUE(arclass.call("frm_invoice_receipt_history_NotifyClients", {"pdf viewer", "x.pdf"}));
    EXPECT_FALSE(arclass.call("showform_ARform_nothing", {}));
    EXPECT_TRUE(factory.created.empty());
    EXPECT_EQ(requests, (std::vector<Request>{{"Next App", "", ""}, {"pdf viewer", "x.pdf", ""}}));
    EXPECT_THROW(arclass.frm_invoice_Exit(), framework::ScreenError);

    auto database = db::openDatabase("sqlite::memory:");
    arclass.db(database.get());
    arclass.dbwkspace(database.get());
    arclass.class_terminate();
    EXPECT_EQ(arclass.abcdb, nullptr);
    EXPECT_EQ(arclass.dbe, nullptr);
}

TEST(ARclassMethods, nameTheScreenTheyWorkOn) {
    HeadlessScreenFactory factory;
    const ARclass arclass(factory);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"showform_ARform_invoice", "ARform_invoice"},   {"ARform_invoice_recurring_goto_docno", "ARform_invoice"},
        {"showform_ARform_fastreceipt", "ARform_fast_receipt"}, {"ARform_misc_goto_docno", "ARform_misc_receipt"},
        {"ARform_receipt_this_invoice", "ARform_receipt"}, {"frm_invoice_Exit", "ARform_invoice"},
        {"frm_invoice_receipt_history_Exit", "ARreport_invoice_receipt_history"},
        {"frm_receipt_check_history_NotifyClients", "ARreport_receipt_check_history"},
        {"frm_recur_inquiry_Exit", "ARreport_recur_inquiry"}, {"class_terminate", ""},
    };
    for (const auto& [method, screen] : cases) EXPECT_EQ(arclass.screenOfMethod(method), screen) << method;
}

}  // namespace
}  // namespace keltro::host
