// The addresses configured for this build (CMake cache variables, passed in
// by tests/unit/CMakeLists.txt) come back from the enciphered store.
#include "util/stored_endpoints.h"

#include <gtest/gtest.h>

namespace velmo {
namespace {

TEST(StoredEndpoints, DecipherToTheConfiguredAddresses) {
  EXPECT_EQ(release_notes_endpoint(), VELMO_EXPECTED_RELEASE_NOTES_URL);
  EXPECT_EQ(update_check_endpoint(), VELMO_EXPECTED_UPDATE_CHECK_URL);
}

}  // namespace
}  // namespace velmo
