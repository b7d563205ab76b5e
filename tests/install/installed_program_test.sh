#!/usr/bin/env bash
# Installs the built programs into a temporary root, as the package does,
# and starts them from there for a user with an empty home: kinevo must find
# its shipped files from the installed bin/, make the user's Options.dat and
# database, and reach its welcome page; kinevo-calc must run an example.
# usage: installed_program_test.sh CMAKE BUILD_DIR EXAMPLES_DIR VERSION
set -euo pipefail
cmake=$1 build=$2 examples=$3 version=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

DESTDIR="$work/root" "$cmake" --install "$build" --prefix /usr >/dev/null
usr=$work/root/usr
for f in bin/kinevo bin/kinevo-calc bin/kinevo-makedb share/kinevo/Patients.mdb \
  share/applications/kinevo.desktop share/icons/hicolor/scalable/apps/kinevo.svg \
  share/man/man1/kinevo.1.gz share/man/man1/kinevo-calc.1.gz share/man/man1/kinevo-makedb.1.gz; do
  [ -f "$usr/$f" ] || fail "$f is not installed"
done
for page in kinevo kinevo-calc kinevo-makedb; do
  zcat "$usr/share/man/man1/$page.1.gz" | grep -q "^\.SH NAME" || fail "the manual page of $page is not one"
done
grep -qx 'Exec=kinevo' "$usr/share/applications/kinevo.desktop" || fail "the menu entry does not start kinevo"

home=$work/home
mkdir "$home"
umask 022  # the usual mask, which would leave new files readable by everyone
as_user() { env -i PATH=/usr/bin:/bin HOME="$home" QT_QPA_PLATFORM=offscreen "$@"; }

as_user KINEVO_WELCOME_PICTURE="$work/welcome.png" "$usr/bin/kinevo" 2>"$work/kinevo.err" ||
  fail "kinevo ended with status $?: $(cat "$work/kinevo.err")"
! grep 'message shown' "$work/kinevo.err" || fail "a message box came up on the way to the welcome page"
[ -s "$work/welcome.png" ] || fail "the welcome page was not shown"
options=$home/.config/kinevo/Options.dat
database=$home/.local/share/kinevo/Patients.mdb
[ -f "$options" ] || fail "no Options.dat in the user's configuration folder"
[ "$(head -n 1 "$options")" = "$database" ] || fail "Options.dat names $(head -n 1 "$options")"
cmp -s "$database" "$usr/share/kinevo/Patients.mdb" || fail "the user's database is not the shipped empty one"
# Patient data and the folders made for it are the user's alone, whatever the umask.
for made in "$options" "$database"; do
  [ "$(stat -c %a "$made")" = 600 ] || fail "$made is created with mode $(stat -c %a "$made")"
done
for made in "$home/.config" "$home/.config/kinevo" "$home/.local" "$home/.local/share/kinevo"; do
  [ "$(stat -c %a "$made")" = 700 ] || fail "the folder $made is created with mode $(stat -c %a "$made")"
done
[ ! -e "$usr/bin/Options.dat" ] && [ ! -e "$usr/bin/data" ] || fail "files were written beside the installed programs"

[ "$(as_user "$usr/bin/kinevo" --version)" = "kinevo $version" ] || fail "kinevo --version"
[ "$(as_user "$usr/bin/kinevo-calc" --version)" = "kinevo-calc $version" ] || fail "kinevo-calc --version"
as_user "$usr/bin/kinevo-calc" "$examples/gentamicin.json" >"$work/installed.json" || fail "kinevo-calc on an example"
"$build/bin/kinevo-calc" "$examples/gentamicin.json" >"$work/built.json"
cmp -s "$work/installed.json" "$work/built.json" || fail "the installed kinevo-calc answers differently"
echo "the installed programs start and answer"
