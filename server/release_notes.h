#pragma once
// The release notes that the updater shows in its edit box.
#include <optional>
#include <string>
#include <string_view>

namespace velmo::server {

// Prepares a vendor's UTF-8 notes for the updater's edit box: a byte-order
// mark is dropped and lone line feeds become CR LF, the line break that a
// Windows edit box shows. nullopt when nothing but blanks remains.
std::optional<std::string> prepare_notes(std::string_view utf8);

// {"state":1,"msg":"<notes as \u escapes>"}, or {"state":0,"msg":""} without notes.
std::string notes_reply(const std::optional<std::string>& notes);

// Reads the notes file; an empty path means no notes. `error` is set when the
// file cannot be read; a text that is not UTF-8 is taken with U+FFFD in place
// of the bad bytes, and `error` says so.
std::optional<std::string> read_notes_file(const std::string& path, std::string& error);

}  // namespace velmo::server
