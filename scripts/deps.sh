# Sourced by play.sh and test.sh: makes sure the Debian packages a build needs are present.
# As root it installs what is missing with apt-get; otherwise it prints the apt-get line and stops.

TOLMAR_BUILD_PACKAGES="cmake ninja-build g++ pkg-config libbz2-dev libjpeg62-turbo-dev libsdl2-dev \
libgl1-mesa-dri libegl-mesa0 libfreetype-dev fonts-liberation libgtest-dev libbenchmark-dev libpng-dev"
# The install tests check the desktop files with the desktop's own tools and build the package.
TOLMAR_TEST_PACKAGES="xvfb xdotool imagemagick bzip2 libjpeg-turbo-progs desktop-file-utils libxml2-utils \
shared-mime-info libglib2.0-bin dpkg-dev"
# The fuzz targets (scripts/fuzz.sh): clang with its libFuzzer and sanitizer runtimes.
TOLMAR_FUZZ_PACKAGES="clang-14 libclang-rt-14-dev"

tolmar_need_packages() {
    local missing=""
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing="$missing $package"
        fi
    done
    [ -z "$missing" ] && return 0
    if [ "$(id -u)" -eq 0 ]; then
        echo "Installing:$missing"
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -q || return 1
        apt-get install -y -q --no-install-recommends $missing || return 1
    else
        echo "Missing Debian packages. Install them with:"
        echo "    sudo apt-get install -y$missing"
        exit 1
    fi
}

# tolmar_configure DIR [cmake options...]: configures a build folder with Ninja.
tolmar_configure() {
    local dir="$1"
    shift
    cmake -S "$TOLMAR_ROOT" -B "$TOLMAR_ROOT/$dir" -G Ninja "$@" >/dev/null
}

TOLMAR_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
TOLMAR_JOBS="${TOLMAR_JOBS:-$(nproc)}"
