#include "app/ReportConversion.h"

#include "report/ConvertFanFile.h"

bool cReportConversion::ConvertFanFile(const std::string& strFileName, const std::filesystem::path& outputFolder,
                                       cWindowServices& window, cNameList& lstName,
                                       std::shared_ptr<cSensyuFile>& m_SensyuFile) {
  return ::ConvertFanFile(strFileName, outputFolder, window, lstName, m_SensyuFile);
}
