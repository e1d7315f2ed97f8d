#pragma once
#include <string>

#include "platform/HttpGet.h"

/// HttpGet with Qt Network over HTTPS, verified against the system's
/// certificates. The call blocks in its own event loop so the window keeps
/// repainting; without any Qt application (the terminal) it makes one for the
/// request's duration.
cHttpReply QtHttpGet(const std::string& url, const cHttpWatch& watch);
