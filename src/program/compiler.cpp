#include "program/compiler.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

#include "core/app_context.h"
#include "program/compile_job.h"
#include "program/display_compiler.h"
#include "program/display_images.h"
#include "program/entry_kinds.h"
#include "program/entry_writer.h"
#include "program/rung_compiler.h"
#include "program/scheduler_compiler.h"
#include "program/task_compiler.h"

namespace {

constexpr int MaxPageSections = SectionCount - 1;

// Compiles rungs 1..RungCount of the current section; false at a 22nd error, which ends the compile.
bool compileSection(CompileJob& job) {
    CompilerState& st = job.state;
    const int16_t section = job.project.Program.CurrentSection;
    const ProgramSection& sec = job.section(section);
    for (int r = 1; r <= rungCount(sec); ++r) {
        st.CompileErrorText.clear();
        CompilaRung(job, r);
        st.EntryRungs.resize(static_cast<size_t>(st.EntryCount), {section, static_cast<int16_t>(r)});
        if (st.CompileErrorText.empty()) continue;
        if (st.CompileErrorCount == MaxCompileErrors) return false;
        st.CompileErrors[static_cast<size_t>(st.CompileErrorCount++)] = {section, static_cast<int16_t>(r),
                                                                         st.CompileErrorText};
    }
    return true;
}

// The report line of one collected error: the rung, and its page when it belongs to a display page.
std::string errorLine(const CompileError& e) {
    std::string where = e.Section > 0 ? "Page " + std::to_string(e.Section) + ", " : "";
    return " - " + where + "Function Block " + std::to_string(e.RungNumber) + " : " + e.Text;
}

// The end of the last data block, from the rung table (a block's size rounded up to 2 + 4k).
int32_t usedSize(const CompileJob& job) {
    const std::vector<uint8_t>& img = job.project.ProgramImage;
    int32_t end = job.state.DataPointer;
    for (int e = 0; e < job.state.EntryCount; ++e) {
        size_t at = 4 + 10 * static_cast<size_t>(e);
        if (img[at] != OperationKind) continue;
        int32_t offset = img[at + 3] | img[at + 4] << 8 | img[at + 5] << 16 | img[at + 6] << 24;
        int s = img[at + 7];
        end = offset + 2 + (s < 3 ? 0 : 4 * ((s - 3) / 4 + 1));
    }
    return end;
}

class Driver {
public:
  Driver(AppContext& app, Log& log, std::vector<std::string> warnings)
      : job_{app.project, app.model(), app.shell.UiText, app.project.Compiler, 0, {}}, log_(log),
        warnings_(std::move(warnings)) {}

  int32_t run() {
      CompilerState& st = job_.state;
      st = CompilerState{};
      std::fill(job_.image().begin(), job_.image().end(), 0);
      log_.LogStart();
      log_.LogWrite(text(CompileText::Compiling));
      for (const std::string& w : warnings_)
          log_.LogWrite(w);

      Project& pr = job_.project;
      int mainRungs = rungCount(job_.section(0));
      if (mainRungs == 0) return failure(text(CompileText::NoFunctionBlock), {});
      bool display = job_.model.HasDisplay != 0;
      int pages = display ? pr.Pages.Count : 0;
      int tasks = pr.Tasks.Count;
      if (pages > MaxPageSections)
          return failure("more than " + std::to_string(MaxPageSections) + " display pages");
      if (tasks > MaxTasks) return failure("more than " + std::to_string(MaxTasks) + " tasks");
      int planned = mainRungs + tasks;
      for (int p = 0; p < pages; ++p)
          planned += pr.Pages.Pages[static_cast<size_t>(p)].ObjectCount + 1;
      if (planned > MaxEntries)
          return failure(std::to_string(planned) + " rungs, page objects and tasks, more than " +
                         std::to_string(MaxEntries));
      st.DataStart = st.DataPointer = 10 * planned + 4;

      // Page sections get their rung counts before any label is searched, so that main rungs find
      // the page labels of this compile, not of the last one.
      job_.pageSections = pages;
      for (int p = 0; p < pages; ++p)
          job_.section(p + 1).RungCount =
              static_cast<int16_t>(pr.Pages.Pages[static_cast<size_t>(p)].ObjectCount + 1);

      started_ = true;
      if (!compileIn(0)) return failure(tooManyErrors());
      int64_t imagesBottom = std::numeric_limits<int64_t>::max();
      if (display) {
          std::optional<int64_t> bottom = placeImages(job_);
          if (!bottom) return failure("the display images do not fit the program area");
          if (pr.Images.Count > 0) imagesBottom = *bottom;
          for (int p = 0; p < pages; ++p)
              if (!compileIn(p + 1)) return failure(tooManyErrors());
      }
      pr.Program.CurrentSection = 0;
      for (int t = 1; t <= tasks; ++t) {
          st.CompileErrorText.clear();
          if (!CompilaTask(job_, t))
              return failure("task " + std::to_string(t) + " does not fit the program image");
      }

      std::vector<uint8_t>& img = job_.image();
      img[0] = static_cast<uint8_t>(st.EntryCount - tasks);
      img[2] = static_cast<uint8_t>(tasks);
      st.DataPointer = usedSize(job_);
      return report(st.DataPointer, imagesBottom);
  }

private:
    const std::string& text(int k) const { return job_.text[static_cast<size_t>(k)]; }

