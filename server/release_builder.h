#pragma once
// Builds what one product serves: the manifest of its release directory and
// its rendered release notes.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "server/catalog.h"

namespace velmo::server {

// What the release is made from, as far as the file system tells without
// reading file contents. Two equal states mean nothing to rebuild.
struct SourceState {
  ReleaseListing listing;
  std::optional<FoundFile> notes;  // the notes file's own entry, when there is one

  bool same_as(const SourceState& other) const {
    return listing.same_contents(other.listing) && notes == other.notes;
  }
};

SourceState observe_sources(const ProductSettings& product);

struct ReleaseBuild {
  std::shared_ptr<const ProductRelease> release;  // empty when the build failed
  std::string error;
  std::vector<std::string> warnings;
};

// Digests of files unchanged since `previous` are reused; pass no previous to
// digest everything anew. A release that changes while it is read fails the
// build, so that a half-copied release is never published.
ReleaseBuild build_release(const ProductSettings& product, const ProductRelease* previous,
                           uint64_t generation, unsigned threads);

}  // namespace velmo::server
