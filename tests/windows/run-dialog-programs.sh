#!/usr/bin/env bash
# Runs the three dialog programs under wine on a virtual X display:
#   tkwEncoder encodes a wave file through its windows, TkrConverter packs the
#   result into an archive through its windows, TkrPassword shows its window;
#   every window is checked for its title and controls, and a screenshot of
#   each goes to OUT/screenshots.
# Usage: run-dialog-programs.sh ENCODER CONVERTER PASSWORD PROBE OUT
# Exit status 0 on success, 77 (skipped) when no X server can be started.
set -uo pipefail

[ $# -eq 5 ] || { echo "usage: $0 ENCODER CONVERTER PASSWORD PROBE OUT"; exit 2; }
encoder=$(readlink -f "$1") converter=$(readlink -f "$2") password=$(readlink -f "$3") probe=$(readlink -f "$4")
mkdir -p "$5"
out=$(readlink -f "$5")
work="$out/work"
shots="$out/screenshots"
rm -rf "$work" "$shots"
mkdir -p "$work" "$shots"

# A prefix of its own: the final wineserver -k must not end other tests' wine.
export WINEPREFIX="$out/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The loader the build's tests run with (TKW_WINE): wine64 for the x64 build.
wine=${TKW_WINE:-wine}
# The programs' texts are code page 932: a Japanese locale gives them that
# ANSI code page under wine. The probe compares texts as Unicode and needs a
# locale the C library knows, so that its arguments arrive intact.
programs_locale=(env LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8)
probe_locale=(env LANG=C.UTF-8 LC_ALL=C.UTF-8)

xvfb_pid=""
program_pid=""
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
  timeout 30 wineserver -k 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
}
trap cleanup EXIT

fail() {
  echo "FAILED: $*"
  exit 1
}

# Windows form of a Linux path (wine maps / to drive Z:).
winpath() { printf 'Z:%s' "${1//\//\\}"; }

# --- a virtual display on a free number
command -v Xvfb >/dev/null || { echo "SKIPPED: Xvfb is not installed"; exit 77; }
for n in $(seq 91 140); do
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$out/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.2
  done
  if [ -e "/tmp/.X11-unix/X$n" ] && kill -0 "$xvfb_pid" 2>/dev/null; then
    export DISPLAY=":$n"
    break
  fi
  kill "$xvfb_pid" 2>/dev/null
  xvfb_pid=""
done
[ -n "${DISPLAY:-}" ] && [ -n "$xvfb_pid" ] || { echo "SKIPPED: Xvfb could not start"; exit 77; }
echo "display $DISPLAY"

if [ ! -d "$WINEPREFIX" ]; then
  echo "creating the wine prefix"
  timeout 900 "$wine" wineboot -i >"$out/wineboot.log" 2>&1 || fail "wineboot"
fi

# As on a Japanese Windows: the locale gives the programs code page 932, and
# the dialogs' fonts exist (the IPA Gothic fonts stand in for them).
locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$' || fail "the ja_JP.UTF-8 locale is missing (scripts/setup makes it)"
fc-list 2>/dev/null | grep -q IPAPGothic || fail "the IPA Gothic fonts are missing (scripts/setup installs fonts-ipafont-gothic)"
fonts_reg="$out/fonts.reg"
iconv -f UTF-8 -t UTF-16 >"$fonts_reg" <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"ＭＳ Ｐゴシック"="IPAPGothic"
"ＭＳ ゴシック"="IPAGothic"
"MS PGothic"="IPAPGothic"
"MS Gothic"="IPAGothic"
"MS UI Gothic"="IPAPGothic"
"MS Shell Dlg"="IPAPGothic"
"MS Shell Dlg 2"="IPAPGothic"
REG
timeout 600 "${programs_locale[@]}" "$wine" regedit /S "$(winpath "$fonts_reg")" >>"$out/programs.log" 2>&1 ||
  fail "the font replacements could not be set"

probe() { timeout 120 "${probe_locale[@]}" "$wine" "$probe" "$@"; }
# Every text of the window fits its control in the dialogs' proportional font
# and in the monospaced one, and none is shown as boxes.
# All windows are checked before the run fails on one.
unfit=()
fits() { probe fit "$1" "ＭＳ ゴシック" || unfit+=("$1"); }
shot() {
  sleep 1 # let the window paint
  if command -v import >/dev/null; then
    import -display "$DISPLAY" -window root "$shots/$1.png"
  else
    xwd -display "$DISPLAY" -root -out "$shots/$1.xwd"
  fi
  echo "screenshot $1"
}
start() {
  (cd "$work" && exec timeout 300 "${programs_locale[@]}" "$wine" "$1") >>"$out/programs.log" 2>&1 &
  program_pid=$!
}
finish() {
  for _ in $(seq 300); do
    kill -0 "$program_pid" 2>/dev/null || { wait "$program_pid"; program_pid=""; return 0; }
    sleep 0.2
  done
  fail "$1 did not end"
}

codepage=$(timeout 120 "${programs_locale[@]}" "$wine" "$probe" codepage | tr -d '\r')
[ "$codepage" = 932 ] || fail "the programs run with code page $codepage, not 932"

