#include "platform/SiteFolder.h"

#include "platform/ErrorText.h"
#include "platform/Path.h"

cFileFailure::cFileFailure(std::filesystem::path file, int err)
    : std::runtime_error(PathToUtf8(file) + ": " + ErrorText(err)), m_File(std::move(file)), m_Errno(err) {}

cSiteFactory DiskSites() { return DiskSiteFolder; }
