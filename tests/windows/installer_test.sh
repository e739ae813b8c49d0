#!/usr/bin/env bash
# The Windows installer under Wine: a silent install for the current user puts the program
# and a Start-menu entry in place; the silent uninstall takes them away again.
# Usage: installer_test.sh <installer.exe>
set -euo pipefail
installer=$1
command -v wine >/dev/null || { echo "SKIP: wine is missing"; exit 77; }
[ -f "$installer" ] || { echo "FAIL: no installer at $installer"; exit 1; }
. "$(dirname "$0")/wine_prefix.sh"

user_folder=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 ! -name Public | head -1)
target="$user_folder/AppData/Local/Programs/Zentra Quota"
wine "$installer" /S
wineserver -w
[ -f "$target/ZentraQuota.exe" ] || fail "not installed in $target: $(find "$WINEPREFIX/drive_c" -name ZentraQuota.exe)"
[ -f "$target/Uninstall.exe" ] || fail "no uninstaller"
menu=$(find "$user_folder" -path "*Start Menu*" -name "Zentra Quota.lnk" | head -1)
[ -n "$menu" ] || fail "no Start-menu entry for the current user"
find "$WINEPREFIX/drive_c/ProgramData" -name "*.lnk" -path "*Zentra*" | grep -q . && fail "installed for all users"

wine "$target/Uninstall.exe" /S "_?=$(winepath -w "$target")"
wineserver -w
[ ! -e "$target/ZentraQuota.exe" ] || fail "the uninstaller left the program"
[ ! -e "$menu" ] || fail "the uninstaller left the Start-menu entry"
echo "PASS"
