#include "util/stored_endpoints.h"

#include "util/endpoint_cipher.h"
#include "util/endpoint_key.h"
// Generated at build time by tools/encipher_endpoint.cpp.
#include "stored_endpoint_texts.h"

namespace velmo {

std::string release_notes_endpoint() {
  return decipher_endpoint(stored_endpoint_texts::release_notes, endpoint_key);
}

std::string update_check_endpoint() {
  return decipher_endpoint(stored_endpoint_texts::update_check, endpoint_key);
}

}  // namespace velmo
