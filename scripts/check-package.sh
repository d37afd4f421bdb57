#!/usr/bin/env bash
# Makes the archive of one build (cpack) and checks it: exactly the Cleartrace/
# folder with the module, its resources and the help file, and a module that
# exports the three entry symbols and needs nothing but the standard runtime.
# Usage: check-package.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
version=$(sed -n 's/^project(Cleartrace VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../CMakeLists.txt")
rm -rf "$build/packages"
(cd "$build" && cpack >/dev/null)
archive=$(find "$build/packages" -maxdepth 1 -name "Cleartrace-$version-*" \( -name '*.zip' -o -name '*.tar.gz' \))
[ -n "$archive" ] || { echo "no archive Cleartrace-$version-* in $build/packages"; exit 1; }
echo "archive: $(basename "$archive")"
case "$archive" in
  *windows-x64.zip) module=cleartrace.xdl64 ;;
  *linux-*.tar.gz) module=cleartrace.xso64 ;;
  *) echo "unexpected archive name $(basename "$archive")"; exit 1 ;;
esac

unpacked="$build/packages/unpacked"
mkdir -p "$unpacked"
(cd "$unpacked" && cmake -E tar xf "$archive")
listed=$(cd "$unpacked" && find . -type f | sed 's|^\./||' | sort | tr '\n' ' ')
expected=$(printf '%s\n' Cleartrace/Cleartrace.pdf "Cleartrace/$module" Cleartrace/res/qvx32x32.png \
  Cleartrace/res/strings.txt | sort | tr '\n' ' ')
echo "files: $listed"
[ "$listed" = "$expected" ] || { echo "expected: $expected"; exit 1; }

file="$unpacked/Cleartrace/$module"
status=0
if [ "$module" = cleartrace.xdl64 ]; then
  objdump=x86_64-w64-mingw32-objdump
  imports=$($objdump -p "$file" | sed -n 's/^\s*DLL Name: //p' | sort | tr '\n' ' ')
  exports=$($objdump -p "$file" | sed -n '/Ordinal\/Name Pointer/,/^$/p' | sed -n 's/^\s*\[ *[0-9]*\] //p' | sort | tr '\n' ' ')
  allowed='^(KERNEL32\.dll|msvcrt\.dll|api-ms-win-crt-.*)$'
else
  imports=$(readelf -d "$file" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' | sort | tr '\n' ' ')
  exports=$(readelf --dyn-syms -W "$file" | awk '$7 != "UND" && ($5 == "GLOBAL" || $5 == "WEAK") {print $8}' | sed 's/@.*//' | sort | tr '\n' ' ')
  allowed='^(libstdc\+\+\.so\.6|libm\.so\.6|libgcc_s\.so\.1|libc\.so\.6|ld-linux-.*)$'
fi
echo "imports: $imports"
echo "exports: $exports"
for name in $imports; do
  [[ "$name" =~ $allowed ]] || { echo "the module needs $name"; status=1; }
done
[ "$exports" = "c4d_main g_CpuYieldDelegate g_maxon " ] || { echo "the module exports more or less than the three names"; status=1; }
help=$(pdftotext -q "$unpacked/Cleartrace/Cleartrace.pdf" -)
grep -q "Help for Cleartrace $version" <<<"$help" ||
  { echo "the help file does not name version $version"; status=1; }
grep -q "Cleartrace $version" "$unpacked/Cleartrace/res/strings.txt" || { echo "the About text does not name version $version"; status=1; }
exit $status
