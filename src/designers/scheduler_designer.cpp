#include "designers/scheduler_designer.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

using F = RecordField<SchedulerTask>;
using G = TaskFieldGroup;
constexpr int None = -1;
// Caption keys: register, minute and second, years to hours, lifetime, DD to ss, directory, trigger.
constexpr int KeyReg = 158, KeyDirectory = 195, KeyTrigger = 201;
constexpr int DateKeys[6] = {188, 189, 190, 191, 192, 193};
// The ranges of the date-time bytes DD, MM, YY, hh, mm, ss that a clock can hold.
constexpr std::array<int64_t, 2> DateRanges[6] = {{1, 31}, {1, 12}, {0, 255}, {0, 23}, {0, 59}, {0, 59}};
constexpr int IntervalKeys[6] = {179, 180, 181, 182, 177, 178};

template <size_t I> uint8_t& dateTimeByte(SchedulerTask& t) {
    return t.DateTime[I];
}
template <size_t I> uint8_t& intervalByte(SchedulerTask& t) {
    return t.Interval[I];
}
template <size_t I> uint8_t& optionByte(SchedulerTask& t) {
    return t.Options[I];
}

template <size_t... I> void addBytes(std::vector<TaskField>& out, std::index_sequence<I...>) {
    (out.push_back({F{{DateKeys[I % 6], None},
                      I < 6 ? "1" : "2",
                      FieldKind::Number,
                      DateRanges[I % 6][0],
                      DateRanges[I % 6][1],
                      &dateTimeByte<I>},
                    G::DateTime}),
     ...);
    (out.push_back(
         {F{{IntervalKeys[I % 6], None}, I < 6 ? "1" : "2", FieldKind::Number, 0, 255, &intervalByte<I>},
          G::Interval}),
     ...);
}

std::vector<TaskField> buildFields() {
    std::vector<TaskField> out;
    addBytes(out, std::make_index_sequence<12>{});
    auto integer = [](std::array<int, 2> keys, const char* fixed, int64_t lo, int64_t hi,
                      int16_t& (*ref)(SchedulerTask&)) {
        return F{keys, fixed, FieldKind::Number, lo, hi, ref};
    };
    out.push_back({F{{KeyDirectory, None},
                     "",
                     FieldKind::Text,
                     0,
                     0,
                     [](SchedulerTask& t) -> std::string& { return t.Directory; }},
                   G::Other});
    out.push_back({F{{None, None}, "Option 1", FieldKind::Number, 0, 255, &optionByte<0>}, G::Other});
    out.push_back({F{{None, None}, "Option 2", FieldKind::Number, 0, 255, &optionByte<1>}, G::Other});
    out.push_back({integer({KeyTrigger, KeyReg}, "", -32768, 32767,
                           [](SchedulerTask& t) -> int16_t& { return t.TriggerRegister; }),
                   G::Other});
    out.push_back({integer({KeyTrigger, None}, "Bit", -32768, 32767,
                           [](SchedulerTask& t) -> int16_t& { return t.TriggerBit; }),
                   G::Other});
    out.push_back({integer({None, None}, "Action Reg", -32768, 32767,
                           [](SchedulerTask& t) -> int16_t& { return t.ActionRegister; }),
                   G::Other});
    out.push_back({integer({None, None}, "Action Value", -32768, 32767,
                           [](SchedulerTask& t) -> int16_t& { return t.ActionValue; }),
                   G::Other});
    out.push_back({F{{None, None},
                     "Enable",
                     FieldKind::Flag,
                     0,
                     1,
                     [](SchedulerTask& t) -> int16_t& { return t.EnableFlag; }},
                   G::Enable});
    out.push_back({F{{None, None},
                     "Enable Reg",
                     FieldKind::Number,
                     0,
                     65535,
                     [](SchedulerTask& t) -> uint16_t& { return t.EnableRegister; }},
                   G::Enable});
    // The compile makes the enable mask of this bit.
    out.push_back(
        {integer({None, None}, "Enable Bit", 0, 15, [](SchedulerTask& t) -> int16_t& { return t.EnableBit; }),
         G::Enable});
    return out;
}

} // namespace

const std::vector<TaskField>& SchedulerDesigner::fields() {
    static const std::vector<TaskField> all = buildFields();
    return all;
}

std::vector<int> SchedulerDesigner::offeredTypes(const ModelRecord& model) {
    std::vector<int> types = {0, 1, 2, 3, 4};
    if (model.SchedulerFeatureA) types.push_back(5);
    if (model.SchedulerFeatureB) types.push_back(6);
    return types;
}

std::string SchedulerDesigner::taskLine(int t) const {
    const SchedulerTask& task = tasks_.Tasks[size_t(t)];
    std::string line = std::to_string(t) + ": " + std::to_string(task.TaskType);
    if (!task.Directory.empty()) line += " " + task.Directory;
    return line;
}

int SchedulerDesigner::addTask(int limit) {
    int count = taskCount();
    if (count >= std::min(limit, MaxTasks))
        return edits_.refuse("The scheduler holds at most " + std::to_string(std::min(limit, MaxTasks)) +
                             " tasks."),
               -1;
    tasks_.Tasks[size_t(count + 1)] = SchedulerTask{};
    tasks_.Count = static_cast<uint8_t>(count + 1);
    edits_.stored();
    return count + 1;
}

int SchedulerDesigner::removeTask(int t) {
    if (!validTask(t)) return -1;
    int count = taskCount();
    std::move(tasks_.Tasks.begin() + t + 1, tasks_.Tasks.begin() + count + 1, tasks_.Tasks.begin() + t);
    tasks_.Tasks[size_t(count)] = SchedulerTask{};
    tasks_.Count = static_cast<uint8_t>(count - 1);
    edits_.stored();
    return std::min(t, count - 1);
}

bool SchedulerDesigner::setType(int t, int type) {
    if (!validTask(t)) return false;
    if (type < 0 || type >= TaskTypes)
        return edits_.refuse("Type: enter a whole number from 0 to " + std::to_string(TaskTypes - 1) + ".");
    if (task(t).TaskType == type) return true;
    task(t).TaskType = static_cast<uint8_t>(type);
    return edits_.stored();
}

bool SchedulerDesigner::setField(int t, int f, std::string_view caption, std::string_view text) {
    if (!validTask(t) || f < 0 || f >= int(fields().size())) return false;
    return edits_.store(fields()[size_t(f)].field, task(t), caption, text);
}

bool SchedulerDesigner::addField(int t, int v, int variableCount) {
    if (!validTask(t)) return false;
    SchedulerTask& task = this->task(t);
    if (task.FieldCount >= TaskFieldLimit)
        return edits_.refuse("A task records at most " + std::to_string(TaskFieldLimit) + " variables.");
    // Variable numbers are single bytes in the field list.
    if (v < 0 || v >= std::min(variableCount, 256)) return false;
    task.FieldList[task.FieldCount] = static_cast<uint8_t>(v);
    ++task.FieldCount;
    return edits_.stored();
}

bool SchedulerDesigner::removeField(int t, int k) {
    if (!validTask(t)) return false;
    SchedulerTask& task = this->task(t);
    if (k < 0 || k >= task.FieldCount) return false;
    std::move(task.FieldList.begin() + k + 1, task.FieldList.begin() + task.FieldCount,
              task.FieldList.begin() + k);
    --task.FieldCount;
    task.FieldList[task.FieldCount] = 0;
    return edits_.stored();
}
