#pragma once
// ProgramRunner on QProcess.
#include "platform/program_runner.h"

class QtProgramRunner : public ProgramRunner {
  public:
    ProgramRun run(const std::string& program, const std::vector<std::string>& args, int timeoutMs) override;
    bool startDetached(const std::string& program, const std::vector<std::string>& args) override;
    bool exists(const std::string& program) override;
};
