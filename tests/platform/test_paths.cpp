#include <gtest/gtest.h>

#include "platform/paths.h"

namespace sulcan {
namespace {

TEST(Paths, NormaliseResolvesDotsLexically) {
    const std::pair<const char*, const char*> cases[] = {
        {"/a/./b/../c", "/a/c"}, {"/a//b/", "/a/b"}, {"/../x", "/x"}, {"a/../../b", "../b"},
        {"./", "."},             {"/", "/"},         {"a/b/..", "a"},
    };
    for (auto [in, out] : cases) EXPECT_EQ(NormalisePath(in), out) << in;
}

TEST(Paths, AbsoluteRelativeAndParts) {
    EXPECT_TRUE(IsAbsolutePath("/x"));
    EXPECT_FALSE(IsAbsolutePath("x/y"));
    EXPECT_FALSE(IsAbsolutePath(""));
    EXPECT_EQ(MakeAbsolutePath("sub/f.dat", "/p/q"), "/p/q/sub/f.dat");
    EXPECT_EQ(MakeAbsolutePath("../f.dat", "/p/q/"), "/p/f.dat");
    EXPECT_EQ(MakeAbsolutePath("/abs/f", "/p"), "/abs/f");
    EXPECT_EQ(MakeAbsolutePath("", "/p"), "");
    EXPECT_EQ(FolderOf("/a/b/c.qxp"), "/a/b/");
    EXPECT_EQ(FolderOf("c.qxp"), "");
    EXPECT_EQ(StemOf("/a/b/left.hemi.qxp"), "left.hemi");
    EXPECT_EQ(StemOf("/a/.hidden"), ".hidden");
    EXPECT_EQ(ToPosixSeparators("data\\anat\\v.dat"), "data/anat/v.dat");
    EXPECT_EQ(WithTrailingSlash("/a"), "/a/");
    EXPECT_EQ(WithTrailingSlash("/a/"), "/a/");
    EXPECT_EQ(WithTrailingSlash(""), "");
}

}  // namespace
}  // namespace sulcan
