#pragma once

namespace velmo {

inline constexpr const char* single_instance_event_name = "g5s2g54s2j";

// Returns only when this copy may run. When another copy holds the named
// event, the process ends here (exit hooks run), silently, and the other copy
// is not brought to the front. The event's handle is never closed: it lives as
// long as this process.
void guard_single_instance(const char* event_name);

}  // namespace velmo
