# Sway on two headless outputs (the second at scale 2), libinput on a seatd seat; the pen in each
# variant, then mapped to one output, to '*', and one device across a config reload.
. /mnt/share/lib.sh
results sway
seatd -g tester -l info > $R/seatd.log 2>&1 &
sleep 1
export LIBSEAT_BACKEND=seatd WLR_BACKENDS=headless,libinput WLR_HEADLESS_OUTPUTS=2 WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman
sway --version > $R/version.txt
cp $S/sway.conf /tmp/sway.conf
chmod 644 /tmp/sway.conf
$U sway -d -c /tmp/sway.conf > $R/sway.log 2>&1 &
for i in $(seq 50); do ls $XDG_RUNTIME_DIR/sway-ipc.* >/dev/null 2>&1 && break; sleep 0.2; done
export SWAYSOCK=$(ls $XDG_RUNTIME_DIR/sway-ipc.*) WAYLAND_DISPLAY=wayland-1
$U swaymsg -t get_outputs > $R/outputs.txt
AFTER_CREATE='$U swaymsg -t get_inputs'
run direct direct
run none none
run pointer pointer
run both both
$U swaymsg "input type:tablet_tool map_to_output HEADLESS-2" > $R/cmd-map2.txt 2>&1
run both-map2 both
$U swaymsg "input type:tablet_tool map_to_output *" > $R/cmd-mapall.txt 2>&1
run both-mapall both
# One device kept across a reload of a config that no longer maps it.
{ cat $S/sway.conf; echo "input type:tablet_tool map_to_output HEADLESS-2"; } > /tmp/sway.conf
$U swaymsg reload > $R/cmd-reload.txt 2>&1
$U python3 $S/observe.py $R/held.log > $R/held.observer.err 2>&1 &
OBS=$!
sleep 8
rm -f /tmp/pen-go
python3 $S/pen.py $R/held.log both 3 /tmp/pen-go > $R/held.pen.err 2>&1 &
PEN=$!
while kill -0 $PEN 2>/dev/null && ! grep -q "waiting for" $R/held.log; do sleep 1; done
cp $S/sway.conf /tmp/sway.conf
$U swaymsg reload >> $R/cmd-reload.txt 2>&1
sleep 3
touch /tmp/pen-go
wait $PEN
kill $OBS
wait $OBS 2>/dev/null
run new-after-reload both
$U swaymsg exit
sleep 1
