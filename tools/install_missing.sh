# Sourced by the measuring rigs under tools/: installs the Debian packages of
# the commands a rig needs and does not find, with sudo when not root.
#   install_missing COMMAND:PACKAGE ...   e.g. install_missing Xvfb:xvfb /usr/bin/time:time
install_missing() {
  local need=() pair sudo=""
  for pair in "$@"; do
    command -v "${pair%%:*}" >/dev/null || need+=("${pair##*:}")
  done
  [ ${#need[@]} -eq 0 ] && return 0
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${need[@]}" >/dev/null
}
