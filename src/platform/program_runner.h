#pragma once
// Other programs, always started with an argument list and never through a shell, so typed text is
// never read as a command.
#include <string>
#include <vector>

struct ProgramRun {
    bool started = false; // false: the program is missing or could not start
    int exitCode = -1;
    std::string output; // standard output and error together
};

class ProgramRunner {
  public:
    virtual ~ProgramRunner() = default;
    // Runs the program and waits at most timeoutMs for it to end (killed after that).
    virtual ProgramRun run(const std::string& program, const std::vector<std::string>& args, int timeoutMs) = 0;
    // Starts the program and leaves it running; false when it could not start.
    virtual bool startDetached(const std::string& program, const std::vector<std::string>& args) = 0;
    // The program is on the PATH.
    virtual bool exists(const std::string& program) = 0;
};
