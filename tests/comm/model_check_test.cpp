// Device identification and the model check against the simulated controller.
#include <gtest/gtest.h>

#include "comm/model_check.h"
#include "support/sim_controller.h"
#include "support/sim_session.h"

namespace {

class ModelCheck : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int r = 0; r < ModelRows; ++r)
            s.shell->Models[static_cast<size_t>(r)] = {};
        model(3, "1A0F", "Alpha");
        model(7, "2B00", "Beta");
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

TEST(IdentificationCode, HexWithoutLeadingZerosPerByte) {
    EXPECT_EQ(IdentificationCode(0x01, 0x0A, 0x00, 0x0F), "1A0F");
    EXPECT_EQ(IdentificationCode(0x00, 0x1F, 0x00, 0x05), "01F05");
    EXPECT_EQ(IdentificationCode(0xFF, 0x10, 0xAB, 0x00), "FF10AB0");
}

TEST_F(ModelCheck, IdentificaModelloSelectsTheRowOfTheDeviceCode) {
    sim.setIdentification(0x01, 0x0A, 0x00, 0x0F);
    uint8_t index = 7;
    EXPECT_TRUE(IdentificaModello(s.app, index));
    EXPECT_EQ(index, 3);
    EXPECT_EQ(sim.transcript().back(), (Bytes{10, 4, 0, 1, 0, 2}));
    EXPECT_TRUE(s.dialogs.shown.empty());
}

TEST_F(ModelCheck, TheLaterOfTwoRowsWithTheSameCodeWins) {
    model(20, "1A0F", "Alpha bis");
    sim.setIdentification(0x01, 0x0A, 0x00, 0x0F);
    uint8_t index = 7;
    IdentificaModello(s.app, index);
    EXPECT_EQ(index, 20);
}

TEST_F(ModelCheck, UnknownCodeIsIncompatibleAndFallsBackToTheDefaultRow) {
    sim.setIdentification(0x00, 0x1F, 0x00, 0x05); // "01F05": five characters, no catalogue row
    uint8_t index = 7;
    EXPECT_TRUE(IdentificaModello(s.app, index));
    EXPECT_EQ(index, DefaultModelIndex);
    ASSERT_EQ(s.dialogs.boxes.size(), 1u);
    EXPECT_EQ(s.dialogs.boxes[0].text,
              "Device not compatible with this software version. Please check for updates.");
    EXPECT_EQ(s.dialogs.boxes[0].icon, MsgIcon::Critical);
    EXPECT_EQ(s.dialogs.boxes[0].title, "Melqo");
}

TEST_F(ModelCheck, FailedReadKeepsTheCurrentModel) {
    sim.inject({SimFault::Silence});
    uint8_t index = 7;
    EXPECT_TRUE(IdentificaModello(s.app, index));
    EXPECT_EQ(index, 7);
}

TEST_F(ModelCheck, VerificaModelloAsksAndYesKeepsTheDetectedModel) {
    sim.setIdentification(0x01, 0x0A, 0x00, 0x0F);
    VerificaModello(s.app);
    EXPECT_EQ(s.comm->CurrentDevice.ModelIndex, 3);
    ASSERT_EQ(s.dialogs.boxes.size(), 1u);
    EXPECT_EQ(s.dialogs.boxes[0].text,
              "Expected:Beta (Fw:2B00)\rFound: Alpha (Fw:1A0F)\rChange to Alpha (Fw:1A0F) ?");
    EXPECT_EQ(s.dialogs.boxes[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(s.dialogs.boxes[0].icon, MsgIcon::None);
    EXPECT_EQ(s.dialogs.boxes[0].title, "Melqo");
}

TEST_F(ModelCheck, VerificaModelloNoKeepsTheProjectModelAndRebuildsItsRegisters) {
    sim.setIdentification(0x01, 0x0A, 0x00, 0x0F);
    s.dialogs.choices.push_back(MsgChoice::No);
    VerificaModello(s.app);
    EXPECT_EQ(s.comm->CurrentDevice.ModelIndex, 7);
    EXPECT_EQ(s.comm->Registers[1].Name, "Firmware[0]"); // the register names were rebuilt
}

TEST_F(ModelCheck, IncompatibleDeviceThenAsksAboutTheDefaultRow) {
    sim.setIdentification(0x00, 0x1F, 0x00, 0x05);
    VerificaModello(s.app);
    ASSERT_EQ(s.dialogs.boxes.size(), 2u);
    EXPECT_EQ(s.dialogs.boxes[1].text,
              "Expected:Beta (Fw:2B00)\rFound: Default (Fw:9999)\rChange to Default (Fw:9999) ?");
    EXPECT_EQ(s.comm->CurrentDevice.ModelIndex, DefaultModelIndex);
}

TEST_F(ModelCheck, SameModelAsksNothing) {
    sim.setIdentification(0x02, 0x0B, 0x00, 0x00);
    VerificaModello(s.app);
    EXPECT_TRUE(s.dialogs.shown.empty());
    EXPECT_EQ(s.comm->CurrentDevice.ModelIndex, 7);
    EXPECT_EQ(s.comm->Registers[1].Name, "Firmware[0]");
}

} // namespace
