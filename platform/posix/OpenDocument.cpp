#include "platform/OpenDocument.h"

#include <fcntl.h>
#include <spawn.h>

#include <vector>

extern char** environ;

// Like the shell, the program does not watch what it opened.
bool OpenDocument(const std::string& target) {
  std::string program = "xdg-open";
  std::vector<char*> argv = {program.data(), const_cast<char*>(target.c_str()), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return rc == 0;
}
