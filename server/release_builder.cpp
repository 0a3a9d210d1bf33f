#include "server/release_builder.h"

#include <sys/stat.h>

#include "server/release_notes.h"

namespace velmo::server {
namespace {

std::optional<FoundFile> observe_notes(const std::string& path) {
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0) return std::nullopt;
  auto ns = [](const timespec& t) {
    return static_cast<int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
  };
  return FoundFile{path, static_cast<uint64_t>(info.st_size), ns(info.st_mtim), ns(info.st_ctim),
                   static_cast<uint64_t>(info.st_ino)};
}

}  // namespace

SourceState observe_sources(const ProductSettings& product) {
  return {list_release(product.release_dir), observe_notes(product.notes_file)};
}

ReleaseBuild build_release(const ProductSettings& product, const ProductRelease* previous,
                           uint64_t generation, unsigned threads) {
  ReleaseBuild build;
  SourceState before = observe_sources(product);
  if (!before.listing.error.empty()) {
    build.error = before.listing.error;
    return build;
  }
  for (const std::string& skipped : before.listing.skipped) {
    build.warnings.push_back(skipped + ": left out");
  }
  const NamePatterns excluded(product.excluded);
  ManifestRecipe recipe{&excluded, product.download_base, threads,
                        previous ? previous->manifest.get() : nullptr};
  ManifestBuild manifest = build_manifest(before.listing, recipe);
  build.warnings.insert(build.warnings.end(), manifest.warnings.begin(), manifest.warnings.end());

  std::string notes_error;
  const std::optional<std::string> notes = read_notes_file(product.notes_file, notes_error);
  if (!notes_error.empty()) build.warnings.push_back(notes_error);

  if (!observe_sources(product).same_as(before)) {
    build.error = product.release_dir + ": changed while it was read; trying again later";
    return build;
  }
  auto release = std::make_shared<ProductRelease>();
  release->settings = product;
  release->manifest = std::move(manifest.manifest);
  release->notes_reply = notes_reply(notes);
  release->notes_source = before.notes;
  release->generation = generation;
  build.release = std::move(release);
  return build;
}

}  // namespace velmo::server
