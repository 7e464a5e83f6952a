#include "update/update_paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace wm {
namespace {

using std::filesystem::path;

TEST(UpdatePaths, SiblingsHaveFixedNamesWhateverTheExecutableIsCalled) {
    for (const path& executable : {path("/opt/wm/wispermoth.exe"), path("/opt/wm/My Chat (2).exe"),
                                   path("/opt/wm/wispermoth.new.exe"), path("relative/dir/app")}) {
        const UpdatePaths paths = update_paths_for(executable);
        EXPECT_EQ(paths.current, executable);
        EXPECT_EQ(paths.staged, executable.parent_path() / "wispermoth.new.exe");
        EXPECT_EQ(paths.previous, executable.parent_path() / "wispermoth.old.exe");
    }
}

class RecordingFileOps : public FileOps {
public:
    explicit RecordingFileOps(bool succeed) : succeed_(succeed) {}
    bool remove_file(const path& file) override {
        removed.push_back(file);
        return succeed_;
    }
    std::vector<path> removed;

private:
    bool succeed_;
};

TEST(UpdatePaths, CleanRemovesPreviousThenStagedWhetherOrNotThatWorks) {
    const auto paths = update_paths_for("/opt/wm/wispermoth.exe");
    for (const bool succeed : {true, false}) {
        RecordingFileOps files(succeed);
        clean_update_files(files, paths);
        EXPECT_EQ(files.removed, (std::vector<path>{paths.previous, paths.staged})) << succeed;
    }
}

TEST(UpdatePaths, CleanDoesNothingWithoutPaths) {
    RecordingFileOps files(true);
    clean_update_files(files, std::nullopt);
    EXPECT_TRUE(files.removed.empty());
}

}  // namespace
}  // namespace wm
