# Shared by the scripts of tools/ (sourced, not run).

VIV_TOP=$(cd "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/.." && pwd)

# What building, testing and running need, from Debian; installed when missing and run as root.
# python3: tools/compte-tests, which counts the test reports for tools/test. locales: the
# Unix locales below, from which Wine takes a program's ANSI code page.
VIV_PAQUETS="cmake g++ googletest g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth xdotool imagemagick fonts-wine python3 locales"

# The tests run the launcher on Windows of other code pages, each the ANSI code page Wine gives a
# program under a Unix locale: Russian for 1251, and Hindi, which has none, for 65001, as
# Windows' "UTF-8 for worldwide language support". Page:locale.
VIV_PAGES_DE_CODE="1251:ru_RU 65001:hi_IN"

installe_manquants() {
  local manquants=() p
  for p in $VIV_PAQUETS; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || manquants+=("$p")
  done
  if [ ${#manquants[@]} -gt 0 ]; then
    if [ "$(id -u)" -ne 0 ]; then
      echo "Missing packages (run as root to install them): ${manquants[*]}" >&2
      return 1
    fi
    echo "Installing ${manquants[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq && apt-get install -y -qq --no-install-recommends "${manquants[@]}" >/dev/null ||
      return 1
  fi
  viv_locales
}

# Makes the locales of VIV_PAGES_DE_CODE that are missing (as root).
viv_locales() {
  local p l
  for p in $VIV_PAGES_DE_CODE; do
    l=${p#*:}
    locale -a 2>/dev/null | grep -qix "$l.utf8" && continue
    if [ "$(id -u)" -ne 0 ]; then
      echo "Missing locale $l.UTF-8 (run as root to make it)" >&2
      return 1
    fi
    localedef -i "$l" -f UTF-8 "$l.UTF-8" || return 1
  done
}

# The Unix locale under which Wine gives a program the ANSI code page $1.
viv_locale_de_page() {
  local p
  for p in $VIV_PAGES_DE_CODE; do
    [ "${p%%:*}" = "$1" ] && { echo "${p#*:}.UTF-8"; return 0; }
  done
  echo "No locale gives the code page $1" >&2
  return 1
}

# One private prefix per checkout, kept with the Windows build; VIVLAN_WINEPREFIX overrides it.
viv_wine_env() {
  export WINEPREFIX=${VIVLAN_WINEPREFIX:-$VIV_TOP/build/windows/wineprefix}
  export WINEARCH=win64
  # err+module stays on: with -all alone a missing DLL is silent and the process just exits 53.
  export WINEDEBUG=-all,err+module
  # No Mono or Gecko install prompts.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  if command -v wine64 >/dev/null; then VIV_WINE=wine64; else VIV_WINE=wine; fi
}

# What a ready prefix holds, written in its .vivlan-ready; one made by another version is made
# again. 2: Wine's own fonts in C:\windows\Fonts. 3: text files open in Notepad, as on Windows.
VIV_VERSION_PREFIXE=3

# viv_prefix_pret [PPP]: whether the prefix is ready, the one of a screen at PPP dpi if given.
viv_prefix_pret() {
  [ "$(cat "$WINEPREFIX/.vivlan-ready" 2>/dev/null)" = "$VIV_VERSION_PREFIXE${1:+ $1}" ]
}

# Makes the prefix once; a ready one is reused as it is.
viv_prefix() {
  viv_wine_env
  viv_prefix_pret && return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    viv_prefix_pret && exit 0
    echo "Making the Wine prefix $WINEPREFIX" >&2
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || exit 1
    # A crash must end the process, not start winedbg and wait for a user.
    $VIV_WINE reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d '' /f >/dev/null &&
    $VIV_WINE reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Auto /d 1 /f >/dev/null &&
    # Every program opens in one 1024x768 desktop whose taskbar shows the notification area.
    $VIV_WINE reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null &&
    $VIV_WINE reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null &&
    # Wine knows how to open a text file but does not say that .txt is one.
    $VIV_WINE reg add 'HKCR\.txt' /ve /d txtfile /f >/dev/null || exit 1
    # The dialogs' "MS Sans Serif" itself, as on Windows: without it a wider font stands in and
    # labels run into their fields.
    cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" || exit 1
    wineserver -w
    echo "$VIV_VERSION_PREFIXE" >"$WINEPREFIX/.vivlan-ready"
  ) 9>"$WINEPREFIX.lock"
}

# viv_prefix_echelle PPP: the prefix of a screen at PPP dots per inch (144 is Windows' 150 %),
# beside the ready one and copied from it, with the scale where Windows keeps it; made again
# with each new version of the ready one.
viv_prefix_echelle() {
  local ppp=$1 pret
  viv_prefix || return 1
  pret=$WINEPREFIX
  export WINEPREFIX=$pret-$ppp
  viv_prefix_pret "$ppp" && return 0
  (
    flock 9
    viv_prefix_pret "$ppp" && exit 0
    echo "Making the Wine prefix $WINEPREFIX" >&2
    rm -rf "$WINEPREFIX"
    cp -a "$pret" "$WINEPREFIX" || exit 1
    $VIV_WINE reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$ppp" /f \
      >/dev/null || exit 1
    wineserver -w
    echo "$VIV_VERSION_PREFIXE $ppp" >"$WINEPREFIX/.vivlan-ready"
  ) 9>"$WINEPREFIX.lock"
}

# One user of the prefix's wineserver at a time: tools/test for its whole run (it exports
# VIVLAN_LOT so that the wine-run calls under it do not wait for it), a bare wine-run otherwise.
viv_verrou() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  exec 8>"$WINEPREFIX.run.lock"
  flock -n 8 || { echo "Waiting for another run in $WINEPREFIX to finish" >&2; flock 8; }
}

# Starts a private Xvfb on a free display and exports DISPLAY; VIV_XVFB_PID is its pid.
viv_xvfb_start() {
  local fdfile
  fdfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
  VIV_XVFB_PID=$!
  local i
  for i in $(seq 1 200); do
    [ -s "$fdfile" ] && break
    kill -0 "$VIV_XVFB_PID" 2>/dev/null || break
    sleep 0.05
  done
  if [ ! -s "$fdfile" ]; then
    rm -f "$fdfile"
    echo "Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=:$(tr -d '[:space:]' <"$fdfile")
  rm -f "$fdfile"
}

viv_xvfb_stop() {
  if [ -n "${VIV_XVFB_PID:-}" ]; then
    kill "$VIV_XVFB_PID" 2>/dev/null
    wait "$VIV_XVFB_PID" 2>/dev/null
    VIV_XVFB_PID=
  fi
}

# Xvfb when there is no display, and one persistent wineserver for the whole run so that no
# program pays its start-up; viv_nettoie, the EXIT trap, ends them with the script.
viv_session() {
  trap viv_nettoie EXIT
  trap 'exit 130' INT TERM
  if [ -z "${DISPLAY:-}" ]; then
    viv_xvfb_start || return 1
  fi
  wineserver -p && VIV_SERVEUR_A_MOI=1
  return 0
}

# Ends what viv_session started; a wineserver that was already running is left alone.
viv_nettoie() {
  if [ -n "${VIV_SERVEUR_A_MOI:-}" ]; then
    wineserver -k 2>/dev/null
    VIV_SERVEUR_A_MOI=
  fi
  viv_xvfb_stop
}
