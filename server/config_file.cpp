#include "server/config_file.h"

#include <fstream>
#include <set>
#include <sstream>

namespace velmo::server {
namespace {

std::string_view trim(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

class ConfigReader {
 public:
  ConfigReader(const std::string& base_dir, Settings& settings)
      : base_dir_(base_dir), settings_(settings) {}

  std::string read_line(std::string_view raw) {
    const std::string_view line = trim(raw);
    if (line.empty() || line.front() == '#' || line.front() == ';') return {};
    if (line.front() == '[') return open_section(line);
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) return "expected name = value";
    const std::string name(trim(line.substr(0, equals)));
    const std::string value(trim(line.substr(equals + 1)));
    if (section_ == Section::none) return "a setting before the first [section]";
    if (name != "exclude" && !seen_.insert(name).second) return name + " is given twice";
    if (section_ == Section::server) {
      return apply_server_setting(settings_.server, name, value, base_dir_);
    }
    return apply_product_setting(settings_.products.back(), name, value, base_dir_);
  }

 private:
  enum class Section { none, server, product };

  std::string open_section(std::string_view line) {
    if (line.back() != ']') return "a section header must end with ]";
    const std::string_view inside = trim(line.substr(1, line.size() - 2));
    seen_.clear();
    if (inside == "server") {
      section_ = Section::server;
      return {};
    }
    if (inside.rfind("product ", 0) == 0) {
      section_ = Section::product;
      settings_.products.emplace_back();
      settings_.products.back().id = std::string(trim(inside.substr(8)));
      return {};
    }
    return "unknown section [" + std::string(inside) + "]; expected [server] or [product NAME]";
  }

  const std::string& base_dir_;
  Settings& settings_;
  Section section_ = Section::none;
  std::set<std::string> seen_;
};

}  // namespace

std::string read_config_text(std::string_view text, const std::string& base_dir,
                             Settings& settings) {
  ConfigReader reader(base_dir, settings);
  size_t line_number = 0;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t end = std::min(text.find('\n', start), text.size());
    ++line_number;
    std::string error = reader.read_line(text.substr(start, end - start));
    if (!error.empty()) return "line " + std::to_string(line_number) + ": " + error;
    start = end + 1;
  }
  return {};
}

std::string read_config_file(const std::string& path, Settings& settings) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return path + ": cannot be read";
  std::ostringstream contents;
  contents << file.rdbuf();
  const size_t slash = path.rfind('/');
  const std::string base_dir = slash == std::string::npos ? "." : path.substr(0, slash);
  std::string error = read_config_text(contents.str(), base_dir.empty() ? "/" : base_dir, settings);
  return error.empty() ? error : path + ": " + error;
}

}  // namespace velmo::server
