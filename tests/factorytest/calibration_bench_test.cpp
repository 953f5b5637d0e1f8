#include <gtest/gtest.h>

#include "bench_world.h"

namespace {

// Rows of each model's default check list that measure something.
constexpr std::array<const char*, 4> RowsMeasured{"1 2 3 4 5 6 7 8 9 11 12 13 14 15 ", "1 2 3 4 8 9 10 14 15 ",
                                                  "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 ", "1 2 4 5 6 7 11 12 "};

class FullRun : public ::testing::TestWithParam<int> {};

TEST_P(FullRun, EveryTickedRowGreenAndTheModuleCalibrated) {
    const int model = GetParam();
    BenchWorld w(model);
    w.bench.cmd_start_Click();
    const BenchState& s = w.bench.state;
    std::string greenRows;
    for (int i = 0; i < BenchRowCount; ++i) {
        if (!s.Rows[static_cast<size_t>(i)].Ticked) continue;
        for (const BenchLabel* l : w.labels(i))
            if (l->Colour == ColourGreen) {
                greenRows += std::to_string(i) + " ";
                break;
            }
        EXPECT_EQ(s.Rows[static_cast<size_t>(i)].Cell, ColourWhite) << "row " << i;
        for (const BenchLabel* l : w.labels(i))
            EXPECT_TRUE(l->Colour == ColourWhite || l->Colour == ColourGreen)
                << "model " << model << " row " << i << " label " << l->Text;
    }
    EXPECT_EQ(greenRows, RowsMeasured[static_cast<size_t>(model)]);
    // The image went to the module, the first gain constant corrects the module's 3 % error.
    const Bytes image = w.world.memory(w.world.moduleNode(), 0, ImageValues);
    for (size_t i = 0; i < ImageValues; ++i)
        if (i < 19 || i > 27) { // 19 is the mode byte, 20..27 the output constants
            ASSERT_EQ(image[i], (i * 7) % 256) << i;
        }
    EXPECT_NEAR(w.world.constant(model == 3 ? 246 : 247, model == 1 ? 2 : 3), 1 / 1.03, 1e-4);
    EXPECT_EQ(w.world.holding(w.world.moduleNode(), 17), 0);
    EXPECT_FALSE(w.world.supplyOn());
    EXPECT_EQ(w.world.beeps(), 1);
    EXPECT_FALSE(s.Running);
}

INSTANTIATE_TEST_SUITE_P(Models, FullRun, ::testing::Values(0, 1, 2, 3));

} // namespace