# --- tkwEncoder: settings, then an encode of song.wav into out\
probe wave "$(winpath "$work/song.wav")" 6000 || fail "writing the wave file"
mkdir -p "$work/out"
cat >"$work/TkwEncoder.ini" <<INI
[EncodeParam]
bBurst=0
bMakeLog=1
[ReadPath]
Hist0=$(winpath "$work/song.wav")
[WritePath]
Hist0=$(winpath "$work/out")
INI
start "$encoder"
probe wait "tkwEncoder" 120 || fail "tkwEncoder's main window"
probe controls "tkwEncoder" 1000 1001 1002 1003 1005 1016 1020 1025 1026 1027 || fail "tkwEncoder's controls"
# The input edit takes a dropped file.
probe settext "tkwEncoder" 1002 "nothing"
probe drop "tkwEncoder" 1002 "$(winpath "$work/song.wav")" "$(winpath "$work/TkwEncoder.ini")"
probe waittext "tkwEncoder" 1002 "$(winpath "$work/song.wav")" 30 || fail "the dropped file did not reach the input edit"
fits "tkwEncoder"
shot encoder-main
probe click "tkwEncoder" 1000
probe wait "圧縮モードの設定" 30 || fail "the settings dialog"
probe controls "圧縮モードの設定" 1 2 1028 1029 1015 1011 1026 1027 1041 1005 1021 1030 1013 1014 1008 1009 ||
  fail "the settings dialog's controls"
fits "圧縮モードの設定"
shot encoder-settings
probe key "圧縮モードの設定" 1029 39 # the right arrow selects the expert page
sleep 1
fits "圧縮モードの設定"
shot encoder-settings-expert
probe click "圧縮モードの設定" 2
probe gone "圧縮モードの設定" 30 || fail "the settings dialog did not close"
probe click "tkwEncoder" 1026
probe wait "tkwEncoder - 作業状況" 30 || fail "the progress dialog"
probe controls "tkwEncoder - 作業状況" 1001 1019 1024 1025 1031 1032 || fail "the progress dialog's controls"
probe waittext "tkwEncoder - 作業状況" 1032 "終了" 180 || fail "the encode did not finish"
fits "tkwEncoder - 作業状況"
shot encoder-progress
probe click "tkwEncoder - 作業状況" 1032
probe gone "tkwEncoder - 作業状況" 30 || fail "the progress dialog did not close"
probe click "tkwEncoder" 1027
finish tkwEncoder
[ -s "$work/out/song.tkw" ] || fail "no song.tkw was written"
grep -q "song.tkw" "$work/Log.txt" || fail "Log.txt does not name the output"
grep -qi "Hist0=.*song.wav" "$work/TkwEncoder.ini" || fail "the settings were not written back"
echo "tkwEncoder encoded song.wav"

# --- TkrConverter: a dropped list naming the new sound is packed
printf '7 %s\n' "$(winpath "$work/out/song.tkw")" >"$work/sounds.txt"
start "$converter"
probe wait "TkrConverter" 120 || fail "TkrConverter's main window"
probe controls "TkrConverter" 1 1001 1002 1003 1005 1006 1007 1008 1013 || fail "TkrConverter's controls"
probe drop "TkrConverter" 0 "$(winpath "$work/sounds.txt")"
probe settext "TkrConverter" 1006 "secret"
fits "TkrConverter"
shot converter-main
probe click "TkrConverter" 1008
probe wait "Convert状況" 30 || fail "the queue dialog"
probe controls "Convert状況" 1010 1011 1012 || fail "the queue dialog's controls"
probe waittext "Convert状況" 1012 "終了" 120 || fail "the queue did not finish"
fits "Convert状況"
shot converter-queue
probe click "Convert状況" 1012
probe gone "Convert状況" 30 || fail "the queue dialog did not close"
probe click "TkrConverter" 1
finish TkrConverter
[ -s "$work/sounds.tkr" ] || fail "no sounds.tkr was written"
[ "$(head -c 4 "$work/sounds.tkr")" = "Tkr." ] || fail "sounds.tkr is not an archive"
grep -q "strPass=HDGFGDHCGFHE" "$work/TkrConverter.ini" || fail "the converter's settings were not written back"
grep -q "sounds.txt" "$work/TkrList.txt" || fail "the queue was not saved"
echo "TkrConverter packed sounds.tkr"

# --- TkrPassword: the archive gets a new password after its old one
cp "$work/sounds.tkr" "$work/before.tkr"
start "$password"
title="Tkr - パスワード設定ユーリティー"
probe wait "$title" 120 || fail "TkrPassword's main window"
probe controls "$title" 1001 1002 1003 || fail "TkrPassword's controls"
probe settext "$title" 1001 "new"
probe check "$title" 1002
probe drop "$title" 0 "$(winpath "$work/sounds.tkr")"
probe wait "パスワードの入力" 30 || fail "the old-password dialog"
probe controls "パスワードの入力" 1 2 1005 1006 || fail "the old-password dialog's controls"
probe focus "パスワードの入力" 1005 || fail "the old-password dialog does not put the focus on its password field"
fits "パスワードの入力"
probe settext "パスワードの入力" 1005 "secret"
shot password-old
probe click "パスワードの入力" 1
probe gone "パスワードの入力" 30 || fail "the old password was not taken"
probe contains "$title" 1003 "パスワードは正常にセットされました" 30 || fail "the password was not set"
fits "$title"
shot password-main
probe close "$title"
finish TkrPassword
# Only the check word, bytes 9 to 12 counted from 1, may differ.
changed=$(cmp -l "$work/before.tkr" "$work/sounds.tkr" | awk '$1 < 9 || $1 > 12' | wc -l)
[ "$changed" -eq 0 ] || fail "TkrPassword changed more than the check word"
cmp -s "$work/before.tkr" "$work/sounds.tkr" && fail "the check word did not change"
echo "TkrPassword set the new password"
echo "screenshots in $shots"
((${#unfit[@]} == 0)) || fail "texts do not fit their controls in: ${unfit[*]}"
