#!/bin/bash
# Installs the build into a scratch folder and checks that every file is
# where the platform expects it:  tests/install_tree.sh BUILD-DIR
set -euo pipefail
build="$1"
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
cmake --install "$build" --prefix "$root/usr" > /dev/null
failed=0
expect() { [ -e "$root/usr/$1" ] || { echo "missing: $1"; failed=1; }; }
expect bin/morvane
expect bin/morvane-cli
expect share/morvane/Morvane.html
expect share/morvane/logo.png
expect share/applications/org.example.morvane.desktop
expect share/metainfo/org.example.morvane.metainfo.xml
expect share/icons/hicolor/scalable/apps/morvane.svg
expect share/icons/hicolor/64x64/apps/morvane.png
expect share/man/man1/morvane.1.gz
expect share/man/man1/morvane-cli.1.gz
expect share/bash-completion/completions/morvane-cli
expect share/doc/morvane/copyright
expect share/doc/morvane/changelog.gz
# The manual pages format without a warning.
for page in "$root"/usr/share/man/man1/*.1.gz; do
    warnings=$(man --warnings -l "$page" 2>&1 > /dev/null)
    [ -z "$warnings" ] || { echo "$(basename "$page"): $warnings"; failed=1; }
done
# The completion offers morvane-cli's options.
offered=$(bash -c "source '$root/usr/share/bash-completion/completions/morvane-cli'
    COMP_WORDS=(morvane-cli --form); COMP_CWORD=1; _morvane_cli; echo \"\${COMPREPLY[*]}\"
    COMP_WORDS=(morvane-cli --format n); COMP_CWORD=2; _morvane_cli; echo \"\${COMPREPLY[*]}\"")
[ "$offered" = $'--format\nndjson' ] || { echo "completion offers: $offered"; failed=1; }
# and the names of profiles, the user's own for deleting.
config=$(mktemp -d)
printf '[mine]\ncount = 1\n' > "$config/profiles.toml" && mkdir "$config/morvane" && mv "$config/profiles.toml" "$config/morvane/"
offered=$(PATH="$root/usr/bin:$PATH" XDG_CONFIG_HOME="$config" bash -c "source '$root/usr/share/bash-completion/completions/morvane-cli'
    COMP_WORDS=(morvane-cli --profile p); COMP_CWORD=2; _morvane_cli; echo \"\${COMPREPLY[*]}\"
    COMP_WORDS=(morvane-cli --delete-profile ''); COMP_CWORD=2; _morvane_cli; echo \"\${COMPREPLY[*]}\"")
rm -rf "$config"
[ "$offered" = $'pin4 pin6 passphrase6 passphrase8\nmine' ] || { echo "profile completion offers: $offered"; failed=1; }
# Nothing but programs in bin/.
for f in "$root"/usr/bin/*; do
    [ -x "$f" ] && file -b "$f" | grep -q ELF || { echo "not a program in bin/: $(basename "$f")"; failed=1; }
done
# The menu entry names the installed icon and program.
grep -qx "Icon=morvane" "$root/usr/share/applications/org.example.morvane.desktop" || { echo "wrong Icon="; failed=1; }
grep -qx "Exec=morvane" "$root/usr/share/applications/org.example.morvane.desktop" || { echo "wrong Exec="; failed=1; }
# The 64x64 icon is 64x64.
file -b "$root/usr/share/icons/hicolor/64x64/apps/morvane.png" | grep -q "64 x 64" || { echo "icon is not 64x64"; failed=1; }
if command -v appstreamcli > /dev/null; then
    appstreamcli validate --no-net "$root/usr/share/metainfo/org.example.morvane.metainfo.xml" > /dev/null ||
        { echo "metainfo does not validate"; failed=1; }
fi
[ "$failed" = 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
exit "$failed"
