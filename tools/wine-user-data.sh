# shellcheck shell=bash
# A user's own Velvetglide settings in the test session's Wine prefix: a
# config.ini in %APPDATA%\Velvetglide and the value "Velvetglide" under the
# current user's Run key, as a person who uses the program has them. The test
# programs must work on private copies and leave both exactly as they were.
#
# Source after wine_session_start (tools/wine-session.sh), then:
#   user_data_plant       # writes both and keeps copies of them
#   ...run the Windows test programs...
#   user_data_unchanged   # compares both byte for byte; says what changed

USER_DATA_RUN_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
USER_DATA_CONFIG=""   # the user's config.ini, as a Linux path
USER_DATA_SAVED=""    # the copies taken when they were planted

_user_data_log() { printf 'user data: %s\n' "$*" >&2; }

_user_data_windows_path() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }

# The Run key exported to FILE (a Linux path): the value's type and data as
# the registry holds them, and any other value that a test may have added.
_user_data_export_run_key() { # FILE
    "$WINE64" reg export "$USER_DATA_RUN_KEY" "$(_user_data_windows_path "$1")" /y >/dev/null 2>&1 && [[ -s $1 ]]
}

user_data_plant() {
    local appdata
    appdata=$("$WINE64" cmd /c 'echo %APPDATA%' 2>/dev/null | tr -d '\r')
    if [[ ! $appdata =~ ^[Cc]:\\ ]]; then
        _user_data_log "no %APPDATA% in the prefix (got '$appdata')"
        return 1
    fi
    local roaming=$WINEPREFIX/drive_c/${appdata:3}
    USER_DATA_CONFIG=${roaming//\\//}/Velvetglide/config.ini
    USER_DATA_SAVED=$WINE_SESSION_DIR/user-data
    mkdir -p "${USER_DATA_CONFIG%/*}" "$USER_DATA_SAVED" || return 1
    # Not what the program would write: a comment, its own order, Cyrillic. Any
    # load and save by the program would rewrite it.
    {
        printf '\xff\xfe'
        printf '%s\r\n' '; my own settings, kept by hand' '[Vertical]' 'DurationMs=400' 'Speed=240' \
            'Smoothing=2.75' '' '[Exclusions]' 'Count=2' 'App0=Редактор.exe' 'App1=game.exe' |
            iconv -f UTF-8 -t UTF-16LE
    } >"$USER_DATA_CONFIG" || return 1
    cp -- "$USER_DATA_CONFIG" "$USER_DATA_SAVED/config.ini" || return 1
    if ! "$WINE64" reg add "$USER_DATA_RUN_KEY" /v Velvetglide /t REG_SZ \
        /d '"C:\Users\Me\Programs\Velvetglide\Velvetglide.exe" --minimized' /f >/dev/null 2>&1; then
        _user_data_log "could not write the Run value"
        return 1
    fi
    _user_data_export_run_key "$USER_DATA_SAVED/run-before.reg" || { _user_data_log "could not export the Run key"; return 1; }
}

user_data_unchanged() {
    local ok=0 after=$USER_DATA_SAVED/run-after.reg
    if cmp -s -- "$USER_DATA_SAVED/config.ini" "$USER_DATA_CONFIG"; then
        echo "   %APPDATA%\\Velvetglide\\config.ini: unchanged ($(wc -c <"$USER_DATA_CONFIG") bytes)"
    elif [[ -e $USER_DATA_CONFIG ]]; then
        echo "   %APPDATA%\\Velvetglide\\config.ini: CHANGED ($(cmp -- "$USER_DATA_SAVED/config.ini" "$USER_DATA_CONFIG" 2>&1))"
        ok=1
    else
        echo "   %APPDATA%\\Velvetglide\\config.ini: DELETED"
        ok=1
    fi
    if ! _user_data_export_run_key "$after"; then
        echo "   Run key: could not be exported after the tests"
        ok=1
    elif cmp -s -- "$USER_DATA_SAVED/run-before.reg" "$after"; then
        echo "   Run value \"Velvetglide\": unchanged"
    else
        echo "   Run key: CHANGED; before and after:"
        diff <(iconv -f UTF-16 -t UTF-8 "$USER_DATA_SAVED/run-before.reg" | tr -d '\r') \
            <(iconv -f UTF-16 -t UTF-8 "$after" | tr -d '\r') | sed 's/^/   | /'
        ok=1
    fi
    return "$ok"
}
