#include "LoadHarness.h"

#include <string>

#include "FuzzCheck.h"
#include "ReadEveryProperty.h"
#include "ScratchFolder.h"
#include "SilentWindow.h"
#include "sensyu/cSensyuFile.h"

namespace {

bool Load(cSensyuFile& sensyu, const std::string& file, cSensyuNoList& list, int16_t intRev,
          bool viaOld2Entry) {
  return viaOld2Entry ? sensyu.FileLoadOld2(file, list) : sensyu.FileLoad(file, list, intRev);
}

// The first list reversed (so another record's period values end up stored)
// and one number no record carries.
cSensyuNoList GivenList(const cSensyuNoList& built) {
  cSensyuNoList given(built.rbegin(), built.rend());
  given.push_back("99999");
  return given;
}

}  // namespace

void RunLoadHarness(const uint8_t* data, std::size_t size, int16_t intRev) {
  static const std::string file = (ScratchFolder() / "fan.txt").string();
  WriteInput(file, data, size);
  cSilentWindow window;
  cSensyuFile sensyu(window);

  cSensyuNoList built;
  bool loaded = sensyu.FileLoad(file, built, intRev);
  FuzzCheck(loaded || window.Boxes() > 0, "FileLoad with an empty list failed without a message");
  FuzzCheck(!loaded || sensyu.SlotCount() == static_cast<int16_t>(built.size()),
            "slot count differs from the racer list the loader built");
  ReadEveryProperty(sensyu);

  // The second load reuses the object, as a later run of the program does.
  const cSensyuNoList expected = GivenList(built);
  cSensyuNoList given = expected;
  const int boxesBefore = window.Boxes();
  loaded = Load(sensyu, file, given, intRev, intRev != 0);
  FuzzCheck(loaded || window.Boxes() > boxesBefore, "FileLoad with a given list failed without a message");
  FuzzCheck(given == expected, "FileLoad changed a given racer list");
  FuzzCheck(!loaded || sensyu.SlotCount() == static_cast<int16_t>(given.size()),
            "slot count differs from the given racer list");
  ReadEveryProperty(sensyu);
}
