# Sourced by the Wine harness scripts: where the prefix lives and how it is made ready.
# The prefix, the Xvfb display file and the lock live inside the build tree.

LBB_REPO="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# LBB_DPI=N (other than 96) runs Wine at N pixels per inch: in a root of its own
# (build/wine-dpiN: prefix, Xvfb display and lock), whose prefix has LogPixels set to N, so
# the screen's DPI of the main prefix never changes and the two wineservers never share a
# display (their virtual desktops would cover each other's windows).
LBB_DPI="${LBB_DPI:-96}"
case "$LBB_DPI" in
  '' | *[!0-9]*) echo "wine harness: LBB_DPI must be a number, not '$LBB_DPI'" >&2; return 2 ;;
esac
if [ "$LBB_DPI" -eq 96 ]; then
  LBB_WINE_ROOT="${LBB_WINE_ROOT:-$LBB_REPO/build/wine}"
else
  LBB_WINE_ROOT="${LBB_WINE_ROOT:-$LBB_REPO/build/wine-dpi$LBB_DPI}"
fi
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
    Xvfb ":$n" -screen 0 "${lbb_screen_size}x24" -nolisten tcp -ac >/dev/null 2>&1 &
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
#   window to itself, with no window manager in between;
# - in a DPI root (LBB_DPI), the screen's resolution: LogPixels under HKCU\Control Panel\Desktop.
lbb_prefix_settings=5
# The screen: 1280 x 1024 at 96 pixels per inch, as many inches at any other resolution (a
# screen of 200 % has twice the pixels), so a window scaled with the DPI fits as it does at 96.
lbb_screen_size="$((1280 * LBB_DPI / 96))x$((1024 * LBB_DPI / 96))"
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

# True when the 32-bit Wine (Debian's wine32) is installed beside the 64-bit one and this
# machine runs it (a kernel without 32-bit x86 support, as in some virtual machines, does not).
lbb_has_wine32() {
  [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

# Debian's `wine` starts the 32-bit loader whenever wine32 is installed: on a machine that
# cannot run it, no Wine command works at all. Said once, plainly, instead of every program
# failing to start.
lbb_check_wine32() {
  if [ -x /usr/lib/wine/wine ] && ! lbb_has_wine32; then
    echo "wine harness: wine32 is installed but this machine cannot run 32-bit programs," \
      "so Wine cannot start; remove it (apt-get remove wine32:i386)" >&2
    return 1
  fi
}

lbb_ensure_prefix() {
  mkdir -p "$LBB_WINE_ROOT"
  (
    flock 9
    # A prefix made while the 32-bit Wine was missing cannot run i686 programs, nor any
    # program once that Wine is installed ("could not load kernel32.dll"): it is made again.
    if [ -f "$WINEPREFIX/.lbb-ready" ] && lbb_has_wine32 && [ ! -f "$WINEPREFIX/.lbb-wow64" ]; then
      rm -f "$WINEPREFIX/.lbb-ready"
    fi
    [ -f "$WINEPREFIX/.lbb-ready" ] && [ -f "$WINEPREFIX/.lbb-settings-$lbb_prefix_settings" ] &&
      exit 0
    if [ ! -f "$WINEPREFIX/.lbb-ready" ]; then
      command wineserver -k >/dev/null 2>&1 || true
      command wineserver -w >/dev/null 2>&1 || true
      rm -rf "$WINEPREFIX"
      lbb_wine_quiet wineboot -i
      command wineserver -w
      if lbb_has_wine32; then touch "$WINEPREFIX/.lbb-wow64"; fi
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
        lbb_wine_quiet command wine reg add "$key" /v "$face" /t REG_MULTI_SZ \
          /d "wqy-microhei.ttc,WenQuanYi Micro Hei" /f
      done
    fi
    lbb_wine_quiet command wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f
    lbb_wine_quiet command wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default \
      /d "$lbb_screen_size" /f
    # The screen's resolution: Wine reads LogPixels when a wineserver starts (the restart
    # below), and reports it to DPI-aware programs (96 to the others).
    if [ "$LBB_DPI" -ne 96 ]; then
      lbb_wine_quiet command wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels \
        /t REG_DWORD /d "$LBB_DPI" /f
    fi
    # Fonts and settings registered while a wineserver runs are not seen by it.
    command wineserver -k 2>/dev/null || true
    command wineserver -w
    touch "$WINEPREFIX/.lbb-settings-$lbb_prefix_settings"
  ) 9>"$LBB_WINE_ROOT/prefix.lock"
}

# Makes Wine ready for a script's Wine commands, before the first of them: a display that
# answers, the prefix made and set, one wineserver started with that display (kept alive for
# `persist` seconds after its last program, for good when empty), and the prefix's services.
# Every Wine command started before this (winepath included) would start the wineserver and
# the virtual desktop without a display, and every program of that server would then show no
# window. The `wine` and `winepath` functions below call it, so a script that sources this
# file cannot run Wine too early; `wine-run` and `wine-harness start` call it too.
lbb_wine_ready() {
  lbb_check_wine32
  lbb_ensure_display
  lbb_ensure_prefix
  # A server already running (an earlier start, or a test that started one) is kept.
  command wineserver "-p${1:-}" </dev/null >/dev/null 2>&1 || true
  lbb_start_services
  LBB_WINE_IS_READY=1
}

# Wine commands of a sourcing script make Wine ready first (once per shell).
wine() {
  [ -n "${LBB_WINE_IS_READY:-}" ] || lbb_wine_ready 30
  command wine "$@"
}
winepath() {
  [ -n "${LBB_WINE_IS_READY:-}" ] || lbb_wine_ready 30
  command winepath "$@"
}

# The Windows path of a Unix path (Wine's drive Z: is the root of the file system), without
# starting Wine.
lbb_windows_path() {
  local p
  p="$(realpath -m "$1")"
  printf 'Z:%s\n' "${p//\//\\}"
}

# Starts the prefix's services (services.exe, plugplay, rpcss, ...) with no output of ours.
# The first Windows program to run starts them otherwise, and they would keep that program's
# stdout and stderr open for as long as they live: ctest would wait for the end of a test's
# output until its time-out.
lbb_start_services() {
  command wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}
