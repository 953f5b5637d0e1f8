// The hand-check simulator's controller: what it tells of each request, and a session with the program's
// link over Modbus TCP: it identifies as its model and answers ReadImage from what was written to the
// program area, also where it numbers its TCP answers 0.
#include <gtest/gtest.h>

#include "comm/device_procedures.h"
#include "comm/model_check.h"
#include "comm/transaction.h"
#include "core/language.h"
#include "served_controller.h"
#include "support/sim_session.h"

namespace {

TEST(RequestSummary, NamesTheFunctionTheRangeAndTheCommand) {
    const std::pair<Bytes, std::string> cases[] = {
        {{10, 4, 0, 1, 0, 2}, "node 10: read input 1 x2"},
        {{10, 3, 0, 35, 0, 16}, "node 10: read holding 35 x16"},
        {{10, 6, 0, 0, 0, 0x64}, "node 10: write holding 0 = 100 (command halt)"},
        {{10, 6, 0, 0, 0, 0xFC}, "node 10: write holding 0 = 252 (command stop)"},
        {{10, 6, 0, 0, 0, 0xFF}, "node 10: write holding 0 = 255 (command run)"},
        {{10, 6, 0, 0, 0, 7}, "node 10: write holding 0 = 7 (command unknown)"},
        {{10, 6, 0, 5, 0, 7}, "node 10: write holding 5 = 7"},
        {{10, 16, 0, 35, 0, 2, 4, 0, 0, 0, 0}, "node 10: write holding 35 x2"},
        {{10, 20, 1, 0, 0, 32, 32}, "node 10: read image 32 x32"},
        {{10, 20, 4, 0, 0, 19, 1, 0x56}, "node 10: write memory 19 x1 (mode debug)"},
        {{10, 20, 4, 1, 2, 0, 1, 0x55}, "node 10: write memory 66048 x1"},
        {{10, 20, 5, 0, 0, 0, 8}, "node 10: read flash 0 x8"},
        {{10, 20, 3, 0, 0, 0, 8}, "node 10: function 20, 7 bytes"},
        {{10, 6, 0}, "node 10: function 6, 3 bytes"},
        {{10}, "short frame"},
    };
    for (const auto& [request, told] : cases)
        EXPECT_EQ(RequestSummary(request), told);
}

// Over Modbus TCP and over the pseudo-terminal.
class ServedController : public ::testing::TestWithParam<bool> {};

TEST_P(ServedController, IdentifiesAsItsModelAndReadsTheImageFromTheProgramArea) {
    SimSession s;
    CaricaRisorse(*s.shell, 1);
    const int row = 5;
    const ModelRecord& model = s.shell->Models[row];
    std::vector<std::string> told;
    ::ServedController controller(model, 10, [&](const std::string& line) { told.push_back(line); });
    ASSERT_TRUE(GetParam() ? s.connectRtu(controller.startRtu()) : s.connectTcp(controller.startTcp(0)));
    controller.answerZeroId(!GetParam()); // over TCP, as a device that numbers every answer 0

    uint8_t found = 0;
    IdentificaModello(s.app, found);
    EXPECT_EQ(found, row);
    EXPECT_EQ(s.comm->FixedTransactionId, GetParam() ? 0 : -1);
    EXPECT_TRUE(s.dialogs.shown.empty());

    s.project->MemoryImage[0] = 0xA5;
    s.project->MemoryImage[1] = 0x5A;
    ASSERT_TRUE(ScriviMemoria(s.app, 10, model.ProgramBase, 0, 2));
    ASSERT_TRUE(ScriviComando(s.app, CmdHalt));
    s.request({10, 20, ReadImage, 0, 0, 0, 2});
    ASSERT_EQ(TrasmettiRicevi(s.app, 0), ComOk);
    const Bytes answer = s.answer(); // over RTU its CRC follows
    ASSERT_GE(answer.size(), 5u);
    EXPECT_EQ(Bytes(answer.begin(), answer.begin() + 5), (Bytes{10, 20, 2, 0xA5, 0x5A}));
    EXPECT_EQ(told, (std::vector<std::string>{
                        "node 10: read input 1 x2",
                        "node 10: write memory " + std::to_string(model.ProgramBase) + " x2",
                        "node 10: write holding 0 = 100 (command halt)", "node 10: read image 0 x2"}));
    // One register space: a long written reads back, low word first.
    ASSERT_TRUE(ScriviLong(s.app, 100000, true, 20));
    EXPECT_EQ(LeggiRegistro(s.app, 10, 20) + 65536 * LeggiRegistro(s.app, 10, 21), 100000.0);
}

INSTANTIATE_TEST_SUITE_P(Lines, ServedController, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Rtu" : "Tcp"; });

} // namespace
