#pragma once
#include <string>
#include <string_view>
#include <utility>

#include "sensyu/cSensyuFile.h"
#include "support/FakeWindow.h"
#include "support/TempDir.h"

// A racer data object with a recording window, loaded from bytes that the
// test writes into a fresh temp folder.
struct cLoadedFan {
  cTempDir dir;
  cFakeWindow window;
  cSensyuFile file{window};
  cSensyuNoList list;

  /// Writes `bytes` to `name` and loads it with `wanted` as the racer number list.
  bool Load(std::string_view bytes, cSensyuNoList wanted = {}, int16_t intRev = 0,
            const std::string& name = "fan.txt") {
    list = std::move(wanted);
    return file.FileLoad(dir.WriteFile(name, bytes).string(), list, intRev);
  }
};

inline constexpr const char* kLoadErrorCaption = "選手ファイル読み取りエラー";
