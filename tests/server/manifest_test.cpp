#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "server/file_digest.h"
#include "server/manifest.h"
#include "server/release_builder.h"
#include "tests/server/temp_tree.h"

namespace velmo::server {
namespace {

using testing::TempTree;

TEST(FileDigestTest, KnownDigestsAndStreamsAcrossBlocks) {
  struct Case {
    std::string bytes;
    std::string expected;
  };
  const Case cases[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"},
  };
  TempTree tree;
  for (const Case& c : cases) {
    tree.write("f", c.bytes);
    EXPECT_EQ(md5_of_file(tree.path("f")), c.expected) << c.bytes;
    EXPECT_EQ(md5_of_bytes(c.bytes), c.expected) << c.bytes;
  }
  std::string large(3 * 256 * 1024 + 17, '\0');
  for (size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>(i * 7 + i / 1000);
  tree.write("large", large);
  EXPECT_EQ(md5_of_file(tree.path("large")), md5_of_bytes(large));
  EXPECT_EQ(md5_of_file(tree.path("missing")), std::nullopt);
}

class ManifestTest : public ::testing::Test {
 protected:
  ManifestBuild build(const Manifest* previous = nullptr) {
    ManifestRecipe recipe{&excluded_, "http://h/files/app", 2, previous};
    return build_manifest(list_release(tree_.root()), recipe);
  }

  TempTree tree_;
  NamePatterns excluded_{default_excluded_patterns()};
};

TEST_F(ManifestTest, PublishesWhatTheUpdaterCanInstall) {
  tree_.write("Velmo.exe", "main");
  tree_.write(u8"插件/b c.dll", "plugin");
  tree_.write("_parent/x.dll", "beside");
  tree_.write("UpDate.exe", "updater");
  tree_.write("Config.ini", "[SoftName]");
  tree_.write("empty.txt", "");
  tree_.write("bad?.txt", "x");
  tree_.write("velmo.EXE", "twin");  // Windows holds only one of the two
  std::filesystem::create_symlink("/etc/passwd", tree_.path("link.txt"));

  const ManifestBuild built = build();
  std::vector<std::string> published;
  for (const ManifestEntry& entry : built.manifest->entries)
    published.push_back(entry.published_path);
  EXPECT_EQ(published, (std::vector<std::string>{"../x.dll", "Velmo.exe", u8"插件/b c.dll"}));
  EXPECT_EQ(built.warnings.size(), 3u);  // empty, bad name, twin; the link is skipped by the walk
  EXPECT_EQ(list_release(tree_.root()).skipped.size(), 1u);

  const ManifestEntry* plugin = built.manifest->find_release_path(u8"插件/b c.dll");
  ASSERT_NE(plugin, nullptr);
  EXPECT_EQ(plugin->md5, md5_of_bytes("plugin"));
  EXPECT_EQ(plugin->url, "http://h/files/app/%E6%8F%92%E4%BB%B6/b%20c.dll?md5=" + plugin->md5);
  EXPECT_EQ(built.manifest->find_release_path("_parent/x.dll")->url,
            "http://h/files/app/_parent/x.dll?md5=" + md5_of_bytes("beside"));
  EXPECT_EQ(built.manifest->by_key.count("velmo.exe"), 1u);
}

TEST_F(ManifestTest, ReusesDigestsOfUnchangedFilesOnly) {
  tree_.write("same.dll", "same");
  tree_.write("changed.dll", "before");
  ManifestBuild first = build();
  // Mark the earlier digests so that a reused one shows.
  auto marked = std::make_shared<Manifest>(*first.manifest);
  for (ManifestEntry& entry : marked->entries) entry.md5 = "reused";
  tree_.write("changed.dll", "after!");

  const ManifestBuild second = build(marked.get());
  EXPECT_EQ(second.manifest->find_release_path("same.dll")->md5, "reused");
  EXPECT_EQ(second.manifest->find_release_path("changed.dll")->md5, md5_of_bytes("after!"));
}

TEST(ReleaseBuilderTest, MissingReleaseDirectoryFails) {
  ProductSettings product;
  product.id = "app";
  product.release_dir = "/nonexistent/release";
  const ReleaseBuild build = build_release(product, nullptr, 1, 1);
  EXPECT_EQ(build.release, nullptr);
  EXPECT_NE(build.error.find("/nonexistent/release"), std::string::npos);
}

TEST(ReleaseBuilderTest, NotesAreRenderedWithTheRelease) {
  TempTree tree;
  tree.write("release/a.dll", "a");
  tree.write("notes.txt", u8"修复\n");
  ProductSettings product;
  product.id = "app";
  product.release_dir = tree.path("release");
  product.notes_file = tree.path("notes.txt");
  const ReleaseBuild build = build_release(product, nullptr, 7, 1);
  ASSERT_NE(build.release, nullptr) << build.error;
  EXPECT_EQ(build.release->generation, 7u);
  EXPECT_EQ(build.release->notes_reply, R"({"state":1,"msg":"\u4fee\u590d\u000d\u000a"})");
  EXPECT_TRUE(build.release->notes_source.has_value());
}

}  // namespace
}  // namespace velmo::server
