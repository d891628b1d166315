#!/usr/bin/env bash
# The include rules of the engine's layers; the build runs it and so does CTest.
#  1. Only platform/ includes SDL, FreeType, fontconfig, iconv or POSIX headers.
#  2. platform/ includes no engine header.
#  3. Each engine folder includes only the folders of the layers below it:
#       platform, core | resources, input, sound, graphics, savedata | scene, text | script |
#       screens, typing, diagnostics.  app/ stands beside them and may include anything.
#     Every folder may include the engine object "app/CDirectX.h"; the command handlers in
#     scene/, text/ and sound/ may include "script/CommandArgs.h" (token fields, numbers,
#     argument errors) and nothing else of script/.
#  4. The author's checker (tools/lint/) reads scripts with the script engine's tokeniser and the
#     tables of the folders below it, but never runs the game: no app/ (not even the engine
#     object) and no screens/ or diagnostics/.
# Usage: check-includes.sh [ROOT]      check the tree at ROOT (default .)
#        check-includes.sh --self-test  show that an upward include is caught
set -u

if [ "${1:-}" = "--self-test" ]; then
  here="$(cd "$(dirname "$0")" && pwd)"
  tmp="$(mktemp -d)"
  trap 'rm -rf "$tmp"' EXIT
  mkdir -p "$tmp/scene" "$tmp/script" "$tmp/graphics"
  printf '#include "script/CommandArgs.h"\n#include "graphics/CSprite.h"\n' > "$tmp/scene/Fine.cpp"
  mkdir -p "$tmp/tools/lint"
  printf '#include "script/ScriptFile.h"\n#include "typing/KanaTables.h"\n#include "tools/pkd/PictureCheck.h"\n' > "$tmp/tools/lint/Fine.cpp"
  bash "$here/check-includes.sh" "$tmp" > /dev/null || { echo "self-test: allowed includes were refused"; exit 1; }
  for bad in 'scene/Up.cpp:script/GameScreen.h' 'graphics/Up.h:scene/SceneState.h' 'graphics/Up.cpp:text/MessageWindow.h' \
             'sound/Up.cpp:script/Interpreter.h' 'core/Up.cpp:graphics/CSprite.h' 'resources/Up.cpp:core/RunLog.h' \
             'graphics/Up.cpp:app/Application.h' 'platform/Up.cpp:core/RunLog.h' 'scene/Up.cpp:SDL2/SDL.h' \
             'tools/lint/Up.cpp:app/CDirectX.h' 'tools/lint/Up.cpp:screens/TitleScreen.h'; do
    file="${bad%%:*}"; target="${bad#*:}"
    mkdir -p "$tmp/$(dirname "$file")"
    printf '#include "%s"\n' "$target" > "$tmp/$file"
    if bash "$here/check-includes.sh" "$tmp" > /dev/null; then
      echo "self-test: $file including $target was not caught"
      exit 1
    fi
    rm "$tmp/$file"
  done
  echo "self-test: upward includes are caught"
  exit 0
fi

root="${1:-.}"
cd "$root"
status=0

# Folders each engine folder may include besides its own, platform/ and core/.
declare -A below=(
  [core]=""
  [resources]=""
  [savedata]=""
  [graphics]="resources"
  [input]="graphics"
  [sound]="resources input"
  [scene]="resources input sound graphics savedata"
  [text]="resources input sound graphics savedata scene"
  [script]="resources input sound graphics savedata scene text"
  [screens]="resources input sound graphics savedata scene text script"
  [typing]="resources input sound graphics savedata scene text script"
  [diagnostics]="resources input sound graphics savedata scene text script"
  [app]="resources input sound graphics savedata scene text script screens typing diagnostics"
  [installer]="resources"
  [tools/lint]="resources input sound graphics savedata scene text script typing"
)
engine_folders="app core graphics resources script scene text sound input savedata screens typing diagnostics installer tools/lint"

forbidden='#[[:space:]]*include[[:space:]]*[<"](SDL|SDL2/|ft2build|freetype/|fontconfig/|iconv\.h|unistd\.h|dirent\.h|fcntl\.h|sys/|pthread\.h|dlfcn\.h)'
for dir in $engine_folders; do
  [ -d "$dir" ] || continue
  if grep -rEn "$forbidden" "$dir" --include='*.cpp' --include='*.h'; then
    echo "check-includes: $dir includes a platform library header (see above)"
    status=1
  fi
done

engine='#[[:space:]]*include[[:space:]]*"(app|core|graphics|resources|script|scene|text|sound|input|savedata|screens|typing|diagnostics|installer)/'
if [ -d platform ] && grep -rEn "$engine" platform --include='*.cpp' --include='*.h'; then
  echo "check-includes: platform/ includes engine headers (see above)"
  status=1
fi

for dir in $engine_folders; do
  [ -d "$dir" ] || continue
  allowed=" $dir platform ${below[$dir]} "
  # core/ and resources/ sit under everything; resources/ is also linked by the installer.
  case "$dir" in core|resources) ;; *) allowed="$allowed core " ;; esac
  while IFS= read -r hit; do
    [ -n "$hit" ] || continue
    header="$(printf '%s\n' "$hit" | sed -E 's/^[^:]*:[0-9]+:[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]*)".*/\1/')"
    folder="${header%%/*}"
    [ "$folder" = "$header" ] && continue
    case "$allowed" in *" $folder "*) continue ;; esac
    if [ "$header" = "app/CDirectX.h" ] && [ "$dir" != core ] && [ "$dir" != resources ] && [ "$dir" != installer ] &&
       [ "$dir" != tools/lint ]; then
      continue
    fi
    if [ "$header" = "script/CommandArgs.h" ]; then
      case "$dir" in scene|text|sound) continue ;; esac
    fi
    case " $engine_folders " in *" $folder "*) ;; *) continue ;; esac
    echo "$hit"
    echo "check-includes: $dir/ may not include $header (not below it in the layers)"
    status=1
  done < <(grep -rEn '#[[:space:]]*include[[:space:]]*"' "$dir" --include='*.cpp' --include='*.h')
done
exit $status
