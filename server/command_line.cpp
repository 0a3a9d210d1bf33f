#include "server/command_line.h"

#include <map>
#include <optional>

#include "server/config_file.h"

namespace velmo::server {
namespace {

// Each value flag and the setting it stands for.
const std::map<std::string, std::string>& server_flags() {
  static const std::map<std::string, std::string> flags = {
      {"--listen", "listen"},
      {"--port", "port"},
      {"--public-url", "public_url"},
      {"--threads", "threads"},
      {"--max-body", "max_body"},
      {"--request-timeout", "request_timeout"},
      {"--send-timeout", "send_timeout"},
      {"--rescan-interval", "rescan_interval"},
      {"--access-log", "access_log"},
  };
  return flags;
}

const std::map<std::string, std::string>& product_flags() {
  static const std::map<std::string, std::string> flags = {
      {"--key", "key"},
      {"--release", "release"},
      {"--notes", "notes"},
      {"--updates", "updates"},
      {"--download-base", "download_base"},
      {"--exclude", "exclude"},
  };
  return flags;
}

struct FlagValue {
  std::string flag;
  std::string value;
};

// Splits "--name=value" or takes the value from the next argument.
std::optional<FlagValue> take_value(const std::vector<std::string>& arguments, size_t& i) {
  const std::string& argument = arguments[i];
  const size_t equals = argument.find('=');
  if (equals != std::string::npos)
    return FlagValue{argument.substr(0, equals), argument.substr(equals + 1)};
  if (i + 1 >= arguments.size()) return std::nullopt;
  return FlagValue{argument, arguments[++i]};
}

std::string flag_name(const std::string& argument) {
  return argument.substr(0, argument.find('='));
}

bool takes_value(const std::string& flag) {
  return flag == "--config" || flag == "--id" || server_flags().count(flag) ||
         product_flags().count(flag);
}

}  // namespace

CommandLine parse_command_line(const std::vector<std::string>& arguments) {
  CommandLine result;
  std::vector<FlagValue> server_values;
  ProductSettings product;
  product.id = "app";
  bool product_given = false;
  for (size_t i = 1; i < arguments.size() && result.error.empty(); ++i) {
    const std::string flag = flag_name(arguments[i]);
    if (flag == "--help" || flag == "-h") {
      result.show_help = true;
      return result;
    }
    if (!takes_value(flag)) {
      result.error = "unknown argument " + arguments[i] + " (see --help)";
      break;
    }
    const std::optional<FlagValue> taken = take_value(arguments, i);
    if (!taken) {
      result.error = flag + " needs a value";
    } else if (flag == "--config") {
      result.error = read_config_file(taken->value, result.settings);
    } else if (flag == "--id") {
      product.id = taken->value;
      product_given = true;
    } else if (server_flags().count(flag)) {
      server_values.push_back(*taken);
    } else {
      result.error = apply_product_setting(product, product_flags().at(flag), taken->value, "");
      product_given = true;
    }
  }
  // Flags win over the file, wherever --config stands among them.
  for (const FlagValue& item : server_values) {
    if (!result.error.empty()) break;
    result.error =
        apply_server_setting(result.settings.server, server_flags().at(item.flag), item.value, "");
  }
  if (result.error.empty() && product_given) result.settings.products.push_back(product);
  if (result.error.empty()) result.error = complete_settings(result.settings);
  return result;
}

}  // namespace velmo::server
