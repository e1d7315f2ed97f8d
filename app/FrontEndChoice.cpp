#include "app/FrontEndChoice.h"

#include "platform/Terminal.h"

namespace {

bool IsSet(const cEnvLookup& env, const char* name) {
  const char* value = env(name);
  return value != nullptr && *value != '\0';
}

}  // namespace

bool DisplayAvailable(const cEnvLookup& env) {
  return !WindowsNeedDisplayServer() || IsSet(env, "DISPLAY") || IsSet(env, "WAYLAND_DISPLAY");
}

eFrontEnd ChooseFrontEnd(bool noGui, const cEnvLookup& env) {
  if (noGui) return eFrontEnd::Terminal;
  // Started from a command prompt, the program answers there, as a console program does.
  if (!WindowsNeedDisplayServer()) return RunsInCallersConsole() ? eFrontEnd::Terminal : eFrontEnd::Qt;
  // A platform named by the user (offscreen, vnc, ...) needs no display server.
  if (IsSet(env, "QT_QPA_PLATFORM") || DisplayAvailable(env)) return eFrontEnd::Qt;
  return eFrontEnd::Terminal;
}