    bool compileIn(int section) {
        job_.project.Program.CurrentSection = static_cast<int16_t>(section);
        return compileSection(job_);
    }

    static std::string tooManyErrors() { return "more than " + std::to_string(MaxCompileErrors) + " errors"; }

    int32_t report(int32_t used, int64_t imagesBottom) {
        if (job_.state.CompileErrorCount > 0) return failure({});
        int capacity = job_.model.ProgramCapacity;
        log_.LogWrite(text(CompileText::ErrorCheck) + " : OK");
        log_.LogWrite(text(CompileText::ResourceUsage) + " :");
        long percent = capacity > 0 ? static_cast<long>(std::floor(static_cast<double>(used) / capacity * 100)) : 0;
        log_.LogWrite("  " + std::to_string(used) + " / " + std::to_string(capacity) + " Bytes (" +
                      std::to_string(percent) + "%)");
        if (used > capacity) return failure("the program is larger than the controller's program area");
        // The data area must end below the display images.
        if (used > imagesBottom) return failure("the program reaches the display images");
        log_.LogWrite(text(CompileText::Compiled));
        return used;
    }

    // "Error check : Error" (or the empty program's own text) in the user's language, then the reason,
    // when there is one beyond the collected errors, on a line of its own.
    int32_t failure(const std::string& reason) { return failure(text(CompileText::Error), reason); }
    int32_t failure(const std::string& verdict, const std::string& reason) {
        if (started_) job_.project.Program.CurrentSection = 0;
        log_.LogWrite(text(CompileText::ErrorCheck) + " : " + verdict);
        log_.LogWrite(text(CompileText::ImpossibleToCompile));
        if (!reason.empty()) log_.LogWrite(" - " + reason);
        const CompilerState& st = job_.state;
        for (int i = 0; i < st.CompileErrorCount; ++i)
            log_.LogWrite(errorLine(st.CompileErrors[static_cast<size_t>(i)]));
        return 0;
    }

    CompileJob job_;
    Log& log_;
    std::vector<std::string> warnings_;
    bool started_ = false;
};

// The designers' records of what the user edited, rebuilt so that the compile never depends on a
// designer window having been opened; returns the warnings the report shows.
std::vector<std::string> compileDesigners(AppContext& app) {
    Project& p = app.project;
    // Sections 1 to 4 are display pages only on display models; elsewhere they are the user's own.
    if (app.model().HasDisplay != 0) frm_display::CompilaOggetti(p.Pages, p.Program);
    frm_scheduler::CompilaOggetti(p.Tasks);
    std::vector<std::string> warnings;
    for (int t = 1; t <= std::min<int>(p.Tasks.Count, MaxTasks); ++t) {
        uint8_t type = p.Tasks.Tasks[static_cast<size_t>(t)].TaskType;
        if (!frm_scheduler::hasBlockLayout(type))
            warnings.push_back("Warning: task " + std::to_string(t) + " (type " + std::to_string(type) +
                               ") has no known block layout: sent with opcode 0");
    }
    return warnings;
}

} // namespace

int32_t CompilaProgramma(AppContext& app) {
    return Driver(app, app.shell.log, compileDesigners(app)).run();
}

int32_t CompileImage(AppContext& app) {
    return Driver(app, app.shell.log, {}).run();
}

void MapRungEntries(AppContext& app) {
    // A compile changes rung records, page sections and the image: it runs on a copy with a log of its
    // own, and only the map is kept.
    auto copy = std::make_unique<Project>(app.project);
    AppContext scratch{app.shell, app.comm, *copy, app.pump, app.dialogs, app.link};
    Log quiet;
    compileDesigners(scratch);
    const bool compiled = Driver(scratch, quiet, {}).run() > 0;
    app.project.Compiler.EntryRungs =
        compiled ? std::move(copy->Compiler.EntryRungs) : std::vector<EntryRung>{};
}
