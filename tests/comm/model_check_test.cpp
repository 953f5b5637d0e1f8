// Device identification and the model check against the simulated controller.
#include <gtest/gtest.h>

#include "comm/model_check.h"
#include "support/sim_controller.h"
#include "support/sim_session.h"

namespace {

const std::string Incompatible =
    "Device not compatible with this software version. Please check for updates.";

class ModelCheck : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int r = 0; r < ModelRows; ++r)
            s.shell->Models[static_cast<size_t>(r)] = {};
        model(3, "1A0F", "Alpha");
        model(7, "10B00", "Beta");
        model(DefaultModelIndex, "9999", "Default");
        s.comm->CurrentDevice.ModelIndex = 7;
        s.comm->CurrentDevice.LinkTimeout = 300;
        ASSERT_TRUE(s.connectTcp(sim.startTcp()));
    }
    void model(int r, const std::string& code, const std::string& name) {
        s.shell->Models[static_cast<size_t>(r)].ModelCode = code;
        s.shell->Models[static_cast<size_t>(r)].ModelName = name;
        s.shell->Models[static_cast<size_t>(r)].NumRegisters = 100;
    }
    SimController sim{10};
    SimSession s;
};

// The row chosen for each identification: the device's code, the later of two rows with one code, the
// default row for a code no row has (with the incompatibility box), and the current row when the read fails.
TEST_F(ModelCheck, IdentificaModelloSelectsTheRowOfTheDeviceCode) {
    model(20, "1A0F", "Alpha bis");
    const struct {
        std::array<uint8_t, 4> id;
        bool silent;
        uint8_t row;
        size_t boxes;
    } cases[] = {{{0x01, 0x0A, 0x00, 0x0F}, false, 20, 0},
                 {{0x10, 0x0B, 0x00, 0x00}, false, 7, 0},
                 {{0x00, 0x1F, 0x00, 0x05}, false, DefaultModelIndex, 1}, // "01F05": five characters
                 {{0x01, 0x0A, 0x00, 0x0F}, true, 7, 0}};                 // no answer: the current row's code
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        s.dialogs.boxes.clear();
        sim.setIdentification(c.id[0], c.id[1], c.id[2], c.id[3]);
        if (c.silent) sim.inject({SimFault::Silence});
        uint8_t index = 7;
        EXPECT_TRUE(IdentificaModello(s.app, index));
        EXPECT_EQ(index, c.row);
        EXPECT_EQ(sim.transcript().back(), (Bytes{10, 4, 0, 1, 0, 2}));
        ASSERT_EQ(s.dialogs.boxes.size(), c.boxes);
        if (!c.boxes) continue;
        EXPECT_EQ(s.dialogs.boxes[0].text, Incompatible);
        EXPECT_EQ(s.dialogs.boxes[0].icon, MsgIcon::Critical);
        EXPECT_EQ(s.dialogs.boxes[0].title, "Melqo");
    }
}

// VerificaModello asks before taking another model; No keeps the project's. Either way the register names
// are rebuilt for the model kept.
TEST_F(ModelCheck, VerificaModelloAsksAndKeepsTheModelChosen) {
    const std::string alpha = "Expected:Beta (Fw:10B00)\rFound: Alpha (Fw:1A0F)\rChange to Alpha (Fw:1A0F) ?";
    const struct {
        std::array<uint8_t, 4> id;
        MsgChoice choice;
        uint8_t row;
        std::vector<std::string> boxes;
    } cases[] = {
        {{0x01, 0x0A, 0x00, 0x0F}, MsgChoice::Yes, 3, {alpha}},
        {{0x01, 0x0A, 0x00, 0x0F}, MsgChoice::No, 7, {alpha}},
        {{0x00, 0x1F, 0x00, 0x05},
         MsgChoice::Yes,
         DefaultModelIndex,
         {Incompatible, "Expected:Beta (Fw:10B00)\rFound: Default (Fw:9999)\rChange to Default (Fw:9999) ?"}},
        {{0x10, 0x0B, 0x00, 0x00}, MsgChoice::Yes, 7, {}}, // the same model: nothing to ask
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.boxes.size());
        s.comm->CurrentDevice.ModelIndex = 7;
        s.comm->Registers[1].Name.clear();
        s.dialogs.shown.clear();
        s.dialogs.boxes.clear();
        s.dialogs.choices = {c.choice}; // taken by the first box: the incompatible device's answers Yes
        sim.setIdentification(c.id[0], c.id[1], c.id[2], c.id[3]);
        VerificaModello(s.app);
        EXPECT_EQ(s.comm->CurrentDevice.ModelIndex, c.row);
        EXPECT_EQ(s.dialogs.shown, c.boxes);
        EXPECT_EQ(s.comm->Registers[1].Name, "Firmware[0]");
        if (c.boxes.empty()) continue;
        EXPECT_EQ(s.dialogs.boxes.back().buttons, MsgButtons::YesNo);
        EXPECT_EQ(s.dialogs.boxes.back().icon, MsgIcon::None);
        EXPECT_EQ(s.dialogs.boxes.back().title, "Melqo");
    }
}

} // namespace
