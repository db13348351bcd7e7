# shellcheck shell=bash
# Private Wine + Xvfb session for tests. Source this file, then:
#
#   wine_session_start            # private Xvfb display + fresh Wine prefix
#   wine_run path/to/app.exe args # runs a Windows exe, returns its exit code
#   wine_session_stop             # ends everything; also runs on exit/interrupt
#
# Call wine_session_start in the shell itself (not inside $(...) or a pipe):
# it exports the session's variables and installs the clean-up traps there.
# A fresh prefix per session keeps runs independent of ~/.wine and of each
# other; a private display keeps tests away from the user's desktop.
#
# Tunables (environment):
#   WINE_SESSION_TMP            where to make the prefix (default /dev/shm if
#                               it has room, else TMPDIR or /tmp)
#   WINE_SESSION_DISPLAY_FIRST  first X display number to try (default 90)
#   WINE_SESSION_SCREEN         Xvfb screen (default 1280x1024x24)
#   WINE_RUN_TIMEOUT            seconds a wine_run may take before it is
#                               killed (default 900; 0 disables)

# Debian's wine64 package keeps its binaries outside PATH; the `wine`
# package's wrappers in /usr/bin are only a Recommends.
WINE64=${WINE64:-/usr/lib/wine/wine64}
WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver64}
[[ -x $WINE64 ]] || WINE64=$(command -v wine64 || echo "$WINE64")
[[ -x $WINESERVER ]] || WINESERVER=$(command -v wineserver || echo "$WINESERVER")

WINE_SESSION_BASE=""    # where the session dir is made (/dev/shm or TMPDIR)
WINE_SESSION_DIR=""     # mktemp -d: holds the prefix and the Xvfb log
WINE_SESSION_XVFB_PID=""
WINE_SESSION_XVFB_DISPLAY=""
WINE_SESSION_ACTIVE=0

_wine_session_log() { printf 'wine-session: %s\n' "$*" >&2; }

_wine_session_now_ms() { date +%s%3N; }

