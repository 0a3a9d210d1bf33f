#include "server/command_line.h"

namespace velmo::server {

const char* help_text() {
  return R"(update-server: publishes releases to the Velmo updater (UpDate.exe).

Usage:
  update-server --key KEY --release DIR [--notes FILE] [options]
  update-server --config FILE [options]

Routes (what UpDate.exe calls; the defaults are built into it):
  POST /api/update/check           the update check: body "key=KEY&list=[...]"
  GET  /api/update/notes?key=KEY   the release notes
  GET  /files/PRODUCT/PATH         a file of the release, PATH percent-encoded
                                   (HEAD too); only files of the manifest
  GET  /healthz                    {"status":"ok","products":[...]} for probes

One product (the simple case):
  --key KEY            the access key that UpDate.exe sends
  --release DIR        the release directory (see "Release directory")
  --id NAME            the product's name in file URLs and logs (default: app)
  --notes FILE         release notes, UTF-8 text; without it there are none
  --updates on|off     off answers every check with "software switched off"
  --download-base URL  download URLs start with URL instead of the server's
                       own file route, e.g. https://cdn.example.com/velmo
                       (the file's release path is appended: URL/PATH)
  --exclude PATTERN    a file the updater is never told to replace; repeat
                       for more. The first --exclude replaces the default list
                       UpDate.exe launcher.exe Config.ini; --exclude= empties it

Server:
  --config FILE           configuration file (below); flags win over it
  --listen ADDR           IP address to listen on (default 127.0.0.1)
  --port N                port (default 47613; 0 picks a free one)
  --public-url URL        how clients reach this server; default download URLs
                          are URL/files/PRODUCT/... (default http://ADDR:PORT)
  --threads N             serving and digesting threads (default: one per core)
  --max-body SIZE         largest check body, e.g. 16M (default); larger: 413
  --request-timeout S     a request must arrive whole within S seconds of the
                          connection becoming idle (default 20)
  --send-timeout S        a reply write may stall S seconds at most (default 30)
  --rescan-interval S     look for release changes every S seconds (default 2;
                          0: only on SIGHUP)
  --access-log FILE|-|off one line per request (default -, standard error)
  --help                  this text

Configuration file (INI; # or ; starts a comment line; paths relative to it):
  [server]
  listen = 127.0.0.1
  port = 47613
  public_url = https://updates.example.com
  threads = 2
  max_body = 16M
  request_timeout = 20
  send_timeout = 30
  rescan_interval = 2
  access_log = /var/log/update-server/access.log

  [product velmo]              one section per product or channel, each
  key = c47e0f9a2d51b6e8f03a7c95d2e4b1f6      with its own key
  release = /srv/velmo/stable
  notes = /srv/velmo/stable-notes.txt
  updates = on
  download_base = https://cdn.example.com/velmo/stable   (optional)
  exclude = UpDate.exe           one pattern per line; the first replaces
  exclude = launcher.exe         the defaults
  exclude = Config.ini

  [product velmo-beta]
  key = ...
  release = /srv/velmo/beta

Release directory:
  It mirrors the program directory: DIR/Velmo.exe is installed as Velmo.exe,
  DIR/plugins/a.dll as plugins/a.dll. Files that belong beside or above the
  program directory go under leading _parent directories: DIR/_parent/x.dll is
  installed as ../x.dll, DIR/_parent/_parent/lib/y.dll as ../../lib/y.dll.
  The updater cannot report such files, so they are listed on every check.
  Left out, with a warning on standard error: empty files (the updater needs a
  positive Content-Length), symbolic links inside the release, names Windows
  or GBK cannot hold (\ : * ? " < > |, control characters, trailing dots or
  blanks, CON/NUL/COM1 and the like, characters missing from GBK), and a
  second file whose name differs from another only in letter case.
  File names are matched ignoring ASCII case, as on Windows.

Publishing a release:
  Digests are computed at start. Afterwards a change is picked up when two
  looks in a row (every rescan interval) see the same changed directory, or at
  once on SIGHUP (which also digests every file anew and reopens the access
  log). The swap is whole: a check sees the old release or the new one.
  Safest: build the new release in a directory of its own, then switch a
  symbolic link that --release names (ln -sfn new current.tmp && mv -T
  current.tmp current). Changing the configuration file needs a restart.

Signals: SIGTERM/SIGINT stop cleanly (replies under way finish, at most 10 s);
SIGHUP as above. Exit status: 0 after a clean stop, 1 when a release or the
listening socket fails at start, 2 for a usage error.
)";
}

}  // namespace velmo::server
