#include "LoadedPaths.h"

#include <filesystem>

#include "CliEnvironment.h"
#include "FileArguments.h"
#include "text/FileName.h"

namespace velmora::cli {

LoadedPaths LoadPaths(CliEnvironment& environment, const std::vector<std::string>& paths) {
    LoadedPaths loaded;
    for (const std::string& path : paths) {
        if (std::filesystem::is_directory(path)) {
            auto loader = std::make_unique<LoaderThread>(environment.Context());
            loader->SetDirectory(text::FileNameToText(path));
            loader->SetRecurse(environment.Recurse());
            loader->Start();
            loader->Join();
            for (const Mp3File* record : loader->Records().All())
                loaded.records.push_back(record);
            loaded.failed = loaded.failed || loader->Progress().failed > 0;
            loaded.directories.push_back(std::move(loader));
        } else if (CheckFileArgument(path, FileAccess::Read)) {
            loaded.files.push_back(LoadRecord(environment, path));
            loaded.failed = loaded.failed || loaded.files.back()->Status() == LoadStatus::Failed;
            loaded.records.push_back(loaded.files.back().get());
        } else {
            loaded.failed = true;
        }
    }
    return loaded;
}

}  // namespace velmora::cli
