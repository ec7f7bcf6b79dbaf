#!/usr/bin/env bash
# The link to the Zell RTTY program through the real window: a stand-in peer
# listens in the session's $TMPDIR; Options > Transmit > Connect to Zell RTTY
# connects, the peer receives the station lines, then sends a call, class and
# section, which Enter saves to fdlog.dat; in DIG, bursts of keys typed with
# no pause reach the peer in the order typed.
#
# Usage: zell_e2e.sh PROGRAM_DIR SCRATCH_DIR ZELL_PEER
source "$(dirname "$0")/lib.sh"
e2e_begin "$@"
PEER_BIN=${PEERS[0]:?zell_peer program}

seed_prefs PH 20
: >"$PROG/fdlog.dat"
start_wm

# The peer reads the lines to send from a pipe the script holds open.
PEER_LOG="$SCRATCH/peer.log"
mkfifo "$SHORT/peer.in"
"$PEER_BIN" "$PEER_LOG" <"$SHORT/peer.in" >"$SCRATCH/peer.out" 2>&1 &
started_peer $!
exec 7>"$SHORT/peer.in"
wait_for 10 grep -q listening "$SCRATCH/peer.out" || fail "the peer did not start"
log "peer listening in $TMPDIR"

start_program
confirm_station_and_focus_main
log "main window up"

keys alt+o t z
CONNECTED="Connected with Zell!"
wait_for 15 window_visible "$CONNECTED" || fail "no \"Connected with Zell!\" box"
log "connected box shown"
activate "$CONNECTED"
keys Return
wait_for 10 window_hidden "$CONNECTED" || fail "the box did not close"

station_lines() { [ "$(grep -c '' "$PEER_LOG" 2>/dev/null)" -ge 3 ]; }
wait_for 10 station_lines || fail "the peer did not get the station lines"
sleep 0.5
[ "$(cat "$PEER_LOG")" = "$(printf '%s\n' txtBMyCall=W1AW txtBField1=2A txtBField2=CT)" ] ||
  fail "the peer got: $(cat "$PEER_LOG")"
log "peer got the three station lines"

activate "$MAIN"
printf '%s\n' 'txtSUrCall=k1abc' 'txtSField1=3a' 'txtSField2=eny' >&7
sleep 1
keys Return
log_has_contact() { [ "$(grep -c '' "$PROG/fdlog.dat")" -ge 1 ]; }
wait_for 15 log_has_contact || fail "Enter did not save the contact from the peer"
LINE=$(sed -n 1p "$PROG/fdlog.dat")
RE='^"K1ABC","3A","ENY","[0-9]{4}/[0-9]{2}/[0-9]{2}","[0-2][0-9]:[0-5][0-9]:[0-5][0-9]","20","PH","AB","",""'$'\r''$'
[[ "$LINE" =~ $RE ]] || fail "unexpected fdlog.dat line: $LINE"
log "contact from the peer saved"

# In DIG each key goes to the peer before its character reaches the call
# box. A burst typed with no pause between the keys keeps its order: the
# peer gets the key codes and the call as typed, every time.
keys alt+m d
sleep 0.3
peer_lines() { grep -c '' "$PEER_LOG"; }
since_mark() { tail -n +"$((MARK + 1))" "$PEER_LOG"; }
# Five key codes and five calls: each key's code, then the call it made.
burst_seen() {
  [ "$(since_mark | grep -c '^txtBField8=[0-9]')" -ge 5 ] && [ "$(since_mark | grep -c '^txtBUrCall=.')" -ge 5 ]
}
cleared() { since_mark | grep -qx 'txtBUrCall='; }
for i in $(seq 1 10); do
  MARK=$(peer_lines)
  timeout 5 xdotool type --delay 0 k0spc || fail "xdotool type failed"
  within_ms "$(now_ms)" 5000 burst_seen || fail "burst $i: the peer got $(since_mark | tr '\n' ' ')"
  CODES=$(since_mark | sed -n 's/^txtBField8=\([0-9]\)/\1/p' | tr '\n' ' ')
  CALL=$(since_mark | sed -n 's/^txtBUrCall=//p' | tail -n 1)
  [ "$CODES" = "75 48 83 80 67 " ] && [ "$CALL" = K0SPC ] ||
    fail "burst $i: key codes $CODES, call \"$CALL\""
  [ "$i" -eq 10 ] && screenshot dig-burst "$(visible_id "$MAIN")"
  MARK=$(peer_lines)
  key Escape
  within_ms "$(now_ms)" 5000 cleared || fail "burst $i: Esc did not clear the call box"
done
log "ten bursts of k0spc reached the peer in the order typed"

close_program
exec 7>&-
log "PASS: connect, station lines, a contact from the peer, typed bursts in order"
exit 0
