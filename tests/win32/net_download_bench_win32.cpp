// Benchmark: a 256 MiB download from a loopback server, through the
// client's download_to_file with a progress callback and through bare
// WinHttp read loops writing the same file, in the same run. Prints the
// throughput of each and how far the process's private memory grew while
// it ran. Run it with scripts/bench-net.sh.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "net/winhttp_client_win32.h"
#include "tests/win32/support/loopback_server_win32.h"

namespace velmo {
namespace {

constexpr std::uint64_t file_bytes = std::uint64_t{256} << 20;
constexpr int rounds = 5;

void serve_file(const test::RecordedRequest&, test::LoopbackConnection& connection) {
  const std::string piece(64 * 1024, 'd');
  if (!connection.send("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(file_bytes) +
                       "\r\n\r\n")) {
    return;
  }
  for (std::uint64_t sent = 0; sent < file_bytes && connection.send(piece); sent += piece.size()) {
  }
}

// The process's committed private memory. (Wine reports PrivateUsage as 0;
// PagefileUsage is the same figure on Windows and a live one under Wine.)
SIZE_T private_bytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.PagefileUsage;
}

// Samples the private memory while a run goes on; the largest growth over
// the value at the start.
class MemoryWatch {
 public:
  MemoryWatch() : start_(private_bytes()), thread_([this] { sample(); }) {}
  double stop_mib() {
    running_ = false;
    thread_.join();
    return static_cast<double>(peak_ > start_ ? peak_ - start_ : 0) / (1 << 20);
  }

 private:
  void sample() {
    while (running_) {
      peak_ = std::max(peak_, private_bytes());
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  SIZE_T start_;
  SIZE_T peak_ = 0;
  std::atomic<bool> running_{true};
  std::thread thread_;
};

std::atomic<std::int64_t> last_reported{0};
void count_progress(std::int32_t, std::int64_t, std::int64_t done, std::int64_t) {
  last_reported = done;
}

bool client_download(const std::string& url, const std::string& directory) {
  WinHttpClient client;
  return client.open("GET", url) && client.send() &&
         client.download_to_file(directory, "client.bin", count_progress, 0);
}

// The least a WinHttp download can do: one request, reads of `piece` bytes,
// each written straight to the file.
bool bare_download(const std::wstring& host, INTERNET_PORT port, const std::string& path,
                   size_t piece) {
  const WinHttpApi& api = *winhttp_api();
  UniqueInternet session(
      api.open(nullptr, WINHTTP_ACCESS_TYPE_NO_PROXY, nullptr, WINHTTP_NO_PROXY_BYPASS, 0));
  UniqueInternet connection(api.connect(session.get(), host.c_str(), port, 0));
  UniqueInternet request(api.open_request(connection.get(), L"GET", L"/file", nullptr,
                                          WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, 0));
  if (!request ||
      !api.send_request(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0,
                        0, 0) ||
      !api.receive_response(request.get(), nullptr)) {
    return false;
  }
  UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  std::vector<char> buffer(piece);
  std::uint64_t received = 0;
  DWORD count = 0;
  while (api.read_data(request.get(), buffer.data(), static_cast<DWORD>(piece), &count) &&
         count > 0) {
    DWORD written = 0;
    WriteFile(file.get(), buffer.data(), count, &written, nullptr);
    received += count;
  }
  return received == file_bytes;
}

struct Figure {
  double mib_per_s = 0;
  double memory_growth_mib = 0;
  bool ok = true;
};

template <typename Download>
Figure measure(Download download) {
  MemoryWatch memory;
  const auto start = std::chrono::steady_clock::now();
  const bool ok = download();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  Figure figure;
  figure.memory_growth_mib = memory.stop_mib();
  figure.mib_per_s = static_cast<double>(file_bytes >> 20) / seconds;
  figure.ok = ok;
  return figure;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double median_speed(const std::vector<Figure>& figures) {
  std::vector<double> speeds;
  for (const Figure& figure : figures) speeds.push_back(figure.mib_per_s);
  return median(speeds);
}

void print(const char* name, const std::vector<Figure>& figures) {
  std::vector<double> speeds;
  double memory = 0;
  bool ok = true;
  for (const Figure& figure : figures) {
    speeds.push_back(figure.mib_per_s);
    memory = std::max(memory, figure.memory_growth_mib);
    ok = ok && figure.ok;
  }
  std::printf("%-34s median %7.1f MiB/s (runs:", name, median(speeds));
  for (double speed : speeds) std::printf(" %.1f", speed);
  std::printf("), private memory growth at most %.1f MiB%s\n", memory, ok ? "" : "  FAILED");
}

// Shows that the memory watch sees growth: a 64 MiB buffer, touched.
double calibration_growth_mib() {
  return measure([] {
           std::vector<char> buffer(std::size_t{64} << 20, 'c');
           std::this_thread::sleep_for(std::chrono::milliseconds(100));
           return buffer.back() == 'c';
         })
      .memory_growth_mib;
}

int run() {
  test::LoopbackServer server(serve_file);
  if (!server.listening() || !winhttp_api()) return 1;
  char temp[MAX_PATH + 1] = {};
  const std::string directory(temp, GetTempPathA(sizeof temp, temp));
  const std::string bare_path = directory + "velmo-bench-bare.bin";
  std::vector<Figure> client, bare_same, bare_large;
  for (int round = 0; round < rounds; ++round) {
    client.push_back(measure([&] { return client_download(server.url("/file"), directory); }));
    bare_same.push_back(
        measure([&] { return bare_download(L"127.0.0.1", server.port(), bare_path, 5120); }));
    bare_large.push_back(
        measure([&] { return bare_download(L"127.0.0.1", server.port(), bare_path, 65536); }));
  }
  std::printf("256 MiB download from 127.0.0.1 under this platform, %d rounds each:\n", rounds);
  print("download_to_file with progress", client);
  print("bare WinHttp loop, 5120-byte reads", bare_same);
  print("bare WinHttp loop, 65536-byte reads", bare_large);
  const double client_speed = median_speed(client);
  std::printf("ratio download_to_file / bare 5120-byte loop: %.2f (goal >= 0.90)\n",
              client_speed / median_speed(bare_same));
  std::printf("ratio download_to_file / bare 65536-byte loop: %.2f (the 5120-byte pieces)\n",
              client_speed / median_speed(bare_large));
  std::printf("memory watch calibration: a 64 MiB buffer shows as %.1f MiB\n",
              calibration_growth_mib());
  std::printf("last progress report: %lld of %llu bytes\n",
              static_cast<long long>(last_reported.load()),
              static_cast<unsigned long long>(file_bytes));
  DeleteFileA((directory + "client.bin").c_str());
  DeleteFileA(bare_path.c_str());
  return 0;
}

}  // namespace
}  // namespace velmo

int main() { return velmo::run(); }
