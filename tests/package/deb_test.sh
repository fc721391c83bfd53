#!/usr/bin/env bash
# Builds the Debian package from a build folder, unpacks it into a temporary
# folder and checks what an installation gets: both programs run from there,
# the desktop entry and AppStream data validate, the manual page and the
# completion know every command of the installed tool, and lintian finds no
# error (its warnings are printed).
# Usage: deb_test.sh BUILD_DIR VERSION APP_ID
set -euo pipefail
build=$1 version=$2 app_id=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/out" >"$tmp/cpack.log" 2>&1 || {
    cat "$tmp/cpack.log" >&2; exit 1; }
deb=$tmp/out/quorantel_${version}_amd64.deb
[ -f "$deb" ] || { ls "$tmp/out" >&2; echo "FAIL: no $deb" >&2; exit 1; }

# Depends: the libraries dpkg-shlibdeps found, and the two run-time data packages.
depends=$(dpkg-deb -f "$deb" Depends)
for package in libc6 libqt6widgets6 libsdl2-mixer-2.0-0 fluid-soundfont-gm fonts-ipafont-gothic; do
    [[ ", $depends," == *", $package"[\ ,]* ]] || fail "Depends lacks $package: $depends"
done

root=$tmp/root
dpkg-deb -x "$deb" "$root"
usr=$root/usr
for file in bin/quorantel bin/quorantel-cli \
            share/applications/$app_id.desktop share/metainfo/$app_id.metainfo.xml \
            share/icons/hicolor/scalable/apps/quorantel.svg \
            share/man/man1/quorantel.1.gz share/man/man1/quorantel-cli.1.gz \
            share/bash-completion/completions/quorantel-cli \
            share/doc/quorantel/copyright share/doc/quorantel/changelog.gz \
            libexec/quorantel/quorantel-cli-draw; do
    [ -f "$usr/$file" ] || fail "the package lacks /usr/$file"
done
ls "$usr"/share/doc/quorantel/help/*.html >/dev/null 2>&1 || fail "the package lacks the help pages"

# The programs as installed (stripped) run, and the tool does real work.
[ "$("$usr/bin/quorantel-cli" --version)" = "quorantel-cli $version" ] || fail "quorantel-cli --version"
[ "$(QT_QPA_PLATFORM=offscreen "$usr/bin/quorantel" --version)" = "quorantel $version" ] || fail "quorantel --version"
"$usr/bin/quorantel-cli" new "$tmp/a.snr" --title "パッケージ" >/dev/null &&
    "$usr/bin/quorantel-cli" info "$tmp/a.snr" | grep -q '"title": *"パッケージ"' || fail "quorantel-cli new, then info"
ls "$usr"/share/quorantel/resources/*.bmp >/dev/null 2>&1 || fail "the package lacks the starter pictures"
# The drawing commands run through the helper in libexec.
mkdir -p "$tmp/joined"
"$usr/bin/quorantel-cli" join "$tmp/a.snr" "$tmp/joined" game >/dev/null && [ -f "$tmp/joined/game.TXT" ] ||
    fail "quorantel-cli join through the installed drawing helper"

desktop=$usr/share/applications/$app_id.desktop
desktop-file-validate "$desktop" | grep -v ': hint: ' && fail "desktop-file-validate"
grep -qx 'StartupWMClass=quorantel' "$desktop" || fail "StartupWMClass is not the window class quorantel"
grep -qx 'Name\[ja\]=クオランテル シナリオエディタ' "$desktop" || fail "menu name"
# The editor's windows carry that class: look for them on a virtual screen.
if command -v xvfb-run >/dev/null && command -v xwininfo >/dev/null; then
    mkdir "$tmp/home"
    HOME=$tmp/home XDG_CONFIG_HOME=$tmp/home/config QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=dummy \
    timeout 120 xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
        "$1" & editor=$!
        for _ in $(seq 60); do
            xwininfo -root -tree | grep -q "(\"quorantel\" " && { kill $editor; exit 0; }
            sleep 0.5
        done
        kill $editor; exit 1' bash "$usr/bin/quorantel" >"$tmp/x.log" 2>&1 ||
        { cat "$tmp/x.log" >&2; fail "no editor window of class quorantel"; }
fi
appstreamcli validate --no-net "$usr/share/metainfo/$app_id.metainfo.xml" >"$tmp/as.log" 2>&1 ||
    { cat "$tmp/as.log" >&2; fail "appstreamcli validate"; }

# The manual pages render without warnings, and name each usage of the tool.
for page in quorantel quorantel-cli; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man $page: $warnings"
done
mapfile -t usages < <("$usr/bin/quorantel-cli" --help 2>&1 | sed -n 's/^ *quorantel-cli //p')
[ ${#usages[@]} -ge 10 ] || fail "quorantel-cli --help lists ${#usages[@]} commands"
manual=$(zcat "$usr/share/man/man1/quorantel-cli.1.gz")
for usage in "${usages[@]}"; do
    grep -qxF ".B ${usage//-/\\-}" <<<"$manual" || fail "man quorantel-cli lacks: $usage"
done

# Completion, with the unpacked tool first on PATH: the commands, a command's
# options, the kinds of delete-object, and only folders where a folder goes.
export PATH=$usr/bin:$PATH
# shellcheck source=/dev/null
source "$usr/share/bash-completion/completions/quorantel-cli"
complete_words() {  # the words typed so far, the last one being completed
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    COMPREPLY=()
    _quorantel_cli
    printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' '
}
expected=$(printf '%s\n' "${usages[@]%% *}" --help --version | sort | tr '\n' ' ')
[ "$(complete_words quorantel-cli '')" = "$expected" ] || fail "completion of commands: $(complete_words quorantel-cli '')"
[ "$(complete_words quorantel-cli new a.snr --)" = "--designer --field-name --height --title --width " ] ||
    fail "completion of new's options: $(complete_words quorantel-cli new a.snr --)"
[ "$(complete_words quorantel-cli delete-object a.snr -o out.snr e)" = "enemytype enter event " ] ||
    fail "completion of kinds: $(complete_words quorantel-cli delete-object a.snr -o out.snr e)"
mkdir "$tmp/work" "$tmp/work/outdir" && touch "$tmp/work/orange.snr"
(cd "$tmp/work" && [ "$(complete_words quorantel-cli join a.snr o)" = "outdir " ]) ||
    fail "completion of join's OUTDIR: $(cd "$tmp/work" && complete_words quorantel-cli join a.snr o)"
(cd "$tmp/work" && [ "$(complete_words quorantel-cli check o)" = "orange.snr outdir " ]) ||
    fail "completion of check's FILE: $(cd "$tmp/work" && complete_words quorantel-cli check o)"

# lintian: no errors; the rest is listed for the record.
lintian --tag-display-limit 0 "$deb" >"$tmp/lintian.log" 2>&1 || true
cat "$tmp/lintian.log"
grep -q '^E: ' "$tmp/lintian.log" && fail "lintian reports errors"

[ "$failures" -eq 0 ] && echo "package: $(basename "$deb") $(stat -c %s "$deb") bytes, all checks passed"
exit $((failures > 0))
