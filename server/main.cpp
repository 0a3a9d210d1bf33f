// update-server: publishes releases to the Velmo updater.
#include <boost/asio/signal_set.hpp>
#include <csignal>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "server/command_line.h"
#include "server/http_server.h"
#include "server/release_watcher.h"

namespace velmo::server {
namespace {

// Builds every product's first release; nullptr when one cannot be built.
std::shared_ptr<const Catalog> first_catalog(const Settings& settings) {
  std::vector<std::shared_ptr<const ProductRelease>> releases;
  for (const ProductSettings& product : settings.products) {
    ReleaseBuild build = build_release(product, nullptr, 1, settings.server.threads);
    log_build(product, build);
    if (!build.release) return nullptr;
    releases.push_back(std::move(build.release));
  }
  return std::make_shared<const Catalog>(std::move(releases));
}

void handle_signals(boost::asio::signal_set& signals, HttpServer& server, ReleaseWatcher& watcher,
                    AccessLog& access_log) {
  signals.async_wait([&](const boost::system::error_code& ec, int signal_number) {
    if (ec) return;
    if (signal_number == SIGHUP) {
      log_event("SIGHUP: reading every release anew, reopening the access log");
      access_log.reopen();
      watcher.rebuild_all();
      handle_signals(signals, server, watcher, access_log);
      return;
    }
    log_event("stopping");
    server.stop();
  });
}

HttpLimits limits_of(const ServerSettings& server) {
  HttpLimits limits;
  limits.max_body_bytes = server.max_body_bytes;
  limits.request_timeout = std::chrono::seconds(server.request_timeout_seconds);
  limits.send_timeout = std::chrono::seconds(server.send_timeout_seconds);
  return limits;
}

int serve(Settings settings) {
  AccessLog access_log(settings.server.access_log);
  if (!access_log.ok()) {
    log_event("cannot open the access log " + settings.server.access_log);
    return 1;
  }
  CatalogHolder catalogs;
  const Router router(catalogs);
  HttpServer server(router, access_log, limits_of(settings.server));
  if (std::string error = server.bind(settings.server.listen_address, settings.server.port);
      !error.empty()) {
    log_event(error);
    return 1;
  }
  fill_public_urls(settings, server.port());
  std::shared_ptr<const Catalog> catalog = first_catalog(settings);
  if (!catalog) return 1;
  catalogs.publish(std::move(catalog));

  ReleaseWatcher watcher(catalogs, settings.server.rescan_interval_seconds,
                         settings.server.threads);
  boost::asio::signal_set signals(server.io(), SIGINT, SIGTERM, SIGHUP);
  handle_signals(signals, server, watcher, access_log);
  watcher.start();
  std::printf("update-server: listening on %s:%u\n", settings.server.listen_address.c_str(),
              static_cast<unsigned>(server.port()));
  std::fflush(stdout);
  server.run(settings.server.threads);
  watcher.stop();
  log_event("stopped");
  return 0;
}

}  // namespace
}  // namespace velmo::server

int main(int argc, char** argv) {
  using namespace velmo::server;
  const CommandLine command_line = parse_command_line(std::vector<std::string>(argv, argv + argc));
  if (command_line.show_help) {
    std::fputs(help_text(), stdout);
    return 0;
  }
  if (!command_line.error.empty()) {
    std::fprintf(stderr, "update-server: %s\n", command_line.error.c_str());
    return 2;
  }
  return serve(command_line.settings);
}
