#pragma once
// The manifest of one release: every file the updater may be told to fetch,
// with its published path, digest and download address. Built whole and never
// changed afterwards, so that a check holding one sees one release only.
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "server/name_patterns.h"
#include "server/release_walk.h"

namespace velmo::server {

struct ManifestEntry {
  FoundFile source;            // the file on disk, release_path included
  std::string published_path;  // as listed to the updater
  std::string key;             // path_key(published_path)
  std::string md5;
  std::string url;
  std::string list_item;  // its element of a check reply, rendered once
};

struct Manifest {
  ReleaseListing listing;              // what the manifest was built from
  std::vector<ManifestEntry> entries;  // sorted by published path
  std::unordered_map<std::string, size_t> by_key;
  std::unordered_map<std::string, size_t> by_release_path;

  const ManifestEntry* find_release_path(std::string_view release_path) const;
};

struct ManifestRecipe {
  const NamePatterns* excluded = nullptr;
  std::string download_base;  // download URLs are this, "/" and the encoded release path
  unsigned threads = 1;
  const Manifest* previous = nullptr;  // digests of unchanged files are taken from it
};

struct ManifestBuild {
  std::shared_ptr<const Manifest> manifest;
  std::vector<std::string> warnings;  // files left out, and why
};

ManifestBuild build_manifest(ReleaseListing listing, const ManifestRecipe& recipe);

}  // namespace velmo::server
