# Sourced by run.sh and test.sh: the Wine environment zepx.exe runs in.
# A prefix of its own under build/ (build/wineprefix, or $ZEPX_WINEPREFIX),
# the Japanese locale (Wine's ANSI code page is then 932), and no Mono or
# Gecko installer prompts (nothing here needs .NET or HTML, and a prompt
# would wait forever on a headless display).

ZEPX_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${ZEPX_WINEPREFIX:-$ZEPX_ROOT/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml=d;winemenubuilder.exe=d"
export LANG=ja_JP.UTF-8
export LC_ALL=ja_JP.UTF-8
unset WINEARCH

# Creates the prefix the first time (about 10-20 s). Needs a display only
# for the windows wineboot may open, so it runs wherever it is called.
zepx_wine_prefix() {
  if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    echo "wine: creating the prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineboot -i >"$WINEPREFIX.wineboot.log" 2>&1 || {
      echo "wine: wineboot failed; see $WINEPREFIX.wineboot.log" >&2
      return 1
    }
    wineserver -w
  fi
}

# A Linux path of an existing file as Wine sees it (drive Z: is "/").
zepx_winpath() {
  local p
  p="$(realpath -- "$1")"
  printf 'Z:%s' "${p//\//\\}"
}
