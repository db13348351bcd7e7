# shellcheck shell=bash
# What the shell tools share. Source it from a script in tools/ after its `cd` to the
# repository's root, which it takes as $root:
#
#   vg_die MESSAGE...            prints "<script>: MESSAGE" to stderr and exits 1
#   vg_windows_path PATH         prints a Linux path as Wine sees it (Z:\...)
#   vg_build_mingw TARGET...     builds those targets of the mingw preset (the whole preset
#                                without any) with -j${JOBS:-2}; the build's output goes to
#                                build/<script>-build.log, whose end is shown if it fails
#   vg_mingw_bin TARGET...       sets $bin: VG_MINGW_BIN when set (its programs are used as
#                                they are), else build/mingw/bin after vg_build_mingw
#   vg_start_wine_session        wine_session_start (tools/wine-session.sh) with its own
#                                progress lines shown only when it fails

root=${root:-$PWD}
vg_script=${0##*/}

vg_die() {
    printf '%s: %s\n' "$vg_script" "$*" >&2
    exit 1
}

vg_windows_path() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }

vg_build_mingw() {
    local log=$root/build/$vg_script-build.log t0
    t0=$(date +%s)
    mkdir -p "$root/build"
    echo "building ${*:-the mingw preset} (mingw preset, log: ${log#"$root"/}) ..."
    if ! { cmake --preset mingw && cmake --build --preset mingw -j"${JOBS:-2}" ${1:+--target "$@"}; } >"$log" 2>&1; then
        tail -n 30 "$log" >&2
        vg_die "the build failed (full log: ${log#"$root"/})"
    fi
    echo "   built in $(($(date +%s) - t0)) s"
}

vg_mingw_bin() {
    if [[ -n ${VG_MINGW_BIN:-} ]]; then
        bin=$(cd "$VG_MINGW_BIN" && pwd) || vg_die "no folder $VG_MINGW_BIN"
    else
        vg_build_mingw "$@"
        bin=$root/build/mingw/bin
    fi
}

vg_start_wine_session() {
    # shellcheck source=SCRIPTDIR/wine-session.sh
    source "$root/tools/wine-session.sh"
    local session_log
    session_log=$(mktemp)
    if ! wine_session_start 2>"$session_log"; then
        cat "$session_log" >&2
        rm -f "$session_log"
        vg_die "could not start Xvfb and Wine"
    fi
    rm -f "$session_log"
}
