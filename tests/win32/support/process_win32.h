#pragma once
// Child processes of a test: started with a command line, waited for with a
// bound, and terminated when the test lets go of them.
#include <windows.h>

#include <cstdint>
#include <string>

namespace velmo::test {

class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess();
  ChildProcess(ChildProcess&& other) noexcept;
  ChildProcess& operator=(ChildProcess&& other) noexcept;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Starts `program` (quoted on the command line) followed by `arguments`.
  static ChildProcess start(const std::string& program, const std::string& arguments = "");

  bool started() const { return process_ != nullptr; }
  std::uint32_t id() const { return id_; }
  HANDLE handle() const { return process_; }
  // True when the process ended within the bound.
  bool wait_for_exit(DWORD milliseconds) const;
  bool running() const { return !wait_for_exit(0); }
  DWORD exit_code() const;

 private:
  HANDLE process_ = nullptr;
  std::uint32_t id_ = 0;
};

}  // namespace velmo::test
