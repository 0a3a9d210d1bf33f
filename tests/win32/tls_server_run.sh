#!/usr/bin/env bash
# Runs a Windows test program under Wine against a TLS server on 127.0.0.1
# (openssl s_server on a free port) whose certificate is self-signed and made
# afresh, so that no Windows trusts it. The program finds the port in
# VELMO_TLS_PORT.
#   tls_server_run.sh WINE_RUN PROGRAM [ARGS...]
set -euo pipefail
wine_run=$1
shift
command -v openssl >/dev/null || { echo "tls_server_run: openssl is missing; run scripts/setup.sh" >&2; exit 2; }

work=$(mktemp -d)
server_pid=
cleanup() {
  if [ -n "$server_pid" ]; then
    kill "$server_pid" 2>/dev/null || true
    wait "$server_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=127.0.0.1 \
  -addext subjectAltName=IP:127.0.0.1 -keyout "$work/key.pem" -out "$work/cert.pem" >/dev/null 2>&1
# Bounded in time; stopped by its PID when the program has run.
timeout 300 openssl s_server -accept 127.0.0.1:0 -cert "$work/cert.pem" -key "$work/key.pem" \
  -www </dev/null >"$work/server.log" 2>&1 &
server_pid=$!

port=
for _ in $(seq 100); do
  port=$(sed -n 's/^ACCEPT 127\.0\.0\.1:\([0-9][0-9]*\)$/\1/p' "$work/server.log")
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || { echo "tls_server_run: the TLS server did not start" >&2; cat "$work/server.log" >&2; exit 1; }

VELMO_TLS_PORT=$port "$wine_run" exec "$@"
