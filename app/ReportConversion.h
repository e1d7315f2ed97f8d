#pragma once
#include "app/Conversion.h"

// The real conversion run of the report layer.
class cReportConversion : public cConversion {
 public:
  bool ConvertFanFile(const std::string& strFileName, const std::filesystem::path& outputFolder,
                      cWindowServices& window, cNameList& lstName,
                      std::shared_ptr<cSensyuFile>& m_SensyuFile) override;
};
