#!/usr/bin/env bash
# quellin-cli(1) documents what the tool offers: every command its --help lists (bank's own
# commands included) has an entry of its own with every option of the command's --help and an
# example, and every option before the command is described. A command or option added without
# its page fails here.
# Usage: manual-covers-cli.sh QUELLIN_CLI MANUAL_SOURCE
source "$(dirname "$0")/common.sh"
cli="$1" page="$2"

# The page as text: roff's \- as -, font changes dropped.
sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' "$page" >"$scratch/page"

# The command names a --help lists under "Subcommands:".
commands_of() {
    "$cli" "$@" --help | awk '/^Subcommands:/ { on = 1; next } on && /^  [a-z]/ { print $1 }'
}
# The long options (and -o) a --help lists, without --help itself.
options_of() {
    "$cli" "$@" --help | awk '/^Options:/ { on = 1; next } /^[A-Z][a-z]*:/ { on = 0 } on' |
        grep -o -- '^ *-[-a-z,]*' | tr ',' '\n' | sed 's/^ *//' | grep -v -e '^-h$' -e '^--help$' | grep .
}
# The entry of a command: from the ".TP" whose head is ".B COMMAND" to the next .TP, .SS or .SH.
entry_of() {
    awk -v head=".B $1" '
        /^\.(TP|SS|SH)/ { if (inside) exit; tp = ($1 == ".TP"); next }
        tp && (index($0, head " ") == 1 || $0 == head) { inside = 1 }
        { tp = 0 }
        inside' "$scratch/page"
}
check_command() {
    local entry
    entry="$(entry_of "$*")"
    [ -n "$entry" ] || fail "quellin-cli.1 has no entry for '$*'"
    grep -q '^\.EX' <<<"$entry" || fail "the entry for '$*' has no example"
    for option in $(options_of "$@"); do
        grep -q -- "$option" <<<"$entry" || fail "the entry for '$*' does not describe $option"
    done
}

count=0
for command in $(commands_of); do
    subcommands="$(commands_of "$command")"
    if [ -n "$subcommands" ]; then
        for sub in $subcommands; do
            check_command "$command" "$sub"
            count=$((count + 1))
        done
    else
        check_command "$command"
        count=$((count + 1))
    fi
done
[ "$count" -gt 10 ] || fail "only $count commands found in quellin-cli --help"

options="$(awk '/^\.SH OPTIONS/ { on = 1; next } /^\.SH/ { on = 0 } on' "$scratch/page")"
for option in $(options_of); do
    grep -q -- "$option" <<<"$options" || fail "OPTIONS of quellin-cli.1 does not describe $option"
done
for status in 0 1 2 3; do
    awk '/^\.SH EXIT STATUS/ { on = 1; next } /^\.SH/ { on = 0 } on' "$scratch/page" | grep -qx ".B $status" ||
        fail "EXIT STATUS lacks $status"
done
echo "ok: $count commands"
