#!/usr/bin/env bash
# Installs Brindle into a temporary prefix, makes it read-only, and uses it as an
# ordinary user would, from folders that hold no lists: brindle-cli makes the
# folders of an installed list, keeps its undo log in the user's state folder,
# and undoes the run from yet another folder.
#   install_test.sh BUILD_DIR APP_ID
set -euo pipefail
build=$1
app_id=$2

if [ "$(id -u)" -ne 0 ]; then
    echo "install test: needs root to become the user nobody"
    exit 77
fi
failed=0
check() { # check DESCRIPTION COMMAND...
    if "${@:2}"; then echo "  ok    $1"; else echo "  FAIL  $1"; failed=1; fi
}

# Under the build folder: the trash needs the targets on the file system of HOME,
# and GIO does not trash on tmpfs.
work=$(mktemp -d "$build/install-test.XXXXXX")
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
chmod 755 "$work"
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null

installed=(bin/brindle bin/brindle-cli share/brindle/Help/index.html
    share/applications/$app_id.desktop share/metainfo/$app_id.metainfo.xml
    share/icons/hicolor/scalable/apps/$app_id.svg
    share/man/man1/brindle.1.gz share/man/man1/brindle-cli.1.gz share/doc/brindle/copyright)
for list in Book Country Document Music Photo Singer Software Video Website; do
    installed+=("share/brindle/Category/$list.txt")
done
for size in 16 22 24 32 48 64 128 256; do
    installed+=("share/icons/hicolor/${size}x${size}/apps/$app_id.png")
done
for file in "${installed[@]}"; do
    check "installs $file" test -s "$prefix/$file"
done
chmod -R a-w "$prefix"

home=$work/home
mkdir -p "$home" "$work/start" "$work/elsewhere" "$work/targets" "$work/no-data"
chown nobody:nogroup "$home" "$work/start" "$work/elsewhere" "$work/targets"
# As the user nobody, in FOLDER: as_user FOLDER COMMAND...
as_user() {
    local folder=$1
    shift
    setpriv --reuid=nobody --regid=nogroup --clear-groups \
        env -i PATH=/usr/bin:/bin HOME="$home" XDG_CONFIG_HOME="$home/.config" \
        XDG_DATA_HOME="$home/.local/share" XDG_STATE_HOME="$home/.local/state" \
        XDG_DATA_DIRS="$work/no-data" \
        sh -c 'cd "$0" && exec "$@"' "$folder" "$@"
}

target=$work/targets/Music
out=$(as_user "$work/start" "$prefix/bin/brindle-cli" create \
    "$prefix/share/brindle/Category/Music.txt" "$target" 2>"$work/create.err") || true
check "create from the installed Music list: '$out'" \
    grep -Eq '^[1-9][0-9]* subfolders were created successfully!$' <<<"$out"
check "create says nothing on standard error" test ! -s "$work/create.err"
state=$home/.local/state/brindle
check "the undo log is in the state folder" test -s "$state/undo.udo"
check "the state folder is private to the user" \
    test "$(stat -c '%a %U' "$state")" = "700 nobody"
check "no undo log in the current folder" test ! -e "$work/start/undo.udo"
check "the log names the target's folders" grep -q "^$target/" "$state/undo.udo"

out=$(as_user "$work/elsewhere" "$prefix/bin/brindle-cli" undo --yes 2>"$work/undo.err") || true
check "undo from another folder: '$out' $(tr '\n' ' ' <"$work/undo.err")" \
    test "$out" = "Undo done."
check "the folders left the target" test -z "$(ls -A "$target")"
top=$(grep -c '^  [^ ]' "$prefix/share/brindle/Category/Music.txt")
check "the $top top folders are in the user's trash" \
    test "$(ls -A "$home/.local/share/Trash/files" | wc -l)" -eq "$top"
check "the undo log is gone" test ! -e "$state/undo.udo"
exit $failed
