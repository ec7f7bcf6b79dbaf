#!/usr/bin/env bash
# fuzz/run.sh with a stand-in target: a passing run leaves nothing behind, a
# failing one keeps its folder with the failing input and the log.
set -u
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cat >"$tmp/fuzz_standin" <<'STANDIN'
#!/usr/bin/env bash
for a in "$@"; do case $a in -artifact_prefix=*) prefix=${a#-artifact_prefix=} ;; esac; done
[ -n "${FAIL:-}" ] || exit 0
echo "a failing input" >"${prefix}crash-1"
echo "invariant broken: a stand-in" >&2
exit 1
STANDIN
chmod +x "$tmp/fuzz_standin"
fail() { echo "FAILED: $*"; exit 1; }

mkdir "$tmp/pass" "$tmp/fail"
TMPDIR="$tmp/pass" bash "$here/run.sh" "$tmp/fuzz_standin" "$tmp/seeds" 1 >/dev/null || fail "a passing run reported a failure"
[ -z "$(ls -A "$tmp/pass")" ] || fail "a passing run left $(ls "$tmp/pass")"

FAIL=1 TMPDIR="$tmp/fail" bash "$here/run.sh" "$tmp/fuzz_standin" "$tmp/seeds" 1 >"$tmp/out" && fail "a failing run reported success"
kept=$(ls -d "$tmp/fail"/* 2>/dev/null)
[ -f "$kept/crash-1" ] && [ -f "$kept/log" ] || fail "the failing run kept no input and log: $(cat "$tmp/out")"
grep -q "kept: $kept" "$tmp/out" || fail "the failing run does not name its folder"
echo "fuzz runner: passing run cleaned up, failing run kept $(ls "$kept" | tr '\n' ' ')"
