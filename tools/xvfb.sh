# Sourced by the scripts that need an X server of their own.
#   start_xvfb [WIDTHxHEIGHTxDEPTH]
# starts Xvfb on a free display, exports DISPLAY and sets XVFB_PID.
start_xvfb() {
  local fd num
  exec {fd}<> <(:)
  Xvfb -displayfd "$fd" -screen 0 "${1:-1024x768x24}" -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  read -r -u "$fd" num
  exec {fd}>&-
  export DISPLAY=":$num"
}
