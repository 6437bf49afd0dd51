# Runs as the user logged in on tty1 (a logind session): KWin on DRM, then Mutter on DRM, each
# with its own session bus, two outputs side by side and the second asked for scale 2.
S=/mnt/share
. $S/lib.sh
U=
OBS_WAIT=20

kwin_part() {
    results kwin
    kwin_wayland --version > $R/version.txt 2>&1
    export XDG_SESSION_TYPE=wayland KSCREEN_BACKEND=KWayland WAYLAND_DISPLAY=wayland-k
    kwin_wayland --drm --no-lockscreen --no-global-shortcuts --socket wayland-k > $R/kwin.log 2>&1 &
    K=$!
    for i in $(seq 150); do [ -S $XDG_RUNTIME_DIR/wayland-k ] && break; sleep 0.4; done
    sleep 8
    QT_QPA_PLATFORM=wayland kscreen-doctor -j > $R/outputs-before.json 2> $R/kscreen.err
    names=$(python3 -c 'import json,sys; print(" ".join(o["name"] for o in json.load(open(sys.argv[1]))["outputs"]))' $R/outputs-before.json)
    set -- $names
    # One change a call: kscreen-doctor 5.27.5 has crashed here applying several at once.
    for op in output.$1.mode.1920x1080@60 output.$2.mode.1920x1080@60 output.$2.scale.2 \
              output.$1.position.0,0 output.$2.position.1920,0; do
        echo "== $op" >> $R/kscreen.err
        QT_QPA_PLATFORM=wayland kscreen-doctor $op >> $R/kscreen.err 2>&1
        echo "rc=$?" >> $R/kscreen.err
        sleep 2
    done
    QT_QPA_PLATFORM=wayland kscreen-doctor -o > $R/outputs.txt 2>> $R/kscreen.err
    run direct direct
    run none none
    run both both
    kill $K
    wait $K
}

mutter_part() {
    results mutter
    mutter --version > $R/version.txt 2>&1
    gsettings set org.gnome.mutter experimental-features "['scale-monitor-framebuffer']" > $R/gsettings.txt 2>&1
    gsettings get org.gnome.desktop.peripherals.tablet:/org/gnome/desktop/peripherals/tablets/3a7e:7001/ output >> $R/gsettings.txt 2>&1
    export WAYLAND_DISPLAY=wayland-m
    mutter --wayland --display-server --no-x11 --wayland-display=wayland-m > $R/mutter.log 2>&1 &
    M=$!
    for i in $(seq 150); do [ -S $XDG_RUNTIME_DIR/wayland-m ] && break; sleep 0.4; done
    sleep 8
    python3 $S/mutter-scale.py 2 > $R/outputs.txt 2>&1
    sleep 3
    run direct direct
    run none none
    run both both
    kill $M
    wait $M
}

case "${1:-}" in
    kwin) kwin_part ;;
    mutter) mutter_part ;;
    *)
        loginctl show-session $XDG_SESSION_ID
        ls /sys/class/drm
        dbus-run-session -- sh $S/desktops.sh kwin > $S/results/kwin-session.log 2>&1
        dbus-run-session -- sh $S/desktops.sh mutter > $S/results/mutter-session.log 2>&1
        ;;
esac
