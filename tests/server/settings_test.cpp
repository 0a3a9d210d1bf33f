#include <gtest/gtest.h>

#include "server/command_line.h"
#include "server/config_file.h"

namespace velmo::server {
namespace {

TEST(ConfigFileTest, ReadsServerAndProducts) {
  Settings settings;
  const std::string error = read_config_text(R"(# comment
[server]
listen = 0.0.0.0
port = 8080
public_url = https://updates.example.com/
max_body = 2M
rescan_interval = 0
access_log = logs/access.log

[product velmo]
key = c47e0f9a2d51b6e8f03a7c95d2e4b1f6
release = releases/stable
notes = /srv/notes.txt
updates = off
; another comment
exclude = UpDate.exe
exclude = *.pdb

[product velmo-beta]
key = beta
release = /srv/beta
download_base = https://cdn.example.com/beta
)",
                                             "/etc/velmo", settings);
  ASSERT_EQ(error, "");
  EXPECT_EQ(settings.server.listen_address, "0.0.0.0");
  EXPECT_EQ(settings.server.port, 8080);
  EXPECT_EQ(settings.server.public_url, "https://updates.example.com");
  EXPECT_EQ(settings.server.max_body_bytes, 2u * 1024 * 1024);
  EXPECT_EQ(settings.server.rescan_interval_seconds, 0u);
  EXPECT_EQ(settings.server.access_log, "/etc/velmo/logs/access.log");
  ASSERT_EQ(settings.products.size(), 2u);
  const ProductSettings& stable = settings.products[0];
  EXPECT_EQ(stable.id, "velmo");
  EXPECT_EQ(stable.release_dir, "/etc/velmo/releases/stable");
  EXPECT_EQ(stable.notes_file, "/srv/notes.txt");
  EXPECT_FALSE(stable.updates_enabled);
  EXPECT_EQ(stable.excluded, (std::vector<std::string>{"UpDate.exe", "*.pdb"}));
  EXPECT_EQ(settings.products[1].excluded, default_excluded_patterns());

  ASSERT_EQ(complete_settings(settings), "");
  fill_public_urls(settings, 8080);
  EXPECT_EQ(stable.download_base, "https://updates.example.com/files/velmo");
  EXPECT_EQ(settings.products[1].download_base, "https://cdn.example.com/beta");
}

TEST(ConfigFileTest, MistakesNameTheirLine) {
  struct Case {
    std::string text;
    std::string expected_error;
  };
  const Case cases[] = {
      {"port = 1", "line 1: a setting before the first [section]"},
      {"[server]\nport = 70000", "line 2: port must be a whole number from 0 to 65535"},
      {"[server]\nport = 1\nport = 2", "line 3: port is given twice"},
      {"[server]\nthreads", "line 2: expected name = value"},
      {"[servers]", "line 1: unknown section [servers]; expected [server] or [product NAME]"},
      {"[server", "line 1: a section header must end with ]"},
      {"[product a]\ncolour = red", "line 2: unknown product setting colour"},
      {"[product a]\nupdates = maybe", "line 2: updates must be on or off"},
      {"[server]\nmax_body = 10",
       "line 2: max_body must be a size of at least 1024 bytes, such as 16M"},
      {"[product a]\ndownload_base = ftp://x",
       "line 2: download_base must start with http:// or https://"},
  };
  for (const Case& c : cases) {
    Settings settings;
    EXPECT_EQ(read_config_text(c.text, "/etc", settings), c.expected_error) << c.text;
  }
}

TEST(CompleteSettingsTest, RefusesIncoherentProducts) {
  struct Case {
    std::vector<ProductSettings> products;
    std::string expected_error;
  };
  ProductSettings good;
  good.id = "a";
  good.key = "k1";
  good.release_dir = "/r";
  ProductSettings same_key = good;
  same_key.id = "b";
  ProductSettings quoted_key = good;
  quoted_key.key = "k\"1";
  ProductSettings bad_id = good;
  bad_id.id = "a/b";
  ProductSettings no_release = good;
  no_release.release_dir.clear();
  const Case cases[] = {
      {{}, "no product is configured: give --key and --release, or --config FILE"},
      {{good}, ""},
      {{good, good}, "product a is configured twice"},
      {{good, same_key}, "product b: its key is already another product's"},
      {{quoted_key},
       "product a: key is missing or holds characters other than letters, digits and -_.~"},
      {{bad_id}, "product name \"a/b\" may hold only letters, digits and -_.~"},
      {{no_release}, "product a: release is missing"},
  };
  for (const Case& c : cases) {
    Settings settings;
    settings.products = c.products;
    EXPECT_EQ(complete_settings(settings), c.expected_error) << c.expected_error;
  }
}

TEST(CommandLineTest, FlagsForTheSimpleCase) {
  const CommandLine line =
      parse_command_line({"update-server", "--key", "abc", "--release=/srv/r", "--port", "0",
                          "--updates", "off", "--exclude", "*.log", "--listen", "127.0.0.2"});
  ASSERT_EQ(line.error, "");
  EXPECT_EQ(line.settings.server.port, 0);
  EXPECT_EQ(line.settings.server.listen_address, "127.0.0.2");
  ASSERT_EQ(line.settings.products.size(), 1u);
  EXPECT_EQ(line.settings.products[0].id, "app");
  EXPECT_EQ(line.settings.products[0].key, "abc");
  EXPECT_FALSE(line.settings.products[0].updates_enabled);
  EXPECT_EQ(line.settings.products[0].excluded, std::vector<std::string>{"*.log"});
}

TEST(CommandLineTest, UsageMistakesAndHelp) {
  struct Case {
    std::vector<std::string> arguments;
    std::string expected_error;
    bool help;
  };
  const Case cases[] = {
      {{"s", "--help"}, "", true},
      {{"s", "--key", "k", "--release", "/r", "-h"}, "", true},
      {{"s"}, "no product is configured: give --key and --release, or --config FILE", false},
      {{"s", "--bogus"}, "unknown argument --bogus (see --help)", false},
      {{"s", "--key"}, "--key needs a value", false},
      {{"s", "--config", "/nonexistent/x.ini"}, "/nonexistent/x.ini: cannot be read", false},
      {{"s", "--key", "k", "--release", "/r", "--port", "x"},
       "port must be a whole number from 0 to 65535",
       false},
  };
  for (const Case& c : cases) {
    const CommandLine line = parse_command_line(c.arguments);
    EXPECT_EQ(line.error, c.expected_error) << c.arguments.back();
    EXPECT_EQ(line.show_help, c.help) << c.arguments.back();
  }
}

}  // namespace
}  // namespace velmo::server
