#include "server/catalog.h"

namespace velmo::server {

Catalog::Catalog(std::vector<std::shared_ptr<const ProductRelease>> products)
    : products_(std::move(products)) {
  for (size_t i = 0; i < products_.size(); ++i) {
    by_key_.emplace(products_[i]->settings.key, i);
    by_id_.emplace(products_[i]->settings.id, i);
  }
}

const ProductRelease* Catalog::find_by_key(std::string_view key) const {
  const auto it = by_key_.find(std::string(key));
  return it == by_key_.end() ? nullptr : products_[it->second].get();
}

const ProductRelease* Catalog::find_by_id(std::string_view id) const {
  const auto it = by_id_.find(std::string(id));
  return it == by_id_.end() ? nullptr : products_[it->second].get();
}

std::shared_ptr<const Catalog> Catalog::with(
    std::shared_ptr<const ProductRelease> replacement) const {
  std::vector<std::shared_ptr<const ProductRelease>> products = products_;
  for (auto& product : products) {
    if (product->settings.id == replacement->settings.id) product = replacement;
  }
  return std::make_shared<const Catalog>(std::move(products));
}

}  // namespace velmo::server
