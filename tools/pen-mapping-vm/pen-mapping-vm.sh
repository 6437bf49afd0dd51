#!/bin/sh
# Observes where Wayland compositors put a uinput pen made like the agent's: builds a Debian 12
# guest (debootstrap; SUITE=trixie for Debian 13 with KWin 6 and Mutter 48), boots it under qemu,
# creates the pen with and without INPUT_PROP_DIRECT and INPUT_PROP_POINTER, visits points of its
# range and logs, from a window on each monitor, the monitor and surface-local position each
# motion reached. A one-off investigation tool, run by hand as root; never by CI or the tests.
#
#   pen-mapping-vm.sh build      debootstrap the guest into $WORK/rootfs (about 3 GB, network needed)
#   pen-mapping-vm.sh sway       Sway 1.7, two headless outputs, the second at scale 2, seatd seat
#   pen-mapping-vm.sh desktops   KWin and Mutter on DRM (two virtio GPUs) in a logind session on tty1
#
# Results land in $WORK/share/results/<compositor>/ and are summarised on stdout. Without working
# nested KVM the guest runs under TCG (ACCEL=-enable-kvm to try KVM); llvmpipe crashes under TCG
# with AVX, hence the Nehalem CPU model.
set -eu
HERE=$(cd "$(dirname "$0")" && pwd)
WORK=${WORK:-/var/tmp/pen-mapping-vm}
ROOT=$WORK/rootfs
SHARE=$WORK/share
SUITE=${SUITE:-bookworm}
# KScreen's command-line tool and Qt's Wayland plugin moved to Qt 6 after bookworm.
case $SUITE in
    bookworm) KDE_PKGS="libkf5screen-bin qtwayland5" ;;
    *) KDE_PKGS="libkscreen-bin qt6-wayland" ;;
esac

build() {
    apt-get -o DPkg::Lock::Timeout=600 install -y --no-install-recommends qemu-system-x86 debootstrap e2fsprogs
    mkdir -p "$WORK"
    [ -d "$ROOT/usr" ] || debootstrap --variant=minbase "$SUITE" "$ROOT" http://deb.debian.org/debian
    printf '#!/bin/sh\nexit 101\n' > "$ROOT/usr/sbin/policy-rc.d"
    chmod +x "$ROOT/usr/sbin/policy-rc.d"
    mount -t proc proc "$ROOT/proc"
    chroot "$ROOT" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
        linux-image-amd64 udev systemd dbus dbus-user-session kmod procps seatd libseat1 sway grim \
        xwayland libinput-tools python3 python3-libevdev python3-gi gir1.2-gtk-3.0 adwaita-icon-theme \
        fonts-dejavu-core kwin-wayland $KDE_PKGS mutter
    umount "$ROOT/proc"
    chroot "$ROOT" sh -c 'id tester >/dev/null 2>&1 || useradd -m -G video,input,render -s /bin/sh tester'
    install -m 755 "$HERE/guest/vm-init" "$ROOT/usr/local/sbin/vm-init"
    mkdir -p "$ROOT/etc/systemd/system/getty@tty1.service.d" "$ROOT/etc/systemd/system/multi-user.target.wants" \
        "$ROOT/mnt/share"
    printf '[Service]\nExecStart=\nExecStart=-/sbin/agetty --autologin tester --noclear %%I $TERM\n' \
        > "$ROOT/etc/systemd/system/getty@tty1.service.d/autologin.conf"
    printf '/dev/vda / ext4 rw 0 1\nshare /mnt/share 9p trans=virtio,version=9p2000.L,msize=262144,nofail 0 0\n' > "$ROOT/etc/fstab"
    printf '9pnet_virtio\n9p\nuinput\n' > "$ROOT/etc/modules-load.d/vm.conf"
    echo 'KERNEL=="uinput", MODE="0666"' > "$ROOT/etc/udev/rules.d/99-uinput.rules"
    install -m 644 "$HERE/guest/vm-finish.service" "$ROOT/etc/systemd/system/vm-finish.service"
    ln -sf /etc/systemd/system/vm-finish.service "$ROOT/etc/systemd/system/multi-user.target.wants/vm-finish.service"
    rm -f "$ROOT/etc/systemd/system/multi-user.target.wants/seatd.service"
    printf 'if [ "$(tty)" = /dev/tty1 ]; then\n  sh /mnt/share/desktops.sh > /mnt/share/results/tty1.log 2>&1\n  touch /mnt/share/results/.session-done\nfi\n' \
        > "$ROOT/home/tester/.profile"
    chroot "$ROOT" chown tester: /home/tester/.profile
    rm -f "$ROOT/etc/machine-id"
    chroot "$ROOT" systemd-machine-id-setup
    rm -f "$WORK/root.img"
}

boot() {  # boot INIT [qemu arguments...]
    init=$1; shift
    kver=$(ls "$ROOT"/boot/vmlinuz-* | sed 's|.*/vmlinuz-||' | sort -V | tail -n 1)
    [ -f "$WORK/root.img" ] || mkfs.ext4 -q -L root -d "$ROOT" "$WORK/root.img" 12G
    mkdir -p "$SHARE/results"
    chmod 777 "$SHARE/results"
    cp "$HERE"/guest/*.sh "$HERE"/guest/*.py "$HERE"/guest/*.conf "$SHARE/"
    rm -f "$SHARE/results/.session-done"
    timeout 1800 qemu-system-x86_64 ${ACCEL:--accel tcg} -cpu Nehalem -smp 2 -m 4096 -nographic -no-reboot \
        -kernel "$ROOT/boot/vmlinuz-$kver" -initrd "$ROOT/boot/initrd.img-$kver" \
        -append "root=/dev/vda rw console=ttyS0 init=$init quiet" \
        -drive file="$WORK/root.img",format=raw,if=virtio \
        -virtfs local,path="$SHARE",mount_tag=share,security_model=none,id=share \
        -nic none "$@"
}

case "${1:-}" in
    build) build ;;
    sway)
        boot /usr/local/sbin/vm-init
        python3 "$HERE/summarise.py" "$SHARE"/results/sway/*.log ;;
    desktops)
        boot /lib/systemd/systemd -vga none -device virtio-gpu-pci -device virtio-gpu-pci
        python3 "$HERE/summarise.py" "$SHARE"/results/kwin/*.log "$SHARE"/results/mutter/*.log ;;
    *) echo "usage: $0 build|sway|desktops" >&2; exit 2 ;;
esac
