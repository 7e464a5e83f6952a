#include "update/update_paths.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace wm {
namespace {

using path = std::wstring;

TEST(UpdatePaths, SiblingsHaveFixedNamesWhateverTheExecutableIsCalled) {
    struct Case {
        path executable;
        path folder;
    };
    const Case cases[] = {
        {LR"(C:\Program Files\wm\wispermoth.exe)", LR"(C:\Program Files\wm\)"},
        {LR"(C:\wm\My Chat (2).exe)", LR"(C:\wm\)"},
        {LR"(C:\wm\wispermoth.new.exe)", LR"(C:\wm\)"},
        {LR"(\\server\share\wm.exe)", LR"(\\server\share\)"},
        {L"Z:/opt/wm/app", L"Z:/opt/wm/"},
        {L"C:\\Users\\\u00e9l\u00e8ve\\moth.exe", L"C:\\Users\\\u00e9l\u00e8ve\\"},
        {L"app.exe", L""},
    };
    for (const Case& c : cases) {
        const UpdatePaths paths = update_paths_for(c.executable);
        EXPECT_EQ(paths.current, c.executable);
        EXPECT_EQ(paths.staged, c.folder + L"wispermoth.new.exe");
        EXPECT_EQ(paths.previous, c.folder + L"wispermoth.old.exe");
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
    const auto paths = update_paths_for(L"C:\\wm\\wispermoth.exe");
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
