#pragma once
// The inverse of decipher_endpoint, for the build tool that stores the server
// addresses and for tests. The programs never call it.
#include <string>
#include <string_view>

namespace velmo {

// Upper-case hexadecimal digits of each masked byte of `address`, then the
// key's tag.
std::string encipher_endpoint(std::string_view address, std::string_view key);

}  // namespace velmo