# True while PID runs. Not `kill -0`: an orphan that PID 1 does not reap
# stays a zombie, and kill -0 succeeds on zombies.
_wine_session_alive() {
    local stat
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
    stat=${stat##*) }
    [[ ${stat:0:1} != Z ]]
}

# Stops our Xvfb by its PID and waits (up to 5 s) until it has gone.
_wine_session_stop_xvfb() {
    local i
    [[ -n $WINE_SESSION_XVFB_PID ]] || return 0
    kill "$WINE_SESSION_XVFB_PID" 2>/dev/null || true
    for ((i = 0; i < 100; i++)); do
        _wine_session_alive "$WINE_SESSION_XVFB_PID" || break
        sleep 0.05
    done
    if _wine_session_alive "$WINE_SESSION_XVFB_PID"; then
        kill -KILL "$WINE_SESSION_XVFB_PID" 2>/dev/null || true
        # A killed Xvfb leaves its lock and socket behind.
        rm -f "/tmp/.X$WINE_SESSION_XVFB_DISPLAY-lock" "/tmp/.X11-unix/X$WINE_SESSION_XVFB_DISPLAY"
    fi
    WINE_SESSION_XVFB_PID=""
}

# Starts Xvfb on the first free display from WINE_SESSION_DISPLAY_FIRST up.
# A display is taken if its lock file or its socket exists (an Xvfb started
# with -displayfd, like ours, makes no lock file). If another starter wins a
# race for the same number, our Xvfb fails to listen and we try the next one.
# -displayfd also tells us when the server is ready to accept clients.
_wine_session_start_xvfb() {
    local n first=${WINE_SESSION_DISPLAY_FIRST:-90} ready="$WINE_SESSION_DIR/xvfb.ready" i
    for ((n = first; n < first + 100; n++)); do
        [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
        : >"$ready"
        # Started from a subshell so that it is not a job of the caller's
        # shell: a plain `wait` in the caller would otherwise wait for Xvfb.
        WINE_SESSION_XVFB_PID=$(
            Xvfb ":$n" -screen 0 "${WINE_SESSION_SCREEN:-1280x1024x24}" \
                -nolisten tcp -noreset -displayfd 3 \
                3>"$ready" </dev/null >"$WINE_SESSION_DIR/xvfb.log" 2>&1 &
            echo $!
        )
        WINE_SESSION_XVFB_DISPLAY=$n
        for ((i = 0; i < 200; i++)); do          # up to 10 s
            if [[ -s $ready ]]; then
                export DISPLAY=":$n"
                return 0
            fi
            _wine_session_alive "$WINE_SESSION_XVFB_PID" || break
            sleep 0.05
        done
        # Died (display taken meanwhile) or never got ready: try the next one.
        _wine_session_stop_xvfb
    done
    _wine_session_log "no free X display in :$first..:$((first + 99))"
    return 1
}

wine_session_start() {
    if ((WINE_SESSION_ACTIVE)); then
        _wine_session_log "a session is already running ($WINEPREFIX)"
        return 1
    fi
    local t0 t1 t2
    t0=$(_wine_session_now_ms)
    if [[ ! -x $WINE64 || ! -x $WINESERVER ]]; then
        _wine_session_log "wine64 not found (run tools/setup)"
        return 1
    fi
    # wineboot writes ~700 MB of DLLs into a new prefix: on tmpfs that takes
    # about 7 s instead of 9-10 s on disk. Fall back to TMPDIR when /dev/shm
    # is missing or small.
    WINE_SESSION_BASE=${TMPDIR:-/tmp}
    if [[ -z ${WINE_SESSION_TMP:-} && -d /dev/shm && -w /dev/shm ]] &&
        (($(df -Pk /dev/shm | awk 'NR==2 {print $4}') > 2 * 1024 * 1024)); then
        WINE_SESSION_BASE=/dev/shm
    fi
    WINE_SESSION_BASE=${WINE_SESSION_TMP:-$WINE_SESSION_BASE}
    WINE_SESSION_DIR=$(mktemp -d "$WINE_SESSION_BASE/velvetglide-wine.XXXXXX") || return 1
    WINE_SESSION_ACTIVE=1
    # From here on, any exit or interrupt tears the session down.
    trap 'wine_session_stop' EXIT
    trap 'wine_session_stop; trap - INT; kill -INT $$' INT
    trap 'wine_session_stop; trap - TERM; kill -TERM $$' TERM
    trap 'wine_session_stop; trap - HUP; kill -HUP $$' HUP

    export WINEPREFIX="$WINE_SESSION_DIR/prefix"
    export WINEDEBUG=-all
    export WINEARCH=win64
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    export WINE64 WINESERVER
    mkdir -p "$WINEPREFIX"                       # wineserver needs it to exist

    _wine_session_start_xvfb || { wine_session_stop; return 1; }
    t1=$(_wine_session_now_ms)

    # One persistent server for the whole run: every exe start then skips
    # the server start-up, and wineserver -k later ends all of them at once.
    "$WINESERVER" -p || { _wine_session_log "wineserver failed"; wine_session_stop; return 1; }

    if ! "$WINE64" wineboot -i >"$WINE_SESSION_DIR/wineboot.log" 2>&1; then
        _wine_session_log "wineboot -i failed:"; cat "$WINE_SESSION_DIR/wineboot.log" >&2
        wine_session_stop; return 1
    fi
    t2=$(_wine_session_now_ms)

    # All per-prefix settings in one regedit call (each wine start costs time):
    # - no crash dialog: under Xvfb nobody could close it, the test would hang;
    # - report Windows 10 (a fresh prefix says Windows 7); the same value
    #   `winecfg /v win10` writes;
    # - there is no Segoe UI: map it to Liberation Sans (narrower than DejaVu
    #   Sans, so the window's texts fit much as they do in Segoe UI) so GDI+
    #   can create it;
    # - no window manager runs on the private display: windows are not handed to
    #   one, or Wine waits 2 s for its answer at every hide (and every tray icon
    #   removal, which hides Explorer's tray window).
    local reg="$WINE_SESSION_DIR/settings.reg"
    printf '%s\r\n' 'REGEDIT4' '' \
        '[HKEY_CURRENT_USER\Software\Wine]' '"Version"="win10"' '' \
        '[HKEY_CURRENT_USER\Software\Wine\WineDbg]' '"ShowCrashDialog"=dword:00000000' '' \
        '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' '"Segoe UI"="Liberation Sans"' '' \
        '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"' '' >"$reg"
    if ! "$WINE64" regedit /S "Z:${reg//\//\\}" >"$WINE_SESSION_DIR/regedit.log" 2>&1; then
        _wine_session_log "regedit failed:"; cat "$WINE_SESSION_DIR/regedit.log" >&2
        wine_session_stop; return 1
    fi
    WINE_SESSION_START_MS=$(($(_wine_session_now_ms) - t0))
    _wine_session_log "started on DISPLAY=$DISPLAY, prefix $WINEPREFIX" \
        "(Xvfb $((t1 - t0)) ms, wineboot $((t2 - t1)) ms, total $WINE_SESSION_START_MS ms)"
}

# wine_run EXE [ARGS...]: runs a Windows program in the session and returns
# its exit code (124 if it ran longer than WINE_RUN_TIMEOUT and was killed).
# Output goes to the caller's stdout/stderr; piped output has CRLF endings.
wine_run() {
    if ((!WINE_SESSION_ACTIVE)); then
        _wine_session_log "wine_run: no session (call wine_session_start first)"
        return 1
    fi
    local limit=${WINE_RUN_TIMEOUT:-900} rc=0 pid
    # Started in the background and waited for, so that a signal to this
    # shell runs the clean-up trap at once (bash runs traps only between
    # foreground commands, and `wait` is interruptible). Stdin is /dev/null.
    if ((limit > 0)); then
        timeout -k 10 "$limit" "$WINE64" "$@" </dev/null &
    else
        "$WINE64" "$@" </dev/null &
    fi
    pid=$!
    wait "$pid" || rc=$?
    return "$rc"
}

# Ends every process of the prefix, the Xvfb, and removes the prefix.
# Safe to call twice; keeps the caller's $? (it runs from the EXIT trap).
wine_session_stop() {
    local rc=$?
    ((WINE_SESSION_ACTIVE)) || return "$rc"
    WINE_SESSION_ACTIVE=0
    trap - EXIT INT TERM HUP
    local t0 server_id=""
    t0=$(_wine_session_now_ms)
    if [[ -d ${WINEPREFIX:-} ]]; then
        # wineserver's socket dir is named after the prefix's device and inode.
        local dev ino
        if read -r dev ino < <(stat -c '%D %i' "$WINEPREFIX" 2>/dev/null); then
            server_id=$(printf 'server-%s-%x' "$dev" "$ino")
        fi
        "$WINESERVER" -k >/dev/null 2>&1 || true
        "$WINESERVER" -w >/dev/null 2>&1 || true
    fi
    _wine_session_stop_xvfb
    # The server leaves its socket dir (a lock file) behind: upstream Wine keeps it
    # in /tmp/.wine-UID/, Debian's build in a random /tmp/wine-XXXXXX/.
    if [[ -n $server_id ]]; then
        local d
        for d in "${TMPDIR:-/tmp}/.wine-$(id -u)/$server_id" "${TMPDIR:-/tmp}"/wine-??????/"$server_id"; do
            [[ -d $d ]] || continue
            rm -rf -- "$d"
            rmdir -- "${d%/*}" 2>/dev/null || true   # only if nothing else is in it
        done
    fi
    # Only ever remove what mktemp made (the prefix has a z: -> / link; rm -r
    # does not follow links, but be strict anyway).
    if [[ $WINE_SESSION_DIR == "$WINE_SESSION_BASE"/velvetglide-wine.* && -d $WINE_SESSION_DIR ]]; then
        rm -rf -- "$WINE_SESSION_DIR"
    fi
    WINE_SESSION_DIR=""
    WINE_SESSION_STOP_MS=$(($(_wine_session_now_ms) - t0))
    _wine_session_log "stopped in $WINE_SESSION_STOP_MS ms"
    return "$rc"
}
