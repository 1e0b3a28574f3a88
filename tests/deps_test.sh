#!/bin/sh
# make deps and make test-win32 against an archive caught mid-sync, with stand-ins first on PATH
# for apt-get, dpkg-query (what is missing), dpkg, sudo and ctest. Usage: deps_test.sh SOURCE_DIR
set -u
src=$1 t=$(mktemp -d) checks=0 failures=0
trap 'rm -rf "$t"' EXIT
mkdir "$t/bin" "$t/state"
stand_in() { printf '#!/bin/sh\necho "%s $*" >>"%s/calls"\n%s\n' "$1" "$t" "$2" >"$t/bin/$1"; chmod +x "$t/bin/$1"; }
stand_in apt-get 'case "$*" in update) echo "E: Failed to fetch i386/Packages.xz  File has unexpected size" >&2;;
  *wine32:i386*) echo "E: Unable to correct problems, you have held broken packages.";;
  *gcovr*) echo "E: Unable to locate package gcovr";; *) exit 0;; esac; exit 100'
stand_in dpkg-query 'for p; do :; done; grep -qx "$p" '"$t/missing"' || echo "install ok installed"'
for tool in "dpkg echo i386" "sudo exec \"\$@\"" "ctest echo ctest \$*"; do stand_in ${tool%% *} "${tool#* }"; done
check() { # the exit wanted (0 or 1), the make arguments, the updates asked for by then, what the output holds
  want=$1 make_args=$2 updates=$3 checks=$((checks + 1)); shift 3
  env PATH="$t/bin:$PATH" KVADER_DEPS_STATE="$t/state" KVADER_APT_TRIES=3 KVADER_APT_PAUSE=0 KVADER_REQUIRE_32BIT=0 KVADER_WINE32="$t/none" \
    make --no-print-directory -C "$src" $make_args >"$t/out" 2>&1 && got=0 || got=1
  for text in "$@"; do grep -qF -- "$text" "$t/out" || got="$got, without \"$text\""; done
  [ "$(grep -c '^apt-get update' "$t/calls")" = "$updates" ] || got="$got, not $updates updates"
  [ "$got" = "$want" ] || { failures=$((failures + 1)); echo "FAILED: make $make_args gave $got, not $want:"; cat "$t/out"; }
}

"$src/tools/runs-32bit" || { echo "deps_test: needs a kernel that runs 32-bit programs"; exit 77; }
echo wine32:i386 >"$t/missing"
check 0 deps 3 "apt-get update failed: trying again in 0 s (2 of 3 tries)" "the 32-bit Wine could not be installed" \
  "held broken packages. (after apt-get update failed: E: Failed to fetch i386/Packages.xz  File has unexpected size"
check 0 "deps test-win32" 3 "Not asking apt for wine32:i386 again" "ctest --preset win32 --label-exclude wine" \
  "win32 NOT RUN: the kernel runs 32-bit programs, but the 32-bit Wine $t/none is missing: apt could not install it: E: Unable"
check 1 "test-win32 KVADER_REQUIRE_32BIT=1" 3 "KVADER_REQUIRE_32BIT=1: the 32-bit game must be tested"
# An amd64 package that cannot be installed fails; the update is tried once within the hour.
echo gcovr >>"$t/missing"
check 1 deps 4 "Unable to locate package gcovr"
echo "$((checks - failures)) passed, $failures failed"
[ $failures = 0 ]
