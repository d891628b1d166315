#!/usr/bin/env bash
# Fails when code outside platform/ (and the tools that write files for authors) includes
# SDL, FreeType, fontconfig, iconv or POSIX headers, or when platform/ includes engine headers.
set -u
root="${1:-.}"
cd "$root"
status=0
forbidden='#[[:space:]]*include[[:space:]]*[<"](SDL|SDL2/|ft2build|freetype/|fontconfig/|iconv\.h|unistd\.h|dirent\.h|fcntl\.h|sys/|pthread\.h|dlfcn\.h)'
for dir in app graphics resources script scene text sound input savedata screens typing diagnostics installer; do
  [ -d "$dir" ] || continue
  if grep -rEn "$forbidden" "$dir" --include='*.cpp' --include='*.h'; then
    echo "check-includes: $dir includes a platform library header (see above)"
    status=1
  fi
done
engine='#[[:space:]]*include[[:space:]]*"(app|graphics|resources|script|scene|text|sound|input|savedata|screens|typing|diagnostics|installer)/'
if [ -d platform ] && grep -rEn "$engine" platform --include='*.cpp' --include='*.h'; then
  echo "check-includes: platform/ includes engine headers (see above)"
  status=1
fi
exit $status
