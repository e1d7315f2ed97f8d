#include <memory>
#include <string>

#include "FuzzCheck.h"
#include "report/ConvertFanFile.h"
#include "sensyu/Cp932.h"
#include "support/FakeWindow.h"
#include "support/MemorySite.h"

// A whole conversion run on any bytes, into a site in memory: a finished run
// has its roster and index, every page lies inside the site, and every page
// is code page 932 that reads back as itself. Inputs of odd size are
// converted with the extra pages.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  cFakeWindow window;
  cMemorySite site;
  cNameList lstName;
  std::shared_ptr<cSensyuFile> sensyu;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const bool extras = size % 2 == 1;
  const bool converted = ConvertFanFile("fan.txt", bytes, site, window, lstName, sensyu, nullptr, extras);
  FuzzCheck(converted || !window.boxes.empty(), "the run failed without a message");
  FuzzCheck(!converted || (site.pages.count("ファン手帳.html") && site.pages.count("索引.html")),
            "a finished run has no roster or index page");
  FuzzCheck(!converted || !extras || (site.pages.count("ランキング.html") && site.pages.count("出走表.html")),
            "a finished run with the extra pages lacks one");
  for (const auto& [page, text] : site.pages) {
    const std::filesystem::path path(page);
    FuzzCheck(path.is_relative() && path.lexically_normal() == path && *path.begin() != "..",
              "a page lies outside the site");
    FuzzCheck(Utf8ToCp932(Cp932ToUtf8(text)) == text, "a page is not code page 932");
  }
  return 0;
}
