#pragma once
#include <gtest/gtest.h>
#include <signal.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/Path.h"

// Serves a folder through tests/support/download_server.py (TEST_SERVER_SCRIPT)
// on 127.0.0.1 until destroyed; python picks the port and names it.
struct cLocalServer {
  explicit cLocalServer(const std::filesystem::path& dir)
      : m_Pipe(popen(("cd '" + PathToUtf8(dir) + "' && echo $$ && exec python3 -u '" TEST_SERVER_SCRIPT
                      "' 2>/dev/null").c_str(), "r")) {
    EXPECT_EQ(std::fscanf(m_Pipe, "%d Serving HTTP on 127.0.0.1 port %d", &m_Pid, &m_Port), 2);
  }
  ~cLocalServer() { kill(m_Pid, SIGTERM), pclose(m_Pipe); }
  cLocalServer(const cLocalServer&) = delete;
  cLocalServer& operator=(const cLocalServer&) = delete;
  std::string Base() const { return "http://127.0.0.1:" + std::to_string(m_Port); }
  FILE* m_Pipe;  // the server's standard output; closing it waits for the server to end
  int m_Pid = 0, m_Port = 0;
};
