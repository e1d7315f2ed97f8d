#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "report/NameList.h"
#include "sensyu/WindowServices.h"
#include "sensyu/cSensyuFile.h"

/// The conversion run: recreates the output folder's pages from the fan file.
/// True when the whole site was written; false after a failure that was shown
/// to the user (load error, unreadable input, unwritable page or folder).
/// m_SensyuFile receives the run's racer data and stays set afterwards.
bool ConvertFanFile(const std::string& strFileName, const std::filesystem::path& outputFolder,
                    cWindowServices& window, cNameList& lstName,
                    std::shared_ptr<cSensyuFile>& m_SensyuFile);

/// Writes the racer page of slot `index` under its per-thousand folder; pages
/// of different slots may be written from several threads at once.
void MakeSensyuPage(const cSensyuFile& sensyu, int16_t index, const std::filesystem::path& outputFolder);
/// Writes 索引.html from the first `count` entries of the name list.
void MakeIndexPage(int16_t count, const cNameList& lstName, const std::filesystem::path& outputFolder,
                   cWindowServices& window);
