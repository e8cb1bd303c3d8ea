#!/usr/bin/env bash
# Checks a built Debian package the way a desktop sees it once installed: unpacks it, validates its
# desktop entry and AppStream metadata, looks for its icons and library dependencies, and starts
# the desktop entry's command under Xvfb (xcb) with an empty home for a few seconds.
# Usage: scripts/check-package.sh <swiftlane_*.deb> [seconds]
set -euo pipefail
deb=${1:?usage: check-package.sh <package.deb> [seconds]}
seconds=${2:-3}
root=$(mktemp -d /tmp/swiftlane-package.XXXXXX)
trap 'rm -rf "$root"' EXIT
fail() { echo "check-package: $*" >&2; exit 1; }

dpkg-deb -x "$deb" "$root/tree"
desktop=$(find "$root/tree/usr/share/applications" -name '*.desktop')
[ "$(wc -l <<<"$desktop")" -eq 1 ] || fail "expected one desktop entry, found: $desktop"
desktop-file-validate "$desktop"
appstreamcli validate --no-net "$root"/tree/usr/share/metainfo/*.metainfo.xml

icon=$(sed -n 's/^Icon=//p' "$desktop")
for size in 16 32 48 64 128 256; do
    [ -s "$root/tree/usr/share/icons/hicolor/${size}x${size}/apps/$icon.png" ] || fail "no ${size}px icon $icon"
done
for program in swiftlane swiftlane-gatesim; do
    [ -s "$root/tree/usr/share/man/man1/$program.1.gz" ] || fail "no man page for $program"
done
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libqt6serialport6 libqt6sql6 libqt6sql6-sqlite libxlsxwriter4 libtinyxml2.6.2v5 \
               qt6-qpa-plugins; do
    grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done

# The menu runs Exec through the PATH, dropping field codes such as %f.
command=$(sed -n 's/^Exec=//p' "$desktop" | sed 's/ *%[a-zA-Z]//g')
binary=${command%% *}
[ -x "$root/tree/usr/bin/$binary" ] || fail "Exec names $binary, which the package does not install in /usr/bin"
mkdir -p "$root/home" "$root/runtime"
chmod 700 "$root/runtime"
export HOME="$root/home" XDG_RUNTIME_DIR="$root/runtime" XDG_DATA_HOME="$root/home/.local/share"
export PATH="$root/tree/usr/bin:$PATH" QT_QPA_PLATFORM=xcb
xvfb-run -a bash -c '
    '"$command"' >"$HOME/app.log" 2>&1 &
    app=$!
    sleep '"$seconds"'
    if ! kill -0 "$app" 2>/dev/null; then
        echo "check-package: the desktop entry'\''s command exited early" >&2
        tail -20 "$HOME/app.log" >&2
        exit 1
    fi
    kill -TERM "$app"
    wait "$app" || true' || fail "the application did not start from its desktop entry"
[ -d "$XDG_DATA_HOME/Swiftlane/Runs" ] || fail "the application ran but made no runs folder"
echo "check-package: $(basename "$deb") installs a valid desktop application that starts"
