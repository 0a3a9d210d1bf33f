#pragma once
// The endpoint key: fixes the check tag of the stored server addresses. The
// build tool that makes them and the program that reads them both use it.
namespace velmo {

inline constexpr char endpoint_key[] = "Vm7#qL2x!Rp";
static_assert(sizeof endpoint_key - 1 == 11, "the endpoint key has 11 bytes");

}  // namespace velmo
