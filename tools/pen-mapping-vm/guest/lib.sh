# Shared by the guest scripts: results folders and one observed pen run.
S=/mnt/share
U="setpriv --reuid=1000 --regid=1000 --init-groups"
# llvmpipe's 256-bit paths crash under qemu's TCG.
export LP_NATIVE_VECTOR_WIDTH=128 XDG_RUNTIME_DIR=/run/user/1000 GDK_BACKEND=wayland NO_AT_BRIDGE=1 HOME=/home/tester
mkdir -p -m700 $XDG_RUNTIME_DIR 2>/dev/null
[ "$(id -u)" = 0 ] && chown tester: $XDG_RUNTIME_DIR
results() { R=$S/results/$1; rm -rf $R; mkdir -p $R; chmod 777 $R; }
# run NAME VARIANT: a window on each monitor, then the pen (VARIANT: direct, pointer, both, none)
# visits its points; also records how libinput and udev see the pen.
run() {
    for i in $(seq 100); do [ -S $XDG_RUNTIME_DIR/$WAYLAND_DISPLAY ] && break; sleep 0.5; done
    $U python3 $S/observe.py $R/$1.log > $R/$1.observer.err 2>&1 &
    OBS=$!
    sleep ${OBS_WAIT:-8}
    python3 $S/pen.py $R/$1.log $2 3 > $R/$1.pen.err 2>&1 &
    PEN=$!
    sleep 2
    libinput list-devices 2>/dev/null | grep -A20 "Nuvro Tablet Pen" > $R/$1.libinput.txt
    for n in /sys/class/input/event*; do
        grep -q "Nuvro Tablet Pen" $n/device/name 2>/dev/null && udevadm info /dev/input/${n##*/} > $R/$1.udev.txt
    done
    [ -n "${AFTER_CREATE:-}" ] && eval "$AFTER_CREATE" > $R/$1.after.txt 2>&1
    wait $PEN
    kill $OBS
    wait $OBS 2>/dev/null
}
