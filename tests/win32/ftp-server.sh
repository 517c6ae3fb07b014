#!/bin/sh
# ftp-server.sh start <dir> <ftp_server.py> | stop <dir>: the FTP server of the Windows tests,
# run on the build machine since a program under Wine cannot start a Linux one. "start" serves
# <dir>/root on 127.0.0.1 to the user engineer (password s3cret), to cutter (the same password;
# what it uploads keeps only its first half) and to anonymous, all logged in to "incoming", and
# writes the port to <dir>/port once the server listens; "stop" ends it.
set -eu
action=$1
dir=$2

stop() {
    for name in server keeper; do
        if [ -f "$dir/$name.pid" ]; then
            kill "$(cat "$dir/$name.pid")" 2>/dev/null || true
            rm -f "$dir/$name.pid"
        fi
    done
}

case $action in
stop)
    stop
    ;;
start)
    script=$3
    stop
    rm -rf "$dir"
    mkdir -p "$dir/root/incoming"
    # The server ends when its standard input closes: the keeper holds it open, and bounds the
    # server's life should the cleanup never run.
    mkfifo "$dir/keep"
    sleep 1800 >"$dir/keep" 2>/dev/null </dev/null &
    echo $! >"$dir/keeper.pid"
    /usr/bin/python3 "$script" --cut-uploads=cutter "engineer:s3cret:elradfmw:$dir/root" \
        "cutter:s3cret:elradfmw:$dir/root" "anonymous::elradfmw:$dir/root" \
        <"$dir/keep" >"$dir/listening" 2>"$dir/server.log" &
    echo $! >"$dir/server.pid"
    # Python starts slowly on a busy machine.
    tries=0
    until grep -q '^[0-9][0-9]*$' "$dir/listening" 2>/dev/null; do
        tries=$((tries + 1))
        if [ $tries -gt 300 ] || ! kill -0 "$(cat "$dir/server.pid")" 2>/dev/null; then
            echo "the FTP server did not start (is python3-pyftpdlib installed?)" >&2
            cat "$dir/server.log" >&2
            stop
            exit 1
        fi
        sleep 0.1
    done
    cp "$dir/listening" "$dir/port"
    echo "FTP server on 127.0.0.1:$(cat "$dir/port")"
    ;;
*)
    echo "usage: $0 start <dir> <ftp_server.py> | stop <dir>" >&2
    exit 64
    ;;
esac
