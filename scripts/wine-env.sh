# Sourced by the Wine harness scripts: where the prefix lives and how it is made ready.
# The prefix, the Xvfb display file and the lock live inside the build tree.

LBB_REPO="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
LBB_WINE_ROOT="${LBB_WINE_ROOT:-$LBB_REPO/build/wine}"
export WINEPREFIX="${LBB_WINEPREFIX:-$LBB_WINE_ROOT/prefix}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko install prompts: the project needs neither.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree=d;mshtml=d}"

lbb_cjk_font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc

# True when $DISPLAY names an X server that answers.
lbb_display_works() {
  [ -n "${DISPLAY:-}" ] && xdpyinfo -display "$DISPLAY" >/dev/null 2>&1
}

# Makes DISPLAY point at a working X server: the caller's, the harness's Xvfb, or a new Xvfb
# (recorded in the build tree so later calls and `wine-harness stop` find it).
lbb_ensure_display() {
  lbb_display_works && return 0
  mkdir -p "$LBB_WINE_ROOT"
  if [ -f "$LBB_WINE_ROOT/xvfb.display" ]; then
    DISPLAY="$(cat "$LBB_WINE_ROOT/xvfb.display")"
    export DISPLAY
    lbb_display_works && return 0
  fi
  local n
  for n in $(seq 91 140); do
    [ -e "/tmp/.X${n}-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -ac >/dev/null 2>&1 &
    echo $! >"$LBB_WINE_ROOT/xvfb.pid"
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 50); do
      if lbb_display_works; then
        echo "$DISPLAY" >"$LBB_WINE_ROOT/xvfb.display"
        return 0
      fi
      sleep 0.1
    done
    kill "$(cat "$LBB_WINE_ROOT/xvfb.pid")" 2>/dev/null || true
  done
  echo "wine harness: could not start Xvfb" >&2
  return 1
}

# Creates the prefix on first use (under a lock, so parallel tests wait for one creation),
# then applies the project's settings once (a prefix made by an older harness gets them too):
# - Wine's Marlett (the glyphs of the caption buttons) and the CJK font linked into the
#   prefix, the CJK font registered as the fallback of the dialog fonts (Wine's own Tahoma is
#   left out: with it, edit controls draw Chinese text as boxes);
# - one virtual desktop: Wine then draws every window's frame and caption itself (screenshots
#   show them, as the skin's non-client painting will need) and keeps focus and the foreground
#   window to itself, with no window manager in between.
lbb_prefix_settings=4
lbb_wine_marlett=/usr/share/wine/fonts/marlett.ttf
# Runs a Wine set-up command quietly; a command that fails (Wine's first start on a loaded
# machine sometimes does) is tried twice more after the wineserver has ended, and a last failure
# is named on stderr instead of ending the harness without a word.
lbb_wine_quiet() {
  local try
  for try in 1 2 3; do
    "$@" >/dev/null 2>&1 && return 0
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
  done
  echo "wine harness: '$*' failed three times" >&2
  return 1
}

lbb_ensure_prefix() {
  mkdir -p "$LBB_WINE_ROOT"
  (
    flock 9
    [ -f "$WINEPREFIX/.lbb-settings-$lbb_prefix_settings" ] && exit 0
    if [ ! -f "$WINEPREFIX/.lbb-ready" ]; then
      rm -rf "$WINEPREFIX"
      lbb_wine_quiet wineboot -i
      wineserver -w
      touch "$WINEPREFIX/.lbb-ready"
    fi
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    if [ -f "$lbb_wine_marlett" ]; then
      ln -sf "$lbb_wine_marlett" "$fonts/marlett.ttf"
    fi
    if [ -f "$lbb_cjk_font" ]; then
      ln -sf "$lbb_cjk_font" "$fonts/wqy-microhei.ttc"
      local key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
      local face
      for face in "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif" "Segoe UI" \
                  "Arial" "Times New Roman" "Courier New"; do
        lbb_wine_quiet wine reg add "$key" /v "$face" /t REG_MULTI_SZ \
          /d "wqy-microhei.ttc,WenQuanYi Micro Hei" /f
      done
    fi
    lbb_wine_quiet wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f
    lbb_wine_quiet wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f
    # Fonts and settings registered while a wineserver runs are not seen by it.
    wineserver -k 2>/dev/null || true
    wineserver -w
    touch "$WINEPREFIX/.lbb-settings-$lbb_prefix_settings"
  ) 9>"$LBB_WINE_ROOT/prefix.lock"
}

# Starts the prefix's services (services.exe, plugplay, rpcss, ...) with no output of ours.
# The first Windows program to run starts them otherwise, and they would keep that program's
# stdout and stderr open for as long as they live: ctest would wait for the end of a test's
# output until its time-out.
lbb_start_services() {
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}
