# Shared by scripts/run and scripts/test: install what is missing, then configure and build.
set -euo pipefail

QUILLMARK_SOURCE=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

BUILD_PACKAGES=(build-essential cmake ninja-build ccache qt6-base-dev fonts-liberation2 qt6-svg-dev)
TEST_PACKAGES=(xvfb xauth xdotool xclip imagemagick poppler-utils desktop-file-utils appstream dpkg-dev file)
# A print system for the printing tests: a private scheduler with a PDF printer.
TEST_PACKAGES+=(cups printer-driver-cups-pdf)
TEST_PACKAGES+=(clang libclang-rt-dev) # the fuzzers: clang with libFuzzer
TEST_PACKAGES+=(python3) # its csv and json modules read the command line's output back

install_packages() {
    local missing=()
    local p
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$p")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        sudo=(sudo)
    fi
    "${sudo[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# configure_and_build BUILD_DIR BUILD_TYPE [cmake options...]
configure_and_build() {
    local dir=$1 type=$2
    shift 2
    cmake -S "$QUILLMARK_SOURCE" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" "$@"
    cmake --build "$dir" --parallel "$(nproc)"
}
