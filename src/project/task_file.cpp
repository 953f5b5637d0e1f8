// ".skd": the scheduler and logger tasks.
#include <algorithm>

#include "project/item_writer.h"
#include "project/project_files.h"

namespace {

constexpr int FixedFieldEntries = 64; // field-list entries written when fewer fields are recorded
constexpr int CountedTaskItems = 97;  // the counted layout drops b - 97 items after a task

// Items after "<TASK>" up to the recorded-field count: date-times, type, intervals, directory, options,
// trigger register and bit.
void readHead(ItemReader& in, SchedulerTask& t) {
    for (uint8_t& b : t.DateTime)
        in.byte(b);
    in.byte(t.TaskType);
    for (uint8_t& b : t.Interval)
        in.byte(b);
    in.text(t.Directory);
    for (uint8_t& b : t.Options)
        in.byte(b);
    in.integer(t.TriggerRegister);
    in.integer(t.TriggerBit);
    in.byte(t.FieldCount);
}

void writeTask(ItemWriter& out, const SchedulerTask& t) {
    out.tag("<TASK>");
    for (uint8_t b : t.DateTime)
        out.number(b);
    out.number(t.TaskType);
    for (uint8_t b : t.Interval)
        out.number(b);
    out.text(t.Directory);
    for (uint8_t b : t.Options)
        out.number(b);
    out.number(t.TriggerRegister);
    out.number(t.TriggerBit);
    out.number(t.FieldCount);
    int entries = std::max<int>(t.FieldCount, FixedFieldEntries);
    for (int k = 0; k < entries; ++k)
        out.number(t.FieldList[static_cast<size_t>(k)]);
    out.flag(t.EnableFlag);
    out.number(static_cast<int16_t>(t.EnableRegister));
    out.number(t.EnableBit);
    out.number(t.ActionRegister);
    out.number(t.ActionValue);
    out.tag("</TASK>");
}

// The field list, then the enable and action items. A task with more than 64 fields carries all of them,
// and its enabled flag follows the last one; with 64 or fewer it is item 95 as ever.
// The counted layout ends a task at the enable bit, without the action items.
void readTail(ItemReader& in, SchedulerTask& t, bool withAction) {
    int entries = std::max<int>(t.FieldCount, FixedFieldEntries);
    uint8_t dropped = 0;
    for (int k = 0; k < entries; ++k)
        in.byte(k < t.FieldCount ? t.FieldList[static_cast<size_t>(k)] : dropped);
    in.flag(t.EnableFlag);
    int16_t enableRegister = static_cast<int16_t>(t.EnableRegister);
    in.integer(enableRegister);
    t.EnableRegister = static_cast<uint16_t>(enableRegister);
    in.integer(t.EnableBit);
    if (!withAction) return;
    in.integer(t.ActionRegister);
    in.integer(t.ActionValue);
}

SchedulerTask& taskSlot(TaskArray& tasks, int n, SchedulerTask& scratch) {
    return n >= 1 && n <= MaxTasks ? tasks.Tasks[static_cast<size_t>(n)] : scratch;
}

void readTagged(ItemReader& in, TaskArray& tasks, int& count) {
    count = 0;
    SchedulerTask scratch;
    while (auto item = in.next()) {
        if (*item != "<TASK>") {
            ++in.skipped;
            continue;
        }
        ++count;
        SchedulerTask& t = taskSlot(tasks, count, scratch);
        readHead(in, t);
        readTail(in, t, true);
        if (!in.skipTo("</TASK>")) in.truncated = true;
    }
}

void readCounted(ItemReader& in, int32_t recordLength, TaskArray& tasks, int& count, LoadReport& report) {
    uint8_t n = 0;
    in.byte(n);
    count = n;
    SchedulerTask scratch;
    for (int i = 1; i <= count && !in.atEnd(); ++i) {
        SchedulerTask& t = taskSlot(tasks, i, scratch);
        std::optional<std::string> item;
        while ((item = in.next()) && item->empty()) {
        }
        if (auto type = item ? parseNumber(*item) : std::nullopt; type && *type >= 0 && *type <= 255)
            t.TaskType = static_cast<uint8_t>(*type);
        readHead(in, t);
        // This layout always holds 64 field-list entries; a larger count keeps the 64 there are.
        if (t.FieldCount > FixedFieldEntries) {
            report.add(".skd: task " + std::to_string(i) + " counts " + std::to_string(t.FieldCount) +
                       " recorded fields, the file holds 64");
            t.FieldCount = FixedFieldEntries;
        }
        readTail(in, t, false);
        in.skip(static_cast<int64_t>(recordLength) - CountedTaskItems);
    }
}

} // namespace

std::string writeTaskFile(const TaskArray& tasks) {
    ItemWriter out;
    int count = std::min<int>(tasks.Count, MaxTasks);
    for (int t = 1; t <= count; ++t)
        writeTask(out, tasks.Tasks[static_cast<size_t>(t)]);
    return out.contents();
}

void readTaskFile(std::string_view data, const SetLayout& layout, TaskArray& tasks, LoadReport& report) {
    ItemReader in(data, layout.mode());
    int count = 0;
    if (layout.tagged)
        readTagged(in, tasks, count);
    else
        readCounted(in, layout.recordLength, tasks, count, report);
    report.noteDropped(".skd", "task(s)", count - MaxTasks, MaxTasks);
    tasks.Count = static_cast<uint8_t>(std::min(count, MaxTasks));
    report.noteItems(".skd", in);
}
