// Scheduler and logger tasks: entries after the rungs, enable conditions and CSV header lines.
#include "compile_fixture.h"

using Bytes = std::vector<uint8_t>;

class TaskFixture : public CompileFixture {
protected:
    SchedulerTask& task(int t, uint16_t opcode, uint16_t dataSize) {
        project.Tasks.Count = static_cast<uint8_t>(std::max<int>(project.Tasks.Count, t));
        SchedulerTask& k = project.Tasks.Tasks[static_cast<size_t>(t)];
        k.TaskBlock.Opcode = opcode;
        k.TaskBlock.DataSize = dataSize;
        for (size_t i = 0; i < k.TaskParameters.size(); ++i) k.TaskParameters[i] = static_cast<uint8_t>(i + 1);
        return k;
    }
};

TEST_F(TaskFixture, TasksFollowTheRungsInTableAndDataArea) {
    for (int i = 0; i < 19; ++i) add(deviceRung(2, {1}));
    add(operation(20, 0, 6)); // rung entry 19, data 224..229
    task(1, 136, 6);
    task(2, 137, 2);
    EXPECT_EQ(compile(), 224 + 6 + 50 + 46);
    EXPECT_EQ(bytes(0, 4), (Bytes{20, 0, 2, 0}));
    EXPECT_EQ(bytes(4 + 200, 10), (Bytes{3, 2, 0, 230, 0, 0, 0, 50, 0, 0}));
    EXPECT_EQ(bytes(4 + 210, 10), (Bytes{3, 3, 0, 24, 1, 0, 0, 46, 0, 0}));
    // Opcode, 0, then DataSize + 42 parameter bytes.
    EXPECT_EQ(bytes(230, 4), (Bytes{136, 0, 1, 2}));
    EXPECT_EQ(image()[230 + 49], 48);
    EXPECT_EQ(bytes(280, 3), (Bytes{137, 0, 1}));
}

TEST_F(TaskFixture, EnableConditionFollowsTheBlockOnTriggerModels) {
    useRow(TriggerRow);
    add(deviceRung(2, {1}));
    SchedulerTask& k = task(1, 136, 6);
    k.EnableFlag = -1;
    k.EnableRegister = 0x0120;
    k.EnableMask = 0x0004;
    EXPECT_EQ(compile(), 24 + 54);
    EXPECT_EQ(bytes(14, 10), (Bytes{3, 1, 0, 24, 0, 0, 0, 54, 0, 2}));
    EXPECT_EQ(bytes(24 + 50, 4), (Bytes{0x20, 0x01, 0x04, 0x00}));

    useRow(0);
    EXPECT_EQ(compile(), 24 + 50);
    EXPECT_EQ(bytes(14, 10), (Bytes{3, 1, 0, 24, 0, 0, 0, 50, 0, 0}));
}

TEST_F(TaskFixture, CsvLoggerGetsItsHeaderLineOnCsvModels) {
    useRow(CsvRow);
    add(deviceRung(2, {1}));
    project.Variables.Variables[3].CsvName = "Temp";
    project.Variables.Variables[0].CsvName = "Flow";
    SchedulerTask& logger = task(1, 138, 6);
    logger.FieldCount = 2;
    logger.FieldList[0] = 3;
    logger.FieldList[1] = 0;
    SchedulerTask& empty = task(2, 138, 6);
    empty.CsvHeaderLine = "old";
    SchedulerTask& other = task(3, 136, 6);
    other.CsvHeaderLine = "kept";
    EXPECT_GT(compile(), 0);
    EXPECT_EQ(logger.CsvHeaderLine, "Temp;Flow;");
    EXPECT_EQ(empty.CsvHeaderLine, "");
    EXPECT_EQ(other.CsvHeaderLine, "kept");

    useRow(0);
    logger.CsvHeaderLine = "left";
    compile();
    EXPECT_EQ(logger.CsvHeaderLine, "left");
}

TEST_F(TaskFixture, TaskBeyondTheEntrySizeEndsTheCompile) {
    add(deviceRung(2, {1}));
    task(1, 136, 212); // 212 + 44 > 255
    EXPECT_EQ(compile(), 0);
    EXPECT_EQ(report(), (std::vector<std::string>{"Error check : Error", "Impossible to compile"}));
    task(1, 136, 211);
    EXPECT_EQ(compile(), 24 + 258); // the size byte 255 counts up to 2 + 4k
}
