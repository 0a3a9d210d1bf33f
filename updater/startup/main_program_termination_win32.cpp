#include "updater/startup/main_program_termination_win32.h"

#include <windows.h>
// windows.h first
#include <tlhelp32.h>

#include "updater/startup/process_name_match.h"
#include "updater/startup/process_state.h"
#include "util/win32_handle.h"

namespace velmo {

int find_processes_by_name(const std::string& name, std::vector<std::uint32_t>& ids, bool exact) {
  ids.clear();
  const UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPALL, 0));
  if (!snapshot) return 0;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot.get(), &entry); more;
       more = Process32Next(snapshot.get(), &entry)) {
    if (process_name_matches(entry.szExeFile, name, exact)) ids.push_back(entry.th32ProcessID);
  }
  return static_cast<int>(ids.size());
}

bool terminate_process_by_id(std::uint32_t process_id) {
  const UniqueHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, process_id));
  if (!process) return false;
  return TerminateProcess(process.get(), 0) != FALSE;
}

bool terminate_process_by_id() { return terminate_process_by_id(GetCurrentProcessId()); }

void terminate_main_program() {
  std::vector<std::uint32_t> ids;
  find_processes_by_name(process_state().main_program_name, ids, false);
  for (const std::uint32_t id : ids) terminate_process_by_id(id);
}

}  // namespace velmo
