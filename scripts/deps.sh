# Sourced by scripts/run and scripts/test: installs the Debian packages the
# build needs, and only when one is missing, so a ready machine starts at once.
TARELOG_PACKAGES="cmake ninja-build g++ qt6-base-dev qt6-translations-l10n libgtest-dev libbenchmark-dev libexpat1-dev libarchive-dev libpng-dev python3-pil fonts-noto-cjk ccache syncthing python3 bash-completion fish zsh libssl-dev nlohmann-json3-dev xvfb xdotool xclip"
# The phone page's server: cpp-httplib, OpenSSL and libqrencode, found through pkg-config.
TARELOG_PACKAGES="$TARELOG_PACKAGES pkg-config libcpp-httplib-dev libssl-dev libqrencode-dev"
# What its tests compare with or drive: the qrencode and openssl programs, a headless Chromium.
TARELOG_PACKAGES="$TARELOG_PACKAGES qrencode openssl chromium chromium-driver python3-selenium"
# What making and checking the Debian package needs (scripts/check-package):
# the manual pages, the dependency list, and the validators.
TARELOG_PACKAGE_TOOLS="help2man dpkg-dev desktop-file-utils appstream lintian"

tarelog_install_missing() {
    missing=""
    for package in $TARELOG_PACKAGES "$@"; do
        dpkg -s "$package" >/dev/null 2>&1 || missing="$missing $package"
    done
    [ -z "$missing" ] && return 0
    echo "Installing:$missing"
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    if ! $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing; then
        $sudo apt-get update && $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing
    fi
}

# Configures (once) and builds the tree in the given build folder.
tarelog_build() {
    dir="$1"; shift
    launcher=""
    command -v ccache >/dev/null 2>&1 && launcher="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
    if [ ! -f "$dir/build.ninja" ]; then
        cmake -S "$TARELOG_ROOT" -B "$dir" -G Ninja $launcher "$@" || return 1
    fi
    cmake --build "$dir" || return 1
}
