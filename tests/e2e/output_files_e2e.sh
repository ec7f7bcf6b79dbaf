#!/usr/bin/env bash
# The dupe-sheet file and the summary sheet as an operator makes them: with a
# seeded log, File, "Write ASCII Dupe File" by the keyboard, the proposed name
# accepted in the real file dialog and the success box answered; then File,
# "Write Summary Sheet", two boxes typed, "Write Summary File", the dialog and
# the three boxes accepted, "Done". The files in the documents folder are
# compared with their expected text, and the settings file must hold the name.
#
# Usage: output_files_e2e.sh PROGRAM_DIR SCRATCH_DIR
E2E_LIMIT=170
HERE=$(cd "$(dirname "$0")" && pwd)

source "$(dirname "$0")/lib.sh"
e2e_begin "$@"
seed_prefs PH 20
start_wm
type_text() { timeout 10 xdotool type --clearmodifiers --delay 40 "$1" || fail "xdotool type failed"; }

cp "$HERE/output_files_seed.dat" "$PROG/fdlog.dat" || fail "no seed log"
start_program
confirm_station_and_focus_main
DOCS="$HOME/Documents/Varik Software/Field Day"

# ---- the dupe sheet: File opens on "Backup Options", the first item in
# use; the grey items are passed over ----
key_in "$MAIN" alt+f
sleep 0.5
key Down Down Down Down Return
key_in "^Save As$" Return
key_in "File Successfully written\." Return
wait_for 10 window_gone "File Successfully written\." || fail "the success box stayed"
cmp -s "$DOCS/W1AW-ASCIIDup.txt" "$HERE/../output/golden/ascii_dupe.txt" ||
  fail "dupe sheet differs: $(diff <(od -c "$DOCS/W1AW-ASCIIDup.txt") <(od -c "$HERE/../output/golden/ascii_dupe.txt") | head)"
log "dupe sheet written, byte for byte"

# ---- the summary sheet ----
key_in "$MAIN" alt+f
sleep 0.5
key Down Down Down Down Down Return
SUMMARY="Field Day Summary Sheet Information"
wait_for 20 window_shown "$SUMMARY" || fail "the summary window did not open"
key_in "$SUMMARY" ctrl+a
type_text "Test Club"
# Back through the tab order from the club box: Done, Write, e-mail, the
# address lines, the name.
key shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab
type_text "Jane Doe"
key Tab Tab Tab Tab space
key_in "^Save As$" Return
key_in "File Written Successfully\." Return
wait_for 10 window_gone "File Written Successfully\." || fail "the first box stayed"
key_in "EARN 50 Extra Bonus Points!" Return
wait_for 10 window_gone "EARN 50 Extra" || fail "the bonus box stayed"
key_in "^  Thanks!$" Return
wait_for 10 window_gone "^  Thanks!$" || fail "the thank-you box stayed"
key_in "$SUMMARY" space
wait_for 10 window_gone "$SUMMARY" || fail "Done did not close the summary window"

OUT="$DOCS/W1AW.sum"
[ -f "$OUT" ] || fail "no file $OUT"
EXPECTED="$HERE/output_files_summary.expected"
[ "$(wc -l <"$OUT")" -eq 102 ] || fail "the summary has $(wc -l <"$OUT") lines"
for n in $(seq 1 102); do
  got=$(sed -n "${n}p" "$OUT")
  want=$(sed -n "${n}p" "$EXPECTED")
  if [ "$n" -eq 71 ]; then
    case "$got" in "Date: "??/??/????$'\r') ;; *) fail "line 71: $got" ;; esac
  else
    [ "$got" = "$want" ] || fail "line $n: '$got' instead of '$want'"
  fi
done
SETTINGS="$HOME/.config/Varik_Software/Varik_Software.conf"
grep -q '^UserAddressName=Jane Doe' "$SETTINGS" || fail "settings: $(cat "$SETTINGS" 2>&1 | head)"
grep -q '<OWN_CLUB_NAME>Test Club</OWN_CLUB_NAME>' "$HOME/Documents/Varik Software/Shared/SharedUserPreferences.xml" ||
  fail "shared preferences lack the club"
log "summary written line by line, settings stored"

close_program
log "PASS: dupe sheet and summary sheet from the File menu"
exit 0
