#!/usr/bin/env bash
# Installs the suite from a build tree and runs what was installed.
#   install_test.sh install BUILD   cmake --install BUILD --prefix SCRATCH
#   install_test.sh package BUILD   cpack a .deb in BUILD, dpkg -x it to SCRATCH
# Either way the five programs must be in bin/, the five pages in
# share/man/man1 and README in the documentation folder, and each program
# must answer from there.
set -euo pipefail

mode=$1
build=$(cd "$2" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

case $mode in
install)
    cmake --install "$build" --prefix "$scratch/prefix" >/dev/null
    root=$scratch/prefix
    ;;
package)
    (cd "$scratch" && cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/out" >/dev/null)
    debs=("$scratch"/out/*.deb)
    [ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single .deb: ${debs[*]}"
    deb=${debs[0]}
    echo "package: $(basename "$deb")"
    # dpkg-shlibdeps fills Depends from the libraries the programs link.
    depends=$(dpkg-deb -f "$deb" Depends)
    echo "Depends: $depends"
    for lib in libc6 'libstdc\+\+6'; do
        grep -Eq "(^|, )$lib( |,|$)" <<<"$depends" || fail "Depends lacks $lib: $depends"
    done
    [ "$(dpkg-deb -f "$deb" Package)" = qvfileutils ] || fail "package name"
    [ "$(dpkg-deb -f "$deb" Version)" = 0.1 ] || fail "package version"
    dpkg -x "$deb" "$scratch/root"
    root=$scratch/root/usr
    ;;
*)
    fail "unknown mode $mode"
    ;;
esac

programs=(qvsplit qvjoin qvcheck qvrandfile qvforeach)
for p in "${programs[@]}"; do
    [ -x "$root/bin/$p" ] || fail "$root/bin/$p is not installed"
    [ -f "$root/share/man/man1/$p.1" ] || fail "$root/share/man/man1/$p.1 is not installed"
done
[ -f "$root/share/doc/qvfileutils/README.md" ] || fail "README.md is not installed"

# Each version banner, byte for byte; qvrandfile shares qvsplit's.
check_banner() {
    local out
    out=$("$root/bin/$1" -v; echo x)
    [ "$out" = "$2"$'\n'x ] || fail "$1 -v printed '${out%x}'"
}
check_banner qvsplit "qvsplit (QV fileutils) 0.1"
check_banner qvjoin "qvjoin (QV fileutils) 0.1"
check_banner qvcheck "qvcheck (QV fileutils) 0.1"
check_banner qvrandfile "qvsplit (QV fileutils) 0.1"

# qvforeach has no banner: with no words it refuses and fails.
status=0
"$root/bin/qvforeach" >"$scratch/out.txt" 2>"$scratch/err.txt" || status=$?
[ $status -ne 0 ] || fail "qvforeach with no words exited 0"
[ ! -s "$scratch/out.txt" ] || fail "qvforeach with no words wrote to standard output"
[ "$(cat "$scratch/err.txt"; echo x)" = $'Error: no command to execute\nx' ] ||
    fail "qvforeach with no words printed '$(cat "$scratch/err.txt")'"

# The installed programs work together: make, split, check and join a file.
mkdir "$scratch/work"
cd "$scratch/work"
"$root/bin/qvrandfile" -s 3000000 data >/dev/null
cp data data.orig
"$root/bin/qvsplit" data >/dev/null
rm data
[ "$("$root/bin/qvforeach" . "$root/bin/qvcheck" | sort | tr '\n' ' ')" = \
  "./data.001 ok ./data.002 ok ./data.003 ok ./data.orig ok " ] || fail "qvcheck over the pieces"
"$root/bin/qvjoin" data >/dev/null
cmp data data.orig || fail "the installed programs' round trip changed the file"

echo "$mode: ok"
