// The tree search on a POSIX system, where directories may be links.

#include <cstdio>
#include <filesystem>

#include <gtest/gtest.h>

#include "res/resource.h"
#include "support/temporary_directory.h"
#include "test_files.h"

namespace fs = std::filesystem;

namespace {

TEST(ResourceLookupPosix, TreeSearchDoesNotFollowDirectoryLinks) {
    const ScratchDirectory scratch;
    // A link back up would make the walk go round in circles; a link elsewhere leaves the tree.
    const fs::path outside = make_temporary_directory("blokit-outside");
    write_file(outside / "ELSEWHERE.TXT", {'o', 'u', 't'});
    fs::create_directory("loop");
    fs::create_directory_symlink("..", "loop/up");
    fs::create_directory_symlink(outside, "away");
    EXPECT_EQ(open_resource("ELSEWHERE.TXT"), nullptr);
    fs::remove_all(outside);
}

} // namespace
