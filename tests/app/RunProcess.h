#pragma once
#include <string>
#include <vector>

// Runs the real program the way a user or a script meets it.
struct cProcessResult {
  int status = -1;  // exit status, or -1 when killed or not started
  std::string out;  // standard output (on a pseudo-terminal: everything the terminal showed)
  std::string err;
};

/// Runs program with args in exactly the environment env, feeding `input`
/// to a pipe on standard input; kills it after 60 s.
cProcessResult RunWithPipes(const std::string& program, const std::vector<std::string>& args,
                            const std::vector<std::string>& env, const std::string& input);
/// Runs program on a pseudo-terminal and types `answer` once the terminal
/// shows `prompt`; kills it after 60 s.
cProcessResult RunOnTerminal(const std::string& program, const std::vector<std::string>& args,
                             const std::vector<std::string>& env, const std::string& prompt,
                             const std::string& answer);
