#include "infra/TempFiles.h"

#include "infra/FileUtilities.h"
#include "infra/ZelkaExceptions.h"

void CTempFiles::add(const std::string& path)
{
    zelkaOperation(__FILE__, "CTempFiles::add", [&] {
        paths_.push_back(path);
        ++count_;
    });
}

void CTempFiles::deleteTempFiles()
{
    zelkaOperation(__FILE__, "CTempFiles::deleteTempFiles", [&] {
        CFileUtilities files;
        for (const std::string& path : paths_) files.deleteFile(path);
        paths_.clear();
        count_ = 0;
    });
}
