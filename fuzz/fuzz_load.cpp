#include <string>

#include "FuzzCheck.h"
#include "sensyu/cSensyuFile.h"
#include "support/FakeWindow.h"
#include "support/PropertyDump.h"

// The loader on any bytes, in both layouts: first building the racer list,
// then again into the same object with a list of its own (reversed, so
// another record's period values end up stored, and one number no record
// carries), as a later run of the program does. Every property is read back.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (int16_t intRev : {0, 2}) {
    cFakeWindow window;
    cSensyuFile sensyu(window);
    cSensyuNoList built;
    bool loaded = sensyu.LoadBytes(bytes, built, intRev);
    FuzzCheck(loaded || !window.boxes.empty(), "a load failed without a message");
    FuzzCheck(!loaded || sensyu.SlotCount() == static_cast<int16_t>(built.size()), "slots differ from the list built");
    DumpRacers(sensyu);

    cSensyuNoList given(built.rbegin(), built.rend());
    given.push_back("99999");
    const cSensyuNoList expected = given;
    window.boxes.clear();
    loaded = sensyu.LoadBytes(bytes, given, intRev);
    FuzzCheck(loaded || !window.boxes.empty(), "a load failed without a message");
    FuzzCheck(given == expected, "the load changed a given racer list");
    FuzzCheck(!loaded || sensyu.SlotCount() == static_cast<int16_t>(given.size()), "slots differ from the list given");
    DumpRacers(sensyu);
  }
  return 0;
}
