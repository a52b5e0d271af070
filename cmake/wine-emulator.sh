#!/usr/bin/env bash
# Runs a Windows program under wine for CTest. Wine's own notes are silenced,
# since tests read the program's stderr. Standard output, in text mode on
# Windows, ends its lines with CRLF; it is handed on with LF endings because
# CTest's test discovery reads the list of tests line by line the Unix way.
set -o pipefail
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
[[ -x $wine ]] || wine=$(command -v wine)
WINEDEBUG=-all "$wine" "$@" | sed 's/\r$//'
