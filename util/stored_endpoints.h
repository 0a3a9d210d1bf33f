#pragma once
// The two server addresses, fixed at build time (CMake cache variables
// RELEASE_NOTES_URL and UPDATE_CHECK_URL) and stored only enciphered; each
// call deciphers its address anew, processing pending window messages while
// it works (util/message_pump.h).
#include <string>

namespace velmo {

std::string release_notes_endpoint();
std::string update_check_endpoint();

}  // namespace velmo
