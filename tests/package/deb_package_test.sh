#!/usr/bin/env bash
# Builds the Debian package from the existing build tree (nothing is recompiled), checks
# its control fields and file list, unpacks it into a temporary root and runs the
# unpacked program there. Nothing is installed on the machine.
# Usage: deb_package_test.sh BUILD_DIR SOURCE_DIR VERSION
set -uo pipefail

build_dir=$1
source_dir=$2
version=$3

if ! command -v dpkg-deb >/dev/null 2>&1; then
  echo "SKIP: dpkg-deb not found; the Debian package can only be built and checked on Debian"
  exit 77
fi

export LANG=C.UTF-8 LC_ALL=C.UTF-8
work=$(cd "$(mktemp -d)" && pwd -P)
trap 'rm -rf "$work"' EXIT

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# --- build ---------------------------------------------------------------------------
if ! cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  echo "FAIL: cpack could not build the package"
  exit 1
fi
arch=$(dpkg --print-architecture)
deb="$work/out/shopkeeper_${version}_${arch}.deb"
if [ ! -f "$deb" ]; then
  echo "FAIL: expected $(basename "$deb"); cpack made: $(cd "$work/out" && ls -- *.deb 2>/dev/null)"
  exit 1
fi

# --- control fields ------------------------------------------------------------------
expect_field() {
  local actual
  actual=$(dpkg-deb --field "$deb" "$1")
  [ "$actual" = "$2" ] || fail "control field $1 is '$actual', expected '$2'"
}
expect_field Package shopkeeper
expect_field Version "$version"
expect_field Architecture "$arch"

