// The A/R component as a host meets it: a library found through the component manifest,
// registered and unregistered by its own entry points, handing out ARclass through its
// class factory, and saying when it may be unloaded.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QGuiApplication>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "component/ComponentLoader.h"
#include "component/Manifest.h"
#include "support/HeadlessDesk.h"

namespace keltro::component {
namespace {

namespace fs = std::filesystem;

const std::string kLibrary = KELTRO_COMPONENT_LIBRARY;

std::string canonicalLibrary() { return fs::canonical(kLibrary).string(); }

// Every test has a manifest of its own, named by KELTRO_COMPONENT_MANIFEST.
class ComponentTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("keltro_component_" + std::to_string(getpid()) + "_" +
                                              ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder);
        manifest = folder / "components.ini";
        setenv("KELTRO_COMPONENT_MANIFEST", manifest.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("KELTRO_COMPONENT_MANIFEST");
        fs::remove_all(folder);
    }

    fs::path folder, manifest;
};

TEST_F(ComponentTest, registersItselfLoadsShowsAScreenAndUnregisters) {
    test::TestDatabase database{test::Contents::DemoCompany};
    const services::FixedClock clock(test::kDemoToday);
    services::RecordingUi ui;

    // No manifest yet: the host's own library registers itself first.
    auto component = std::make_unique<LoadedComponent>(kARclassId, kLibrary);
    EXPECT_EQ(Manifest::read(manifest).library(kARclassId), canonicalLibrary());
    EXPECT_EQ(component->libraryPath(), canonicalLibrary());
    EXPECT_TRUE(component->canUnloadNow()) << "nothing of it lives yet";

    host::HeadlessScreenFactory views;
    std::vector<std::string> requests;
    {
        auto arclass = component->createInstance(views);
        test::fillContext(*arclass, database.db(), ui, clock);
        arclass->NotifyClients = [&](const std::string& f, auto&&...) { requests.push_back(f); };
        EXPECT_FALSE(component->canUnloadNow()) << "an ARclass lives";

        arclass->showform_ARreport_aging();
        auto open = views.openScreens();
        ASSERT_EQ(open.size(), 1u);
        EXPECT_EQ(open.front()->className(), "ARreport_aging");
        EXPECT_TRUE(open.front()->isLoaded());
        EXPECT_FALSE(open.front()->grid("dbgrid1").columns.empty()) << "its layout came from the database";

        arclass->frm_aging_NotifyClients("Next App", "", "");
        EXPECT_EQ(requests, std::vector<std::string>{"Next App"});
        arclass->frm_aging_Exit();
    }
    // The instance has ended but the window side still holds the closed screen.
    EXPECT_FALSE(component->canUnloadNow()) << "a screen of it lives";
    EXPECT_TRUE(views.openScreens().empty());
    EXPECT_TRUE(component->canUnloadNow());
    component.reset();

    unregisterComponent(kLibrary);
    EXPECT_FALSE(Manifest::read(manifest).library(kARclassId));
}

TEST_F(ComponentTest, theManifestDecidesWhichLibraryIsOpenedAndEntriesOfOthersStay) {
    // A registered library that is gone is replaced by the fallback.
    std::ofstream(manifest) << "# kept as it is\nKeltro_GL.GLclass=/opt/keltro/libgl.so\n"
                            << "Keltro_AR.ARclass=" << (folder / "gone.so").string() << "\n";
    { LoadedComponent loaded(kARclassId, kLibrary); }
    std::ifstream in(manifest);
    const std::string text(std::istreambuf_iterator<char>(in), {});
    EXPECT_NE(text.find("# kept as it is\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Keltro_GL.GLclass=/opt/keltro/libgl.so\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Keltro_AR.ARclass=" + canonicalLibrary() + "\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("gone.so"), std::string::npos) << text;

    // Without a fallback, an unregistered class cannot be loaded.
    unregisterComponent(kLibrary);
    EXPECT_THROW(LoadedComponent{kARclassId}, ComponentError);
    // A class the library does not serve is refused even when the manifest names the library.
    Manifest named = Manifest::read(manifest);
    named.setLibrary("Keltro_GL.GLclass", canonicalLibrary());
    named.write(manifest);
    EXPECT_THROW(LoadedComponent("Keltro_GL.GLclass"), ComponentError);

    // Unregistering leaves another installation's entry alone; a missing library is not registered.
    Manifest other;
    other.setLibrary(kARclassId, "/opt/keltro/lib/libkeltro_ar_component.so");
    other.write(manifest);
    unregisterComponent(kLibrary);
    EXPECT_EQ(Manifest::read(manifest).library(kARclassId), "/opt/keltro/lib/libkeltro_ar_component.so");
    EXPECT_THROW(registerComponent((folder / "missing.so").string()), ComponentError);
}

TEST_F(ComponentTest, aReportsPreviewPrintsThroughTheComponentsOwnPdfWriter) {
    // The host's side: a GUI application (offscreen), nothing of the printing installed here.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int argc = 1;
    char name[] = "keltro_component_tests";
    char* argv[] = {name, nullptr};
    QGuiApplication application(argc, argv);
    test::TestDatabase database{test::Contents::DemoCompany};
    const services::FixedClock clock(test::kDemoToday);
    services::RecordingUi ui;
    LoadedComponent component(kARclassId, kLibrary);
    host::HeadlessScreenFactory views;
    std::vector<std::pair<std::string, std::string>> requests;
    auto arclass = component.createInstance(views);
    test::fillContext(*arclass, database.db(), ui, clock);
    arclass->KELTRO_PATH = folder.string();
    arclass->NotifyClients = [&](const std::string& formx, const std::string& docnox, const std::string&) {
        requests.emplace_back(formx, docnox);
    };

    arclass->showform_ARreport_aging();
    auto screen = views.openScreens().at(0);
    screen->run("&Find");
    screen->run("&Preview");
    ASSERT_EQ(requests.size(), 1u) << "the preview reached the host";
    EXPECT_EQ(requests[0].first, "pdf viewer landscape");
    const fs::path pdf = requests[0].second;
    EXPECT_EQ(pdf.parent_path(), folder / "User report");
    std::ifstream file(pdf, std::ios::binary);
    std::string head(5, '\0');
    file.read(head.data(), 5);
    EXPECT_EQ(head, "%PDF-") << pdf;
    EXPECT_GT(fs::file_size(pdf), 1000u);
    EXPECT_TRUE(fs::exists(pdf.parent_path() / (pdf.stem().string() + "_L.pdf")));
    arclass->frm_aging_Exit();
}

}  // namespace
}  // namespace keltro::component
