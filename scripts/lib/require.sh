# Sourced by the scripts that run outside commands, before they start anything.
#
#   require COMMAND:PACKAGE...
#
# Ends the calling script with status 127 when any COMMAND is not found, naming every missing one and
# the Debian package that provides it, so that a missing install step shows at once and not halfway.
# A COMMAND with a slash is a path that must be executable; PACKAGE may name a file's package too.
require() {
  local entry command package missing=() packages=()
  for entry in "$@"; do
    command=${entry%%:*}
    package=${entry#*:}
    if [[ $command == */* ]]; then
      [ -x "$command" ] || [ -f "$command" ] && continue
    else
      command -v "$command" >/dev/null 2>&1 && continue
    fi
    missing+=("$command ($package)")
    [[ " ${packages[*]} " == *" $package "* ]] || packages+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local list
  list=$(printf ', %s' "${missing[@]}")
  echo "${0##*/}: not found: ${list:2}" >&2
  echo "${0##*/}: install with: apt-get install ${packages[*]} (or run scripts/install-deps)" >&2
  exit 127
}
