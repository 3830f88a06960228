# Shared by the install checks: a scratch folder removed at exit, failing with a message, and
# skipping (exit 77, which ctest counts as skipped) when a tool the check needs is missing.
set -euo pipefail

scratch="$(mktemp -d "${TMPDIR:-/tmp}/quellin-install.XXXXXX")"
trap 'rm -rf "$scratch"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

need() {
    for tool in "$@"; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "SKIP: $tool is not installed (scripts/deps.sh installs it)"
            exit 77
        fi
    done
}

# Installs the build into a prefix under the scratch folder and prints the prefix.
install_into_scratch() {
    local build="$1"
    cmake --install "$build" --prefix "$scratch/prefix" >/dev/null || fail "cmake --install failed"
    echo "$scratch/prefix"
}
