# Sourced by the scripts in tools/ that need Debian packages:
#   install_missing PACKAGE...
# installs with apt-get those of the packages that are not installed yet (through sudo unless
# run as root) and does nothing when every one is there, so the scripts are safe to run again.
install_missing() {
  local missing=() package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
  done
  [ ${#missing[@]} -gt 0 ] || return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
