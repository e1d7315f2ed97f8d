#pragma once
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Conversion.h"
#include "support/FakeWindow.h"

// Stands in for the conversion run: records what it was handed and what the
// world looked like at that moment, then writes a one-page site (or fails).
class cFakeConversion : public cConversion {
 public:
  struct Call {
    std::string fileName;
    std::filesystem::path outputFolder;
    bool folderExisted;
    bool parentExisted;
    std::string messageLabel;
    int doEvents;
  };

  bool ConvertFanFile(const std::string& strFileName, const std::filesystem::path& outputFolder,
                      cWindowServices& window, cNameList& /*lstName*/,
                      std::shared_ptr<cSensyuFile>& m_SensyuFile) override {
    auto& fake = dynamic_cast<cFakeWindow&>(window);
    calls.push_back({strFileName, outputFolder, std::filesystem::exists(outputFolder),
                     std::filesystem::exists(outputFolder.parent_path()), fake.message, fake.doEvents});
    m_SensyuFile = std::make_shared<cSensyuFile>(window);
    if (duringRun) duringRun();
    if (!succeed) return false;
    std::filesystem::create_directory(outputFolder);
    std::ofstream(outputFolder / "ファン手帳.html") << "<HTML>";
    return true;
  }

  bool succeed = true;
  std::function<void()> duringRun;
  std::vector<Call> calls;
};
