#pragma once
// The scheduler and logger task designer without its window: tasks 1..36, their type, their saved
// fields and the variables a task records. The compiled block's parameter bytes are not edited here.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "core/model_record.h"
#include "core/designer_data.h"
#include "designers/designer_edits.h"

constexpr int TaskTypes = 7;
// A task records at most as many variables as its field count can say.
constexpr int TaskFieldLimit = 255;

// The editable fields of a task besides its type and its recorded variables.
enum class TaskFieldGroup { DateTime, Interval, Other, Enable };
struct TaskField {
    RecordField<SchedulerTask> field;
    TaskFieldGroup group;
};

class SchedulerDesigner {
  public:
    SchedulerDesigner(TaskArray& tasks, int16_t& modified, UserDialogs& dialogs)
        : tasks_(tasks), edits_{modified, dialogs} {}

    static const std::vector<TaskField>& fields();
    // The task types the model offers: 0 to 4, then one more by each scheduler feature.
    static std::vector<int> offeredTypes(const ModelRecord& model);

    int taskCount() const { return std::min<int>(tasks_.Count, MaxTasks); }
    SchedulerTask& task(int t) { return tasks_.Tasks[size_t(t)]; }
    std::string taskLine(int t) const;

    // The most tasks the model runs, never more than the array holds.
    static int taskLimit(const ModelRecord& model) { return std::clamp<int>(model.MaxTasks, 0, MaxTasks); }

    // Each returns the task to select afterwards; -1 when refused (with a message).
    int addTask(int limit = MaxTasks);
    int removeTask(int t);

    bool setType(int t, int type);
    bool setField(int t, int f, std::string_view caption, std::string_view text);
    // Appends variable v (of variableCount) to the task's recorded fields.
    bool addField(int t, int v, int variableCount);
    bool removeField(int t, int k);

  private:
    bool validTask(int t) const { return t >= 1 && t <= taskCount(); }
    TaskArray& tasks_;
    DesignerEdits edits_;
};
