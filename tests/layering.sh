#!/bin/sh
# Each layer includes only what lies below it: the folders name the layers,
# from the foundations up to the window.
#   layering.sh SOURCE_DIR
cd "$1" || exit 1
status=0
# forbid FOLDER PATTERN WHAT: no file in FOLDER includes what PATTERN matches.
forbid() {
    found=$(grep -rnE "^#include [<\"]($2)" "$1" --include='*.h' --include='*.cpp' --include='*.in')
    if [ -n "$found" ]; then
        echo "$1 must not include $3:"
        echo "$found"
        status=1
    fi
}
qt='Q[A-Za-z]+>|qt[a-z]*/'
above_platform='app/|edit/|about/|cli/|options/|output/|engine/'
forbid platform/base "$qt|platform/(contracts|qt|password_list)/|$above_platform" "the rooms above it or Qt"
forbid platform/contracts "$qt|platform/(qt|password_list)/|$above_platform" "the Qt rooms or the program"
forbid platform/qt "platform/password_list/|$above_platform" "the password list or the program"
forbid platform/password_list "$above_platform" "the program"
forbid engine "$qt|app/|edit/|about/|cli/|options/|output/|platform/(contracts|qt|password_list)/" "anything but the foundations"
forbid options "$qt|app/|edit/|about/|cli/|platform/(qt|password_list)/" "the window or Qt"
forbid output "$qt|app/|edit/|about/|cli/|options/|engine/|platform/(qt|password_list)/" "the window, the options or Qt"
forbid about "app/" "the window that shows it"
forbid cli "$qt|app/|edit/|about/|platform/(contracts|qt|password_list)/" "the window or Qt"
exit $status
