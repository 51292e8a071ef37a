#!/usr/bin/env bash
# Installs the game into a temporary prefix with DESTDIR, so the program runs from a prefix other
# than the one it was installed for, and checks what a player gets: the files in their places,
# a valid desktop entry and metainfo, the data found from the moved prefix, the saved game in
# the user's data directory, and the game running headless without an error until it is closed.
# Usage: installed_game_test.sh BUILD_DIR SIM
set -euo pipefail
build="$(realpath "$1")"
sim="$(realpath "$2")"
tmp="$(mktemp -d "${TMPDIR:-/tmp}/sk-install-XXXXXX")"
game_pid=""
cleanup() {
  if [ -n "$game_pid" ]; then kill "$game_pid" 2>/dev/null || true; fi
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$tmp/root" cmake --install "$build" --prefix /opt/starvelkhorn >"$tmp/install.log"
prefix="$tmp/root/opt/starvelkhorn"

for f in bin/starvelkhorn share/applications/starvelkhorn.desktop \
  share/metainfo/org.starvelkhorn.Starvelkhorn.metainfo.xml \
  share/icons/hicolor/16x16/apps/starvelkhorn.png share/icons/hicolor/48x48/apps/starvelkhorn.png \
  share/icons/hicolor/256x256/apps/starvelkhorn.png share/man/man6/starvelkhorn.6.gz \
  share/doc/starvelkhorn/README.md share/doc/starvelkhorn/LICENSE \
  share/doc/starvelkhorn/copyright; do
  [ -f "$prefix/$f" ] || fail "not installed: $f"
done
[ -x "$prefix/bin/starvelkhorn" ] || fail "the game is not executable"
for d in res sounds levels music; do
  [ -n "$(ls -A "$prefix/share/starvelkhorn/$d")" ] || fail "empty content folder: $d"
done
[ "$(ls "$prefix/share/starvelkhorn/levels" | wc -l)" = "$(ls "$build/data/levels" | wc -l)" ] ||
  fail "the installed levels differ from the built ones"
[ -s "$prefix/share/starvelkhorn/demo/flight.replay" ] || fail "the title's flight is not installed"
# Every picture the installed README shows lies where its link points.
shown=0
for src in $(grep -o 'src="[^"]*"' "$prefix/share/doc/starvelkhorn/README.md" | sed 's/^src="//; s/"$//'); do
  [ -s "$prefix/share/doc/starvelkhorn/$src" ] || fail "the README shows $src, not installed"
  shown=$((shown + 1))
done
[ "$shown" -ge 10 ] || fail "the README shows only $shown pictures"

desktop-file-validate "$prefix/share/applications/starvelkhorn.desktop" ||
  fail "desktop-file-validate"
appstreamcli validate --no-net "$prefix/share/metainfo/org.starvelkhorn.Starvelkhorn.metainfo.xml" ||
  fail "appstreamcli validate"

# A player's environment: a fresh home, no data override, no display, no sound card.
mkdir -p "$tmp/home" "$tmp/xdg" "$tmp/cwd"
run() {
  (cd "$tmp/cwd" && exec env -u STARVELKHORN_DATA HOME="$tmp/home" XDG_DATA_HOME="$tmp/xdg" \
    SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$@")
}

check="$(run "$prefix/bin/starvelkhorn" --check-data)" || fail "--check-data: $check"
echo "$check"
grep -qxF "data: $prefix/share/starvelkhorn" <<<"$check" || fail "data not found in the prefix"
grep -qxF "installed: $prefix" <<<"$check" || fail "not seen as installed"
grep -qxF "save: $tmp/xdg/starvelkhorn/game.sav" <<<"$check" || fail "save not in XDG_DATA_HOME"
check="$(cd "$tmp/cwd" && env -u STARVELKHORN_DATA -u XDG_DATA_HOME HOME="$tmp/home" \
  "$prefix/bin/starvelkhorn" --check-data)"
grep -qxF "save: $tmp/home/.local/share/starvelkhorn/game.sav" <<<"$check" ||
  fail "save not in ~/.local/share without XDG_DATA_HOME: $check"

# The binary alone, without its prefix's data, says where it looked and fails.
mkdir -p "$tmp/bare/bin"
cp "$prefix/bin/starvelkhorn" "$tmp/bare/bin/"
if run "$tmp/bare/bin/starvelkhorn" --check-data 2>"$tmp/bare.err"; then
  fail "ran without data"
fi
grep -qF "$tmp/bare/share/starvelkhorn" "$tmp/bare.err" || fail "the missing-data message"

# The game itself: loads everything, opens its window and keeps running without showing a
# message; closing it (SIGTERM becomes the window's close) ends it with status 0.
# (Started straight from here: the signal must reach the game, not a shell around it.)
cd "$tmp/cwd"
env -u STARVELKHORN_DATA HOME="$tmp/home" XDG_DATA_HOME="$tmp/xdg" SDL_VIDEODRIVER=dummy \
  SDL_AUDIODRIVER=dummy "$prefix/bin/starvelkhorn" >"$tmp/game.out" 2>"$tmp/game.err" &
game_pid=$!
cd /
# SIGTERM closes the window only once the game has taken it over (bit 15 of SigCgt); a busy
# machine may need long for that, so wait for the handler before the run starts to count.
for _ in $(seq 900); do
  mask="$(awk '/^SigCgt:/ {print $2}' "/proc/$game_pid/status" 2>/dev/null || true)"
  [ -n "$mask" ] && (((0x$mask >> 14) & 1)) && break
  kill -0 "$game_pid" 2>/dev/null || break
  sleep 0.2
done
sleep "${SK_INSTALL_RUN_SECONDS:-5}"
kill -0 "$game_pid" 2>/dev/null || { cat "$tmp/game.err" >&2; fail "the game ended by itself"; }
kill -TERM "$game_pid"
status=0
wait "$game_pid" || status=$?
game_pid=""
cat "$tmp/game.err" >&2
[ "$status" = 0 ] || fail "the game ended with status $status when closed"
if grep -q "Starvelkhorn:\|starvelkhorn:" "$tmp/game.err"; then fail "the game reported an error"; fi

# Under a real X server, the first window the player sees is the display-mode choice, 141 x 127.
# (X's libraries keep allocations for the life of the process; the leak check above covers ours.)
if command -v xvfb-run >/dev/null && command -v xdotool >/dev/null; then
  cat >"$tmp/choice.sh" <<'EOS'
set -u
game="$1" out="$2"
"$game" 2>"$out.err" &
pid=$!
# Up to three minutes of wall time: a sanitizer build on a machine busy with other tests and
# builds can take that long to map its first window. A game that dies ends the wait at once.
win=""
while [ "$SECONDS" -lt 180 ] && kill -0 "$pid" 2>/dev/null; do
  win="$(xdotool search --name '^Starvelkhorn$' 2>/dev/null | head -1)"
  [ -n "$win" ] && break
  sleep 0.2
done
sleep 1
[ -n "$win" ] && xdotool getwindowgeometry "$win" >"$out"
kill -TERM "$pid"
wait "$pid"
EOS
  status=0
  (cd "$tmp/cwd" && exec env -u STARVELKHORN_DATA -u SDL_VIDEODRIVER HOME="$tmp/home" \
    XDG_DATA_HOME="$tmp/xdg" SDL_AUDIODRIVER=dummy ASAN_OPTIONS=detect_leaks=0 \
    xvfb-run -a -s "-screen 0 1280x1024x24" bash "$tmp/choice.sh" "$prefix/bin/starvelkhorn" \
    "$tmp/choice.out") || status=$?
  cat "$tmp/choice.out.err" >&2 || true
  [ "$status" = 0 ] || fail "the game under Xvfb ended with status $status"
  grep -q "Geometry: 141x127" "$tmp/choice.out" || fail "no choice window: $(cat "$tmp/choice.out")"
  if grep -q "Starvelkhorn:\|starvelkhorn:" "$tmp/choice.out.err"; then fail "error under Xvfb"; fi
  echo "choice window: $(grep Geometry "$tmp/choice.out")"
fi

[ ! -e "$tmp/xdg/starvelkhorn" ] || fail "the save folder was made before any save"

# Saving and loading as a player does, through the headless driver placed beside the installed
# game so that it runs from the prefix: the save lands in the user's data directory, its folder
# made on the way, and loads back.
cp "$sim" "$prefix/bin/starvelkhorn-sim"
cat >"$tmp/save.txt" <<'EOS'
choose "V okne"
click "Pokracovat"
wait 200
click "Nová hra"
click "Lehká obtížnost"
click "Pokračuj"
click "Nakupovat/prodávat"
click "Obchodovat s letadly"
click "Koupit"
click "Zpět"
click "Zpět"
click "Uložit hru"
expect "Letět další misi"
EOS
cat >"$tmp/load.txt" <<'EOS'
choose "V okne"
click "Pokracovat"
wait 200
click "Nahrát hru"
expect "Letět další misi"
EOS
run "$prefix/bin/starvelkhorn-sim" --data "$prefix/share/starvelkhorn" --ui-script "$tmp/save.txt" \
  --summary >"$tmp/save.out" || fail "saving: $(cat "$tmp/save.out")"
[ -f "$tmp/xdg/starvelkhorn/game.sav" ] || fail "no save in \$XDG_DATA_HOME/starvelkhorn"
[ "$(stat -c %s "$tmp/xdg/starvelkhorn/game.sav")" = 24 ] || fail "the save is not one record"
summary="$(run "$prefix/bin/starvelkhorn-sim" --data "$prefix/share/starvelkhorn" \
  --ui-script "$tmp/load.txt" --summary)" || fail "loading: $summary"
grep -q '"screen":"hangar","credits":10000' <<<"$summary" || fail "loaded: $summary"
echo "saved and loaded: $tmp/xdg/starvelkhorn/game.sav"
[ -z "$(find "$prefix/share/starvelkhorn" -name 'game.sav*')" ] || fail "wrote into the prefix"
echo "installed game: ok"
