# shellcheck shell=bash
# Sourced by the benchmark scripts: check <what> <value> <limit> reports a target, a ratio that
# must not exceed its limit, and counts the missed ones; end_targets <short> then fails the run
# when one was missed, unless it was a short run.
missed=0
check() {
    if awk -v v="$2" -v l="$3" 'BEGIN { exit !(v <= l) }'; then
        echo "target $1: $2 <= $3, met"
    else
        echo "target $1: $2 > $3, MISSED"
        missed=$((missed + 1))
    fi
}
end_targets() {
    [ "$missed" -eq 0 ] && return 0
    if "$1"; then
        echo "$missed target(s) missed in the short run (not enforced)"
    else
        echo "$missed target(s) missed" >&2
        exit 1
    fi
}