maintainer=$(dpkg-deb --field "$deb" Maintainer)
[[ $maintainer =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] || fail "Maintainer '$maintainer' is not 'Name <address>'"

description=$(dpkg-deb --field "$deb" Description)
for word in Taobao 淘宝; do
  grep -q "$word" <<<"$description" || fail "Description has no '$word' (English and Chinese expected)"
done

# Computed from the linked libraries, plus the CJK font the window draws its texts with.
depends=$(dpkg-deb --field "$deb" Depends)
for package in libc6 libqt6widgets6 libcurl4 libboost-regex fonts-wqy-microhei; do
  grep -Eq "(^|[ ,|])$package" <<<"$depends" || fail "Depends lacks $package: $depends"
done

# --- file list -----------------------------------------------------------------------
dpkg-deb --contents "$deb" >"$work/contents"
awk '{ print $6 }' "$work/contents" | sed 's|^\./|/|; s|/$||' >"$work/paths"

required=(
  /usr/bin/shopkeeper
  /usr/share/applications/shopkeeper.desktop
  /usr/share/icons/hicolor/256x256/apps/shopkeeper.png
  /usr/share/icons/hicolor/scalable/apps/shopkeeper.svg
  /usr/share/metainfo/org.example.shopkeeper.metainfo.xml
  /usr/share/man/man1/shopkeeper.1.gz
)
for unit in "$source_dir"/packaging/systemd/*.service "$source_dir"/packaging/systemd/*.timer; do
  [ -e "$unit" ] && required+=("/usr/lib/systemd/user/$(basename "$unit")")
done
for path in "${required[@]}"; do
  grep -qxF "$path" "$work/paths" || fail "package lacks $path"
done

outside=$(grep -v -e '^/usr$' -e '^/usr/' -e '^/$' -e '^$' "$work/paths")
[ -z "$outside" ] || fail "files outside /usr: $outside"
extra_programs=$(grep '^/usr/bin/.' "$work/paths" | grep -vxF /usr/bin/shopkeeper)
[ -z "$extra_programs" ] || fail "programs other than shopkeeper: $extra_programs"
not_root=$(awk '$2 != "root/root" { print $2, $6 }' "$work/contents")
[ -z "$not_root" ] || fail "not owned by root: $not_root"

# --- the unpacked program ------------------------------------------------------------
root="$work/root"
dpkg -x "$deb" "$root"
program="$root/usr/bin/shopkeeper"

# A search path into the build tree would make the installed program load stale libraries.
if readelf --dynamic "$program" | grep -Eq 'R(UN)?PATH'; then
  fail "installed program keeps a library search path: $(readelf --dynamic "$program" | grep -E 'R(UN)?PATH')"
fi
if ldd "$program" | grep -q 'not found'; then
  fail "libraries not found: $(ldd "$program" | grep 'not found')"
fi

# No display: the command line must not need one.
run_program() {
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME="$work/home" \
    timeout 30 "$program" "$@" </dev/null
}
mkdir -p "$work/home"

version_output=$(run_program --version 2>&1)
status=$?
[ $status -eq 0 ] || fail "shopkeeper --version exited $status: $version_output"
grep -qF "$version" <<<"$version_output" || fail "shopkeeper --version prints '$version_output', not $version"

check_help=$(run_program check --help 2>&1)
status=$?
[ $status -eq 0 ] || fail "shopkeeper check --help exited $status: $check_help"
grep -q paipai <<<"$check_help" || fail "shopkeeper check --help does not name paipai: $check_help"

# --- desktop entry, icons, metainfo, manual page -------------------------------------
desktop="$root/usr/share/applications/shopkeeper.desktop"
desktop-file-validate "$desktop" >"$work/desktop.log" 2>&1 || fail "desktop-file-validate: $(cat "$work/desktop.log")"

exec_line=$(sed -n 's/^Exec=//p' "$desktop")
exec_program=${exec_line%% *}
[ -x "$root/usr/bin/$exec_program" ] || fail "desktop entry starts '$exec_program', which the package does not hold"
grep -q -- '--user-data' <<<"$exec_line" || fail "desktop entry does not start in the user's data folder: $exec_line"

# The menu entry's command opens the window in the user's data folder, made on first use.
if [ -x "$root/usr/bin/$exec_program" ]; then
  read -ra menu_command <<<"$exec_line"
  menu_command[0]="$root/usr/bin/$exec_program"
  data_folder="$work/data/shopkeeper"
  mkdir -p "$work/started-here"
  (cd "$work/started-here" &&
    exec env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen HOME="$work/home" \
      XDG_DATA_HOME="$work/data" "${menu_command[@]}" </dev/null >"$work/menu.log" 2>&1) &
  window=$!
  for _ in $(seq 300); do
    [ "$(readlink "/proc/$window/cwd")" = "$data_folder" ] && break
    kill -0 "$window" 2>/dev/null || break
    sleep 0.1
  done
  window_directory=$(readlink "/proc/$window/cwd")
  kill "$window" 2>/dev/null
  wait "$window" 2>/dev/null
  [ "$window_directory" = "$data_folder" ] ||
    fail "the menu entry's command works in '$window_directory', not $data_folder: $(cat "$work/menu.log")"
fi

icon=$(sed -n 's/^Icon=//p' "$desktop")
for theme_dir in 256x256/apps/"$icon".png scalable/apps/"$icon".svg; do
  [ -f "$root/usr/share/icons/hicolor/$theme_dir" ] || fail "icon '$icon' has no hicolor/$theme_dir"
done

png="$root/usr/share/icons/hicolor/256x256/apps/$icon.png"
if [ -f "$png" ]; then
  size=$(od -An -tu1 -j16 -N8 "$png" | tr -s ' ')
  [ "$size" = " 0 0 1 0 0 0 1 0" ] || fail "256x256 icon has the width and height bytes '$size'"
fi

metainfo="$root/usr/share/metainfo/org.example.shopkeeper.metainfo.xml"
appstreamcli validate --no-net "$metainfo" >"$work/metainfo.log" 2>&1 ||
  fail "appstreamcli validate: $(cat "$work/metainfo.log")"
grep -q '<launchable type="desktop-id">shopkeeper.desktop</launchable>' "$metainfo" ||
  fail "metainfo does not launch shopkeeper.desktop"
newest_release=$(grep -o '<release version="[^"]*"' "$metainfo" | head -n 1 | cut -d'"' -f2)
[ "$newest_release" = "$version" ] || fail "newest release in the metainfo is '$newest_release', not $version"

manual="$work/shopkeeper.1"
zcat "$root/usr/share/man/man1/shopkeeper.1.gz" >"$manual"
groff_warnings=$(groff -man -Tutf8 -ww -z -K utf8 "$manual" 2>&1)
[ -z "$groff_warnings" ] || fail "manual page: $groff_warnings"
# Every option the program offers is explained in the manual page.
sed 's/\\-/-/g' "$manual" >"$work/manual.txt"
for option in $( (run_program --help; run_program check --help; run_program history --help) 2>/dev/null |
                grep -oE -- '--[a-z][a-z-]+' | sort -u); do
  grep -qF -- "$option" "$work/manual.txt" || fail "manual page does not explain $option"
done

if [ $failures -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "package $(basename "$deb") checked"
