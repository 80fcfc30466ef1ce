#!/usr/bin/env bash
# check-imports.sh EXE: fails unless EXE imports only DLLs that every Windows
# has, so that it runs from any folder with nothing installed beside it (no
# MinGW runtime DLLs, no C++ runtime redistributable).
set -euo pipefail
exe=$1
system_dlls="advapi32 comctl32 gdi32 kernel32 msvcrt ole32 oleaut32 shell32 user32 wininet shlwapi comdlg32 ws2_32 uxtheme"
status=0
while read -r dll; do
  name=$(printf '%s' "${dll%.*}" | tr '[:upper:]' '[:lower:]')
  case " $system_dlls " in
    *" $name "*) ;;
    *) echo "$exe imports $dll, which Windows does not have" >&2; status=1 ;;
  esac
done < <(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p')
exit $status
