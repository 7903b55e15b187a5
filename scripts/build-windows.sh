#!/usr/bin/env bash
# Cross-builds the Windows programs with MinGW-w64 against the kit (KKT_WIN64_KIT, default
# ../shared/toolchains/win64) and writes into dist/:
#   kkt-config-VERSION-win64.zip        kkt-config.exe, kkt-cli.exe and every DLL they load
#   kkt-config-VERSION-win64-setup.exe  the installer (NSIS)
# Without a kit it says so in one line and does nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
source scripts/windows-kit.sh
cmake --build build-win -j2 --target kkt-config kkt-cli kkt-xlsread

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-win/CMakeCache.txt)
name="kkt-config-$version-win64"
stage="$root/dist/$name"
rm -rf "$stage" "dist/$name.zip" "dist/$name-setup.exe"
mkdir -p "$stage/platforms" "$stage/styles" "$stage/translations"
for exe in kkt-config kkt-cli kkt-xlsread; do
  x86_64-w64-mingw32-strip -o "$stage/$exe.exe" "build-win/$exe.exe"
done
install -m 0755 "$kit/qt6-mingw/plugins/platforms/qwindows.dll" "$stage/platforms/"
install -m 0755 "$kit/qt6-mingw/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
# Qt's own Russian texts for the standard dialogs; the catalogue is the same file on every system.
install -m 0644 /usr/share/qt6/translations/qtbase_ru.qm "$stage/translations/"

# Every DLL that a program or plugin loads, from where the build found it; a name found in none of
# these folders is the system's own (KERNEL32, USER32, ...).
dll_dirs=("$kit/qt6-mingw/bin" /usr/lib/gcc/x86_64-w64-mingw32/*-posix /usr/x86_64-w64-mingw32/lib)
queue=("$stage"/*.exe "$stage"/platforms/*.dll "$stage"/styles/*.dll)
while [ ${#queue[@]} -gt 0 ]; do
  file=${queue[0]}
  queue=("${queue[@]:1}")
  for dll in $(x86_64-w64-mingw32-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p'); do
    [ -f "$stage/$dll" ] && continue
    for d in "${dll_dirs[@]}"; do
      if [ -f "$d/$dll" ]; then
        install -m 0755 "$d/$dll" "$stage/$dll"
        queue+=("$stage/$dll")
        break
      fi
    done
  done
done

# MinGW's runtime comes with its debugging symbols; the copy does not need them.
for dll in libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
  [ -f "$stage/$dll" ] && x86_64-w64-mingw32-strip --strip-unneeded "$stage/$dll"
done

# The copy must start with nothing but its own folder: no kit, no WINEPATH.
export WINEPREFIX="$root/build-win/wine" WINEDEBUG=-all
[ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
if ! got=$(env -u WINEPATH wine "$stage/kkt-cli.exe" --version 2>&1) || [[ "$got" != *"$version"* ]]; then
  echo "build-windows: the copy in $stage does not start on its own: $got" >&2
  exit 1
fi

(cd dist && rm -f "$name.zip" && zip -qr "$name.zip" "$name")

# The uninstaller deletes the files it installed, one by one, deepest folders first.
files="$root/build-win/uninstall-files.nsh"
(
  cd "$stage"
  find . -type f | sed 's|^\./||; s|/|\\|g; s|.*|  Delete "$INSTDIR\\&"|'
  find . -mindepth 1 -type d | sort -r | sed 's|^\./||; s|/|\\|g; s|.*|  RMDir "$INSTDIR\\&"|'
) > "$files"
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DFILES="$files" -DICON="$root/packaging/kkt-config.ico" \
  -DOUTFILE="$root/dist/$name-setup.exe" packaging/kkt-config.nsi

echo "build-windows: dist/$name.zip and dist/$name-setup.exe"
