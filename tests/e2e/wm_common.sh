# Sourced by the end-to-end scenarios: the window manager on the scenario's
# own X server. Needs wait_for, fail and SCRATCH; sets OB_PID.
#
# Under a loaded machine the server may answer late and openbox may miss it,
# so openbox gets three tries.
start_openbox() {
  wait_for 20 timeout 2 xdotool getdisplaygeometry >/dev/null 2>&1 || fail "the X server did not answer on $DISPLAY"
  wm_up() { kill -0 "$OB_PID" 2>/dev/null && timeout 2 wmctrl -m >/dev/null 2>&1; }
  local attempt
  for attempt in 1 2 3; do
    openbox >>"$SCRATCH/openbox.log" 2>&1 &
    OB_PID=$!
    wait_for 10 wm_up && return 0
    kill "$OB_PID" 2>/dev/null
    OB_PID=""
    sleep 1
  done
  fail "the window manager did not start"
}
