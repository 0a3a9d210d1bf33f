#pragma once
// Everything the server answers from, swapped in whole: each request takes
// one snapshot and answers from it alone, so no check sees half of a release.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "server/manifest.h"
#include "server/settings.h"

namespace velmo::server {

struct ProductRelease {
  ProductSettings settings;
  std::shared_ptr<const Manifest> manifest;
  std::string notes_reply;                // rendered once per build
  std::optional<FoundFile> notes_source;  // the notes file as it was read
  uint64_t generation = 0;                // counts the builds of this product's release
};

class Catalog {
 public:
  explicit Catalog(std::vector<std::shared_ptr<const ProductRelease>> products);

  const ProductRelease* find_by_key(std::string_view key) const;
  const ProductRelease* find_by_id(std::string_view id) const;
  const std::vector<std::shared_ptr<const ProductRelease>>& products() const { return products_; }

  // A copy with one product's release replaced.
  std::shared_ptr<const Catalog> with(std::shared_ptr<const ProductRelease> replacement) const;

 private:
  std::vector<std::shared_ptr<const ProductRelease>> products_;
  std::unordered_map<std::string, size_t> by_key_;
  std::unordered_map<std::string, size_t> by_id_;
};

class CatalogHolder {
 public:
  std::shared_ptr<const Catalog> get() const { return std::atomic_load(&current_); }
  void publish(std::shared_ptr<const Catalog> next) {
    std::atomic_store(&current_, std::move(next));
  }

 private:
  std::shared_ptr<const Catalog> current_;
};

}  // namespace velmo::server
