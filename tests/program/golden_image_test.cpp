// Hand-built projects compiled and compared byte for byte with the images in golden/.
#include <algorithm>
#include <fstream>
#include <sstream>

#include "compile_fixture.h"

namespace {

struct Golden {
    int32_t size = -1;
    std::vector<uint8_t> image = std::vector<uint8_t>(MemoryImageSize, 0);
};

// "size N" and "offset: hex bytes" lines; '#' lines are comments; bytes not listed are zero.
Golden readGolden(const std::string& name) {
    Golden g;
    std::ifstream in(std::string(MELQO_TEST_DATA) + "/golden/" + name);
    EXPECT_TRUE(in) << name;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        if (line.rfind("size ", 0) == 0) {
            g.size = std::stoi(line.substr(5));
            continue;
        }
        std::istringstream words(line);
        size_t at = 0;
        char colon = 0;
        words >> at >> colon;
        unsigned v = 0;
        while (words >> std::hex >> v)
            g.image.at(at++) = static_cast<uint8_t>(v);
    }
    return g;
}

} // namespace

class GoldenImage : public CompileFixture {
  protected:
    void expectImage(const std::string& name) {
        Golden g = readGolden(name);
        EXPECT_EQ(compile(), g.size);
        const auto [got, want] = std::mismatch(image().begin(), image().end(), g.image.begin());
        EXPECT_TRUE(got == image().end()) << name << ": byte " << got - image().begin() << " is " << int(*got)
                                          << ", expected " << int(*want);
    }
};

TEST_F(GoldenImage, DeviceRungsAndGotoWithLabels) {
    add(labelled(deviceRung(4, {1, 100, 2, 200, 0, 0}), "LOOP"));
    add(flow(130, "OUT")).DataSize = 6;
    add(labelled(deviceRung(9, {1, 400, 1, 300, 0, 0}), "OUT"));
    CommandRecord& back = add(flow(130, "LOOP"));
    back.DataSize = 6;
    back.BreakFlag = -1;
    expectImage("goto_label.txt");
}

TEST_F(GoldenImage, IfBitWithAnEmptyRungBeforeTheTarget) {
    add(flow(129, "ON", "OFF")).ArgBytes = {{{0, 1}, {}, {}, {}, {}, {}, {}, {8}}};
    add(CommandRecord{});
    add(labelled(deviceRung(8, {1, 10, 1, 5}), "ON"));
    add(labelled(deviceRung(8, {1, 11, 1, 6}), "OFF"));
    expectImage("if_after_empty_rung.txt");
}

TEST_F(GoldenImage, LinearizationWithTableAndTrigger) {
    useRow(TriggerRow);
    project.Tables.Count = 2;
    project.Tables.Tables[0].PointCount = 2;
    LookupTable& t = project.Tables.Tables[1];
    t.PointCount = 3;
    t.Inputs = {0, 10, 20};
    t.Outputs = {0, 50.5, 100};
    add(deviceRung(2, {1, 0, 4, 30, 0, 0}));
    CommandRecord& lin = add(operation(1, 8, 34));
    lin.ArgBytes = {{{8}, {0x50}, {1}, {30}, {}, {3}, {}, {40}}};
    lin.TriggerFlag = -1;
    lin.TriggerRegister = 80;
    lin.TriggerMask = 1;
    expectImage("linearization_trigger.txt");
    EXPECT_EQ(lin.ArgBytes[4], (std::array<uint8_t, 4>{0x3a, 0x02, 0, 0})); // the rung keeps its addresses
}

TEST_F(GoldenImage, LoggerTaskWithEnableCondition) {
    // No catalogue row has both triggers and the CSV logger: the controller row gets both words.
    model().HasTrigger = -1;
    model().HasCsvLogger = -1;
    add(deviceRung(6, {2, 0x10, 8, 0x20, 0, 0}));
    add(operation(132, 0, 2));
    project.Variables.Variables[0].CsvName = "Level";
    project.Variables.Variables[1].CsvName = "Pump";
    project.Tasks.Count = 1;
    SchedulerTask& task = project.Tasks.Tasks[1];
    task.TaskBlock.Opcode = 138;
    task.TaskBlock.DataSize = 6;
    task.TaskParameters = {1, 2, 3, 4, 5, 6};
    task.EnableFlag = -1;
    task.EnableRegister = 257;
    task.EnableMask = 0x80;
    task.FieldCount = 2;
    task.FieldList[0] = 1;
    task.FieldList[1] = 0;
    expectImage("logger_task.txt");
    EXPECT_EQ(task.CsvHeaderLine, "Pump;Level;");
}
