#!/usr/bin/env bash
# Installs the suite from a build tree and runs what was installed.
#   install_test.sh install BUILD   cmake --install BUILD --prefix SCRATCH
#   install_test.sh package BUILD   cpack a .deb in BUILD, dpkg -x it to SCRATCH
#   install_test.sh zip BUILD       cpack the .zip of a Windows build tree and
#                                   unpack it; the programs run under
#                                   $QV_LAUNCHER (wine)
# Each way the five programs must be in bin/ beside their manual pages and
# README, and each program must answer from there.
set -euo pipefail

mode=$1
build=$(cd "$2" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

exe=
launcher=()
case $mode in
install)
    cmake --install "$build" --prefix "$scratch/prefix" >/dev/null
    root=$scratch/prefix
    readme=$root/share/doc/qvfileutils/README.md
    ;;
package)
    (cd "$scratch" && cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/out" >/dev/null)
    debs=("$scratch"/out/*.deb)
    [ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single .deb: ${debs[*]}"
    deb=${debs[0]}
    echo "package: $(basename "$deb")"
    [ "$(dpkg-deb -f "$deb" Package)" = qvfileutils ] || fail "package name"
    [ "$(dpkg-deb -f "$deb" Version)" = 0.1 ] || fail "package version"
    dpkg -x "$deb" "$scratch/root"
    root=$scratch/root/usr
    # dpkg-shlibdeps fills Depends from the shared libraries the programs
    # need: each one's package must be named there, and nothing when the
    # programs are linked statically.
    depends=$(dpkg-deb -f "$deb" Depends)
    echo "Depends: ${depends:-(none)}"
    libs=$(for p in "$root"/bin/*; do readelf -d "$p"; done |
           sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' | sort -u)
    cache=$(ldconfig -p)
    for lib in $libs; do
        # The library of the programs' own word size, as the loader finds it.
        path=$(awk -v lib="$lib" '$1 == lib && /64/ { print $NF; exit }' <<<"$cache")
        [ -n "$path" ] || path=$(awk -v lib="$lib" '$1 == lib { print $NF; exit }' <<<"$cache")
        [ -n "$path" ] || fail "$lib, which the programs need, is not on this machine"
        pkg=$(dpkg -S "$(realpath "$path")" 2>/dev/null || dpkg -S "$path")
        pkg=${pkg%%:*}
        echo "needs $lib from $pkg"
        grep -Eq "(^|, )${pkg//+/\\+}( |,|$)" <<<"$depends" || fail "Depends lacks $pkg for $lib: $depends"
    done
    [ -n "$libs" ] || [ -z "$depends" ] || fail "static programs, yet Depends: $depends"
    readme=$root/share/doc/qvfileutils/README.md
    ;;
zip)
    # cpack's own choice of generator for a Windows tree: the zip.
    (cd "$scratch" && cpack --config "$build/CPackConfig.cmake" -B "$scratch/out" >/dev/null)
    zips=("$scratch"/out/*.zip)
    [ ${#zips[@]} -eq 1 ] && [ -f "${zips[0]}" ] || fail "cpack made no single .zip: $(ls "$scratch/out")"
    echo "package: $(basename "${zips[0]}")"
    mkdir "$scratch/root"
    (cd "$scratch/root" && cmake -E tar xf "${zips[0]}")
    root=$scratch/root/$(basename "${zips[0]}" .zip)
    readme=$root/README.md
    exe=.exe
    launcher=("${QV_LAUNCHER:?the zip mode runs the programs through QV_LAUNCHER}")
    ;;
*)
    fail "unknown mode $mode"
    ;;
esac

programs=(qvsplit qvjoin qvcheck qvrandfile qvforeach)
for p in "${programs[@]}"; do
    [ -f "$root/bin/$p$exe" ] || fail "$root/bin/$p$exe is not installed"
    [ -f "$root/share/man/man1/$p.1" ] || fail "$root/share/man/man1/$p.1 is not installed"
done
[ -f "$readme" ] || fail "$readme is not installed"

# Runs an installed program; console line ends become plain newlines.
run() { "${launcher[@]}" "$root/bin/$1$exe" "${@:2}" | tr -d '\r'; }

# Each version banner, byte for byte; qvrandfile shares qvsplit's.
check_banner() {
    local out
    out=$(run "$1" -v; echo x)
    [ "$out" = "$2"$'\n'x ] || fail "$1 -v printed '${out%x}'"
}
check_banner qvsplit "qvsplit (QV fileutils) 0.1"
check_banner qvjoin "qvjoin (QV fileutils) 0.1"
check_banner qvcheck "qvcheck (QV fileutils) 0.1"
check_banner qvrandfile "qvsplit (QV fileutils) 0.1"

# qvforeach has no banner: with no words it refuses and fails.
status=0
"${launcher[@]}" "$root/bin/qvforeach$exe" >"$scratch/out.txt" 2>"$scratch/err.txt" || status=$?
[ $status -ne 0 ] || fail "qvforeach with no words exited 0"
[ ! -s "$scratch/out.txt" ] || fail "qvforeach with no words wrote to standard output"
[ "$(tr -d '\r' <"$scratch/err.txt"; echo x)" = $'Error: no command to execute\nx' ] ||
    fail "qvforeach with no words printed '$(cat "$scratch/err.txt")'"

# The installed programs work together: make, split, check and join a file.
# (The Windows ones are tested at length against the build tree.)
if [ "$mode" != zip ]; then
    mkdir "$scratch/work"
    cd "$scratch/work"
    run qvrandfile -s 3000000 data >/dev/null
    cp data data.orig
    run qvsplit data >/dev/null
    rm data
    [ "$(run qvforeach . "$root/bin/qvcheck" | sort | tr '\n' ' ')" = \
      "./data.001 ok ./data.002 ok ./data.003 ok ./data.orig ok " ] || fail "qvcheck over the pieces"
    run qvjoin data >/dev/null
    cmp data data.orig || fail "the installed programs' round trip changed the file"
fi

echo "$mode: ok"
