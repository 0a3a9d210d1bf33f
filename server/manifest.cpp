#include "server/manifest.h"

#include <algorithm>
#include <optional>

#include "server/parallel_digest.h"
#include "server/published_path.h"
#include "server/replies.h"
#include "server/url_codec.h"

namespace velmo::server {
namespace {

// Chooses the files to publish and names them; warns about those left out.
std::vector<ManifestEntry> publishable_entries(const ReleaseListing& listing,
                                               const NamePatterns& excluded,
                                               std::vector<std::string>& warnings) {
  std::vector<ManifestEntry> entries;
  std::unordered_map<std::string, std::string> first_by_key;
  for (const FoundFile& file : listing.files) {
    if (excluded.matches(file.release_path)) continue;
    if (file.size == 0) {
      // The updater accepts only a download with a positive Content-Length.
      warnings.push_back(file.release_path + ": left out, an empty file cannot be delivered");
      continue;
    }
    PublishedPath published = publish_release_path(file.release_path);
    if (!published.problem.empty()) {
      warnings.push_back(file.release_path + ": left out, " + published.problem);
      continue;
    }
    ManifestEntry entry{file, published.path, path_key(published.path), {}, {}, {}};
    auto [it, fresh] = first_by_key.emplace(entry.key, file.release_path);
    if (!fresh) {
      warnings.push_back(file.release_path + ": left out, Windows takes it for " + it->second);
      continue;
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

std::optional<std::string> reusable_digest(const Manifest* previous, const FoundFile& file) {
  if (previous == nullptr) return std::nullopt;
  const ManifestEntry* old = previous->find_release_path(file.release_path);
  if (old == nullptr || !(old->source == file)) return std::nullopt;
  return old->md5;
}

void fill_digests(std::vector<ManifestEntry>& entries, const std::string& root,
                  const ManifestRecipe& recipe) {
  std::vector<std::string> paths;
  std::vector<size_t> positions;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (auto digest = reusable_digest(recipe.previous, entries[i].source)) {
      entries[i].md5 = *digest;
    } else {
      paths.push_back(root + "/" + entries[i].source.release_path);
      positions.push_back(i);
    }
  }
  const auto digests = md5_of_files(paths, recipe.threads);
  for (size_t i = 0; i < positions.size(); ++i) {
    if (digests[i]) entries[positions[i]].md5 = *digests[i];
  }
}

}  // namespace

const ManifestEntry* Manifest::find_release_path(std::string_view release_path) const {
  const auto it = by_release_path.find(std::string(release_path));
  return it == by_release_path.end() ? nullptr : &entries[it->second];
}

ManifestBuild build_manifest(ReleaseListing listing, const ManifestRecipe& recipe) {
  ManifestBuild build;
  std::vector<ManifestEntry> entries =
      publishable_entries(listing, *recipe.excluded, build.warnings);
  fill_digests(entries, listing.real_root, recipe);

  auto manifest = std::make_shared<Manifest>();
  for (ManifestEntry& entry : entries) {
    if (entry.md5.empty()) {
      build.warnings.push_back(entry.source.release_path + ": left out, it cannot be read");
      continue;
    }
    entry.url = recipe.download_base + "/" + percent_encode_path(entry.source.release_path) +
                "?md5=" + entry.md5;
    entry.list_item = list_item(entry.published_path, entry.md5, entry.url);
    manifest->entries.push_back(std::move(entry));
  }
  std::sort(manifest->entries.begin(), manifest->entries.end(),
            [](const ManifestEntry& a, const ManifestEntry& b) {
              return a.published_path < b.published_path;
            });
  for (size_t i = 0; i < manifest->entries.size(); ++i) {
    manifest->by_key.emplace(manifest->entries[i].key, i);
    manifest->by_release_path.emplace(manifest->entries[i].source.release_path, i);
  }
  manifest->listing = std::move(listing);
  build.manifest = std::move(manifest);
  return build;
}

}  // namespace velmo::server
