#pragma once
// How a file of a release directory is named to the updater.
//
// A release directory mirrors the program directory. Files that belong beside
// or above the program directory sit under leading directories named
// `_parent`: `_parent/x.dll` is published as `../x.dll`,
// `_parent/_parent/lib/x.dll` as `../../lib/x.dll`. Any other path is published
// as it is, with "/" separators.
//
// The updater writes each listed path through the ANSI (GBK) file API and
// refuses every way out of its place other than leading "../", so a path is
// published only when every name in it is one that Windows and the updater
// accept and that GBK can spell.
#include <string>
#include <string_view>

namespace velmo::server {

inline constexpr std::string_view parent_directory_name = "_parent";

struct PublishedPath {
  std::string path;     // as listed to the updater; empty when refused
  std::string problem;  // why the path cannot be published; empty when accepted
};

// `release_path` is relative to the release directory, "/"-separated, UTF-8.
PublishedPath publish_release_path(std::string_view release_path);

// The key under which a path is compared: "/" separators, no leading
// separator, ASCII letters lowered (Windows names ignore case). Works both on
// a published path and on a path of the updater's inventory ("\a\b.dll").
std::string path_key(std::string_view path);

}  // namespace velmo::server
