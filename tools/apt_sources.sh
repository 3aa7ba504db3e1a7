# shellcheck shell=bash
# Sourced by the tools that make Debian roots with debootstrap: the mirror
# this machine's apt already uses, since only Debian's mirror may be reachable.

# The URIs this machine's apt uses for a suite, from one-line and deb822
# sources files (only those apt reads: *.list and *.sources).
apt_uris_for() {
  local suite=$1 file
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$file" ] || continue
    awk -v want="$suite" '
      $1 == "deb" {
        i = 2
        if ($2 ~ /^\[/) { while (i < NF && $i !~ /\]$/) i++; i++ }
        if ($(i + 1) == want) print $i
      }' "$file"
  done
  for file in /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] || continue
    awk -v want="$suite" '
      function flush(   n, s, u, k) {
        if (types ~ /(^| )deb( |$)/ && tolower(enabled) != "no") {
          n = split(suites, s, /[ \t]+/)
          split(uris, u, /[ \t]+/)
          for (k = 1; k <= n; k++) if (s[k] == want) print u[1]
        }
        types = uris = suites = enabled = ""
      }
      /^[ \t]*#/ { next }
      /^[ \t]*$/ { flush(); next }
      {
        field = tolower($0); sub(/:.*/, "", field)
        value = $0; sub(/^[^:]*:[ \t]*/, "", value)
        if (field == "types") types = value
        else if (field == "uris") uris = value
        else if (field == "suites") suites = value
        else if (field == "enabled") enabled = value
      }
      END { flush() }' "$file"
  done
}

# The mirror to fetch SUITE from: the one apt uses for it, else the one it
# uses for this machine's own release (one archive holds every release).
# Prints nothing when there is neither.
mirror_for() {
  local uri codename
  uri=$(apt_uris_for "$1" | head -n 1)
  if [ -z "$uri" ] && [ -r /etc/os-release ]; then
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    [ -z "$codename" ] || uri=$(apt_uris_for "$codename" | head -n 1)
  fi
  echo "$uri"
}
