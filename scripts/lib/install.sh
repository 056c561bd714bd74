# shellcheck shell=bash
# One package list and one install step for scripts/test and scripts/demo (sourced by both).
# lvp_install demo|test installs what is missing of that set (as root, from Debian's packages);
# for the test set it also decides whether 32-bit Wine can be had and says so in LVP_WINE32
# ("yes", or "no, " and why), which the test summary prints.

lvp_demo_packages=(cmake g++ make googletest libgtest-dev libgmock-dev libncurses-dev enfuse hugin-tools
                   imagemagick plasma-workspace-wallpapers)
lvp_test_packages=("${lvp_demo_packages[@]}" libbenchmark-dev
                   g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 g++-mingw-w64-i686-posix binutils-mingw-w64-i686
                   wine64 fonts-wine lld-14 llvm-14 xvfb xauth x11-apps exiv2 libimage-exiftool-perl tmux
                   python3 python3-pefile binutils procps clang-14 libclang-rt-14-dev clang-tidy-14 cppcheck)

lvp_installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

# Whether this kernel starts a 32-bit x86 program: one of three instructions made by binutils
# (exit status 0 yes, 1 no, 2 unknown: no assembler). Nothing 32-bit is installed for it.
lvp_kernel_runs_32bit() {
    command -v as >/dev/null && command -v ld >/dev/null || return 2
    local dir rc=2
    dir=$(mktemp -d) || return 2
    printf '.globl _start\n_start:\n movl $1, %%eax\n xorl %%ebx, %%ebx\n int $0x80\n' >"$dir/p.s"
    if as --32 -o "$dir/p.o" "$dir/p.s" 2>/dev/null && ld -m elf_i386 -o "$dir/p" "$dir/p.o" 2>/dev/null; then
        rc=1
        "$dir/p" 2>/dev/null && rc=0
    fi
    rm -rf "$dir"
    return $rc
}

# apt-get with the answers a run without a terminal needs.
lvp_apt() { DEBIAN_FRONTEND=noninteractive apt-get -y -qq --no-install-recommends "$@" </dev/null; }

# A mirror in the middle of a sync fails one index now and then: one more try, then go on with
# the indexes that did arrive.
lvp_apt_update() {
    lvp_apt update && return 0
    echo "apt-get update failed; once more" >&2
    sleep 10
    lvp_apt update || echo "apt-get update failed again; going on with the indexes there are" >&2
}

# wine32:i386 from the main suite, for when the i386 index of the security suite is out of step:
# the amd64 packages that came from the security suite then have no i386 twin of their version,
# so those that wine32 needs are pinned (both architectures) to the version i386 has.
lvp_install_wine32_from_main() {
    local suite needed pins
    suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    [ -n "$suite" ] || return 1
    needed=$(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
                 --no-replaces --no-enhances wine32:i386 2>/dev/null | grep -E '^[a-z0-9].*:i386$' | sort -u)
    # "name version" of each needed i386 package as the main suite has it, then of each installed
    # amd64 package that is Multi-Arch: same; a name in both with two versions is pinned.
    # shellcheck disable=SC2086
    pins=$(awk 'NR == FNR { want[$1] = $2; next } ($1 in want) && want[$1] != $2 {
                    printf "%s:amd64=%s %s:i386=%s ", $1, want[$1], $1, want[$1] }' \
        <(apt-cache -o APT::Default-Release="$suite" policy $needed 2>/dev/null |
              awk '/^[^ ].*:i386:$/ { sub(/:i386:$/, ""); name = $0 } /^  Candidate:/ && $2 != "(none)" { print name, $2 }') \
        <(dpkg-query -W -f='${Package} ${Version} ${Multi-Arch} ${Architecture} ${Status}\n' 2>/dev/null |
              awk '$3 == "same" && $4 == "amd64" && $NF == "installed" { print $1, $2 }'))
    echo "== 32-bit Wine from the $suite suite${pins:+, pinned: $pins}"
    # shellcheck disable=SC2086
    lvp_apt install --allow-downgrades -o APT::Default-Release="$suite" wine32:i386 $pins
}

# 32-bit Wine, the i386 architecture added first; the main suite's when the plain install fails.
lvp_install_wine32() {
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386
        lvp_apt_update
    fi
    lvp_apt install wine32:i386 || lvp_install_wine32_from_main \
        || echo "== 32-bit Wine could not be installed (package indexes out of step); going on without it" >&2
}

# lvp_install demo|test: 0 when everything needed is there afterwards.
lvp_install() {
    local set=$1 wanted=() missing=() p want32=no
    if [ "$set" = test ]; then wanted=("${lvp_test_packages[@]}"); else wanted=("${lvp_demo_packages[@]}"); fi
    for p in "${wanted[@]}"; do lvp_installed "$p" || missing+=("$p"); done
    if [ "$set" = test ]; then
        if /usr/lib/wine/wine --version >/dev/null 2>&1; then
            LVP_WINE32=yes
        else
            lvp_kernel_runs_32bit
            case $? in
                0) want32=yes ;;
                1) LVP_WINE32="no, the kernel runs no 32-bit programs" ;;
                *) want32=later ;; # no assembler yet: asked again once binutils is in
            esac
        fi
    fi
    [ ${#missing[@]} -gt 0 ] || [ $want32 != no ] || return 0
    if [ "$(id -u)" -ne 0 ]; then
        LVP_WINE32="no, not installed and not root to install it"
        [ ${#missing[@]} -eq 0 ] && return 0
        echo "missing packages and not root: ${missing[*]}" >&2
        return 1
    fi
    # Where the kernel is known to run 32-bit programs, 32-bit Wine goes in with the rest.
    local with32=""
    [ $want32 = yes ] && with32=" wine32:i386"
    echo "== installing: ${missing[*]}$with32"
    if [ $want32 = yes ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386
    fi
    lvp_apt_update
    if [ $want32 = yes ] && lvp_apt install "${missing[@]}" wine32:i386; then
        want32=installed
    elif [ ${#missing[@]} -gt 0 ]; then
        lvp_apt install "${missing[@]}" || { echo "package installation failed" >&2; return 1; }
    fi
    if [ $want32 = later ]; then
        if lvp_kernel_runs_32bit; then want32=yes; else LVP_WINE32="no, the kernel runs no 32-bit programs"; fi
    fi
    [ $want32 = yes ] && lvp_install_wine32
    if [ $want32 = yes ] || [ $want32 = installed ]; then
        if /usr/lib/wine/wine --version >/dev/null 2>&1; then LVP_WINE32=yes; else LVP_WINE32="no, 32-bit Wine could not be installed"; fi
    fi
    return 0
}
