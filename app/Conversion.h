#pragma once
#include <filesystem>
#include <memory>
#include <string>

#include "report/NameList.h"
#include "sensyu/WindowServices.h"
#include "sensyu/cSensyuFile.h"

// The conversion run as startup sees it, so dispatch is tested without one.
class cConversion {
 public:
  virtual ~cConversion() = default;
  /// Rebuilds the site in outputFolder from the fan file; false after a
  /// failure that was already shown to the user.
  virtual bool ConvertFanFile(const std::string& strFileName, const std::filesystem::path& outputFolder,
                              cWindowServices& window, cNameList& lstName,
                              std::shared_ptr<cSensyuFile>& m_SensyuFile) = 0;
};
