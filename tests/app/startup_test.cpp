#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <QCoreApplication>

#include "app/startup.h"
#include "app_context_fixture.h"
#include "core/build_flags.h"
#include "platform/app_data_folder.h"

namespace {

// Records the window steps, with what each was given, in the order Main calls them.
class RecordingWindow : public StartupWindow {
  public:
    explicit RecordingWindow(const ShellState& shell) : shell_(shell) {}
    std::vector<std::string> calls;

    void CaricaImmagini() override { calls.push_back("images"); }
    void ShowInternalMenus(bool visible) override { calls.push_back(visible ? "internal menus" : "menus"); }
    void SetIcon() override { calls.push_back("icon"); }
    void SetCaption(const std::string& c) override { calls.push_back("caption " + c); }
    void SetSizeTwips(int w, int h) override {
        calls.push_back("size " + std::to_string(w) + "x" + std::to_string(h));
    }
    void CreaToolBar() override { calls.push_back("toolbar"); }
    void LoadLogWindow(int h) override {
        calls.push_back("log " + std::to_string(h) +
                        (shell_.Models[0].ModelName.empty() ? " before the models" : ""));
    }
    void ApplyMenuCaptions(const std::vector<std::pair<std::string, std::string>>& captions) override {
        calls.push_back(std::to_string(captions.size()) + " menu captions, " + captions[0].second + " first");
    }
    bool did(const std::string& call) const { return std::ranges::find(calls, call) != calls.end(); }

  private:
    const ShellState& shell_;
};

class Startup : public ::testing::Test, protected AppContextFixture {
  protected:
    void SetUp() override {
        shell = ShellState{}; // not loaded yet: Main loads the texts and the catalogue itself
        folder /= ::testing::UnitTest::GetInstance()->current_test_info()->name(); // tests run side by side
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        options.settingsFolder = folder.string();
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    void saveSettings(const char* bytes) {
        std::ofstream(folder / "devSettings.dat", std::ios::binary) << bytes;
    }

    std::filesystem::path folder = std::filesystem::temp_directory_path() / "melqo-startup";
    StartupOptions options;
    RecordingWindow window{shell};
};

} // namespace

TEST_F(Startup, WithoutSettingsEveryDefaultIsInPlace) {
    comm.CurrentDevice.Port = 1234;
    comm.CurrentDevice.ModelIndex = 9;
    comm.LinkMode = 1;
    shell.AnimateTime = 9;
    project.Program.Sections[0].RungCount = 5;
    project.Pages.Count = 3;
    Main(ctx, &window, options);

    EXPECT_EQ(window.calls,
              (std::vector<std::string>{"images", BuildInternal ? "internal menus" : "menus", "icon",
                                        "caption Melqo", "size 16000x13000", "toolbar",
                                        "log 3000 before the models", "26 menu captions, Project first"}));

    EXPECT_EQ(shell.VersionSuffix, "k");
    EXPECT_EQ(shell.UiText[172], "Do you want to save your changes?");
    EXPECT_EQ(shell.AnimateTime, 500);
    const DeviceRecord& d = comm.CurrentDevice; // the link a first start offers
    EXPECT_EQ(
        (std::tuple{d.ModelIndex, d.IpAddress, d.Port, d.NodeAddress, d.LinkTimeout, comm.AnswerTimeout}),
        (std::tuple{uint8_t{48}, std::string("192.168.1.100"), int16_t{502}, uint8_t{10}, int16_t{1000},
                    int16_t{2}}));
    EXPECT_EQ((std::tuple{comm.LinkMode, comm.PollStop, comm.AnswerExpected}), (std::tuple{2, 1, -1}));
    EXPECT_EQ(project.Program.Sections[0].RungCount, 0);
    EXPECT_EQ(project.Pages.Count, 1);
    EXPECT_EQ(shell.Models[48].ModelName, "JXV9787");
    EXPECT_EQ(comm.Registers[0].Label, "%R0");
    EXPECT_EQ(comm.Registers[1].Name, "Firmware[0]");
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Startup, SavedSettingsOverrideTheDefaultsAndPickTheLanguage) {
    saveSettings(" 0 \r\n8480\r\n 1 \r\n 5 \r\n10.0.0.2\r\n 2 \r\n 800 \r\n19200\r\n 0 \r\n 0 \r\n");
    Main(ctx, nullptr, options);
    EXPECT_EQ(shell.Language, 0);
    EXPECT_EQ(shell.UiText[19], "Progetto");
    EXPECT_EQ(comm.CurrentDevice.ModelIndex, 9); // the file's items themselves: the settings file's tests
    EXPECT_EQ(comm.Registers[8].Name, "Function Keys"); // the display controller's names
}

TEST_F(Startup, BrandFourAfterBrandThreeGivesItsCaptionAndAFailingStepDoesNotStopStartUp) {
    options.flags = {.Brand3 = -1, .Brand4 = -1};
    Main(ctx, &window, options);
    EXPECT_EQ(shell.BrandOffset, 150);
    EXPECT_TRUE(window.did("caption Melqo")); // resource 751, not 701 "LMXCON3"

    // A failing window step does not stop start-up.
    struct Failing : RecordingWindow {
        using RecordingWindow::RecordingWindow;
        void CaricaImmagini() override { throw std::runtime_error("no pictures"); }
    } failing(shell);
    options.flags = {.Brand3 = -1};
    Main(ctx, &failing, options);
    EXPECT_TRUE(failing.did("caption LMXCON3"));
    EXPECT_EQ(shell.Models[0].ModelName, "LMX3");
}

TEST(AppDataFolder, IsAbsoluteAndCreatedWhenMissing) {
    auto base = std::filesystem::temp_directory_path() / "melqo-appdata-test";
    std::filesystem::remove_all(base);
    ::setenv("XDG_DATA_HOME", base.c_str(), 1);
    QCoreApplication::setOrganizationName("");
    QCoreApplication::setApplicationName("melqo");
    std::string folder = GetLocalAppDataFolder();
    EXPECT_TRUE(std::filesystem::path(folder).is_absolute());
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(folder.rfind(base.string(), 0), 0u) << folder;
    std::filesystem::remove_all(base);
}
