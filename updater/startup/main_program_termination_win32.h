#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace velmo {

// Empties `ids`, fills it with every process whose executable file name is
// `name` (ASCII case ignored unless `exact`), in snapshot order; returns the count.
int find_processes_by_name(const std::string& name, std::vector<std::uint32_t>& ids,
                           bool exact = false);

// Terminates the process with exit code 0; true when the system says it did.
bool terminate_process_by_id(std::uint32_t process_id);
bool terminate_process_by_id();  // the calling process

// Ends every running copy of the main program, asking nobody and not waiting.
void terminate_main_program();

}  // namespace velmo
