#include "tests/win32/support/program_directory_win32.h"

#include <windows.h>

#include <atomic>
#include <fstream>
#include <sstream>

namespace velmo::test {
namespace {

std::string temp_path() {
  char buffer[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathA(sizeof buffer, buffer);
  return std::string(buffer, length);
}

std::string unique_directory(const std::string& hint) {
  static std::atomic<unsigned> counter{0};
  for (;;) {
    std::ostringstream name;
    name << temp_path() << "velmo-" << hint << '-' << GetCurrentProcessId() << '-' << counter++;
    if (CreateDirectoryA(name.str().c_str(), nullptr)) return name.str();
    if (GetLastError() != ERROR_ALREADY_EXISTS) return {};
  }
}

}  // namespace

ProgramDirectory::ProgramDirectory(const std::string& name_hint)
    : path_(unique_directory(name_hint)) {}

ProgramDirectory::~ProgramDirectory() {
  if (!path_.empty()) remove_tree(path_);
}

bool ProgramDirectory::add_copy(const std::string& source, const std::string& name) const {
  return CopyFileA(source.c_str(), file(name).c_str(), FALSE) != FALSE;
}

bool ProgramDirectory::write_file(const std::string& relative, const std::string& contents) const {
  return write_whole_file(file(relative), contents);
}

bool file_exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string read_whole_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream contents;
  contents << in.rdbuf();
  return contents.str();
}

bool write_whole_file(const std::string& path, const std::string& contents) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << contents;
  return static_cast<bool>(out);
}

void remove_tree(const std::string& path) {
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((path + "\\*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = entry.cFileName;
      if (name == "." || name == "..") continue;
      const std::string child = path + "\\" + name;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        remove_tree(child);
      } else {
        SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(child.c_str());
      }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
  }
  RemoveDirectoryA(path.c_str());
}

}  // namespace velmo::test
