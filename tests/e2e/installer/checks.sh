# Sourced by the installer's test scripts: named checks that report each
# result and count the failures.
failures=0

# check DESCRIPTION COMMAND...: passes when COMMAND succeeds.
check() {
    description=$1
    shift
    if "$@"; then
        printf 'ok: %s\n' "$description"
    else
        printf 'FAILED: %s\n' "$description"
        failures=$((failures + 1))
    fi
}

# equals ACTUAL EXPECTED
equals() {
    [ "$1" = "$2" ] && return 0
    printf '  expected [%s]\n  got      [%s]\n' "$2" "$1"
    return 1
}

# contains TEXT PART
contains() {
    case $1 in *"$2"*) return 0 ;; esac
    printf '  [%s] not in:\n%s\n' "$2" "$1"
    return 1
}

# The names of the files below a folder, relative and sorted, on one line.
files_below() {
    (cd "$1" && find . -type f | sort | tr '\n' ' ')
}

finish() {
    [ "$failures" -eq 0 ] && { echo "all checks passed"; exit 0; }
    echo "$failures check(s) failed"
    exit 1
}
