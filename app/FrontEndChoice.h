#pragma once
#include <functional>

enum class eFrontEnd { Qt, Terminal };

/// Reads one environment variable: its text, or nullptr when it is not set.
using cEnvLookup = std::function<const char*(const char*)>;

/// True when windows can be shown: always on Windows, else when a display server is named (X11 or Wayland).
bool DisplayAvailable(const cEnvLookup& env);

/// The terminal front end when asked for with --no-gui, when no display is
/// available, or (Windows) when started in a command prompt's console; the window otherwise.
eFrontEnd ChooseFrontEnd(bool noGui, const cEnvLookup& env);
